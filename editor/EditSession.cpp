// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditSession.h"

#include <algorithm>
#include <system_error>

namespace talmo {

namespace fs = std::filesystem;

namespace {

// The file's modification time; the minimum when it cannot be read.
fs::file_time_type modifiedTime(const fs::path& path) {
    std::error_code ec;
    const fs::file_time_type t = fs::last_write_time(path, ec);
    return ec ? fs::file_time_type::min() : t;
}

enum class OnDisk { Same, Changed, Missing, Unreadable };

// How the file compares with what it held; its bytes go to `bytes` when asked.
OnDisk compareWithDisk(const fs::path& file, const std::optional<DiskStamp>& expected,
                       std::string* bytes = nullptr) {
    std::error_code ec;
    if (fs::symlink_status(file, ec).type() == fs::file_type::not_found)
        return OnDisk::Missing;
    try {
        std::string read = readFileBytes(file);
        const bool same = expected && stampOf(read) == *expected;
        if (bytes)
            *bytes = std::move(read);
        return same ? OnDisk::Same : OnDisk::Changed;
    } catch (const FileError&) {
        return OnDisk::Unreadable;
    }
}

} // namespace

bool writeUnlessChanged(const fs::path& path, const std::optional<DiskStamp>& expected,
                        std::string_view bytes, const fs::path& safeCopies) {
    const auto unchanged = [&] { return compareWithDisk(path, expected) != OnDisk::Changed; };
    if (!unchanged())
        return false;
    WriteOptions options;
    options.safeCopies = safeCopies;
    // The write may take a while: a change that lands meanwhile is caught
    // right before the new bytes replace the file.
    options.stillUnchanged = unchanged;
    try {
        writeFileBytes(path, bytes, options);
    } catch (const OutsideChange&) {
        return false;
    }
    return true;
}

bool EditSession::textChanged() const {
    if (m_editor.length() != static_cast<long>(m_savedText.size()))
        return true;
    return m_editor.text() != m_savedText;
}

void EditSession::adopt(const fs::path& path, const std::string& bytes) {
    m_file = path;
    m_stamp = stampOf(bytes);
    m_style = lineBreakStyleOf(bytes);
    m_savedText = m_editor.text();
    m_failed = false;
}

void EditSession::load(const fs::path& path) {
    // Taken before the read: a change during it still shows as a change.
    const fs::file_time_type modified = modifiedTime(path);
    const std::string bytes = readFileBytes(path);
    m_editor.setText(bytes);
    adopt(path, bytes);
    m_modified = modified;
}

void EditSession::recover(const JournalEntry& entry) {
    std::string bytes;
    const bool exists = compareWithDisk(entry.file, entry.base, &bytes) != OnDisk::Missing;
    // The journal's text counts as edits over what the file holds now, and
    // a write checks the file against the version the journal was based on.
    m_file = entry.file;
    m_stamp = entry.base;
    m_style = exists ? lineBreakStyleOf(bytes) : LineBreakStyle{};
    m_savedText = normalizeLineBreaks(bytes);
    m_modified = modifiedTime(entry.file);
    m_failed = false;
    m_editor.setText(entry.text);
}

JournalEntry EditSession::journalEntry(std::int64_t now) const {
    JournalEntry entry;
    std::error_code ec;
    entry.file = fs::absolute(m_file, ec);
    if (ec)
        entry.file = m_file;
    entry.base = m_stamp;
    entry.written = now;
    entry.text = m_editor.text();
    return entry;
}

fs::path EditSession::keepRecovery(const std::string& text) {
    // The same text again (a second compile after a conflict) is not copied
    // twice while its copy is still there as written.
    const DiskStamp stamp = stampOf(text);
    if (!m_lastRecovery.empty() && stamp == m_lastRecoveryStamp &&
        compareWithDisk(m_lastRecovery, stamp) == OnDisk::Same)
        return m_lastRecovery;
    fs::path copy = writeRecoveryCopy(m_file, text, m_fallback);
    if (!copy.empty()) {
        m_lastRecovery = copy;
        m_lastRecoveryStamp = stamp;
    }
    return copy;
}

EditSession::Autosave EditSession::autosave() {
    Autosave result;
    if (m_file.empty())
        return result;
    const std::string text = m_editor.text();
    if (text == m_savedText)
        return result;
    if (text.empty()) {
        result.kind = Autosave::Kind::Empty;
        return result;
    }
    if (m_failed) {
        result.kind = Autosave::Kind::SkippedFailed;
        result.recovery = keepRecovery(text);
        return result;
    }
    const std::string bytes = withLineBreaks(text, m_style.kind);
    try {
        if (!writeUnlessChanged(m_file, m_stamp, bytes, m_safeCopies)) {
            result.kind = Autosave::Kind::ChangedOnDisk;
            result.recovery = keepRecovery(text);
            return result;
        }
    } catch (const FileError& e) {
        m_failed = true;
        result.kind = Autosave::Kind::Failed;
        result.error = e.what();
        result.recovery = keepRecovery(text);
        return result;
    }
    if (m_style.mixed)
        result.madeUniform = m_style.kind;
    m_style.mixed = false;
    m_stamp = stampOf(bytes);
    m_modified = modifiedTime(m_file);
    m_savedText = text;
    m_failed = false;
    result.kind = Autosave::Kind::Saved;
    return result;
}

EditSession::DiskChange EditSession::followDisk() {
    if (m_file.empty())
        return DiskChange::None;
    // The same time and size as when loaded or written (the watcher also
    // reports the program's own saves): not read again.
    std::error_code ec;
    const fs::file_time_type modified = modifiedTime(m_file);
    const std::uintmax_t size = fs::file_size(m_file, ec);
    if (modified == m_modified && !ec && m_stamp && size == m_stamp->size)
        return DiskChange::None;
    std::string bytes;
    switch (compareWithDisk(m_file, m_stamp, &bytes)) {
    case OnDisk::Same: // touched, not changed
        m_modified = modified;
        return DiskChange::None;
    case OnDisk::Unreadable:
        return DiskChange::None;
    case OnDisk::Missing:
        return DiskChange::Vanished;
    case OnDisk::Changed:
        break;
    }
    if (textChanged())
        return DiskChange::Conflict;
    const long caret = m_editor.selectionStart();
    m_editor.setText(bytes);
    adopt(m_file, bytes);
    m_modified = modified;
    m_editor.setSelectionStart(std::min(caret, m_editor.length()));
    return DiskChange::Reloaded;
}

fs::path writeRecoveryCopy(const fs::path& original, std::string_view text,
                           const fs::path& fallbackDir) {
    fs::path base = original.filename();
    base += ".recovered";
    const fs::path dir = original.has_parent_path() ? original.parent_path() : fs::path(".");
    if (fs::path beside = writeNewFile(dir, base, text); !beside.empty())
        return beside;
    if (fallbackDir.empty())
        return {};
    std::error_code ec;
    fs::create_directories(fallbackDir, ec);
    return writeNewFile(fallbackDir, base, text);
}

} // namespace talmo
