// SPDX-License-Identifier: GPL-3.0-or-later
#include "GoToLine.h"

#include "Editor.h"

#include <algorithm>

namespace talmo {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

std::optional<long long> parseLineNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
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
    const long long existing = std::min<long long>(std::max(lines, 0LL), editor.lineCount());
    long long offset = 0;
    for (int i = 0; i < existing; ++i)
        offset += static_cast<long long>(editor.line(i).size()) + 2;
    return static_cast<long>(std::min<long long>(offset, editor.length()));
}

} // namespace talmo
