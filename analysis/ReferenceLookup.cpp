// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceLookup.h"

#include "Text.h"

namespace talmo {

namespace {

bool isWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::string_view page(const std::vector<std::string>& pages, int index) {
    return index < static_cast<int>(pages.size()) ? std::string_view(pages[index])
                                                  : std::string_view();
}

// Calls `visit(start, line)` for each line; stops at the first true.
template <typename Visit> std::optional<std::size_t> eachLine(std::string_view text, Visit visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        if (const std::optional<std::size_t> at = visit(start, text.substr(start, end - start)))
            return at;
        start = end + 1;
    }
    return std::nullopt;
}

std::optional<std::size_t> findBuiltin(std::string_view text, std::string_view word) {
    return eachLine(text,
                    [&](std::size_t start, std::string_view line) -> std::optional<std::size_t> {
                        // An indented declaration is an example inside the prose.
                        if (line.empty() || line[0] == ' ' || line[0] == '\t')
                            return std::nullopt;
                        for (std::size_t at = line.find(word); at != std::string_view::npos;
                             at = line.find(word, at + 1)) {
                            if (at > 0 && isWordChar(line[at - 1]))
                                continue;
                            std::size_t after = at + word.size();
                            while (after < line.size() && line[after] == ' ')
                                ++after;
                            if (after == line.size() || line[after] != '=')
                                continue;
                            const std::size_t hash = line.find_first_not_of(' ', after + 1);
                            if (hash != std::string_view::npos && line[hash] == '#')
                                return start + at;
                        }
                        return std::nullopt;
                    });
}

std::optional<std::size_t> findReservedWord(std::string_view text, std::string_view word) {
    for (const PageItem& item : reservedWordItems(text))
        if (item.text == word)
            return item.offset;
    return std::nullopt;
}

bool sameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::optional<std::size_t> findConsoleCommand(std::string_view text, std::string_view word) {
    return eachLine(
        text, [&](std::size_t start, std::string_view line) -> std::optional<std::size_t> {
            const std::size_t at = !line.empty() && (line[0] == '+' || line[0] == '-') ? 1 : 0;
            if (!sameIgnoringAsciiCase(line.substr(at, word.size()), word))
                return std::nullopt;
            const std::size_t after = at + word.size();
            if (after == line.size() || line[after] == ' ' || line[after] == '{' ||
                line[after] == '\r')
                return start + at;
            return std::nullopt;
        });
}

} // namespace

std::vector<PageItem> reservedWordItems(std::string_view lexPage) {
    const std::size_t begin = lexPage.find("Reserved words");
    if (begin == std::string_view::npos)
        return {};
    std::size_t end = lexPage.find("\n\n", begin);
    if (end == std::string_view::npos)
        end = lexPage.size();
    std::vector<PageItem> items;
    std::size_t item = begin;
    for (std::size_t i = begin; i <= end; ++i) {
        if (i < end && std::string_view(",:()").find(lexPage[i]) == std::string_view::npos)
            continue;
        // Items run across line breaks: trim those too.
        const std::string_view text = trimControls(lexPage.substr(item, i - item));
        const std::size_t offset = text.empty() ? item : std::size_t(text.data() - lexPage.data());
        items.push_back({offset, text});
        item = i + 1;
    }
    return items;
}

std::optional<ReferenceEntry> findReferenceEntry(const std::vector<std::string>& pages,
                                                 std::string_view word) {
    if (word.empty())
        return std::nullopt;
    for (const char c : word)
        if (!isWordChar(c))
            return std::nullopt;
    if (const auto at = findBuiltin(page(pages, kBuiltinPage), word))
        return ReferenceEntry{kBuiltinPage, *at, word.size()};
    if (const auto at = findReservedWord(page(pages, kLexPage), word))
        return ReferenceEntry{kLexPage, *at, word.size()};
    if (const auto at = findConsoleCommand(page(pages, kConsolePage), word))
        return ReferenceEntry{kConsolePage, *at, word.size()};
    return std::nullopt;
}

} // namespace talmo
