// SPDX-License-Identifier: GPL-3.0-or-later
// Handing a batch file or a folder to the desktop shell. The call returns at
// once; the started programs run on their own and nothing waits for them.
//
// Windows: ShellExecuteW with the file's default action, owned by the
// caller's window. Other systems: the
// batch file goes to the runner `talmo-batch` (beside the running executable,
// else on PATH), started detached in the current directory; a folder goes to
// the desktop's default opener, xdg-open. No Qt.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace talmo {

// Runs the batch file `batchPath` (relative to the current directory) with a
// hidden or a normal window. True when the run was handed over; false when
// the shell refused it or, on other systems, no runner could be started.
// What the batch file then does is never reported. `owner` is the native
// handle of the window that asks (Windows: messages of the shell belong to
// it); 0 for none.
bool runBatchFile(const std::filesystem::path& batchPath, bool hidden, std::uintptr_t owner = 0);
// Writes `lines` to `batch`, a full path in the current directory, and runs
// it there by its name as above. Throws FileError when it cannot be written;
// nothing runs then.
bool writeAndRunBatchFile(const std::filesystem::path& batch, const std::vector<std::string>& lines,
                          bool hidden, std::uintptr_t owner = 0);

// Opens `path` (a folder, or any file) with the desktop's default action,
// normal window. True when handed over; false for an empty path on systems
// other than Windows, or when no opener could be started. `owner` as above.
bool openWithDefault(const std::filesystem::path& path, std::uintptr_t owner = 0);

#ifndef _WIN32
// Full path of the executable `program` in a directory of PATH; "" when none.
std::string findOnPath(std::string_view program);

// Full path of talmo-batch: beside the running executable, else in
// ../libexec/talmo from it, else on PATH; "" when none.
std::string findBatchRunner();

// Starts `program` (a full path) with the arguments `args` (args[0] is its
// name) in the current directory, detached: a new session, standard input
// from /dev/null, not a child of this process, so it leaves no zombie.
// Returns false when it could not be started. Never waits for it to end.
bool spawnDetached(const std::string& program, const std::vector<std::string>& args);
#endif

} // namespace talmo
