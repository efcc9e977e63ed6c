// The two ways the window turns its texts into bytes: file contents and typed
// texts are 8-bit (one byte one character, Latin-1), while file names are the
// platform's own (UTF-8 on Linux) and never go through Latin-1.
#pragma once

#include <QFile>
#include <QString>

#include <string>
#include <string_view>

#include "Text.h"

namespace talmo {

inline std::string latin1(const QString& text) {
    const QByteArray bytes = text.toLatin1();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

inline QString fromLatin1(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// 8-bit file text as a plain memo shows it: every line break (CR, LF or
// CR LF) one "\n".
inline QString memoText(std::string_view bytes) {
    return fromLatin1(crlfToLf(normalizeLineBreaks(bytes)));
}

// A memo's text as file bytes: line breaks as LF when `lf`, else CR LF.
inline std::string memoBytes(const QString& text, bool lf = false) {
    const std::string bytes = latin1(text);
    return lf ? bytes : normalizeLineBreaks(bytes);
}

} // namespace talmo
