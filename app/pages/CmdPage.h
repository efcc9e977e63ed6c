// SPDX-License-Identifier: GPL-3.0-or-later
// The Cmd page: the console log every part of the window writes to, the
// console entry `cmd` and its "?" button.
#pragma once

#include <QWidget>

#include <functional>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace talmo {

class CmdPage : public QWidget {
    Q_OBJECT
public:
    // What the console's commands read and set outside the page.
    struct Console {
        std::function<bool()> autosaveChecked;
        std::function<void(bool on)> setAutosave;
        std::function<QString()> workingDirectory;
    };

    explicit CmdPage(Console console, QWidget* parent = nullptr);

    // Appends one line to the log, dropping the oldest line first once the
    // log holds more than 800 lines.
    void LogLine(const QString& text);

    void cmdKeyPress(char key);
    void helpClick();
    void ShowConsoleHelp();

private:
    class Host;
    Console m_console;
    QPlainTextEdit* log = nullptr;
    QLineEdit* cmd = nullptr;
    QPushButton* help = nullptr;
};

} // namespace talmo
