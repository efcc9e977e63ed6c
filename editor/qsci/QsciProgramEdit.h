// SPDX-License-Identifier: GPL-3.0-or-later
// The guard of the program's own edits on the QScintilla control, shared by
// its source files.
#pragma once

#include "QsciEditor.h"

namespace talmo {

// Lifts read-only for an edit made by the program and keeps the modification
// handler from formatting it (the edit formats its own text).
class QsciEditor::ProgramEdit {
public:
    explicit ProgramEdit(QsciEditor& editor)
        : m_editor(editor), m_wasProgramEdit(editor.m_programEdit),
          m_wasReadOnly(editor.SendScintilla(SCI_GETREADONLY) != 0) {
        m_editor.m_programEdit = true;
        if (m_wasReadOnly)
            m_editor.SendScintilla(SCI_SETREADONLY, 0UL);
    }
    ~ProgramEdit() {
        if (m_wasReadOnly)
            m_editor.SendScintilla(SCI_SETREADONLY, 1UL);
        m_editor.m_programEdit = m_wasProgramEdit;
    }
    ProgramEdit(const ProgramEdit&) = delete;
    ProgramEdit& operator=(const ProgramEdit&) = delete;

private:
    QsciEditor& m_editor;
    bool m_wasProgramEdit;
    bool m_wasReadOnly;
};

} // namespace talmo
