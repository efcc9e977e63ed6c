// SPDX-License-Identifier: GPL-3.0-or-later
// The Man page: the directory list and the drives to pick the working
// directory, the filter of the All list, a memo that shows and saves the
// file chosen in the All list, Create New for a new .qc file, and the
// autosave switch of the editor. A general file is 8-bit text: its bytes
// show one byte one character in the memo and go back with the file's own
// line breaks.
#pragma once

#include "DiskStamp.h"
#include "PageControls.h"
#include "Text.h"

#include <QWidget>

#include <filesystem>
#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace talmo {

class DirectoryList;

class ManPage : public QWidget {
    Q_OBJECT
public:
    // `directory` is the working directory the window starts in; what the
    // page cannot write goes to `dataFolder`; `workingDirectory` tells the
    // working directory of the moment.
    ManPage(PageServices services, const QString& directory, std::filesystem::path dataFolder,
            std::function<QString()> workingDirectory, QWidget* parent = nullptr);

    // The directory list shows `directory`.
    void setDirectory(const QString& directory);
    // The general file loaded into the memo; empty when none.
    QString manFile() const { return ManFile; }
    // The autosave switch of the editor.
    bool autosaveEnabled() const;
    void setAutosaveEnabled(bool on);

    // Loads the file at `path` (the All list's choice) into the memo.
    void listadoClick(const QString& path);
    void salvamanClick();
    void FilterComboBox1Change();
    void driveChange();
    void newqcChange();
    void create_newClick();

signals:
    // A directory entered in the list or a drive chosen: make it the
    // working directory.
    void directoryEntered(const QString& path);
    // The All list is to show the files matching `mask`.
    void maskChosen(const QString& mask);
    // The autosave switch was turned.
    void autosaveToggled(bool on);
    // The page wrote `path`.
    void fileWritten(const QString& path);
    // Create New wrote a file into the working directory.
    void fileCreated();

private:
    PageServices m_services;
    std::filesystem::path m_dataFolder;
    std::function<QString()> m_workingDirectory;

    DirectoryList* dir = nullptr;
    QPlainTextEdit* test = nullptr;
    QComboBox* FilterComboBox1 = nullptr;
    QComboBox* drive = nullptr;
    QLineEdit* newqc = nullptr;
    QPushButton* create_new = nullptr;
    QPushButton* salvaman = nullptr;
    QCheckBox* autosave = nullptr; // objectName "auto"

    QString ManFile;      // the general file loaded into `test`
    DiskStamp m_manStamp; // what the file held when shown or saved
    // What the memo showed when loaded or saved, and whether it showed the
    // whole file (a NUL byte ends what a memo can hold).
    QString m_manShown;
    bool m_manWhole = true;
    // The file's line breaks: it is written back with them.
    LineBreak m_manBreaks = LineBreak::CrLf;
};

} // namespace talmo
