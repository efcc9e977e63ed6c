// SPDX-License-Identifier: GPL-3.0-or-later
// A path as one std::string and back, without loss: the file-name bytes on
// POSIX, UTF-8 on Windows. Never through the ANSI code page, and never as
// path(std::string), which on Windows reads each byte as one character.
// No Qt.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>

namespace talmo {

inline std::string pathBytes(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
#else
    return path.native();
#endif
}

// The same with "/" between the names on every system (the definition
// index's file names, file URIs).
inline std::string genericPathBytes(const std::filesystem::path& path) {
    std::string bytes = pathBytes(path);
    if constexpr (std::filesystem::path::preferred_separator != '/')
        std::replace(bytes.begin(), bytes.end(),
                     static_cast<char>(std::filesystem::path::preferred_separator), '/');
    return bytes;
}

inline std::filesystem::path pathOfBytes(std::string_view bytes) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(bytes.begin(), bytes.end()));
#else
    return std::filesystem::path(std::string(bytes));
#endif
}

} // namespace talmo
