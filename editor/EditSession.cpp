// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditSession.h"

#include "Text.h"

#include <cstring>
#include <system_error>

namespace talmo {

namespace fs = std::filesystem;

DiskStamp stampOf(std::string_view bytes) {
    // Eight bytes a step, mixed with a multiply and a shift: fast enough to
    // hash a file at every switch, and no two versions of a file that a
    // person writes will meet.
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ bytes.size();
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        h = (h ^ word) * 0xBF58476D1CE4E5B9ull;
        h ^= h >> 31;
    }
    for (; i < bytes.size(); ++i) {
        h = (h ^ static_cast<unsigned char>(bytes[i])) * 0x94D049BB133111EBull;
        h ^= h >> 29;
    }
    return DiskStamp{bytes.size(), h};
}

bool EditSession::textChanged() const {
    if (m_editor.length() != static_cast<long>(m_savedText.size()))
        return true;
    return m_editor.text() != m_savedText;
}

void EditSession::adopt(const fs::path& path, const std::string& bytes) {
    m_file = path;
    m_stamp = stampOf(bytes);
    m_lf = usesLfLineBreaks(bytes);
    m_savedText = m_editor.text();
    m_failed = false;
}

namespace {

// The file's modification time; the minimum when it cannot be read.
fs::file_time_type modifiedTime(const fs::path& path) {
    std::error_code ec;
    const fs::file_time_type t = fs::last_write_time(path, ec);
    return ec ? fs::file_time_type::min() : t;
}

} // namespace

void EditSession::load(const fs::path& path) {
    // Taken before the read: a change during it still shows as a change.
    const fs::file_time_type modified = modifiedTime(path);
    std::string bytes;
    try {
        bytes = readFileBytes(path);
    } catch (const FileError&) {
        m_file.clear();
        m_savedText.clear();
        m_failed = true;
        throw;
    }
    m_editor.setText(bytes);
    adopt(path, bytes);
    m_modified = modified;
}

EditSession::OnDisk EditSession::compareWithDisk(std::string* bytes) const {
    std::error_code ec;
    if (fs::symlink_status(m_file, ec).type() == fs::file_type::not_found)
        return OnDisk::Missing;
    try {
        std::string read = readFileBytes(m_file);
        const bool same = stampOf(read) == m_stamp;
        if (bytes)
            *bytes = std::move(read);
        return same ? OnDisk::Same : OnDisk::Changed;
    } catch (const FileError&) {
        return OnDisk::Unreadable;
    }
}

fs::path EditSession::keepRecovery(const std::string& text) const {
    return writeRecoveryCopy(m_file, text, m_fallback);
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
    if (compareWithDisk(nullptr) == OnDisk::Changed) {
        result.kind = Autosave::Kind::ChangedOnDisk;
        result.recovery = keepRecovery(text);
        return result;
    }
    // A file that vanished or cannot be read is written back: nothing on disk
    // is lost by that, and a failure keeps the text below.
    const std::string bytes = m_lf ? crlfToLf(text) : text;
    try {
        writeFileBytes(m_file, bytes);
    } catch (const FileError& e) {
        m_failed = true;
        result.kind = Autosave::Kind::Failed;
        result.error = e.what();
        result.recovery = keepRecovery(text);
        return result;
    }
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
    if (modifiedTime(m_file) == m_modified && fs::file_size(m_file, ec) == m_stamp.size && !ec)
        return DiskChange::None;
    const fs::file_time_type modified = modifiedTime(m_file);
    std::string bytes;
    switch (compareWithDisk(&bytes)) {
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

namespace {

// A name in `dir` that no file has yet: `base`, then `base.2`, `base.3`, ...
fs::path freeName(const fs::path& dir, const fs::path& base) {
    std::error_code ec;
    for (int n = 1; n < 1000; ++n) {
        fs::path candidate = dir / base;
        if (n > 1)
            candidate += "." + std::to_string(n);
        if (!fs::exists(fs::symlink_status(candidate, ec)))
            return candidate;
    }
    return {};
}

bool tryWrite(const fs::path& path, std::string_view text) {
    if (path.empty())
        return false;
    try {
        writeGeneratedFileBytes(path, text);
        return true;
    } catch (const FileError&) {
        return false;
    }
}

} // namespace

fs::path writeRecoveryCopy(const fs::path& original, std::string_view text,
                           const fs::path& fallbackDir) {
    fs::path base = original.filename();
    base += ".recovered";
    const fs::path dir = original.has_parent_path() ? original.parent_path() : fs::path(".");
    if (fs::path beside = freeName(dir, base); tryWrite(beside, text))
        return beside;
    if (!fallbackDir.empty()) {
        std::error_code ec;
        fs::create_directories(fallbackDir, ec);
        if (fs::path elsewhere = freeName(fallbackDir, base); tryWrite(elsewhere, text))
            return elsewhere;
    }
    return {};
}

} // namespace talmo
