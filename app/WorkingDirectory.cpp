// SPDX-License-Identifier: GPL-3.0-or-later
#include "WorkingDirectory.h"

#include "TextBytes.h"

#include <QDir>
#include <QFileInfo>

namespace talmo {

namespace {

QString processDirectory() {
    return QDir::toNativeSeparators(QDir::cleanPath(QDir::currentPath()));
}

} // namespace

WorkingDirectory::WorkingDirectory(QObject* parent) : QObject(parent), m_path(processDirectory()) {}

std::filesystem::path WorkingDirectory::filePath(const QString& name) const {
    return filePath(localPath(name));
}

std::filesystem::path WorkingDirectory::filePath(const std::filesystem::path& name) const {
    return localPath(m_path) / name;
}

bool WorkingDirectory::change(const QString& path) {
    if (path.isEmpty() || path == m_path)
        return false;
    QString target = QDir(m_path).absoluteFilePath(path);
    const QFileInfo info(target);
    if (info.exists() && !info.isDir())
        target = info.absolutePath();
    if (!QDir::setCurrent(target))
        return false;
    m_path = processDirectory();
    emit changed(m_path);
    return true;
}

} // namespace talmo
