// SPDX-License-Identifier: GPL-3.0-or-later
// The characters the program's 8-bit text stands for: every byte 0x00-0xFF
// is one character, Windows-1252 where that code page defines one and the C1
// control of the same code for its five undefined bytes (0x81, 0x8D, 0x8F,
// 0x90, 0x9D). All of them lie in the Basic Multilingual Plane: one UTF-16
// unit each. No Qt.
#pragma once

#include <array>
#include <cstddef>

namespace talmo {

namespace detail {
// Windows-1252 characters of 0x80..0x9F; 0 where the code page has none.
inline constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
} // namespace detail

// The Unicode code point byte `b` stands for.
constexpr char16_t unicodeOfByte(unsigned char b) {
    if (b >= 0x80 && b < 0xA0 && detail::kCp1252High[b - 0x80] != 0)
        return detail::kCp1252High[b - 0x80];
    return static_cast<char16_t>(b);
}

// How many UTF-8 bytes the character of byte `b` takes.
constexpr std::size_t utf8LengthOfByte(unsigned char b) {
    const char16_t c = unicodeOfByte(b);
    return c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
}

} // namespace talmo
