// SPDX-License-Identifier: GPL-3.0-or-later
#include "Journal.h"

#include "FileWrite.h"
#include "PathBytes.h"
#include "Text.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iterator>
#include <string_view>
#include <system_error>

namespace talmo {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMagic = "talmo journal 1\n";

std::uint64_t fnv1a(std::string_view bytes) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ull;
    }
    return h;
}

std::string hex(std::uint64_t v) {
    char buffer[17];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(v));
    return buffer;
}

// Reads "<word> <number>\n" (or, with `hexadecimal`, a number in hex) at
// `at`, moving past it.
std::optional<std::uint64_t> number(std::string_view s, std::size_t& at, int base = 10) {
    const char* begin = s.data() + at;
    const char* end = s.data() + s.size();
    std::uint64_t v = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, v, base);
    if (ec != std::errc() || ptr == begin)
        return std::nullopt;
    at = static_cast<std::size_t>(ptr - s.data());
    return v;
}

bool expect(std::string_view s, std::size_t& at, std::string_view word) {
    if (s.substr(at, word.size()) != word)
        return false;
    at += word.size();
    return true;
}

// "<name> <length>\n<bytes>\n"
std::optional<std::string_view> block(std::string_view s, std::size_t& at, std::string_view name) {
    if (!expect(s, at, name) || !expect(s, at, " "))
        return std::nullopt;
    const std::optional<std::uint64_t> n = number(s, at);
    if (!n || !expect(s, at, "\n") || *n > s.size() - at)
        return std::nullopt;
    const std::string_view bytes = s.substr(at, static_cast<std::size_t>(*n));
    at += static_cast<std::size_t>(*n);
    if (!expect(s, at, "\n"))
        return std::nullopt;
    return bytes;
}

void putBlock(std::string& out, std::string_view name, std::string_view bytes) {
    out.append(name).append(" ").append(std::to_string(bytes.size())).append("\n");
    out.append(bytes).append("\n");
}

// Whether `file` lies inside `folder`, compared name by name.
bool inside(const fs::path& file, const fs::path& folder) {
    const fs::path a = file.lexically_normal();
    const fs::path b = folder.lexically_normal();
    auto fi = a.begin();
    for (auto it = b.begin(); it != b.end(); ++it, ++fi) {
        if (it->empty() && std::next(it) == b.end())
            break; // a trailing separator
        if (fi == a.end() || *fi != *it)
            return false;
    }
    return fi != a.end();
}

} // namespace

fs::path journalPathOf(const fs::path& journalDir, const fs::path& file) {
    return journalDir / (hex(fnv1a(pathBytes(file))) + ".journal");
}

void writeJournal(const fs::path& journalDir, const JournalEntry& entry) {
    std::string out;
    out.reserve(entry.text.size() + 256);
    out.append(kMagic);
    putBlock(out, "file", pathBytes(entry.file));
    if (entry.base)
        out.append("base ")
            .append(std::to_string(entry.base->size))
            .append(" ")
            .append(hex(entry.base->hash))
            .append("\n");
    else
        out.append("base none\n");
    out.append("written ").append(std::to_string(entry.written)).append("\n");
    putBlock(out, "text", entry.text);
    std::error_code ec;
    fs::create_directories(journalDir, ec);
    writeGeneratedFileBytes(journalPathOf(journalDir, entry.file), out);
}

std::optional<JournalEntry> readJournal(const fs::path& path) {
    std::string bytes;
    try {
        bytes = readFileBytes(path);
    } catch (const FileError&) {
        return std::nullopt;
    }
    const std::string_view s = bytes;
    std::size_t at = 0;
    if (!expect(s, at, kMagic))
        return std::nullopt;
    JournalEntry entry;
    const std::optional<std::string_view> file = block(s, at, "file");
    if (!file || file->empty() || !expect(s, at, "base "))
        return std::nullopt;
    entry.file = pathOfBytes(*file);
    if (!expect(s, at, "none\n")) {
        const std::optional<std::uint64_t> size = number(s, at);
        if (!size || !expect(s, at, " "))
            return std::nullopt;
        const std::optional<std::uint64_t> hash = number(s, at, 16);
        if (!hash || !expect(s, at, "\n"))
            return std::nullopt;
        entry.base = DiskStamp{*size, *hash};
    }
    if (!expect(s, at, "written "))
        return std::nullopt;
    const std::optional<std::uint64_t> written = number(s, at);
    if (!written || !expect(s, at, "\n"))
        return std::nullopt;
    entry.written = static_cast<std::int64_t>(*written);
    const std::optional<std::string_view> text = block(s, at, "text");
    if (!text || at != s.size())
        return std::nullopt;
    entry.text = std::string(*text);
    return entry;
}

void removeJournal(const fs::path& journalDir, const fs::path& file) {
    std::error_code ec;
    fs::remove(journalPathOf(journalDir, file), ec);
}

std::vector<JournalEntry> journalsUnder(const fs::path& journalDir, const fs::path& folder) {
    std::vector<JournalEntry> found;
    std::error_code ec;
    for (fs::directory_iterator it(journalDir, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() != ".journal")
            continue;
        if (std::optional<JournalEntry> entry = readJournal(it->path());
            entry && inside(entry->file, folder))
            found.push_back(std::move(*entry));
    }
    std::stable_sort(found.begin(), found.end(), [](const JournalEntry& a, const JournalEntry& b) {
        return a.written < b.written;
    });
    return found;
}

} // namespace talmo
