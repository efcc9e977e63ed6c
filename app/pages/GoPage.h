// SPDX-License-Identifier: GPL-3.0-or-later
// The Go page: the project's settings (compiler, source path, game, mod,
// arguments), saved to and loaded from .qprofile files, and the start of the
// game with them.
#pragma once

#include "Batch.h" // GameSettings
#include "PageControls.h"

#include <QWidget>

class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace talmo {

class FileListBox;

class GoPage : public QWidget {
    Q_OBJECT
public:
    // The profiles listed are those of `profileDirectory`.
    GoPage(PageServices services, const QString& profileDirectory, QWidget* parent = nullptr);

    // The compiler command line as typed.
    QString compiler() const;
    // Shows the directory of the file last chosen in the source list.
    void setSourcePath(const QString& directory);

    void profilesClick();
    void Button1Click();
    void Button2Click();
    void pathsrcKeyPress(char key);
    // GO!: asks for the game to be started with the settings.
    void goClick();

signals:
    // Enter in the source path: make that the working directory.
    void directoryEntered(const QString& path);
    // The game's settings as typed, in the command processor's encoding.
    void gameWanted(const talmo::GameSettings& game);

private:
    PageServices m_services;

    QGroupBox* grupoprofiles = nullptr;
    QPlainTextEdit* profileinfo = nullptr;
    FileListBox* profiles = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QLineEdit* savename = nullptr;
    QLineEdit* compilerqc = nullptr;
    QLineEdit* pathsrc = nullptr;
    QLineEdit* pathquake = nullptr;
    QLineEdit* namequake = nullptr;
    QLineEdit* namemod = nullptr;
    QLineEdit* paramsquake = nullptr;
};

} // namespace talmo
