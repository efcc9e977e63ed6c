// SPDX-License-Identifier: GPL-3.0-or-later
// Places of an 8-bit text as a language client counts them: lines end at
// LF, CR LF or a lone CR, and a character is a UTF-16 unit or a UTF-8 byte
// of the text's characters (each byte one Windows-1252 character, see
// Cp1252.h). No Qt.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace talmo {

enum class PositionEncoding { Utf16, Utf8 };

struct TextPosition {
    int line = 0;      // 0-based
    int character = 0; // 0-based, in the encoding's units
};

class TextLines {
public:
    explicit TextLines(std::string_view text);
    // The byte offset of a position; one past a line's end is its end, a line
    // past the last is the text's end.
    std::size_t offsetOf(TextPosition position, PositionEncoding encoding) const;
    TextPosition positionOf(std::size_t offset, PositionEncoding encoding) const;

private:
    std::string_view m_text;
    std::vector<std::size_t> m_starts;
    std::size_t lineEnd(std::size_t line) const;
};

// The characters before byte `column` of `line`.
int charactersBefore(std::string_view line, std::size_t column, PositionEncoding encoding);

} // namespace talmo
