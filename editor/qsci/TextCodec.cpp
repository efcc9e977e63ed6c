// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextCodec.h"

#include <array>

namespace talmo {

namespace {

// Windows-1252 characters of 0x80..0x9F; 0 where the code page has none
// (the byte then stands for the C1 control of its own code).
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The inverse of charOfByte as a 64 K table, built once: 0xFFFF marks "none".
const std::array<std::uint16_t, 0x10000>& byteTable() {
    static const auto table = [] {
        std::array<std::uint16_t, 0x10000> t{};
        t.fill(0xFFFF);
        for (int b = 0; b < 256; ++b)
            t[charOfByte(static_cast<unsigned char>(b)).unicode()] = static_cast<std::uint16_t>(b);
        return t;
    }();
    return table;
}

} // namespace

QChar charOfByte(unsigned char b) {
    if (b >= 0x80 && b < 0xA0 && kCp1252High[b - 0x80] != 0)
        return QChar(kCp1252High[b - 0x80]);
    return QChar(static_cast<char16_t>(b));
}

std::optional<unsigned char> byteOfChar(QChar c) {
    const std::uint16_t b = byteTable()[c.unicode()];
    if (b == 0xFFFF)
        return std::nullopt;
    return static_cast<unsigned char>(b);
}

QString textOfBytes(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (char b : bytes)
        *out++ = charOfByte(static_cast<unsigned char>(b));
    return text;
}

std::optional<std::string> bytesOfText(const QString& text, QString* refused) {
    const auto& table = byteTable();
    std::string bytes(static_cast<std::size_t>(text.size()), '\0');
    for (qsizetype i = 0; i < text.size(); ++i) {
        const std::uint16_t b = table[text[i].unicode()];
        if (b == 0xFFFF) {
            if (refused) {
                const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() &&
                                  text[i + 1].isLowSurrogate();
                *refused = text.mid(i, pair ? 2 : 1);
            }
            return std::nullopt;
        }
        bytes[static_cast<std::size_t>(i)] = static_cast<char>(b);
    }
    return bytes;
}

} // namespace talmo
