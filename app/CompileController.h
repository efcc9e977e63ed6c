// SPDX-License-Identifier: GPL-3.0-or-later
// The compile loop without widgets: "QCC!" writes its batch file into the
// working directory and runs it in a watched process; once the compiler line
// has ended, the messages in "log" are read and handed out (the window lists
// them), those of the latest compile only; which lines of the edited file
// they mark; and opening the file and line of a listed message through the
// edit controller. The game's batch file is written and run here too.
//
// A batch file that cannot be written throws FileError and is not run.
#pragma once

#include "MessageList.h" // ListedMessage

#include <QObject>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace talmo {

class EditController;
class WorkingDirectory;
struct GameSettings;

class CompileController : public QObject {
    Q_OBJECT
public:
    CompileController(EditController& edit, WorkingDirectory& directory, QObject* parent = nullptr);
    ~CompileController() override;

    // QCC!: autosaves the edited file (the compiler reads the files on disk)
    // when the autosave is on, writes the batch file and runs it, watched
    // where runs can be watched, else handed to the shell with `owner`.
    void compile(const std::string& compiler, std::uintptr_t owner);
    // Reads the messages of "log" in `directory`, where the compile ran;
    // `exitStatus` is the compiler's, when known. Emits messagesRead.
    void readCompilerLog(const QString& directory, std::optional<int> exitStatus);
    // GO!: writes the game's batch file and hands it to the shell.
    void runGame(const GameSettings& game, std::uintptr_t owner);

    struct LineMark {
        int line = 0; // 0-based
        bool error = false;
    };
    // The lines of the edited file that the last compile's messages name.
    std::vector<LineMark> marksOfEditedFile() const;

    // Opens the message's file through the edit controller; true when it is
    // the edited file now (then select line message.line). A message without
    // a place does nothing; a missing file is logged and changes nothing.
    bool openMessage(const ListedMessage& message, const std::filesystem::path& absolutePath);

signals:
    // The messages of a compile, their files relative to `directory`.
    void messagesRead(const QString& header, const QString& directory,
                      const std::vector<talmo::ListedMessage>& messages);
    void log(const QString& line);

private:
    // Writes "qcc.bat" for the compiler command `compiler` (as typed, in the
    // command processor's encoding) and drops a link planted as its "log".
    void writeCompileBatch(const std::string& compiler);
    // Starts "qcc.bat" in a run whose end is watched; false where runs cannot
    // be watched.
    bool startWatchedCompile();

    EditController& m_edit;
    WorkingDirectory& m_directory;
    std::vector<ListedMessage> m_messages;
    QString m_compileDirectory;
    // The number of the last watched compile started; only its log is read.
    std::uint64_t m_latestCompile = 0;
    // Parent of the watched compile runs; ends the runs left when the
    // controller goes.
    std::unique_ptr<QObject, void (*)(QObject*)> m_runs{nullptr, nullptr};
};

} // namespace talmo
