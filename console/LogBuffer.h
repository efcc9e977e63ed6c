// SPDX-License-Identifier: GPL-3.0-or-later
// The console log's cap: when the log already holds more than 800 lines, its
// first line goes before a new one is appended, so it never holds more than
// 801 lines. No Qt.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace talmo {

inline constexpr std::size_t kLogCap = 800;

// True when a log of `lineCount` lines must lose its first line before the
// next line is appended.
constexpr bool logDropsOldest(std::size_t lineCount) {
    return lineCount > kLogCap;
}

// Appends `line` to `lines` with the cap above.
void appendCapped(std::vector<std::string>& lines, std::string line);

} // namespace talmo
