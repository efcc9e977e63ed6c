// SPDX-License-Identifier: GPL-3.0-or-later
// The definition reports: the line tests against the rules spelled out with
// positions, the entries and their split, and the file scans through the
// buffered reader against a plain split of the file's bytes, also for lines
// that straddle the reader's chunks.
#include "FuzzSupport.h"
#include "Report.h"
#include "ReportReader.h"
#include "Text.h"

#include <array>

namespace {

constexpr std::array<std::string_view, 5> kTypes = {"void", "string", "float", "vector", "entity"};

std::optional<std::string> referenceFunction(const std::string& line) {
    const std::size_t e = line.find('=');
    const std::size_t d = line.find("==");
    if (e == d) // both absent, or the first "=" begins "=="
        return std::nullopt;
    const std::string head = line.substr(0, e + 1);
    if (head.find(')') == std::string::npos)
        return std::nullopt;
    bool keyword = false;
    for (std::string_view k : kTypes)
        keyword = keyword || head.find(k) != std::string::npos;
    if (!keyword)
        return std::nullopt;
    return talmo::fuzz::trimmed(head);
}

std::optional<std::string> referenceAttribute(const std::string& line) {
    if (line.find('.') == std::string::npos)
        return std::nullopt;
    const std::string t = talmo::fuzz::trimmed(line);
    const std::size_t s = t.find(';');
    if (s == std::string::npos || s < t.find('.'))
        return std::nullopt;
    bool keyword = false;
    for (std::string_view k : kTypes)
        keyword = keyword || t.find("." + std::string(k)) != std::string::npos;
    if (!keyword)
        return std::nullopt;
    return t.substr(0, s + 1);
}

// Lines of a file: ending at LF (a CR before it dropped), the last one kept
// even without a line break.
std::vector<std::string> fileLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t lf = bytes.find('\n', pos);
        if (lf == std::string::npos) {
            lines.push_back(bytes.substr(pos));
            break;
        }
        std::size_t end = lf;
        if (end > pos && bytes[end - 1] == '\r')
            --end;
        lines.push_back(bytes.substr(pos, end - pos));
        pos = lf + 1;
    }
    return lines;
}

void checkLine(const std::string& line, const std::string& source) {
    const std::optional<std::string> f = talmo::functionDefinition(line);
    TALMO_FUZZ_CHECK(f == referenceFunction(line));
    if (f) {
        TALMO_FUZZ_CHECK(!f->empty() && f->back() == '=');
        TALMO_FUZZ_CHECK(talmo::fuzz::trimmed(*f) == *f);
    }
    const std::optional<std::string> a = talmo::attributeDefinition(line);
    TALMO_FUZZ_CHECK(a == referenceAttribute(line));
    if (a)
        TALMO_FUZZ_CHECK(!a->empty() && a->back() == ';' && a->find(';') == a->size() - 1);

    std::vector<std::string> entries = {"kept"};
    TALMO_FUZZ_CHECK(talmo::testFunctionLine(line, source, entries) == f.has_value());
    TALMO_FUZZ_CHECK(talmo::testAttributeLine(line, source, entries) == a.has_value());
    std::vector<std::string> expected = {"kept"};
    if (f)
        expected.push_back(source + " - " + *f);
    if (a)
        expected.push_back(source + " - " + *a);
    TALMO_FUZZ_CHECK(entries == expected);

    // A double click on an entry finds the file part and the definition again
    // when the file name is plain.
    for (std::size_t i = 1; i < entries.size(); ++i) {
        const talmo::ReportEntryParts parts = talmo::splitReportEntry(entries[i]);
        if (source.find('-') == std::string::npos && talmo::fuzz::trimmed(source) == source) {
            TALMO_FUZZ_CHECK(parts.file == source);
            TALMO_FUZZ_CHECK(parts.definition == talmo::fuzz::trimmed(i == 1 && f ? *f : *a));
        }
        TALMO_FUZZ_CHECK(talmo::fuzz::trimmed(parts.file) == parts.file);
        TALMO_FUZZ_CHECK(talmo::fuzz::trimmed(parts.definition) == parts.definition);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    talmo::fuzz::FuzzInput in(data, size);
    const std::string source = in.shortString();
    const std::uint8_t mode = in.byte();
    const std::string bytes = in.rest();

    const std::vector<std::string> lines = fileLines(bytes);
    for (const std::string& line : lines)
        checkLine(line, source);
    checkLine(bytes, source); // the whole input as one line, line breaks and all

    const std::vector<std::string> report = talmo::reportFileLines(lines);
    TALMO_FUZZ_CHECK(report.size() == lines.size() + 10);
    TALMO_FUZZ_CHECK(report.back() == " // End of data.");
    TALMO_FUZZ_CHECK(talmo::skippedByReportRun(source) == (source == "talmo.report.txt"));

    // The scan of a file. Most runs scan the bytes alone; some put them after
    // filler that ends near the reader's 256 KiB chunk, as many short lines
    // or as one long line, so that lines straddle the chunk border or outgrow
    // the buffer.
    std::string file;
    const std::size_t chunk = std::size_t{1} << 18;
    const std::size_t fill = chunk - (mode >> 3);
    if ((mode & 7) == 1) {
        while (file.size() + 16 <= fill)
            file += "filler; line 1\r\n";
        file.resize(fill, 'y');
    } else if ((mode & 7) == 2) {
        file.assign(fill, 'x');
    }
    file += bytes;
    const std::string path = talmo::fuzz::scratchDirectory() + "/scan.qc";
    talmo::writeFileBytes(path, file);

    const std::vector<std::string> all = fileLines(file);
    std::vector<std::string> expectFunctions;
    std::vector<std::string> expectAttributes;
    for (const std::string& line : all) {
        if (const auto f = referenceFunction(line))
            expectFunctions.push_back(source + " - " + *f);
        if (const auto a = referenceAttribute(line))
            expectAttributes.push_back(source + " - " + *a);
    }
    talmo::ReportReader reader; // one reader for every scan, as in the window
    std::vector<std::string> functions;
    talmo::scanFileForFunctions(reader, path, source, functions);
    TALMO_FUZZ_CHECK(!reader.isOpen());
    TALMO_FUZZ_CHECK(functions == expectFunctions);
    std::vector<std::string> attributes;
    talmo::scanFileForAttributes(reader, path, source, attributes);
    TALMO_FUZZ_CHECK(attributes == expectAttributes);

    // Line by line, and filtered on a byte, the reader gives the plain split.
    reader.open(path);
    std::string_view line;
    std::size_t i = 0;
    while (reader.readLine(line)) {
        TALMO_FUZZ_CHECK(i < all.size() && line == all[i]);
        ++i;
    }
    TALMO_FUZZ_CHECK(i == all.size());
    const char key = bytes.empty() ? '=' : bytes[bytes.size() / 2];
    if (key != '\n' && key != '\r') {
        reader.open(path);
        std::size_t j = 0;
        while (reader.readLineContaining(key, line)) {
            while (j < all.size() && all[j].find(key) == std::string::npos)
                ++j;
            TALMO_FUZZ_CHECK(j < all.size() && line == all[j]);
            ++j;
        }
        while (j < all.size() && all[j].find(key) == std::string::npos)
            ++j;
        TALMO_FUZZ_CHECK(j == all.size());
    }
    reader.close();
    return 0;
}
