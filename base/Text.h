// SPDX-License-Identifier: GPL-3.0-or-later
// Plain helpers shared by every module that handles 8-bit text and files.
// No Qt. Positions are byte offsets; "not found" is -1.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "FileWrite.h"

namespace talmo {

// A blank is a space or a tab.
inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// `s` without the blanks at either end.
inline std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// `s` without the bytes 0 to 32 (blanks, line breaks, control characters) at
// either end.
inline std::string_view trimControls(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32)
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32)
        s.remove_suffix(1);
    return s;
}

// Every line break (CR, LF or CR LF) turned into CR LF.
std::string normalizeLineBreaks(std::string_view text);

// The line break a file is written back with.
enum class LineBreak { CrLf, Lf, Cr };
struct LineBreakStyle {
    LineBreak kind = LineBreak::CrLf;
    bool mixed = false; // the file holds more than one kind
    friend bool operator==(const LineBreakStyle&, const LineBreakStyle&) = default;
};
// The most frequent line break of `bytes` (CR LF on a tie, or when there is
// none), and whether others occur too.
LineBreakStyle lineBreakStyleOf(std::string_view bytes);
// Every line break of `text` (CR LF, a lone CR or a lone LF) written as `kind`.
std::string withLineBreaks(std::string_view text, LineBreak kind);
// "CR LF", "LF" or "CR".
const char* lineBreakName(LineBreak kind);

// CR LF turned back into LF (for files that were LF when loaded).
std::string crlfToLf(std::string_view text);

// The one case-folding rule of every find of the program: letters of the
// Windows-1252 set compare equal to their other case; other bytes as they are.
unsigned char foldCase(unsigned char c);

// First occurrence of `what` in `text` that begins at or after `start` and
// ends at or before start + len and the end of `text`, ignoring letter case.
// -1 for an empty `what`, a negative start, or no occurrence.
long findNoCase(std::string_view text, std::string_view what, long start, long len);

// File paths are std::filesystem::path: wide on Windows, the file-name
// encoding's bytes on POSIX; a std::string converts to one where it holds a
// native name.

// Whole file as bytes. Throws FileError (Editor.h) when the path cannot be
// opened or read, or is no regular file (a directory, FIFO or device).
std::string readFileBytes(const std::filesystem::path& path);
// The same into `bytes`, whose room is used again: a scan of many files reads
// them all through one buffer. A file of more than `limit` bytes, when opened
// or while read, throws FileError. `bytes` is unspecified after a throw.
void readFileBytesInto(const std::filesystem::path& path, std::string& bytes,
                       std::uint64_t limit = UINT64_MAX);

// Lines joined with CR LF after each, as the program writes its own files.
std::string joinCrLf(const std::vector<std::string>& lines);

} // namespace talmo
