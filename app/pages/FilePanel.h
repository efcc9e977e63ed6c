// SPDX-License-Identifier: GPL-3.0-or-later
// The file panel left of the notebook ("TabbedNotebook1"): the QuakeC
// sources of a directory ("qclista", tab "&QC") and all its files
// ("listado", tab "&All"). It turns the lists' clicks into what the user
// asked for (preview, open, show a file); the window acts on them.
#pragma once

#include <QTabWidget>

namespace talmo {

class FileListBox;

class FilePanel : public QTabWidget {
    Q_OBJECT
public:
    FilePanel(const QString& directory, const QFont& listFont, QWidget* parent = nullptr);

    FileListBox* sources() const { return m_sources; }
    FileListBox* allFiles() const { return m_all; }

    // Re-reads both lists: the sources with their mask, all files with
    // "*.*" whatever filter was chosen; neither keeps a selection.
    void RefreshFileLists();

signals:
    // A source was clicked or the selection of the sources moved (preview).
    void sourceSelected();
    // A source was double clicked (open it in the editor).
    void sourceChosen();
    // An entry of all files was chosen (show it on the Man page).
    void fileChosen();

private:
    FileListBox* m_sources = nullptr;
    FileListBox* m_all = nullptr;
};

} // namespace talmo
