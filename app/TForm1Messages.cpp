// SPDX-License-Identifier: GPL-3.0-or-later
// The compile loop: "QCC!" runs its batch file in a watched process; once the
// compiler line has ended, the messages in "log" fill the list under the
// editor, their lines are marked, and an entry leads to its file and line.
#include "TForm1.h"

#include "TextBytes.h"

#include "CompilerMessages.h"
#include "MessageList.h"
#include "QsciEditor.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QProcess>

#include <algorithm>
#include <memory>

#ifndef _WIN32
#include "Batch.h"
#include "ShellRun.h"

#include <unistd.h>
#endif

namespace {

talmo::ListedMessage listed(const talmo::CompilerMessage& m) {
    return {m.kind == talmo::CompilerMessage::Kind::Error ? QStringLiteral("error")
                                                          : QStringLiteral("warning"),
            talmo::nameText(m.file), m.line, m.column, talmo::textOfBytes(m.text)};
}

// Ends the runs still going (the runner only: what it started goes on) and
// deletes their owner, reading nothing more.
[[maybe_unused]] void endRuns(QObject* owner) {
    const QList<QProcess*> runs = owner->findChildren<QProcess*>();
    for (QProcess* run : runs) {
        run->disconnect();
        run->kill();
        run->waitForFinished(1000);
    }
    delete owner;
}

} // namespace

void TForm1::wireMessages() {
    connect(messageList, &talmo::MessageList::messageActivated, this,
            [this](const talmo::ListedMessage& m, const QString& path) { openMessage(m, path); });
    auto* next = new QAction(QStringLiteral("Next message"), talmo);
    next->setObjectName(QStringLiteral("nextmessage"));
    next->setShortcut(QKeySequence(Qt::Key_F4));
    next->setShortcutContext(Qt::WidgetShortcut);
    auto* previous = new QAction(QStringLiteral("Previous message"), talmo);
    previous->setObjectName(QStringLiteral("previousmessage"));
    previous->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F4));
    previous->setShortcutContext(Qt::WidgetShortcut);
    talmo->addAction(next);
    talmo->addAction(previous);
    connect(next, &QAction::triggered, this, [this] { nextMessage(); });
    connect(previous, &QAction::triggered, this, [this] { previousMessage(); });
}

bool TForm1::startWatchedCompile() {
#ifdef _WIN32
    // ShellExecuteW cannot be watched: the Windows run stays unwatched until
    // the shell run can hand back its process (ShellExecuteEx).
    return false;
#else
    const std::string runner = talmo::findBatchRunner();
    if (runner.empty())
        return false;
    const QString directory = QDir::currentPath();
    if (!m_compileRuns)
        m_compileRuns = {new QObject, endRuns};
    QObject* owner = m_compileRuns.get();
    auto* run = new QProcess(owner);
    run->setProgram(talmo::nameText(runner));
    run->setArguments({QStringLiteral("--progress"), QString::fromLatin1(talmo::kCompileBatch)});
    run->setWorkingDirectory(directory);
    run->setStandardInputFile(QProcess::nullDevice());
    // What the compiler and notepad print goes where Talmo's own output goes.
    run->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // As a detached run: its own session, so a signal meant for Talmo's
    // terminal does not reach the compiler.
    run->setChildProcessModifier([] { ::setsid(); });
    // The runner reports each finished line; the first is the compiler's, so
    // the log is read while notepad may still show it.
    auto read = std::make_shared<bool>(false);
    const auto readOnce = [this, directory, read] {
        if (*read)
            return;
        *read = true;
        readCompilerLog(directory);
    };
    connect(run, &QProcess::readyReadStandardOutput, owner, [run, readOnce] {
        if (run->canReadLine())
            readOnce();
        run->readAll();
    });
    connect(run, &QProcess::finished, owner, [run, readOnce] {
        readOnce();
        run->deleteLater();
    });
    connect(run, &QProcess::errorOccurred, owner, [this, run](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        LogLine(QStringLiteral("QCC!: the batch runner could not be started"));
        run->deleteLater();
    });
    run->start();
    return true;
#endif
}

void TForm1::readCompilerLog(const QString& directory) {
    std::string bytes;
    try {
        bytes =
            talmo::readFileBytes(talmo::localPath(QDir(directory).filePath(QStringLiteral("log"))));
    } catch (const std::exception&) {
        // The run ended before its compiler line wrote anything.
        return;
    }
    const std::vector<talmo::CompilerMessage> parsed = talmo::parseCompilerMessages(bytes);
    m_compileMessages.clear();
    for (const talmo::CompilerMessage& m : parsed)
        m_compileMessages.push_back(listed(m));
    m_compileDirectory = directory;
    messageList->showMessages(QString::fromStdString(talmo::messageSummary(parsed)), directory,
                              m_compileMessages);
    markMessageLines();
}

void TForm1::markMessageLines() {
    talmo->clearLineMarks();
    // The edited file resolved once; each message's file as it is named.
    const QString edited = QFileInfo(currentFile()).canonicalFilePath();
    if (edited.isEmpty())
        return;
    for (const talmo::ListedMessage& m : m_compileMessages) {
        if (QFileInfo(QDir(m_compileDirectory).absoluteFilePath(m.file)).canonicalFilePath() !=
            edited)
            continue;
        talmo->addLineMark(m.line - 1, m.kind == QStringLiteral("error")
                                           ? talmo::QsciEditor::LineMark::Error
                                           : talmo::QsciEditor::LineMark::Warning);
    }
}

void TForm1::openMessage(const talmo::ListedMessage& message, const QString& absolutePath) {
    if (!QFileInfo(absolutePath).isFile()) {
        LogLine(QStringLiteral("No such file for the message: ") + absolutePath);
        return;
    }
    if (!openInEditor(absolutePath)) // marks the lines of its messages
        return;
    // The whole line, without its line break.
    const long line = message.line - 1;
    const long start = talmo->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line);
    if (start < 0)
        return;
    const long end = talmo->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line);
    talmo->setSelectionStart(start);
    talmo->setSelectionLength(end - start);
    // A third down the view, unless it shows well already.
    const long first = talmo->SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE);
    const long onScreen = talmo->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN);
    if (line < first || line > first + onScreen - 3)
        talmo->SendScintilla(QsciScintillaBase::SCI_SETFIRSTVISIBLELINE,
                             std::max(0L, line - onScreen / 3));
    talmo->setFocus();
}

void TForm1::nextMessage() {
    if (const std::optional<talmo::ListedMessage> m = messageList->next())
        openMessage(*m, messageList->absolutePath(*m));
}

void TForm1::previousMessage() {
    if (const std::optional<talmo::ListedMessage> m = messageList->previous())
        openMessage(*m, messageList->absolutePath(*m));
}
