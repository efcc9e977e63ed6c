// SPDX-License-Identifier: GPL-3.0-or-later
#include "NameAt.h"

#include "DefinitionScan.h"

#include <algorithm>

namespace talmo {

namespace {

bool isWord(char c) {
    return isIdentifierByte(static_cast<unsigned char>(c));
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

NameAt nameFrom(std::string_view text, std::size_t start, std::size_t end) {
    NameAt found;
    found.name = std::string(text.substr(start, end - start));
    found.start = start;
    found.afterDollar = start > 0 && text[start - 1] == '$';
    std::size_t before = start;
    while (before > 0 && (text[before - 1] == ' ' || text[before - 1] == '\t'))
        --before;
    found.afterDot = before > 0 && text[before - 1] == '.';
    return found;
}

} // namespace

std::optional<NameAt> nameAtOffset(std::string_view text, std::size_t offset) {
    if (offset > text.size())
        return std::nullopt;
    std::size_t start = offset;
    while (start > 0 && isWord(text[start - 1]))
        --start;
    std::size_t end = offset;
    while (end < text.size() && isWord(text[end]))
        ++end;
    if (end == start || isDigit(text[start]))
        return std::nullopt;
    return nameFrom(text, start, end);
}

NameAt typedPrefix(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    std::size_t start = offset;
    while (start > 0 && isWord(text[start - 1]))
        --start;
    return nameFrom(text, start, offset);
}

std::optional<CallAt> callAtOffset(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    int depth = 0;
    int commas = 0;
    for (std::size_t at = offset; at > 0; --at) {
        const char c = text[at - 1];
        if (c == ')') {
            ++depth;
        } else if (c == '(') {
            if (depth > 0) {
                --depth;
                continue;
            }
            std::size_t end = at - 1;
            while (end > 0 && (text[end - 1] == ' ' || text[end - 1] == '\t'))
                --end;
            std::size_t start = end;
            while (start > 0 && isWord(text[start - 1]))
                --start;
            if (start == end || isDigit(text[start]))
                return std::nullopt;
            return CallAt{std::string(text.substr(start, end - start)), commas};
        } else if (c == ',' && depth == 0) {
            ++commas;
        } else if (c == ';' || c == '{' || c == '}') {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace talmo
