// SPDX-License-Identifier: GPL-3.0-or-later
// The state of the file being edited and the rules that write it back: what
// was loaded (its identity on disk, its line-break style, the text as
// loaded), whether the editor's text has changed since, and what a switch,
// a close or a compile may write. No Qt; works on any Editor.
//
// The rules: a file is written only when the editor's text differs from what
// was loaded or last written; a file changed on disk since is never
// overwritten (the editor's text goes to a recovery file beside it); text
// that cannot be written is kept in a recovery file before anything can be
// loaded over it.
#pragma once

#include "DiskStamp.h"
#include "Editor.h"
#include "Journal.h"
#include "Text.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace talmo {

class EditSession {
public:
    explicit EditSession(Editor& editor) : m_editor(editor) {}

    // The file whose text the editor holds; empty when none was loaded yet.
    const std::filesystem::path& file() const { return m_file; }
    // The last autosave of the editor failed: later ones keep copies only.
    bool failed() const { return m_failed; }
    // The editor's text differs from what was loaded or last written.
    bool textChanged() const;

    // Where recovery files go when the file's own directory takes none.
    void setFallbackRecoveryDirectory(std::filesystem::path dir) { m_fallback = std::move(dir); }
    // Where a file that can only be written in place first keeps its old and
    // new bytes; without one such a file is not written.
    void setSafeCopyDirectory(std::filesystem::path dir) { m_safeCopies = std::move(dir); }

    // Loads `path` into the editor (every line break as CR LF) and makes it
    // the current file. Throws FileError when it cannot be read: then nothing
    // changes, and the file that was current stays current with its text.
    void load(const std::filesystem::path& path);

    // Makes a journal's text the editor's text, as unsaved edits of its file
    // based on the version the journal names: the next autosave writes it if
    // the file still holds that version, and keeps both otherwise. A file
    // that is gone is written anew.
    void recover(const JournalEntry& entry);
    // The editor's text as a journal entry of the current file.
    JournalEntry journalEntry(std::int64_t now) const;

    struct Autosave {
        enum class Kind {
            NotNeeded,     // no file, or the text is as loaded: nothing written
            Empty,         // the editor holds no text: the file is left as it is
            Saved,         // the text was written to file()
            Failed,        // writing failed: the text went to `recovery`
            ChangedOnDisk, // the file changed on disk: kept; the text went to `recovery`
            SkippedFailed, // failed() blocks the write: the text went to `recovery`
        };
        Kind kind = Kind::NotNeeded;
        // The recovery copy; empty when none was needed or even that failed.
        std::filesystem::path recovery;
        std::string error; // why the write failed
        // Saved: the file mixed line-break styles and now uses this one only.
        std::optional<LineBreak> madeUniform;
        // The text is safe: written, kept in a copy, or nothing to keep.
        bool textKept() const {
            return kind == Kind::NotNeeded || kind == Kind::Empty || kind == Kind::Saved ||
                   !recovery.empty();
        }
    };
    // Writes the editor's text back by the rules above.
    Autosave autosave();

    enum class DiskChange {
        None,     // disk and editor agree (or nothing is loaded)
        Reloaded, // the file changed and the text was untouched: the editor shows the new version
        Conflict, // the file changed and the text was edited: nothing done; the next autosave keeps
                  // both
        Vanished, // the file is gone: the editor keeps its text
    };
    // Brings an untouched editor up to date with the file on disk; the caret
    // stays at its offset, or the end of a shorter text.
    DiskChange followDisk();

private:
    void adopt(const std::filesystem::path& path, const std::string& bytes);
    std::filesystem::path keepRecovery(const std::string& text);

    Editor& m_editor;
    std::filesystem::path m_file;
    std::filesystem::path m_fallback;
    std::filesystem::path m_safeCopies;
    // What the file held when loaded or written; nullopt when it did not exist.
    std::optional<DiskStamp> m_stamp;
    // When the file was loaded or written, to skip rereading it unchanged.
    std::filesystem::file_time_type m_modified = std::filesystem::file_time_type::min();
    std::string m_savedText; // the editor's text as loaded or last written
    LineBreakStyle m_style;  // the file's line breaks: written back the same way
    bool m_failed = false;
    // The last recovery copy, so the same text is not copied twice.
    std::filesystem::path m_lastRecovery;
    DiskStamp m_lastRecoveryStamp;
};

// Writes `bytes` over `path` unless the file no longer holds `expected`
// (nullopt: no file), checked before writing and again right before the new
// bytes replace it; a file that is gone or unreadable is written. False, with
// nothing written, when it changed. Throws FileError when the write fails.
bool writeUnlessChanged(const std::filesystem::path& path, const std::optional<DiskStamp>& expected,
                        std::string_view bytes, const std::filesystem::path& safeCopies);

// Writes `text` to a new file beside `original` named after it
// ("defs.qc.recovered", then "defs.qc.recovered.2", ...), else in
// `fallbackDir`; never replaces an existing file. Returns its path, or an
// empty path when no copy could be written.
std::filesystem::path writeRecoveryCopy(const std::filesystem::path& original,
                                        std::string_view text,
                                        const std::filesystem::path& fallbackDir);

} // namespace talmo
