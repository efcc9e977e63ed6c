// SPDX-License-Identifier: GPL-3.0-or-later
// The working directory: the folder the file lists show, where reports,
// profiles, snippets, new files and batch files are written (always by
// absolute path), and where the shell runs the batch files. The only owner
// of the process's current directory, which it keeps equal to this one for
// the programs the shell starts; nothing else reads or sets it.
#pragma once

#include <QObject>
#include <QString>

#include <filesystem>

namespace talmo {

class WorkingDirectory : public QObject {
    Q_OBJECT
public:
    // Starts on the process's current directory.
    explicit WorkingDirectory(QObject* parent = nullptr);

    // Absolute, with native separators.
    QString path() const { return m_path; }
    // `name` inside the working directory; an absolute name stays as it is.
    std::filesystem::path filePath(const QString& name) const;
    std::filesystem::path filePath(const std::filesystem::path& name) const;
    std::filesystem::path filePath(const char* name) const {
        return filePath(std::filesystem::path(name));
    }

    // Enters `path` (a relative one from the working directory); an existing
    // file names its folder. Nothing changes, and false, for an empty path,
    // the working directory itself, or a directory that cannot be entered.
    bool change(const QString& path);

signals:
    void changed(const QString& path);

private:
    QString m_path;
};

} // namespace talmo
