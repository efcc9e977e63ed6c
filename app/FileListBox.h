// SPDX-License-Identifier: GPL-3.0-or-later
// A list of the plain files of one directory that match a mask: one or more
// wildcard patterns separated by ";", matched without regard to case, where
// "*.*" means every file, names without a dot included. Names are sorted
// without regard to case; hidden files, directories and special files (FIFOs,
// devices, broken links) are left out.
//
// A right click only selects the entry under the pointer, for the pop-up
// menu to act on: it reports neither a click nor a selection change.
#pragma once

#include <QListWidget>

namespace talmo {

class FileListBox : public QListWidget {
    Q_OBJECT
public:
    FileListBox(const QString& directory, const QString& mask, QWidget* parent = nullptr);

    QString directory() const { return m_directory; }
    QString mask() const { return m_mask; }
    // Re-reads only when the directory or mask differs from the current one.
    void setDirectory(const QString& directory);
    void setMask(const QString& mask);
    // Whether names beginning with "." are listed too. POSIX hides them, but a
    // list whose mask names one kind of file (profiles) shows every one.
    void setShowDotFiles(bool show);

    // Reads the list's directory again, clears the selection, then emits
    // selectionChanged().
    void reread();
    // Takes `mask` and reads the directory again, changed or not.
    void reread(const QString& mask);

    // The directory and the selected name joined by the platform's separator;
    // empty when nothing is selected.
    QString selectedPath() const;
    QString selectedName() const;
    // Selects the entry of that exact name; false when there is none.
    bool selectName(const QString& name);

signals:
    // The selected entry changed, by the user or by a re-read.
    void selectionChanged();
    // The user chose the selected entry: once per left click on an entry
    // (a double click counts once), or by moving the selection with keys.
    void chosen();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString m_directory;
    QString m_mask;
    bool m_showDotFiles = false;
    QString m_selectedAtPress;    // the selection when the left button went down
    bool m_doubleClicked = false; // the press was the second of a double click
};

// The mask of the QuakeC sources' list.
QString sourceMask();

// The wildcard patterns of a mask, "*.*" turned into "*" so that it also
// matches names without a dot.
QStringList maskPatterns(const QString& mask);

// Joins a directory and a name with the platform's separator, inserted only
// when the directory does not already end in one.
QString joinPath(const QString& directory, const QString& name);
// The directory part of a path: without its last separator and name, keeping
// the separator only at a root.
QString directoryPart(const QString& path);
// The bare file name of a path: after its last separator or drive colon.
QString fileNamePart(const QString& path);

} // namespace talmo
