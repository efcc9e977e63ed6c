// SPDX-License-Identifier: GPL-3.0-or-later
// The two ways the window turns its texts into bytes: file contents and what
// is typed for them are 8-bit (TextCodec.h: one byte one character), while
// file names, directories and the settings that name programs and paths are
// the platform's own file-name encoding (UTF-8 on Linux) and never go
// through the 8-bit mapping.
#pragma once

#include <QFile>
#include <QString>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "Text.h"
#include "TextCodec.h"

class QPlainTextEdit;

namespace talmo {

// A file name, directory or setting in the file-name encoding.
inline std::string nameBytes(const QString& text) {
    return QFile::encodeName(text).toStdString();
}

inline QString nameText(std::string_view bytes) {
    return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

// Settings text read from a file: UTF-8 when it is valid UTF-8, else (a file
// written by an older version) each byte as its Latin-1 character.
QString settingsText(std::string_view bytes);

// The one place where a file name becomes a path: wide characters on
// Windows, the file-name encoding on other systems.
inline std::filesystem::path localPath(const QString& path) {
#ifdef _WIN32
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// A path as the window shows it.
inline QString pathText(const std::filesystem::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.native());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

// A file name the system gave as bytes (a compiler's output: the file-name
// encoding) as a path: the bytes themselves on POSIX.
inline std::filesystem::path pathOfNameBytes(std::string_view bytes) {
#ifdef _WIN32
    return localPath(nameText(bytes));
#else
    return std::filesystem::path(std::string(bytes));
#endif
}

// A path as a list of results shows it: on POSIX its bytes as UTF-8 where
// they are UTF-8, else (a name from an older system, in Latin-1) each byte as
// its Latin-1 character, so no name shows replacement characters; its own
// characters on Windows.
QString fileNameText(const std::filesystem::path& path);

// 8-bit file text as a plain memo shows it: every line break (CR, LF or
// CR LF) one "\n".
inline QString memoText(std::string_view bytes) {
    return textOfBytes(crlfToLf(normalizeLineBreaks(bytes)));
}

// The text a memo holds, exactly: a no-break space stays one (a plain-text
// read would turn it into a blank); line breaks are "\n".
QString memoContents(const QPlainTextEdit* memo);

} // namespace talmo
