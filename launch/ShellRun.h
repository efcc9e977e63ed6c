// Handing a batch file or a folder to the desktop shell. The call returns at
// once; the started programs run on their own and nothing waits for them.
//
// Windows: ShellExecuteA with the file's default action. Other systems: the
// batch file goes to the runner `talmo-batch` (beside the running executable,
// else on PATH), started detached in the current directory; a folder goes to
// the desktop's default opener, xdg-open. No Qt.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace talmo {

// Runs the batch file `batchPath` (relative to the current directory) with a
// hidden or a normal window. True when the run was handed over; false when
// the shell refused it or, on other systems, no runner could be started.
// What the batch file then does is never reported.
bool runBatchFile(const std::string& batchPath, bool hidden);

// Opens `path` (a folder, or any file) with the desktop's default action,
// normal window. True when handed over; false for an empty path on systems
// other than Windows, or when no opener could be started.
bool openWithDefault(const std::string& path);

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
