// SPDX-License-Identifier: GPL-3.0-or-later
// The function index of the quick-access box `com` (`BuildFunctionIndex`,
// `AddIndexEntry`): the heads of the lines that look like definitions of
// functions or built-ins, each up to and including its first "=".
//
// The line tests are exact-case substring tests (unlike the editor's find).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talmo {

// A line qualifies when it contains one of these, tested in this order.
inline constexpr std::array<std::string_view, 10> kIndexTests = {
    "void",    "float(",   "float (",   "float\t(", "float  (",
    "entity(", "entity (", "entity  (", "string (", "string("};

// True when `line` contains one of kIndexTests, with exact case.
bool qualifiesForIndex(std::string_view line);

// `AddIndexEntry`'s text: `line` up to and including its first "=", every CR
// removed, leading blanks and tabs kept. nullopt when the line has no "=".
std::optional<std::string> indexEntry(std::string_view line);

// `BuildFunctionIndex`: the entry of every qualifying line, in line order,
// duplicates kept. `lines` are the editor's lines (Editor::lines()).
std::vector<std::string> buildFunctionIndex(const std::vector<std::string>& lines);

// The same on the editor's whole text, split at CR LF as Editor::lines()
// splits it (no final empty line).
std::vector<std::string> buildFunctionIndexFromText(std::string_view text);

} // namespace talmo
