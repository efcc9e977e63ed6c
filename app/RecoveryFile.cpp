#include "RecoveryFile.h"

#include "Text.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <exception>

namespace talmo {

QString writeRecoveryFile(const QString& originalPath, const std::string& text) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return QString();
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-hhmmss-zzz"));
    const QString path =
        QDir(folder).filePath(QFileInfo(originalPath).fileName() + QStringLiteral(".") + stamp +
                              QStringLiteral(".recovered"));
    try {
        writeFileBytes(QFile::encodeName(path).toStdString(), text);
    } catch (const std::exception&) {
        return QString();
    }
    return QDir::toNativeSeparators(path);
}

} // namespace talmo
