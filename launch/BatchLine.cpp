// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchLine.h"

#include "Batch.h"
#include "Text.h"

namespace talmo {

namespace {

std::string_view unquote(std::string_view s) {
    if (s.size() >= 2 && s.front() == '"' && s.back() == '"')
        return s.substr(1, s.size() - 2);
    return s;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// When `line` is `word` alone or `word` followed by a blank, sets `rest` to
// what follows the blank.
bool startsWithWord(std::string_view line, std::string_view word, std::string_view& rest) {
    if (line.size() < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (lowerAscii(line[i]) != word[i])
            return false;
    if (line.size() == word.size()) {
        rest = {};
        return true;
    }
    if (!isBlank(line[word.size()]))
        return false;
    rest = line.substr(word.size() + 1);
    return true;
}

} // namespace

BatchStep parseBatchLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (trimBlanks(line).empty() || drivePart(line) == line)
        return {};
    std::string_view rest;
    if (startsWithWord(line, "cd", rest)) {
        const std::string_view dir = unquote(trimBlanks(rest));
        if (dir.empty())
            return {};
        return {BatchStep::Kind::ChangeDir, std::string(dir)};
    }
    if (startsWithWord(line, "notepad", rest))
        return {BatchStep::Kind::Notepad, std::string(unquote(trimBlanks(rest)))};
    if (startsWithWord(line, "start", rest)) {
        rest = trimBlanks(rest);
        if (rest.substr(0, 2) == "\"\"" && rest.size() > 2 && isBlank(rest[2]))
            rest = trimBlanks(rest.substr(3));
        const std::string_view target = unquote(rest);
        if (target.empty())
            return {};
        return {BatchStep::Kind::Open, std::string(target)};
    }
    return {BatchStep::Kind::Shell, std::string(line)};
}

std::vector<BatchStep> batchSteps(std::string_view batchName, std::string_view bytes) {
    const std::size_t slash = batchName.find_last_of('/');
    if (slash != std::string_view::npos)
        batchName.remove_prefix(slash + 1);
    const std::vector<std::string> lines = splitBatchLines(bytes);
    // Which lines hold typed text: the composed lines come after it (a
    // "notepad" of the output) or before it (the game's drive and "cd").
    std::size_t typedBegin = 0, typedEnd = 0;
    if (batchName == kCompileBatch || batchName == kCommandBatch) {
        typedEnd = lines.empty() ? 0 : lines.size() - 1;
    } else if (batchName == kGameBatch) {
        typedBegin = 2;
        typedEnd = lines.size();
    }
    std::vector<BatchStep> steps;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i >= typedBegin && i < typedEnd)
            steps.push_back({BatchStep::Kind::Shell, lines[i]});
        else
            steps.push_back(parseBatchLine(lines[i]));
    }
    return steps;
}

std::string progressLine(std::size_t number, int status) {
    return std::to_string(number) + " " + std::to_string(status) + "\n";
}

std::optional<LineProgress> parseProgressLine(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    const std::size_t blank = line.find(' ');
    if (blank == std::string_view::npos)
        return std::nullopt;
    auto number = [](std::string_view digits) -> std::optional<long long> {
        if (digits.empty() || digits.size() > 9)
            return std::nullopt;
        long long value = 0;
        for (const char c : digits) {
            if (c < '0' || c > '9')
                return std::nullopt;
            value = value * 10 + (c - '0');
        }
        return value;
    };
    const std::optional<long long> n = number(line.substr(0, blank));
    const std::optional<long long> status = number(line.substr(blank + 1));
    if (!n || !status)
        return std::nullopt;
    return LineProgress{static_cast<std::size_t>(*n), static_cast<int>(*status)};
}

std::vector<std::string> splitBatchLines(std::string_view bytes) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view l = bytes.substr(pos, end - pos);
        if (!l.empty() && l.back() == '\r')
            l.remove_suffix(1);
        lines.emplace_back(l);
        pos = next;
    }
    return lines;
}

} // namespace talmo
