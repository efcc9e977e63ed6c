// SPDX-License-Identifier: GPL-3.0-or-later
// The mod compiled in a scratch copy of its folder, so that nothing is ever
// written into the mod: the compiler's output and outputs stay in the copy,
// which is removed afterwards.
#pragma once

#include "CompilerMessages.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace talmo {

// The compiler the "QCC!" button would run: the first of the known ones on
// PATH; nullopt when none is there.
std::optional<std::string> compilerOnPath();

// Copies the folder `root` (hidden folders and files bigger than any source
// left out), writes `texts` (file name in the index -> bytes) over their
// copies, runs `compiler` in the copy and returns its messages, each file
// name relative to the mod ("/"-separated, in pathBytes' bytes); a message
// of a file outside the copy keeps its name as written. Empty when the copy
// or the run fails or takes longer than `timeoutMs`.
std::vector<CompilerMessage> compileInScratchCopy(const std::filesystem::path& root,
                                                  const std::string& compiler,
                                                  const std::map<std::string, std::string>& texts,
                                                  int timeoutMs = 60000);

} // namespace talmo
