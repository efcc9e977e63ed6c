// SPDX-License-Identifier: GPL-3.0-or-later
// The go-to-line box: what it accepts and where it puts the caret.
#pragma once

#include <optional>
#include <string_view>

namespace talmo {

class Editor;

// Optional blanks around an optional sign and decimal digits; nothing else.
std::optional<long long> parseLineNumber(std::string_view text);

// The offset past `lines` lines of `editor`, each counting its length and a
// two-byte line break (a negative count as none), clamped to the text.
long offsetAfterLines(const Editor& editor, long long lines);

} // namespace talmo
