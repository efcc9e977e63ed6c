// SPDX-License-Identifier: GPL-3.0-or-later
// The directory list: the root and each ancestor of the directory, from the
// root down, then the directory itself (selected), then its subdirectories in
// sorted order. A double click or Enter on an entry asks to enter it; a
// single click only highlights.
#pragma once

#include <QListWidget>

namespace talmo {

class DirectoryList : public QListWidget {
    Q_OBJECT
public:
    explicit DirectoryList(const QString& directory, QWidget* parent = nullptr);

    // Absolute, with native separators, whatever form it was given in.
    QString directory() const { return m_directory; }
    // Shows `directory` (no change of the process's current directory).
    void setDirectory(const QString& directory);
    // Full path of an entry.
    static QString pathOf(const QListWidgetItem* item);

signals:
    void enterRequested(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void rebuild();

    QString m_directory;
};

} // namespace talmo
