// SPDX-License-Identifier: GPL-3.0-or-later
// What Talmo remembers between runs, in one settings file: the window's
// geometry and state, the positions of its splitters (the file panel's width
// among them) and the last working directory. Only the program's start uses
// it; a window built alone (as the tests build it) keeps its first-start
// layout.
#pragma once

#include <QSettings>
#include <QString>

class TForm1;

namespace talmo {

struct StartRequest;

class WindowSettings {
public:
    // The user's settings file, in the application's configuration folder.
    WindowSettings();
    // Another settings file (tests use a scratch one).
    explicit WindowSettings(const QString& file);

    QString fileName() const { return m_settings.fileName(); }
    // The working directory of the last run; empty when none was kept.
    QString lastDirectory() const;
    // Puts the window as the last run left it; nothing on a first start.
    void restore(TForm1& window) const;
    // Keeps the window's geometry, state, splitters and working directory.
    void save(const TForm1& window);
    // Restores now and saves when the application is about to quit.
    void follow(TForm1& window);

private:
    QSettings m_settings;
};

// Loads the request's FILE (if any) into the window's editor as a double
// click on it in the source list does; false when there was none to load or
// it could not be loaded (logged by the window).
bool openStartFile(TForm1& window, const StartRequest& request);

} // namespace talmo
