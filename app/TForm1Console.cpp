// SPDX-License-Identifier: GPL-3.0-or-later
// The console of the Cmd page: the entry `cmd`, the "?" button and the
// interpreter, which reads and sets the autosave box and reads the working
// directory.
#include "TForm1.h"

#include "Console.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// The console's view of the window. Texts cross as UTF-8, so whatever is
// typed or shown keeps every character.
class WindowConsole : public talmo::ConsoleHost {
public:
    explicit WindowConsole(TForm1& window) : m_window(window) {}

    void logLine(const std::string& text) override {
        m_window.LogLine(QString::fromStdString(text));
    }
    void clearLog() override { m_window.log->clear(); }
    bool autosaveChecked() const override { return m_window.autosave->isChecked(); }
    void setAutosave(bool on) override { m_window.autosave->setChecked(on); }
    std::string workingDirectory() const override {
        return m_window.workingDirectory().toStdString();
    }

private:
    TForm1& m_window;
};

} // namespace

void TForm1::wireConsole() {
    onKeyPress(cmd, [this](char key) { cmdKeyPress(key); });
    connect(help, &QPushButton::clicked, this, [this] { helpClick(); });
}

void TForm1::cmdKeyPress(char key) {
    if (key != '\r')
        return;
    WindowConsole console(*this);
    if (talmo::enterConsoleLine(console, cmd->text().toStdString()))
        cmd->clear();
}

void TForm1::helpClick() {
    ShowConsoleHelp();
}

void TForm1::RunConsoleCommand(const QString& text) {
    WindowConsole console(*this);
    talmo::RunConsoleCommand(console, text.toStdString());
}

void TForm1::ShowConsoleHelp() {
    WindowConsole console(*this);
    talmo::ShowConsoleHelp(console);
}
