// SPDX-License-Identifier: GPL-3.0-or-later
#include "Report.h"

#include "Text.h"

namespace talmo {

namespace {

// Whether one of the keywords begins at `at` of `text`. The keywords of both
// reports begin with one of four letters, so one pass over the text does
// what five substring searches would.
bool keywordAt(std::string_view text, std::size_t at) {
    const std::string_view rest = text.substr(at);
    switch (rest.empty() ? '\0' : rest[0]) {
    case 'v':
        return rest.starts_with("void") || rest.starts_with("vector");
    case 's':
        return rest.starts_with("string");
    case 'f':
        return rest.starts_with("float");
    case 'e':
        return rest.starts_with("entity");
    default:
        return false;
    }
}

// A function type keyword occurs in `text`.
bool hasFunctionKeyword(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (keywordAt(text, i))
            return true;
    return false;
}

// A field type keyword (a "." and a keyword) occurs in `text`.
bool hasFieldKeyword(std::string_view text) {
    for (std::size_t dot = text.find('.'); dot != std::string_view::npos;
         dot = text.find('.', dot + 1))
        if (keywordAt(text, dot + 1))
            return true;
    return false;
}

std::optional<std::string_view> functionHead(std::string_view line) {
    const std::size_t eq = line.find('=');
    // The first "==" begins at the first "=" exactly when a "=" follows it.
    if (eq == std::string_view::npos || (eq + 1 < line.size() && line[eq + 1] == '='))
        return std::nullopt;
    const std::string_view head = line.substr(0, eq + 1);
    if (head.find(')') == std::string_view::npos || !hasFunctionKeyword(head))
        return std::nullopt;
    return trimControls(head);
}

std::optional<std::string_view> attributeHead(std::string_view line) {
    if (line.find('.') == std::string_view::npos)
        return std::nullopt;
    const std::string_view t = trimControls(line);
    const std::size_t semi = t.find(';');
    if (semi == std::string_view::npos || semi < t.find('.') || !hasFieldKeyword(t))
        return std::nullopt;
    return t.substr(0, semi + 1);
}

bool addEntry(std::optional<std::string_view> def, std::string_view source,
              std::vector<std::string>& entries) {
    if (!def)
        return false;
    entries.push_back(reportEntry(source, *def));
    return true;
}

template <typename Test>
void scanFile(ReportReader& reader, const std::filesystem::path& path, std::string_view source,
              std::vector<std::string>& entries, char key, Test test) {
    reader.open(path);
    std::string_view line;
    // Only lines holding `key` can yield an entry: the others are skipped
    // without being cut out.
    while (reader.readLineContaining(key, line))
        addEntry(test(line), source, entries);
    reader.close();
}

} // namespace

std::optional<std::string> functionDefinition(std::string_view line) {
    const std::optional<std::string_view> def = functionHead(line);
    return def ? std::optional<std::string>(*def) : std::nullopt;
}

std::optional<std::string> attributeDefinition(std::string_view line) {
    const std::optional<std::string_view> def = attributeHead(line);
    return def ? std::optional<std::string>(*def) : std::nullopt;
}

std::string reportEntry(std::string_view source, std::string_view definition) {
    std::string entry;
    entry.reserve(source.size() + 3 + definition.size());
    entry.append(source).append(" - ").append(definition);
    return entry;
}

bool testFunctionLine(std::string_view line, std::string_view source,
                      std::vector<std::string>& entries) {
    return addEntry(functionHead(line), source, entries);
}

bool testAttributeLine(std::string_view line, std::string_view source,
                       std::vector<std::string>& entries) {
    return addEntry(attributeHead(line), source, entries);
}

bool skippedByReportRun(std::string_view name) {
    return name == kReportFileName;
}

std::vector<std::string> reportFileLines(const std::vector<std::string>& entries) {
    std::vector<std::string> lines = {
        "",     "/////////////////////", "//  ", "//   Report ",
        "//  ", "/////////////////////", "",     "// All data found in this directory"};
    lines.insert(lines.end(), entries.begin(), entries.end());
    lines.emplace_back("");
    lines.emplace_back(" // End of data.");
    return lines;
}

ReportEntryParts splitReportEntry(std::string_view entry) {
    const std::size_t dash = entry.find(" - ");
    if (dash == std::string_view::npos)
        return {std::string(trimControls(entry)), {}};
    return {std::string(trimControls(entry.substr(0, dash))),
            std::string(trimControls(entry.substr(dash + 3)))};
}

void scanFileForFunctions(ReportReader& reader, const std::filesystem::path& path,
                          std::string_view source, std::vector<std::string>& entries) {
    scanFile(reader, path, source, entries, '=', functionHead);
}

void scanFileForAttributes(ReportReader& reader, const std::filesystem::path& path,
                           std::string_view source, std::vector<std::string>& entries) {
    scanFile(reader, path, source, entries, '.', attributeHead);
}

} // namespace talmo
