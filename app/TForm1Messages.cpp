// SPDX-License-Identifier: GPL-3.0-or-later
// The window's side of the compile loop: the compile controller's messages
// fill the list under the editor and mark their lines; an entry (F4,
// Shift+F4, a double click) leads to its file and line.
#include "TForm1.h"

#include "TextBytes.h"

#include "CompileController.h"

#include "MessageList.h"
#include "QsciEditor.h"
#include "QsciView.h"

#include <QAction>
#include <QListWidget>

#include <algorithm>

void TForm1::wireMessages() {
    m_compile = new talmo::CompileController(*m_edit, *m_workingDirectory, this);
    connect(m_compile, &talmo::CompileController::log, this, &TForm1::LogLine);
    connect(m_compile, &talmo::CompileController::messagesRead, this,
            [this](const QString& header, const QString& directory,
                   const std::vector<talmo::ListedMessage>& messages) {
                messageList()->showMessages(header, directory, messages);
                markMessageLines();
            });
    connect(messageList(), &talmo::MessageList::messageActivated, this,
            [this](const talmo::ListedMessage& m, const std::filesystem::path& path) {
                openMessage(m, path);
            });
    auto* next = new QAction(QStringLiteral("Next message"), editor());
    next->setObjectName(QStringLiteral("nextmessage"));
    next->setShortcut(QKeySequence(Qt::Key_F4));
    next->setShortcutContext(Qt::WidgetShortcut);
    auto* previous = new QAction(QStringLiteral("Previous message"), editor());
    previous->setObjectName(QStringLiteral("previousmessage"));
    previous->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F4));
    previous->setShortcutContext(Qt::WidgetShortcut);
    editor()->view()->addAction(next);
    editor()->view()->addAction(previous);
    connect(next, &QAction::triggered, this, [this] { nextMessage(); });
    connect(previous, &QAction::triggered, this, [this] { previousMessage(); });
}

void TForm1::markMessageLines() {
    editor()->view()->clearLineMarks();
    for (const talmo::CompileController::LineMark& m : m_compile->marksOfEditedFile())
        editor()->view()->addLineMark(m.line, m.error ? talmo::QsciView::LineMark::Error
                                                      : talmo::QsciView::LineMark::Warning);
}

void TForm1::openMessage(const talmo::ListedMessage& message,
                         const std::filesystem::path& absolutePath) {
    if (!m_compile->openMessage(message, absolutePath))
        return;
    if (!editor()->showLine(message.line - 1))
        return;
    editor()->setFocus();
}

void TForm1::nextMessage() {
    if (const std::optional<talmo::ListedMessage> m = messageList()->next())
        openMessage(*m, messageList()->absolutePath(*m));
}

void TForm1::previousMessage() {
    if (const std::optional<talmo::ListedMessage> m = messageList()->previous())
        openMessage(*m, messageList()->absolutePath(*m));
}
