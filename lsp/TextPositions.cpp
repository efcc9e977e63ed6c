// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextPositions.h"

#include "Cp1252.h"

#include <algorithm>

namespace talmo {

TextLines::TextLines(std::string_view text) : m_text(text) {
    m_starts.push_back(0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        if (text[i] == '\n' || text[i] == '\r')
            m_starts.push_back(i + 1);
    }
}

std::size_t TextLines::lineEnd(std::size_t line) const {
    if (line + 1 >= m_starts.size())
        return m_text.size();
    std::size_t end = m_starts[line + 1] - 1;
    if (end > m_starts[line] && m_text[end] == '\n' && m_text[end - 1] == '\r')
        --end;
    return end;
}

std::size_t TextLines::offsetOf(TextPosition position, PositionEncoding encoding) const {
    if (position.line < 0)
        return 0;
    const auto line = static_cast<std::size_t>(position.line);
    if (line >= m_starts.size())
        return m_text.size();
    const std::size_t end = lineEnd(line);
    std::size_t at = m_starts[line];
    for (int counted = 0; at < end;) {
        const std::size_t width = encoding == PositionEncoding::Utf8
                                      ? utf8LengthOfByte(static_cast<unsigned char>(m_text[at]))
                                      : 1;
        if (counted + static_cast<int>(width) > position.character)
            break;
        counted += static_cast<int>(width);
        ++at;
    }
    return at;
}

TextPosition TextLines::positionOf(std::size_t offset, PositionEncoding encoding) const {
    offset = std::min(offset, m_text.size());
    const auto next = std::upper_bound(m_starts.begin(), m_starts.end(), offset);
    const auto line = static_cast<std::size_t>(next - m_starts.begin() - 1);
    const std::size_t start = m_starts[line];
    const std::size_t column = std::min(offset, lineEnd(line)) - start;
    return {static_cast<int>(line),
            charactersBefore(m_text.substr(start, column), column, encoding)};
}

int charactersBefore(std::string_view line, std::size_t column, PositionEncoding encoding) {
    column = std::min(column, line.size());
    if (encoding == PositionEncoding::Utf16)
        return static_cast<int>(column);
    int characters = 0;
    for (std::size_t i = 0; i < column; ++i)
        characters += static_cast<int>(utf8LengthOfByte(static_cast<unsigned char>(line[i])));
    return characters;
}

} // namespace talmo
