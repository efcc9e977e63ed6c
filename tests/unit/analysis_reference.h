// SPDX-License-Identifier: GPL-3.0-or-later
// Step-by-step versions of the analysis operations, written only in terms of
// the editor's own operations (find, select, bold, colour, replace the
// selection), one occurrence at a time, as the window once did them. The
// tests compare the bulk computations with these.
#pragma once

#include "TextModel.h"

#include <string>
#include <string_view>
#include <vector>

namespace talmo::reference {

void syntaxColor(TextModel& editor);
bool findNext(Editor& editor, std::string_view what);
// Return whether something was found.
bool colorize(TextModel& editor, std::string_view search, Rgb colour);
bool searchAndReplace(TextModel& editor, std::string_view search, std::string_view replacement);

std::vector<std::string> buildFunctionIndex(const Editor& editor);

// The report line tests spelled out with 1-based positions, 0 for "absent",
// as the report describes them.
bool testFunctionLine(const std::string& line, const std::string& source,
                      std::vector<std::string>& entries);
bool testAttributeLine(const std::string& line, const std::string& source,
                       std::vector<std::string>& entries);
// Lines of a file's bytes: ending at CR LF or LF, the last one kept.
std::vector<std::string> fileLines(const std::string& bytes);

} // namespace talmo::reference
