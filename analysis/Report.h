// SPDX-License-Identifier: GPL-3.0-or-later
// Definition reports: the line tests of "funcs()" (`TestFunctionLine`) and
// ".atributes" (`TestAttributeLine`), the file scans that feed them
// (`ScanFileForFunctions`, `ScanFileForAttributes`), the report file of
// `EditReportClick` and the entry split of `reportlistDblClick`.
//
// All tests are exact-case substring tests on one line as read from the file
// (line end removed, nothing trimmed). "Blanks and control characters" are
// the bytes 0 to 32.
#pragma once

#include "Editor.h" // FileError
#include "ReportReader.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talmo {

// Function type keywords: "void", "string", "float", "vector", "entity".
// Field type keywords: the same with a "." before each.

// `TestFunctionLine`'s definition text: the line up to and including its first
// "=", trimmed, when that "=" does not begin "==", and the head holds ")" and
// a function type keyword (also inside a longer word). nullopt otherwise.
std::optional<std::string> functionDefinition(std::string_view line);

// `TestAttributeLine`'s definition text: the trimmed line up to and including
// its first ";", when the line holds "." before that ";" and a field type
// keyword anywhere. nullopt otherwise.
std::optional<std::string> attributeDefinition(std::string_view line);

// A report entry: `source` (the bare file name) + " - " + `definition`.
std::string reportEntry(std::string_view source, std::string_view definition);

// The line tests with their entries: append source + " - " + definition to
// `entries` when the line yields one. Return whether they did.
bool testFunctionLine(std::string_view line, std::string_view source,
                      std::vector<std::string>& entries);
bool testAttributeLine(std::string_view line, std::string_view source,
                       std::vector<std::string>& entries);

// The file scans: open `path` in `reader` (closing any file it held), test
// every line in file order (lines end at CR LF or LF; the last line counts
// even without a line break; an empty file has no line), append the entries,
// named after `source` (`ReportSource`), to `entries`, and close the file.
// Throw FileError when the file cannot be opened or read (also for a FIFO,
// a device or a directory); entries added before the failure stay and the
// reader is left closed.
void scanFileForFunctions(ReportReader& reader, const std::filesystem::path& path,
                          std::string_view source, std::vector<std::string>& entries);
void scanFileForAttributes(ReportReader& reader, const std::filesystem::path& path,
                           std::string_view source, std::vector<std::string>& entries);

// The report file, written into the working directory and never scanned.
inline constexpr std::string_view kReportFileName = "talmo.report.txt";

// Whether a report run skips the listed file `name`: only the exact report
// file name, byte for byte.
bool skippedByReportRun(std::string_view name);

// The lines of the report file, each to be followed by CR LF (joinCrLf): a
// head of eight lines, every entry unchanged, an empty line and " // End of
// data.".
std::vector<std::string> reportFileLines(const std::vector<std::string>& entries);

// The parts of an entry that a double click uses: the file part (before the
// first " - ") and the definition part (after it), each without leading and
// trailing bytes 0 to 32. An entry without " - " is all file part, with an
// empty definition.
struct ReportEntryParts {
    std::string file;
    std::string definition;
};
ReportEntryParts splitReportEntry(std::string_view entry);

} // namespace talmo
