// SPDX-License-Identifier: GPL-3.0-or-later
#include "FunctionIndex.h"

namespace talmo {

bool qualifiesForIndex(std::string_view line) {
    for (std::string_view t : kIndexTests)
        if (line.find(t) != std::string_view::npos)
            return true;
    return false;
}

std::optional<std::string> indexEntry(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    std::string entry;
    entry.reserve(eq + 1);
    for (char c : line.substr(0, eq + 1))
        if (c != '\r')
            entry += c;
    return entry;
}

namespace {

void addIfDefinition(std::string_view line, std::vector<std::string>& entries) {
    // Most lines hold no "=" at all: test that first, the outcome is the same.
    if (line.find('=') == std::string_view::npos || !qualifiesForIndex(line))
        return;
    if (auto entry = indexEntry(line))
        entries.push_back(std::move(*entry));
}

} // namespace

std::vector<std::string> buildFunctionIndex(const std::vector<std::string>& lines) {
    std::vector<std::string> entries;
    for (const std::string& line : lines)
        addIfDefinition(line, entries);
    return entries;
}

std::vector<std::string> buildFunctionIndexFromText(std::string_view text) {
    std::vector<std::string> entries;
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t end = text.find("\r\n", begin);
        if (end == std::string_view::npos)
            end = text.size();
        addIfDefinition(text.substr(begin, end - begin), entries);
        begin = end + 2;
    }
    return entries;
}

} // namespace talmo
