#include "Text.h"

#include "Editor.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#ifndef _WIN32
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

#ifndef _WIN32

namespace {

[[noreturn]] void fail(const std::string& what, const std::string& path, int err) {
    throw FileError(what + " \"" + path + "\": " + std::strerror(err));
}

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
void writeInPlace(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        fail("Cannot write", path, errno);
    const bool ok = writeAll(fd, bytes);
    const int err = errno;
    if (::close(fd) != 0 || !ok)
        fail("Cannot write", path, ok ? errno : err);
}

} // namespace

std::string readFileBytes(const std::string& path) {
    // O_NONBLOCK so that a FIFO without a writer cannot hang the window.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        fail("Cannot open", path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw FileError("Cannot open \"" + path + "\": not a regular file");
    }
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size())
            bytes.resize(bytes.size() + 65536);
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            fail("Cannot read", path, err);
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    bytes.resize(got);
    return bytes;
}

namespace {

// `followLinks`: the user's own files replace what a link points at; the
// program's generated files replace the link itself.
void saveFile(const std::string& path, std::string_view bytes, bool followLinks) {
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
    const std::string targetPath = target.string();
    struct stat st {};
    const bool exists =
        (followLinks ? ::stat(targetPath.c_str(), &st) : ::lstat(targetPath.c_str(), &st)) == 0;
    const bool isLink = exists && S_ISLNK(st.st_mode);
    if (exists && !isLink && !S_ISREG(st.st_mode))
        throw FileError("Cannot write \"" + path + "\": not a regular file");
    if (exists && !isLink && ::access(targetPath.c_str(), W_OK) != 0)
        fail("Cannot write", path, errno);

    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string tmpl = (dir / (".~" + target.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(tmpl.data());
    if (fd < 0) {
        const int err = errno;
        if (exists && !isLink && (err == EACCES || err == EPERM || err == EROFS)) {
            writeInPlace(targetPath, bytes);
            return;
        }
        fail("Cannot write", path, err);
    }
    ::fchmod(fd, exists && !isLink ? (st.st_mode & 07777) : (0666 & ~currentUmask()));
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    int err = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        err = errno;
    }
    if (ok && ::rename(tmpl.c_str(), targetPath.c_str()) != 0) {
        ok = false;
        err = errno;
    }
    if (!ok) {
        ::unlink(tmpl.c_str());
        fail("Cannot write", path, err);
    }
}

} // namespace

void writeFileBytes(const std::string& path, std::string_view bytes) {
    saveFile(path, bytes, true);
}

void writeGeneratedFileBytes(const std::string& path, std::string_view bytes) {
    saveFile(path, bytes, false);
}

#else

std::string readFileBytes(const std::string& path) {
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    if (!in)
        throw FileError("Cannot open \"" + path + "\"");
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw FileError("Cannot read \"" + path + "\"");
    return bytes;
}

void writeFileBytes(const std::string& path, std::string_view bytes) {
    namespace fs = std::filesystem;
    const fs::path target = fs::u8path(path);
    fs::path tmp = target;
    tmp += ".~tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::error_code ec;
            fs::remove(tmp, ec);
            throw FileError("Cannot write \"" + path + "\"");
        }
    }
    std::error_code ec;
    fs::rename(tmp, target, ec);
    if (ec) {
        fs::remove(tmp, ec);
        throw FileError("Cannot write \"" + path + "\"");
    }
}

void writeGeneratedFileBytes(const std::string& path, std::string_view bytes) {
    writeFileBytes(path, bytes);
}

#endif

} // namespace talmo
