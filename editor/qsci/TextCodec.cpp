// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextCodec.h"

#include "Cp1252.h"

#include <array>

namespace talmo {

namespace {

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
    return QChar(unicodeOfByte(b));
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
