// SPDX-License-Identifier: GPL-3.0-or-later
#include "Completion.h"

#include "ReferenceLookup.h"
#include "Text.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace talmo {

namespace {

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

template <typename Visit> void eachLine(std::string_view text, Visit visit) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        visit(line);
        start = end + 1;
    }
}

bool isWordByte(char c) {
    return isIdentifierByte(static_cast<unsigned char>(c));
}

// The rank of a kind when two items share a name: lower wins.
int rankOf(const CompletionItem& item) {
    switch (item.kind) {
    case CompletionKind::Definition:
        return item.definitionKind == DefinitionKind::Prototype ? 1 : 0;
    case CompletionKind::Builtin:
        return 2;
    case CompletionKind::Keyword:
        return 3;
    case CompletionKind::ConsoleName:
        return 4;
    }
    return 5;
}

} // namespace

bool startsWithNoCase(std::string_view name, std::string_view prefix) {
    return name.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), name.begin(),
                      [](char a, char b) { return lowerAscii(a) == lowerAscii(b); });
}

LanguageWords languageWordsOf(std::string_view builtinPage, std::string_view lexPage,
                              std::string_view consolePage) {
    LanguageWords words;
    eachLine(builtinPage, [&](std::string_view line) {
        if (line.empty() || isBlank(line[0]))
            return;
        const std::size_t hash = line.find("= #");
        if (hash == std::string_view::npos)
            return;
        std::size_t end = hash;
        while (end > 0 && line[end - 1] == ' ')
            --end;
        std::size_t begin = end;
        while (begin > 0 && isWordByte(line[begin - 1]))
            --begin;
        if (begin < end)
            words.builtins.push_back(
                {std::string(line.substr(begin, end - begin)), std::string(line)});
    });

    // An item of the reserved words that is exactly one word is one.
    for (const PageItem& item : reservedWordItems(lexPage))
        if (!item.text.empty() && std::all_of(item.text.begin(), item.text.end(), isWordByte))
            words.keywords.push_back({std::string(item.text), {}});

    eachLine(consolePage, [&](std::string_view line) {
        if (line.empty() || isBlank(line[0]))
            return;
        std::size_t end = 0;
        while (end < line.size() && !isBlank(line[end]) && line[end] != '{')
            ++end;
        words.consoleNames.push_back({std::string(line.substr(0, end)), std::string(line)});
    });
    return words;
}

std::vector<CompletionItem> completionsFor(std::string_view prefix, bool afterDot,
                                           const std::vector<ModDefinition>& mod,
                                           const LanguageWords& words, std::size_t limit) {
    std::map<std::string, CompletionItem, std::less<>> best;
    auto offer = [&](CompletionItem item) {
        if (!startsWithNoCase(item.name, prefix))
            return;
        const auto it = best.find(item.name);
        if (it == best.end())
            best.emplace(item.name, std::move(item));
        else if (rankOf(item) < rankOf(it->second))
            it->second = std::move(item);
    };
    for (const ModDefinition& d : mod)
        if ((d.definition.kind == DefinitionKind::Field) == afterDot)
            offer({d.definition.name, CompletionKind::Definition, d.definition.kind, d.file,
                   d.definition.line, d.lineText});
    if (!afterDot) {
        for (const LanguageWords::Word& w : words.builtins)
            offer({w.name, CompletionKind::Builtin, DefinitionKind::Builtin, {}, 0, w.line});
        for (const LanguageWords::Word& w : words.keywords)
            offer({w.name, CompletionKind::Keyword, DefinitionKind::Global, {}, 0, w.line});
        for (const LanguageWords::Word& w : words.consoleNames)
            offer({w.name, CompletionKind::ConsoleName, DefinitionKind::Global, {}, 0, w.line});
    }
    std::vector<CompletionItem> items;
    items.reserve(best.size());
    for (auto& [name, item] : best)
        items.push_back(std::move(item));
    // The exact case of the prefix first, then by name.
    std::stable_sort(items.begin(), items.end(), [&](const auto& a, const auto& b) {
        return !a.name.starts_with(prefix) < !b.name.starts_with(prefix);
    });
    if (items.size() > limit)
        items.resize(limit);
    return items;
}

std::vector<CompletionItem> completionsIn(const DefinitionIndex& index, const NameAt& typed,
                                          const LanguageWords& words, std::size_t limit) {
    return completionsFor(typed.name, typed.afterDot,
                          completionCandidates(index, typed, limit * 20), words, limit);
}

std::vector<ModDefinition> completionCandidates(const DefinitionIndex& index, const NameAt& typed,
                                                std::size_t limit) {
    std::set<std::pair<std::string_view, bool>> seen;
    return index.definitionsWhere(
        [&](const Definition& d) {
            return (d.kind == DefinitionKind::Field) == typed.afterDot &&
                   startsWithNoCase(d.name, typed.name) &&
                   seen.emplace(d.name, d.kind == DefinitionKind::Prototype).second;
        },
        limit);
}

std::string prototypeOf(const DefinitionIndex& index, std::string_view function,
                        const LanguageWords& words) {
    std::string prototype;
    const std::vector<ModDefinition> targets = jumpTargets(index.definitionsOf(function), false);
    if (!targets.empty())
        prototype = std::string(trimBlanks(targets.front().lineText));
    else
        for (const LanguageWords::Word& w : words.builtins)
            if (w.name == function)
                prototype = w.line;
    if (prototype.find('(') == std::string::npos)
        return {};
    return prototype;
}

namespace {

// Whether `offset` lies in a comment or a string, reading `text` from its
// start: "//" to the line's end, "/*" to "*/", a string to its closing quote
// (a backslash takes the next character) or the line's end.
bool inCommentOrString(std::string_view text, std::size_t offset) {
    enum class In { Code, LineComment, BlockComment, String } in = In::Code;
    const std::size_t end = std::min(offset, text.size());
    for (std::size_t i = 0; i < end; ++i) {
        const char c = text[i];
        const char next = i + 1 < end ? text[i + 1] : '\0';
        switch (in) {
        case In::Code:
            if (c == '"') {
                in = In::String;
            } else if (c == '/' && (next == '/' || next == '*')) {
                in = next == '/' ? In::LineComment : In::BlockComment;
                ++i;
            }
            break;
        case In::LineComment:
            if (c == '\n')
                in = In::Code;
            break;
        case In::BlockComment:
            if (c == '*' && next == '/') {
                in = In::Code;
                ++i;
            }
            break;
        case In::String:
            if (c == '\\')
                ++i;
            else if (c == '"' || c == '\n')
                in = In::Code;
            break;
        }
    }
    return in != In::Code;
}

} // namespace

bool opensCompletion(std::string_view text, std::size_t offset) {
    const NameAt typed = typedPrefix(text, offset);
    return typed.name.size() == 3 && !(typed.name[0] >= '0' && typed.name[0] <= '9') &&
           !inCommentOrString(text, offset);
}

} // namespace talmo
