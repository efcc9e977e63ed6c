// SPDX-License-Identifier: GPL-3.0-or-later
// The context menus of the two file lists: "open with notepad" and "delete
// file" on the source list (PopupMenu1), "shell open" and "Explore Folder" on
// the all-files list (PopupMenu2). Notepad and the shell run through batch
// files written into the current directory; a batch file that cannot be
// written is not run, its failure goes to the default error report.
#pragma once

#include "PageControls.h"

#include <QObject>

#include <functional>

class QAction;
class QMenu;

namespace talmo {

class FileMenus : public QObject {
    Q_OBJECT
public:
    // The path selected in each list; empty when none.
    struct Selections {
        std::function<QString()> source;
        std::function<QString()> file;
    };

    // The menus belong to `window`, which also owns what the runs show.
    FileMenus(PageServices services, QWidget* window, Selections selections);

    // Shows the menus on a right click of `sourceList` and `fileList`.
    void attach(QWidget* sourceList, QWidget* fileList);

    void openwithnotepad1Click();
    void delete1Click();
    void shellopen1Click();
    void ExploreFolder1Click();

signals:
    // A file of the lists was renamed (or its rename tried): re-read them.
    void filesChanged();

private:
    PageServices m_services;
    QWidget* m_window;
    Selections m_selections;
    QMenu* PopupMenu1 = nullptr;
    QMenu* PopupMenu2 = nullptr;
    QAction* openwithnotepad1 = nullptr;
    QAction* delete1 = nullptr;
    QAction* shellopen1 = nullptr;
    QAction* ExploreFolder1 = nullptr;
};

} // namespace talmo
