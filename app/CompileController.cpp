// SPDX-License-Identifier: GPL-3.0-or-later
#include "CompileController.h"

#include "Batch.h"
#include "CompilerMessages.h"
#include "EditController.h"
#include "ShellRun.h"
#include "TextBytes.h"
#include "WorkingDirectory.h"

#include <QDir>
#include <QProcess>

#include <unordered_map>

#ifndef _WIN32
#include "BatchLine.h"

#include <unistd.h>
#endif

namespace talmo {

namespace {

ListedMessage listed(CompilerMessage& m) {
    return {m.kind == CompilerMessage::Kind::Error ? ListedMessage::Kind::Error
                                                   : ListedMessage::Kind::Warning,
            pathOfNameBytes(m.file), m.line, m.column, std::move(m.text)};
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

CompileController::CompileController(EditController& edit, WorkingDirectory& directory,
                                     QObject* parent)
    : QObject(parent), m_edit(edit), m_directory(directory) {}

CompileController::~CompileController() = default;

void CompileController::writeCompileBatch(const std::string& compiler) {
    writeBatchFile(m_directory.filePath(kCompileBatch), compileBatchLines(compiler));
    dropLinkedOutput(m_directory.filePath("log"));
}

// Batch files are written by their full path into the working directory and
// run there by name (the shell runs in it).
void CompileController::compile(const std::string& compiler, std::uintptr_t owner) {
    if (m_edit.autosaveEnabled())
        m_edit.autosave();
    writeCompileBatch(compiler);
    // A watched run lists the compiler's messages when it ends.
    if (!startWatchedCompile())
        runBatchFile(kCompileBatch, true, owner);
}

void CompileController::runGame(const GameSettings& game, std::uintptr_t owner) {
    writeAndRunBatchFile(m_directory.filePath(kGameBatch), gameBatchLines(game), false, owner);
}

bool CompileController::startWatchedCompile() {
#ifdef _WIN32
    // ShellExecuteW cannot be watched: the Windows run stays unwatched until
    // the shell run can hand back its process (ShellExecuteEx).
    return false;
#else
    const std::string runner = findBatchRunner();
    if (runner.empty())
        return false;
    const QString directory = m_directory.path();
    if (!m_runs)
        m_runs = {new QObject, endRuns};
    QObject* owner = m_runs.get();
    auto* run = new QProcess(owner);
    run->setProgram(nameText(runner));
    run->setArguments({QStringLiteral("--progress"), QString::fromLatin1(kCompileBatch)});
    run->setWorkingDirectory(directory);
    run->setStandardInputFile(QProcess::nullDevice());
    // What the compiler and notepad print goes where Talmo's own output goes.
    run->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // As a detached run: its own session, so a signal meant for Talmo's
    // terminal does not reach the compiler.
    run->setChildProcessModifier([] { ::setsid(); });
    // The runner reports each finished line with its exit status. The first
    // is the compiler's: once it has ended, "log" holds what this compile
    // wrote (its ">" made it anew), so it is read then, while notepad may
    // still show it. A run that ends without that report never finished its
    // compiler line, and the log there is an earlier compile's; a compile
    // overtaken by a later QCC! would replace that one's messages, or read
    // the log it is writing. Neither is read.
    const std::uint64_t compile = ++m_latestCompile;
    connect(run, &QProcess::readyReadStandardOutput, owner, [this, run, compile, directory] {
        // Whole lines only: the rest of one comes with the next read.
        while (run->canReadLine()) {
            const std::optional<LineProgress> line =
                parseProgressLine(run->readLine().toStdString());
            if (line && line->number == 1 && compile == m_latestCompile)
                readCompilerLog(directory, line->status);
        }
    });
    connect(run, &QProcess::finished, run, &QObject::deleteLater);
    connect(run, &QProcess::errorOccurred, owner, [this, run](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        emit log(QStringLiteral("QCC!: the batch runner could not be started"));
        run->deleteLater();
    });
    run->start();
    return true;
#endif
}

void CompileController::readCompilerLog(const QString& directory, std::optional<int> exitStatus) {
    std::string bytes;
    try {
        bytes = readFileBytes(localPath(QDir(directory).filePath(QStringLiteral("log"))));
    } catch (const std::exception&) {
        // The run ended before its compiler line wrote anything; a failure
        // still shows as one.
        if (!exitStatus || *exitStatus == 0)
            return;
    }
    std::vector<CompilerMessage> parsed = parseCompilerMessages(bytes);
    const QString header = QString::fromStdString(messageSummary(parsed, exitStatus));
    std::vector<ListedMessage> messages;
    messages.reserve(parsed.size());
    for (CompilerMessage& m : parsed)
        messages.push_back(listed(m));
    m_compileDirectory = directory;
    m_messages = messages;
    emit messagesRead(header, directory, messages);
}

std::vector<CompileController::LineMark> CompileController::marksOfEditedFile() const {
    std::vector<LineMark> marks;
    const std::filesystem::path file = m_edit.file();
    if (file.empty() || m_messages.empty())
        return marks;
    // The edited file resolved once; each file the messages name once.
    std::error_code error;
    const std::filesystem::path edited = std::filesystem::weakly_canonical(file, error);
    if (error)
        return marks;
    const std::filesystem::path base = localPath(m_compileDirectory);
    std::unordered_map<std::filesystem::path::string_type, bool> isEdited;
    for (const ListedMessage& m : m_messages) {
        if (m.line <= 0)
            continue;
        auto [it, added] = isEdited.try_emplace(m.file.native(), false);
        if (added) {
            const std::filesystem::path named =
                std::filesystem::weakly_canonical(base / m.file, error);
            it->second = !error && named == edited;
        }
        if (it->second)
            marks.push_back({m.line - 1, m.kind == ListedMessage::Kind::Error});
    }
    return marks;
}

bool CompileController::openMessage(const ListedMessage& message,
                                    const std::filesystem::path& absolutePath) {
    if (message.line <= 0)
        return false; // no place to go to
    std::error_code error;
    if (!std::filesystem::is_regular_file(absolutePath, error)) {
        emit log(QStringLiteral("No such file for the message: ") + fileNameText(absolutePath));
        return false;
    }
    return m_edit.open(absolutePath); // marks the lines of its messages
}

} // namespace talmo
