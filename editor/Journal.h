// SPDX-License-Identifier: GPL-3.0-or-later
// The journal of unsaved work: while the editor's text differs from its file,
// a copy of it with the file's name and the disk version it was based on,
// kept where a crash cannot take it, one journal per file. Each journal is
// written whole and durably (temporary file, flush, rename). No Qt.
#pragma once

#include "DiskStamp.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace talmo {

struct JournalEntry {
    std::filesystem::path file; // the edited file, absolute
    // The file as the text was based on it; nullopt when it did not exist.
    std::optional<DiskStamp> base;
    std::int64_t written = 0; // when, in seconds since 1970 (UTC)
    std::string text;         // the editor's text (CR LF line breaks)
    friend bool operator==(const JournalEntry&, const JournalEntry&) = default;
};

// Where the journal of `file` lives in `journalDir`.
std::filesystem::path journalPathOf(const std::filesystem::path& journalDir,
                                    const std::filesystem::path& file);

// Writes the journal of entry.file durably, replacing its previous one.
// Throws FileError.
void writeJournal(const std::filesystem::path& journalDir, const JournalEntry& entry);

// The journal in `path`; nullopt when it is missing or not a whole journal.
std::optional<JournalEntry> readJournal(const std::filesystem::path& path);

// Removes the journal of `file`, if any.
void removeJournal(const std::filesystem::path& journalDir, const std::filesystem::path& file);

// The journals of files inside `folder` (its subfolders included), oldest
// first.
std::vector<JournalEntry> journalsUnder(const std::filesystem::path& journalDir,
                                        const std::filesystem::path& folder);

} // namespace talmo
