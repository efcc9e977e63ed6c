// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditorCompletion.h"

#include "PageControls.h"
#include "QsciEditor.h"
#include "QsciView.h"

#include <QAction>

namespace talmo {

namespace {

// How far back a name or the start of a call is looked for.
constexpr long kReach = 4096;

} // namespace

EditorCompletion::EditorCompletion(QsciView& view, Completions completions, Prototype prototype)
    : QObject(&view), m_view(view), m_completions(std::move(completions)),
      m_prototype(std::move(prototype)) {
    connect(widgetShortcut(&view, "completeName", QStringLiteral("Complete"),
                           QKeySequence(Qt::CTRL | Qt::Key_Space)),
            &QAction::triggered, this, &EditorCompletion::complete);
    connect(&view, &QsciScintillaBase::SCN_CHARADDED, this, &EditorCompletion::charAdded);
}

std::string EditorCompletion::textBeforeCaret(std::size_t& offset) const {
    const Editor& editor = *m_view.editor();
    const long caret = editor.selectionStart() + editor.selectionLength();
    const long from = caret > kReach ? caret - kReach : 0;
    offset = static_cast<std::size_t>(caret - from);
    return editor.textRange(from, caret - from);
}

void EditorCompletion::complete() {
    std::size_t offset = 0;
    const std::string text = textBeforeCaret(offset);
    const NameAt typed = typedPrefix(text, offset);
    std::vector<std::string> names;
    for (const CompletionItem& item : m_completions(typed))
        names.push_back(item.name);
    m_view.showCompletions(static_cast<long>(typed.name.size()), names);
}

void EditorCompletion::charAdded(int ch) {
    if (m_view.isCompletionShown())
        return;
    std::size_t offset = 0;
    const std::string text = textBeforeCaret(offset);
    if (ch == '(') {
        const std::optional<CallAt> call = callAtOffset(text, offset);
        if (!call)
            return;
        const std::string prototype = m_prototype(call->function);
        if (!prototype.empty())
            m_view.showCallTip(prototype);
        return;
    }
    if (opensCompletion(text, offset))
        complete();
}

} // namespace talmo
