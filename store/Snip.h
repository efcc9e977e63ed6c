// SPDX-License-Identifier: GPL-3.0-or-later
// The ".snip" file: a snippet's text written byte for byte, no line end added
// after its last line; reading turns every lone CR or LF into CR LF. No Qt.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace talmo {

inline constexpr std::string_view kSnipExtension = ".snip";

// `name` followed by ".snip", whatever it already ends in ("abc.snip" gives
// "abc.snip.snip", "" gives ".snip").
std::string snipFileName(std::string_view name);

// Writes `text` unchanged as the whole file `path`, replacing it.
// Throws FileError (Editor.h).
void writeSnipFile(const std::filesystem::path& path, std::string_view text);

// The whole file with every line break turned into CR LF.
// Throws FileError when it cannot be read.
std::string readSnipFile(const std::filesystem::path& path);

// Save of the Snip page: when `name` is not empty, writes `text` to
// snipFileName(name) in `directory` (empty: the current one) and runs
// `afterWrite` (the window re-reads its snip list there); then reports.
// Returns the log lines, in order: "Save snip!!: " on success or
// "Save fail!!: " when the write or `afterWrite` threw, then always
// "file: " + snipFileName(name). An empty name writes nothing and gives the
// "file: " line alone. `afterWrite` may be empty.
std::vector<std::string> saveSnip(std::string_view name, std::string_view text,
                                  const std::function<void()>& afterWrite,
                                  const std::filesystem::path& directory = {});

} // namespace talmo
