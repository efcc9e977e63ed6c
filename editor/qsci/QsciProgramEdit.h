// SPDX-License-Identifier: GPL-3.0-or-later
// The guard of the program's own edits on the view, shared by the view and
// the editor over it.
#pragma once

#include "QsciView.h"

namespace talmo {

// Lifts read-only for an edit made by the program and keeps the modification
// handler from formatting it (the edit formats its own text).
class QsciView::ProgramEdit {
public:
    explicit ProgramEdit(QsciView& view)
        : m_view(view), m_wasProgramEdit(view.m_programEdit),
          m_wasReadOnly(view.SendScintilla(SCI_GETREADONLY) != 0) {
        m_view.m_programEdit = true;
        if (m_wasReadOnly)
            m_view.SendScintilla(SCI_SETREADONLY, 0UL);
    }
    ~ProgramEdit() {
        if (m_wasReadOnly)
            m_view.SendScintilla(SCI_SETREADONLY, 1UL);
        m_view.m_programEdit = m_wasProgramEdit;
    }
    ProgramEdit(const ProgramEdit&) = delete;
    ProgramEdit& operator=(const ProgramEdit&) = delete;

private:
    QsciView& m_view;
    bool m_wasProgramEdit;
    bool m_wasReadOnly;
};

} // namespace talmo
