// SPDX-License-Identifier: GPL-3.0-or-later
#include "Text.h"

#include "Editor.h"
#include "InputFile.h"
#include "PathBytes.h"
#include "SystemError.h"

#include <array>
#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace talmo {

std::string normalizeLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

bool usesLfLineBreaks(std::string_view text) {
    bool sawLf = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r')
            return false;
        if (text[i] == '\n')
            sawLf = true;
    }
    return sawLf;
}

std::string crlfToLf(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return out;
}

namespace {

std::array<unsigned char, 256> makeFoldTable() {
    std::array<unsigned char, 256> t{};
    for (int c = 0; c < 256; ++c)
        t[c] = static_cast<unsigned char>(c);
    for (int c = 'A'; c <= 'Z'; ++c)
        t[c] = static_cast<unsigned char>(c + 32);
    // Windows-1252 letters: Š Œ Ž, Ÿ, and the Latin-1 capitals but the sign ×.
    t[0x8A] = 0x9A;
    t[0x8C] = 0x9C;
    t[0x8E] = 0x9E;
    t[0x9F] = 0xFF;
    for (int c = 0xC0; c <= 0xDE; ++c)
        if (c != 0xD7)
            t[c] = static_cast<unsigned char>(c + 32);
    return t;
}

const std::array<unsigned char, 256> kFold = makeFoldTable();

} // namespace

unsigned char foldCase(unsigned char c) {
    return kFold[c];
}

long findNoCase(std::string_view text, std::string_view what, long start, long len) {
    if (what.empty() || start < 0)
        return -1;
    const long size = static_cast<long>(text.size());
    const long n = static_cast<long>(what.size());
    long end = size;
    if (len < size - start)
        end = start + len;
    const long lastBegin = end - n;
    if (lastBegin < start)
        return -1;
    const unsigned char* hay = reinterpret_cast<const unsigned char*>(text.data());
    const unsigned char* needle = reinterpret_cast<const unsigned char*>(what.data());
    const unsigned char first = kFold[needle[0]];
    for (long p = start; p <= lastBegin; ++p) {
        if (kFold[hay[p]] != first)
            continue;
        long k = 1;
        while (k < n && kFold[hay[p + k]] == kFold[needle[k]])
            ++k;
        if (k == n)
            return p;
    }
    return -1;
}

std::string joinCrLf(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

std::string readFileBytes(const std::filesystem::path& path) {
    std::string bytes;
    readFileBytesInto(path, bytes);
    return bytes;
}

void readFileBytesInto(const std::filesystem::path& path, std::string& bytes, std::uint64_t limit) {
    InputFile file(path);
    const auto tooBig = [&] {
        return FileError("Cannot read \"" + pathBytes(path) + "\": more than " +
                         std::to_string(limit) + " bytes");
    };
    if (file.size() > limit)
        throw tooBig();
    // One byte past the size seen at opening tells the end from growth; a
    // file that grows while it is read doubles the room.
    bytes.resize(static_cast<std::size_t>(file.size()) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size())
            bytes.resize(bytes.size() * 2);
        const std::size_t n = file.read(bytes.data() + got, bytes.size() - got);
        if (n == 0)
            break;
        got += n;
        if (got > limit)
            throw tooBig();
    }
    bytes.resize(got);
}

#ifndef _WIN32

namespace {

bool writeAll(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// Writes straight into the target (for a writable file in a directory where
// no temporary file may be created).
void writeInPlace(const std::filesystem::path& target, const std::filesystem::path& shown,
                  std::string_view bytes) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        failWithErrno("Cannot write", shown, errno);
    const bool ok = writeAll(fd, bytes);
    const int err = errno;
    if (::close(fd) != 0 || !ok)
        failWithErrno("Cannot write", shown, ok ? errno : err);
}

// `followLinks`: the user's own files replace what a link points at; the
// program's generated files replace the link itself.
void saveFile(const std::filesystem::path& path, std::string_view bytes, bool followLinks) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target(path);
    for (int hops = 0; followLinks && hops < 40 && fs::is_symlink(fs::symlink_status(target, ec));
         ++hops) {
        const fs::path dest = fs::read_symlink(target, ec);
        if (ec)
            break;
        target = dest.is_absolute() ? dest : target.parent_path() / dest;
    }
    struct stat st {};
    const bool exists =
        (followLinks ? ::stat(target.c_str(), &st) : ::lstat(target.c_str(), &st)) == 0;
    const bool isLink = exists && S_ISLNK(st.st_mode);
    if (exists && !isLink && !S_ISREG(st.st_mode))
        throw FileError("Cannot write \"" + pathBytes(path) + "\": not a regular file");
    if (exists && !isLink && ::access(target.c_str(), W_OK) != 0)
        failWithErrno("Cannot write", path, errno);

    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string tmpl = (dir / (".~" + target.filename().native() + ".XXXXXX")).native();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        const int err = errno;
        if (exists && !isLink && (err == EACCES || err == EPERM || err == EROFS)) {
            writeInPlace(target, path, bytes);
            return;
        }
        failWithErrno("Cannot write", path, err);
    }
    ::fchmod(fd, exists && !isLink ? (st.st_mode & 07777) : (0666 & ~currentUmask()));
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(tmpl.c_str(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(tmpl.c_str());
        failWithErrno("Cannot write", path, err);
    }
}

} // namespace

#else

namespace {

class Handle {
public:
    explicit Handle(HANDLE h) : m_h(h) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return m_h; }
    bool valid() const { return m_h != INVALID_HANDLE_VALUE; }
    bool close() {
        const bool ok = !valid() || ::CloseHandle(m_h);
        m_h = INVALID_HANDLE_VALUE;
        return ok;
    }

private:
    HANDLE m_h;
};

bool writeAll(HANDLE h, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t left = bytes.size() - done;
        const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
        DWORD n = 0;
        if (!::WriteFile(h, bytes.data() + done, chunk, &n, nullptr))
            return false;
        done += n;
    }
    return true;
}

// What a name stands for when saving: missing, a link (not followed), or a
// file with its attributes, `path` then being where it really is.
struct Target {
    std::filesystem::path path;
    bool exists = false;
    bool isLink = false;
    DWORD attributes = 0;
};

Target inspect(const std::filesystem::path& path, bool followLinks) {
    Target t{path};
    const DWORD ownAttributes = ::GetFileAttributesW(path.c_str());
    const bool reparse =
        ownAttributes != INVALID_FILE_ATTRIBUTES && (ownAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    Handle h(::CreateFileW(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr));
    // Missing (a dangling link too: then the link is replaced).
    if (!h.valid())
        return t;
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(h.get()) != FILE_TYPE_DISK || !::GetFileInformationByHandle(h.get(), &info))
        throw FileError("Cannot write \"" + pathBytes(path) + "\": not a regular file");
    t.exists = true;
    t.attributes = info.dwFileAttributes;
    t.isLink = !followLinks && (t.attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    if (followLinks && reparse) {
        wchar_t buffer[32768];
        const DWORD n = ::GetFinalPathNameByHandleW(h.get(), buffer, 32768,
                                                    FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n > 0 && n < 32768)
            t.path = std::filesystem::path(std::wstring(buffer, n));
    }
    return t;
}

// What SetFileAttributesW takes back of a file's attributes.
DWORD keptAttributes(DWORD attributes) {
    const DWORD kept = attributes & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                     FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    return kept ? kept : FILE_ATTRIBUTE_NORMAL;
}

// A new, empty temporary file beside `target`, open for writing.
HANDLE createTemporary(const std::filesystem::path& target, std::filesystem::path& temporary) {
    static unsigned long counter = 0;
    const std::filesystem::path dir =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(L".");
    for (int attempt = 0;; ++attempt) {
        const std::wstring unique = std::to_wstring(::GetCurrentProcessId()) + L"." +
                                    std::to_wstring(::GetTickCount64()) + L"." +
                                    std::to_wstring(++counter);
        temporary = dir / (L".~" + target.filename().native() + L"." + unique + L".tmp");
        const HANDLE h = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS || attempt > 100)
            return h;
    }
}

void writeInPlace(const Target& target, const std::filesystem::path& shown,
                  std::string_view bytes) {
    Handle h(::CreateFileW(target.path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                           TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid())
        failWithSystemError("Cannot write", shown, ::GetLastError());
    const bool ok = writeAll(h.get(), bytes);
    const DWORD err = ::GetLastError();
    if (!h.close() || !ok)
        failWithSystemError("Cannot write", shown, ok ? ::GetLastError() : err);
}

void saveFile(const std::filesystem::path& path, std::string_view bytes, bool followLinks) {
    const Target target = inspect(path, followLinks);
    const bool replacesFile = target.exists && !target.isLink;
    if (replacesFile && (target.attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw FileError("Cannot write \"" + pathBytes(path) + "\": not a regular file");
    if (replacesFile && (target.attributes & FILE_ATTRIBUTE_READONLY))
        failWithErrno("Cannot write", path, EACCES);

    std::filesystem::path temporary;
    Handle h(createTemporary(target.path, temporary));
    if (!h.valid()) {
        const DWORD err = ::GetLastError();
        if (replacesFile && err == ERROR_ACCESS_DENIED) {
            writeInPlace(target, path, bytes);
            return;
        }
        failWithSystemError("Cannot write", path, err);
    }
    bool ok = writeAll(h.get(), bytes) && ::FlushFileBuffers(h.get());
    DWORD err = ::GetLastError();
    if (!h.close() && ok) {
        ok = false;
        err = ::GetLastError();
    }
    if (ok && replacesFile) {
        // ReplaceFileW keeps the old file's security; where it cannot, a
        // plain rename. The attributes are set again: not every ReplaceFileW
        // (wine's) carries them over.
        if (!::ReplaceFileW(target.path.c_str(), temporary.c_str(), nullptr,
                            REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) &&
            !::MoveFileExW(temporary.c_str(), target.path.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            ok = false;
            err = ::GetLastError();
        }
        if (ok)
            ::SetFileAttributesW(target.path.c_str(), keptAttributes(target.attributes));
    } else if (ok && !::MoveFileExW(temporary.c_str(), target.path.c_str(),
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = false;
        err = ::GetLastError();
    }
    if (!ok) {
        ::DeleteFileW(temporary.c_str());
        failWithSystemError("Cannot write", path, err);
    }
}

} // namespace

#endif

void writeFileBytes(const std::filesystem::path& path, std::string_view bytes) {
    saveFile(path, bytes, true);
}

void writeGeneratedFileBytes(const std::filesystem::path& path, std::string_view bytes) {
    saveFile(path, bytes, false);
}

} // namespace talmo
