// SPDX-License-Identifier: GPL-3.0-or-later
#include "GoToLine.h"

#include "Editor.h"

#include <algorithm>

namespace talmo {

namespace {

bool isWhitespace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

std::optional<long long> parseLineNumber(std::string_view text) {
    while (!text.empty() && isWhitespace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isWhitespace(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        if (value > (1LL << 40))
            return std::nullopt; // far beyond any line count
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

long offsetAfterLines(const Editor& editor, long long lines) {
    // Every line break is two bytes, so the start of the line after `lines`
    // lines is the offset; past the last line, the end of the text.
    return editor.lineStart(static_cast<int>(std::clamp<long long>(lines, 0, editor.lineCount())));
}

} // namespace talmo
