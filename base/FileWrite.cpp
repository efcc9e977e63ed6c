// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileWrite.h"

#include "PathBytes.h"
#include "SystemError.h"
#include "Text.h"

#include <cerrno>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace talmo {

namespace fs = std::filesystem;

namespace {

WriteFaultRule& faultRule() {
    static WriteFaultRule rule;
    return rule;
}

std::optional<WriteFault> faultFor(const fs::path& target) {
    const WriteFaultRule& rule = faultRule();
    return rule ? rule(target) : std::nullopt;
}

bool refusesCreate(const std::optional<WriteFault>& fault) {
    return fault && fault->refuseCreate;
}

// What a write may still put down before the (simulated) disk is full.
struct Room {
    std::uint64_t left = UINT64_MAX;
    explicit Room(const std::optional<WriteFault>& fault) {
        if (fault)
            left = fault->room;
    }
    // How much of `wanted` may go down now; 0 means the disk is full.
    std::size_t take(std::size_t wanted) const {
        return left < wanted ? static_cast<std::size_t>(left) : wanted;
    }
    void used(std::size_t n) {
        if (left != UINT64_MAX)
            left -= n;
    }
};

// A durable copy of `bytes` under a free name in `dir`, made if need be;
// empty when none could be made.
fs::path keepCopy(const fs::path& dir, const fs::path& base, std::string_view bytes) {
    std::error_code ec;
    fs::create_directories(dir, ec);
    return writeNewFile(dir, base, bytes);
}

std::string quoted(const fs::path& path) {
    return "\"" + pathBytes(path) + "\"";
}

void overwriteInPlace(const fs::path& target, const fs::path& shown, std::string_view bytes,
                      Room room);

// A file that cannot be replaced by a new one is written in place, but only
// once its current bytes and the new ones are durable elsewhere: a write that
// stops half-way then loses neither.
void writeInPlaceSafely(const fs::path& target, const fs::path& shown, std::string_view bytes,
                        const WriteOptions& options, Room room) {
    const std::string untouched = "; it was not touched";
    if (options.safeCopies.empty())
        throw FileError("Cannot write " + quoted(shown) +
                        ": it can only be written in place, and no safe copy was possible" +
                        untouched);
    std::string old;
    try {
        old = readFileBytes(target);
    } catch (const FileError& e) {
        throw FileError(std::string(e.what()) + untouched);
    }
    const fs::path name = target.filename();
    const fs::path before = keepCopy(options.safeCopies, fs::path(name) += ".before", old);
    const fs::path after = before.empty()
                               ? fs::path()
                               : keepCopy(options.safeCopies, fs::path(name) += ".after", bytes);
    std::error_code ec;
    if (after.empty()) {
        if (!before.empty())
            fs::remove(before, ec);
        throw FileError("Cannot write " + quoted(shown) +
                        ": it can only be written in place, and no copy of it could be kept in " +
                        quoted(options.safeCopies) + " first" + untouched);
    }
    if (options.stillUnchanged && !options.stillUnchanged()) {
        fs::remove(before, ec);
        fs::remove(after, ec);
        throw OutsideChange("Cannot write " + quoted(shown) + ": it changed on disk meanwhile");
    }
    try {
        overwriteInPlace(target, shown, bytes, room);
    } catch (const FileError& e) {
        throw FileError(std::string(e.what()) + "; its old text is kept in " + quoted(before) +
                        " and the new text in " + quoted(after));
    }
    fs::remove(before, ec);
    fs::remove(after, ec);
}

#ifndef _WIN32

bool writeAll(int fd, std::string_view bytes, Room& room) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::size_t now = room.take(bytes.size() - done);
        if (now == 0) {
            errno = ENOSPC;
            return false;
        }
        const ssize_t n = ::write(fd, bytes.data() + done, now);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
        room.used(static_cast<std::size_t>(n));
    }
    return true;
}

mode_t currentUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

// A rename is only durable once the directory holding it is.
void syncDirectory(const fs::path& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

void overwriteInPlace(const fs::path& target, const fs::path& shown, std::string_view bytes,
                      Room room) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        failWithErrno("Cannot write", shown, errno);
    bool ok = writeAll(fd, bytes, room) && ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 &&
              ::fsync(fd) == 0;
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (!ok)
        failWithErrno("Cannot write", shown, err);
}

// `userFile`: the user's own files follow links to their target and keep
// owner and hard links; the program's generated files replace a link itself.
void saveFile(const fs::path& path, std::string_view bytes, bool userFile,
              const WriteOptions& options) {
    std::error_code ec;
    fs::path target(path);
    for (int hops = 0; userFile && hops < 40 && fs::is_symlink(fs::symlink_status(target, ec));
         ++hops) {
        const fs::path dest = fs::read_symlink(target, ec);
        if (ec)
            break;
        target = dest.is_absolute() ? dest : target.parent_path() / dest;
    }
    struct stat st {};
    const bool exists =
        (userFile ? ::stat(target.c_str(), &st) : ::lstat(target.c_str(), &st)) == 0;
    const bool regular = exists && !S_ISLNK(st.st_mode);
    if (regular && !S_ISREG(st.st_mode))
        throw FileError("Cannot write " + quoted(path) + ": not a regular file");
    if (regular && ::access(target.c_str(), W_OK) != 0)
        failWithErrno("Cannot write", path, errno);

    const std::optional<WriteFault> fault = faultFor(target);
    Room room(fault);
    const auto inPlace = [&] {
        if (userFile)
            writeInPlaceSafely(target, path, bytes, options, room);
        else
            overwriteInPlace(target, path, bytes, room);
    };
    // Replacing one name of a file with several would split it from the others.
    if (userFile && regular && st.st_nlink > 1)
        return inPlace();

    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string tmpl = (dir / (".~" + target.filename().native() + ".XXXXXX")).native();
    const int fd = refusesCreate(fault) ? (errno = EACCES, -1) : ::mkstemp(tmpl.data());
    if (fd < 0) {
        const int err = errno;
        if (regular && (err == EACCES || err == EPERM || err == EROFS))
            return inPlace();
        failWithErrno("Cannot write", path, err);
    }
    const auto dropTemporary = [&] {
        ::close(fd);
        ::unlink(tmpl.c_str());
    };
    // A file of another owner (Talmo run with sudo) stays theirs; where the
    // owner cannot be given, the file is written in place instead.
    if (userFile && regular && (st.st_uid != ::geteuid() || st.st_gid != ::getegid()) &&
        ::fchown(fd, st.st_uid, st.st_gid) != 0) {
        dropTemporary();
        return inPlace();
    }
    ::fchmod(fd, regular ? (st.st_mode & 07777) : (0666 & ~currentUmask()));
    bool ok = writeAll(fd, bytes, room) && ::fsync(fd) == 0;
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && options.stillUnchanged && !options.stillUnchanged()) {
        ::unlink(tmpl.c_str());
        throw OutsideChange("Cannot write " + quoted(path) + ": it changed on disk meanwhile");
    }
    if (ok && ::rename(tmpl.c_str(), target.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(tmpl.c_str());
        failWithErrno("Cannot write", path, err);
    }
    syncDirectory(dir);
}

#else

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

bool writeAll(HANDLE h, std::string_view bytes, Room& room) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        std::size_t left = room.take(bytes.size() - done);
        if (left == 0) {
            ::SetLastError(ERROR_DISK_FULL);
            return false;
        }
        const DWORD chunk = left > 0x40000000u ? 0x40000000u : static_cast<DWORD>(left);
        DWORD n = 0;
        if (!::WriteFile(h, bytes.data() + done, chunk, &n, nullptr))
            return false;
        done += n;
        room.used(n);
    }
    return true;
}

// What a name stands for when saving: missing, a link (not followed), or a
// file with its attributes, `path` then being where it really is.
struct Target {
    fs::path path;
    bool exists = false;
    bool isLink = false;
    DWORD attributes = 0;
    DWORD links = 1;
};

Target inspect(const fs::path& path, bool followLinks) {
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
        throw FileError("Cannot write " + quoted(path) + ": not a regular file");
    t.exists = true;
    t.attributes = info.dwFileAttributes;
    t.links = info.nNumberOfLinks;
    t.isLink = !followLinks && (t.attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    if (followLinks && reparse) {
        wchar_t buffer[32768];
        const DWORD n = ::GetFinalPathNameByHandleW(h.get(), buffer, 32768,
                                                    FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n > 0 && n < 32768)
            t.path = fs::path(std::wstring(buffer, n));
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
HANDLE createTemporary(const fs::path& target, fs::path& temporary) {
    static unsigned long counter = 0;
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(L".");
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

void overwriteInPlace(const fs::path& target, const fs::path& shown, std::string_view bytes,
                      Room room) {
    Handle h(::CreateFileW(target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!h.valid())
        failWithSystemError("Cannot write", shown, ::GetLastError());
    bool ok =
        writeAll(h.get(), bytes, room) && ::SetEndOfFile(h.get()) && ::FlushFileBuffers(h.get());
    DWORD err = ::GetLastError();
    if (!h.close() && ok) {
        ok = false;
        err = ::GetLastError();
    }
    if (!ok)
        failWithSystemError("Cannot write", shown, err);
}

void saveFile(const fs::path& path, std::string_view bytes, bool userFile,
              const WriteOptions& options) {
    const Target target = inspect(path, userFile);
    const bool replacesFile = target.exists && !target.isLink;
    if (replacesFile && (target.attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw FileError("Cannot write " + quoted(path) + ": not a regular file");
    if (replacesFile && (target.attributes & FILE_ATTRIBUTE_READONLY))
        failWithErrno("Cannot write", path, EACCES);

    const std::optional<WriteFault> fault = faultFor(target.path);
    Room room(fault);
    const auto inPlace = [&] {
        if (userFile)
            writeInPlaceSafely(target.path, path, bytes, options, room);
        else
            overwriteInPlace(target.path, path, bytes, room);
    };
    // Replacing one name of a file with several would split it from the others.
    if (userFile && replacesFile && target.links > 1)
        return inPlace();

    fs::path temporary;
    if (refusesCreate(fault))
        ::SetLastError(ERROR_ACCESS_DENIED);
    Handle h(refusesCreate(fault) ? INVALID_HANDLE_VALUE : createTemporary(target.path, temporary));
    if (!h.valid()) {
        const DWORD err = ::GetLastError();
        if (replacesFile && err == ERROR_ACCESS_DENIED)
            return inPlace();
        failWithSystemError("Cannot write", path, err);
    }
    bool ok = writeAll(h.get(), bytes, room) && ::FlushFileBuffers(h.get());
    DWORD err = ::GetLastError();
    if (!h.close() && ok) {
        ok = false;
        err = ::GetLastError();
    }
    if (ok && options.stillUnchanged && !options.stillUnchanged()) {
        ::DeleteFileW(temporary.c_str());
        throw OutsideChange("Cannot write " + quoted(path) + ": it changed on disk meanwhile");
    }
    if (ok && replacesFile) {
        // ReplaceFileW keeps the old file's security (owner included); where
        // it cannot, a plain rename. The attributes are set again: not every
        // ReplaceFileW (wine's) carries them over.
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

#endif

} // namespace

void writeFileBytes(const fs::path& path, std::string_view bytes, const WriteOptions& options) {
    saveFile(path, bytes, true, options);
}

void writeGeneratedFileBytes(const fs::path& path, std::string_view bytes) {
    saveFile(path, bytes, false, WriteOptions{});
}

fs::path writeNewFile(const fs::path& dir, const fs::path& base, std::string_view bytes) {
    const fs::path name = freeFileName(dir, base);
    if (name.empty())
        return {};
    try {
        writeGeneratedFileBytes(name, bytes);
        return name;
    } catch (const FileError&) {
        return {};
    }
}

fs::path freeFileName(const fs::path& dir, const fs::path& base) {
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

void setWriteFaultForTesting(WriteFaultRule rule) {
    faultRule() = std::move(rule);
}

} // namespace talmo
