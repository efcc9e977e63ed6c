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

#include "Editor.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace talmo {

// A file's content as it was read or written: enough to tell a real change
// on disk from a touch.
struct DiskStamp {
    std::uintmax_t size = 0;
    std::uint64_t hash = 0;
    friend bool operator==(const DiskStamp&, const DiskStamp&) = default;
};

DiskStamp stampOf(std::string_view bytes);

class EditSession {
public:
    explicit EditSession(Editor& editor) : m_editor(editor) {}

    // The file whose text the editor holds; empty when none (nothing loaded
    // yet, or the last load failed).
    const std::filesystem::path& file() const { return m_file; }
    // The last load or autosave of the editor failed.
    bool failed() const { return m_failed; }
    // The editor's text differs from what was loaded or last written.
    bool textChanged() const;

    // Where recovery files go when the file's own directory takes none.
    void setFallbackRecoveryDirectory(std::filesystem::path dir) { m_fallback = std::move(dir); }

    // Loads `path` into the editor (every line break as CR LF) and makes it
    // the current file. Throws FileError when it cannot be read: then the
    // editor keeps its text, no file is current and failed() is true.
    void load(const std::filesystem::path& path);

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
    enum class OnDisk { Same, Changed, Missing, Unreadable };
    OnDisk compareWithDisk(std::string* bytes) const;
    void adopt(const std::filesystem::path& path, const std::string& bytes);
    std::filesystem::path keepRecovery(const std::string& text) const;

    Editor& m_editor;
    std::filesystem::path m_file;
    std::filesystem::path m_fallback;
    DiskStamp m_stamp;
    // When the file was loaded or written, to skip rereading it unchanged.
    std::filesystem::file_time_type m_modified = std::filesystem::file_time_type::min();
    std::string m_savedText; // the editor's text as loaded or last written
    bool m_lf = false;       // the file used LF line breaks: written back the same way
    bool m_failed = false;
};

// Writes `text` to a new file beside `original` named after it
// ("defs.qc.recovered", then "defs.qc.recovered.2", ...), else in
// `fallbackDir`; never replaces an existing file. Returns its path, or an
// empty path when no copy could be written.
std::filesystem::path writeRecoveryCopy(const std::filesystem::path& original,
                                        std::string_view text,
                                        const std::filesystem::path& fallbackDir);

} // namespace talmo
