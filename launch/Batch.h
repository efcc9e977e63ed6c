// SPDX-License-Identifier: GPL-3.0-or-later
// The batch files of the launcher: what each one holds, and writing it.
// Lines are returned without line breaks; a file is written as 8-bit text
// with CR LF after every line. No Qt.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace talmo {

inline constexpr const char* kCompileBatch = "qcc.bat";
inline constexpr const char* kGameBatch = "goquake.bat";
inline constexpr const char* kNotepadBatch = "gonotepad.bat";
inline constexpr const char* kShellBatch = "goshell.bat";
inline constexpr const char* kCommandBatch = "gocmd.bat";

// Which command processor reads the batch file: Windows' own, or the small
// runner of other systems (launch/talmo_batch_main.cpp).
enum class BatchDialect { Cmd, Posix };
#ifdef _WIN32
inline constexpr BatchDialect kNativeDialect = BatchDialect::Cmd;
#else
inline constexpr BatchDialect kNativeDialect = BatchDialect::Posix;
#endif

// The game settings of the Go page, each exactly as typed.
struct GameSettings {
    std::string path;   // pathquake
    std::string exe;    // namequake
    std::string mod;    // namemod
    std::string params; // paramsquake
};

// True when a file name must be quoted on a batch line: it holds a blank, a
// tab or one of & | < > ^ % ; $ ` ' " ( ).
bool needsQuoting(std::string_view path);

// A file path taken from a file list, as it goes on a batch line: unchanged
// when plain, else between double quotes, with every "%" doubled for Cmd.
// Throws FileError (Editor.h) when the path holds a CR or LF, which would
// split the batch line, or, for Cmd, a double quote, which would end the
// quoting there (the runner of other systems takes it as it is).
std::string batchArgument(std::string_view path, BatchDialect dialect = kNativeDialect);

// "qcc.bat": compiler + " > log", "notepad log ". The compiler text runs as
// typed.
std::vector<std::string> compileBatchLines(std::string_view compiler);

// Drive part of a game path: "D:" when the second character is ":"; for a
// path beginning with two backslashes, everything before the backslash that
// ends the share name ("\\server\share"), the whole text when none follows;
// otherwise "".
std::string drivePart(std::string_view path);

// "goquake.bat": the drive part of the path, "cd " + path, and
// exe + " -game " + mod + " " + params. All texts as typed.
std::vector<std::string> gameBatchLines(const GameSettings& game);

// "gonotepad.bat": "notepad " + path, or notepad "path" when it needs quoting.
// An empty path (nothing selected) gives "notepad ". Throws as batchArgument.
std::vector<std::string> notepadBatchLines(std::string_view selectedPath,
                                           BatchDialect dialect = kNativeDialect);

// "goshell.bat": "start " + path, or start "" "path" when it needs quoting.
// An empty path gives "start ". Throws as batchArgument.
std::vector<std::string> shellBatchLines(std::string_view selectedPath,
                                         BatchDialect dialect = kNativeDialect);

// "gocmd.bat": text + "> commanderlog", "notepad commanderlog". The text runs
// as typed.
std::vector<std::string> commandBatchLines(std::string_view commanderText);

// The folder "&Explore Folder" opens: the path cut after its last "\" or ":"
// (for Posix after its last "/" only), separator included; "" when it holds
// none.
std::string exploreFolderPath(std::string_view selectedPath, BatchDialect dialect = kNativeDialect);

// The compiler "QCC!" runs until the user names one: for Cmd "frikqcc2.exe";
// for Posix the first of fteqcc, gmqcc, qfcc and frikqcc that `onPath` finds,
// else "fteqcc".
std::string defaultCompiler(BatchDialect dialect,
                            const std::function<bool(std::string_view)>& onPath);

// Writes `lines` as the whole file `fileName` (relative to the current
// directory), each followed by CR LF, replacing it. Throws FileError.
void writeBatchFile(const std::filesystem::path& fileName, const std::vector<std::string>& lines);

// Removes a symbolic link planted under the name a batch file's ">" writes
// ("log", "commanderlog"), so the run makes a file of its own there instead
// of writing through the link. Anything else under that name stays.
void dropLinkedOutput(const std::filesystem::path& outputName);

} // namespace talmo
