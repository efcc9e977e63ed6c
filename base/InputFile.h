// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a file the same way on every system: only a regular file is
// opened; a directory, a FIFO or a device is refused at once rather than
// waited on. No Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace talmo {

class InputFile {
public:
    // Throws FileError (Editor.h) "Cannot open "path": reason".
    explicit InputFile(const std::filesystem::path& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // The size when opened (a hint: the file may change while read).
    std::uint64_t size() const { return m_size; }
    // Up to `n` bytes into `buffer`; 0 at the end. Throws FileError
    // "Cannot read "path": reason".
    std::size_t read(char* buffer, std::size_t n);

private:
#ifdef _WIN32
    void* m_handle = nullptr; // HANDLE
#else
    int m_fd = -1;
#endif
    std::uint64_t m_size = 0;
    std::filesystem::path m_path;
};

} // namespace talmo
