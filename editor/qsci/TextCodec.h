// SPDX-License-Identifier: GPL-3.0-or-later
// The one mapping between the program's 8-bit text (file contents, the
// editor, snips, report definitions) and Qt strings: every byte 0x00-0xFF is
// one character, Windows-1252 where that code page defines one and the C1
// control of the same code for its five undefined bytes (0x81, 0x8D, 0x8F,
// 0x90, 0x9D). A character outside that set has no byte and is refused,
// never turned into '?'.
#pragma once

#include <QChar>
#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace talmo {

// The character that byte `b` stands for.
QChar charOfByte(unsigned char b);

// The byte that stands for `c`; nullopt when it has none.
std::optional<unsigned char> byteOfChar(QChar c);

// 8-bit text as a Qt string, one character per byte.
QString textOfBytes(std::string_view bytes);

// The bytes of `text`; nullopt when a character has no byte. Then `refused`
// (when given) receives the first such character (a surrogate pair whole).
std::optional<std::string> bytesOfText(const QString& text, QString* refused = nullptr);

} // namespace talmo
