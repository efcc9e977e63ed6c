// SPDX-License-Identifier: GPL-3.0-or-later
#include "InputFile.h"

#include "FileError.h"
#include "PathBytes.h"
#include "SystemError.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace talmo {

#ifdef _WIN32

InputFile::InputFile(const std::filesystem::path& path) : m_path(path) {
    // A directory only opens with backup semantics; say what it is.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw FileError("Cannot open \"" + pathBytes(path) + "\": not a regular file");
    // Others may go on reading, writing, renaming or deleting it meanwhile.
    HANDLE h = ::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        failWithSystemError("Cannot open", path, ::GetLastError());
    LARGE_INTEGER size{};
    if (::GetFileType(h) != FILE_TYPE_DISK || !::GetFileSizeEx(h, &size)) {
        ::CloseHandle(h);
        throw FileError("Cannot open \"" + pathBytes(path) + "\": not a regular file");
    }
    m_handle = h;
    m_size = static_cast<std::uint64_t>(size.QuadPart);
}

InputFile::~InputFile() {
    ::CloseHandle(static_cast<HANDLE>(m_handle));
}

std::size_t InputFile::read(char* buffer, std::size_t n) {
    const DWORD chunk = n > 0x40000000u ? 0x40000000u : static_cast<DWORD>(n);
    DWORD got = 0;
    if (!::ReadFile(static_cast<HANDLE>(m_handle), buffer, chunk, &got, nullptr))
        failWithSystemError("Cannot read", m_path, ::GetLastError());
    return got;
}

#else

InputFile::InputFile(const std::filesystem::path& path) : m_path(path) {
    // O_NONBLOCK so that a FIFO without a writer cannot hang the caller.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        failWithErrno("Cannot open", path, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        throw FileError("Cannot open \"" + pathBytes(path) + "\": not a regular file");
    }
    m_fd = fd;
    m_size = static_cast<std::uint64_t>(st.st_size);
}

InputFile::~InputFile() {
    ::close(m_fd);
}

std::size_t InputFile::read(char* buffer, std::size_t n) {
    for (;;) {
        const ssize_t got = ::read(m_fd, buffer, n);
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR)
            failWithErrno("Cannot read", m_path, errno);
    }
}

#endif

} // namespace talmo
