// SPDX-License-Identifier: GPL-3.0-or-later
// The compile loop: "QCC!" runs its batch file in a watched process; once the
// compiler line has ended, the messages in "log" fill the list under the
// editor, their lines are marked, and an entry leads to its file and line.
#include "TForm1.h"

#include "TextBytes.h"

#include "CompilerMessages.h"
#include "EditController.h"
#include "MessageList.h"
#include "QsciEditor.h"
#include "WorkingDirectory.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QProcess>

#include <algorithm>
#include <memory>
#include <unordered_map>

#ifndef _WIN32
#include "Batch.h"
#include "BatchLine.h"
#include "ShellRun.h"

#include <unistd.h>
#endif

namespace {

talmo::ListedMessage listed(talmo::CompilerMessage& m) {
    return {m.kind == talmo::CompilerMessage::Kind::Error ? talmo::ListedMessage::Kind::Error
                                                          : talmo::ListedMessage::Kind::Warning,
            talmo::pathOfNameBytes(m.file), m.line, m.column, std::move(m.text)};
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
            [this](const talmo::ListedMessage& m, const std::filesystem::path& path) {
                openMessage(m, path);
            });
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
    const QString directory = m_workingDirectory->path();
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
    // The runner reports each finished line with its exit status; the first
    // is the compiler's, so the log is read while notepad may still show it.
    auto read = std::make_shared<bool>(false);
    const auto readOnce = [this, directory, read](std::optional<int> status) {
        if (*read)
            return;
        *read = true;
        readCompilerLog(directory, status);
    };
    connect(run, &QProcess::readyReadStandardOutput, owner, [run, readOnce] {
        if (run->canReadLine()) {
            const std::optional<talmo::LineProgress> first =
                talmo::parseProgressLine(run->readLine().toStdString());
            readOnce(first ? std::optional<int>(first->status) : std::nullopt);
        }
        run->readAll();
    });
    connect(run, &QProcess::finished, owner, [run, readOnce] {
        readOnce(std::nullopt);
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

void TForm1::readCompilerLog(const QString& directory, std::optional<int> exitStatus) {
    std::string bytes;
    try {
        bytes =
            talmo::readFileBytes(talmo::localPath(QDir(directory).filePath(QStringLiteral("log"))));
    } catch (const std::exception&) {
        // The run ended before its compiler line wrote anything; a failure
        // still shows as one.
        if (!exitStatus || *exitStatus == 0)
            return;
    }
    std::vector<talmo::CompilerMessage> parsed = talmo::parseCompilerMessages(bytes);
    const QString header = QString::fromStdString(talmo::messageSummary(parsed, exitStatus));
    std::vector<talmo::ListedMessage> messages;
    messages.reserve(parsed.size());
    for (talmo::CompilerMessage& m : parsed)
        messages.push_back(listed(m));
    m_compileDirectory = directory;
    messageList->showMessages(header, directory, std::move(messages));
    m_compileMessages = messageList->messages();
    markMessageLines();
}

void TForm1::markMessageLines() {
    talmo->clearLineMarks();
    if (currentFile().isEmpty() || m_compileMessages.empty())
        return;
    // The edited file resolved once; each file the messages name once.
    std::error_code error;
    const std::filesystem::path edited = std::filesystem::weakly_canonical(m_edit->file(), error);
    if (error)
        return;
    const std::filesystem::path base = talmo::localPath(m_compileDirectory);
    std::unordered_map<std::filesystem::path::string_type, bool> isEdited;
    for (const talmo::ListedMessage& m : m_compileMessages) {
        if (m.line <= 0)
            continue;
        auto [it, added] = isEdited.try_emplace(m.file.native(), false);
        if (added) {
            const std::filesystem::path named =
                std::filesystem::weakly_canonical(base / m.file, error);
            it->second = !error && named == edited;
        }
        if (!it->second)
            continue;
        talmo->addLineMark(m.line - 1, m.kind == talmo::ListedMessage::Kind::Error
                                           ? talmo::QsciEditor::LineMark::Error
                                           : talmo::QsciEditor::LineMark::Warning);
    }
}

void TForm1::openMessage(const talmo::ListedMessage& message,
                         const std::filesystem::path& absolutePath) {
    if (message.line <= 0)
        return; // no place to go to
    std::error_code error;
    if (!std::filesystem::is_regular_file(absolutePath, error)) {
        LogLine(QStringLiteral("No such file for the message: ") +
                talmo::fileNameText(absolutePath));
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
