// SPDX-License-Identifier: GPL-3.0-or-later
#include "CompilerMessages.h"

#include "BatchLine.h"
#include "Text.h"

#include <algorithm>
#include <optional>

namespace talmo {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number that ends `s`, removed from it; nullopt when `s` does not end in
// a digit or the number is absurdly long.
std::optional<int> takeTrailingNumber(std::string_view& s) {
    std::size_t start = s.size();
    while (start > 0 && isDigit(s[start - 1]))
        --start;
    if (start == s.size() || s.size() - start > 9)
        return std::nullopt;
    int value = 0;
    for (std::size_t i = start; i < s.size(); ++i)
        value = value * 10 + (s[i] - '0');
    s = s.substr(0, start);
    return value;
}

struct Location {
    std::string_view file;
    int line = 0;
    int column = 0;
};

// "file:line", "file:line:column", "file(line)" or "file(line,column)".
std::optional<Location> parseLocation(std::string_view s) {
    s = trimBlanks(s);
    Location loc;
    if (!s.empty() && s.back() == ')') {
        s.remove_suffix(1);
        std::optional<int> last = takeTrailingNumber(s);
        if (!last)
            return std::nullopt;
        if (!s.empty() && s.back() == ',') {
            s.remove_suffix(1);
            const std::optional<int> line = takeTrailingNumber(s);
            if (!line)
                return std::nullopt;
            loc.line = *line;
            loc.column = *last;
        } else {
            loc.line = *last;
        }
        if (s.empty() || s.back() != '(')
            return std::nullopt;
        s.remove_suffix(1);
    } else {
        std::optional<int> last = takeTrailingNumber(s);
        if (!last || s.empty() || s.back() != ':')
            return std::nullopt;
        s.remove_suffix(1);
        std::string_view before = s;
        const std::optional<int> line = takeTrailingNumber(before);
        if (line && !before.empty() && before.back() == ':') {
            before.remove_suffix(1);
            s = before;
            loc.line = *line;
            loc.column = *last;
        } else {
            loc.line = *last;
        }
    }
    if (s.empty() || loc.line <= 0)
        return std::nullopt;
    loc.file = s;
    return loc;
}

bool startsWithWordIgnoringCase(std::string_view s, std::string_view word) {
    return s.size() >= word.size() &&
           std::equal(word.begin(), word.end(), s.begin(), [](char a, char b) {
               return foldCase(static_cast<unsigned char>(a)) ==
                      foldCase(static_cast<unsigned char>(b));
           });
}

// After ": ": "error: text", "error CODE: text", "warning: text", ... Sets
// `kind` and returns the text; nullopt when `s` is no kind word.
std::optional<std::string_view> parseKind(std::string_view s, CompilerMessage::Kind& kind) {
    std::string_view rest;
    if (startsWithWordIgnoringCase(s, "error")) {
        kind = CompilerMessage::Kind::Error;
        rest = s.substr(5);
    } else if (startsWithWordIgnoringCase(s, "warning")) {
        kind = CompilerMessage::Kind::Warning;
        rest = s.substr(7);
    } else {
        return std::nullopt;
    }
    if (!rest.empty() && rest.front() == ' ') {
        // A code: one word, then the colon.
        const std::size_t colon = rest.find(':');
        if (colon == std::string_view::npos)
            return std::nullopt;
        const std::string_view code = trimBlanks(rest.substr(0, colon));
        if (code.empty() || code.find(' ') != std::string_view::npos)
            return std::nullopt;
        rest.remove_prefix(colon);
    }
    if (rest.empty() || rest.front() != ':')
        return std::nullopt;
    return trimBlanks(rest.substr(1));
}

std::optional<CompilerMessage> parseLine(std::string_view line) {
    // The location ends at a ": " that a kind word follows; a file name may
    // hold ": " itself, so every one is tried.
    for (std::size_t sep = line.find(": "); sep != std::string_view::npos;
         sep = line.find(": ", sep + 1)) {
        CompilerMessage m;
        const std::optional<std::string_view> text =
            parseKind(trimBlanks(line.substr(sep + 1)), m.kind);
        if (!text)
            continue;
        const std::optional<Location> loc = parseLocation(line.substr(0, sep));
        if (!loc)
            continue;
        m.file = std::string(loc->file);
        m.line = loc->line;
        m.column = loc->column;
        m.text = std::string(*text);
        return m;
    }
    return std::nullopt;
}

// "error: text" or "warning CODE: text" at the start of a line, the kind word
// in lower case.
std::optional<CompilerMessage> parseUnplaced(std::string_view line) {
    line = trimBlanks(line);
    if (!line.starts_with("error") && !line.starts_with("warning"))
        return std::nullopt;
    CompilerMessage m;
    const std::optional<std::string_view> text = parseKind(line, m.kind);
    if (!text)
        return std::nullopt;
    m.text = std::string(*text);
    return m;
}

// fteqcc's "************ ERROR ************".
bool isErrorBanner(std::string_view line) {
    line = trimBlanks(line);
    if (!line.starts_with('*') || !line.ends_with('*'))
        return false;
    while (!line.empty() && line.front() == '*')
        line.remove_prefix(1);
    while (!line.empty() && line.back() == '*')
        line.remove_suffix(1);
    return trimBlanks(line) == "ERROR";
}

std::string counted(std::size_t n, const char* singular) {
    return std::to_string(n) + " " + singular + (n == 1 ? "" : "s");
}

} // namespace

std::vector<CompilerMessage> parseCompilerMessages(std::string_view output) {
    std::vector<CompilerMessage> messages;
    bool afterBanner = false;
    for (const std::string& line : splitBatchLines(output)) {
        if (afterBanner && !trimBlanks(line).empty()) {
            afterBanner = false;
            // The banner over errors already listed says only that.
            if (!trimBlanks(line).starts_with("Errors have occ") && !parseLine(line)) {
                messages.push_back(
                    {CompilerMessage::Kind::Error, {}, 0, 0, std::string(trimBlanks(line))});
                continue;
            }
        }
        if (isErrorBanner(line))
            afterBanner = true;
        else if (std::optional<CompilerMessage> m = parseLine(line))
            messages.push_back(std::move(*m));
        else if (std::optional<CompilerMessage> unplaced = parseUnplaced(line))
            messages.push_back(std::move(*unplaced));
    }
    return messages;
}

std::string messageSummary(const std::vector<CompilerMessage>& messages,
                           std::optional<int> exitStatus) {
    std::size_t errors = 0;
    for (const CompilerMessage& m : messages)
        errors += m.kind == CompilerMessage::Kind::Error ? 1 : 0;
    if (exitStatus && *exitStatus != 0 && errors == 0)
        return "the compiler failed (exit status " + std::to_string(*exitStatus) + "); see log";
    if (messages.empty())
        return "no errors";
    return counted(errors, "error") + ", " + counted(messages.size() - errors, "warning");
}

} // namespace talmo
