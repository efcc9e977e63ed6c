// SPDX-License-Identifier: GPL-3.0-or-later
#include "CmdPage.h"

#include "Console.h"
#include "LogBuffer.h"
#include "PageControls.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

namespace talmo {

// The console's view of the page. Texts cross as UTF-8, so whatever is typed
// or shown keeps every character.
class CmdPage::Host : public ConsoleHost {
public:
    explicit Host(CmdPage& page) : m_page(page) {}

    void logLine(const std::string& text) override { m_page.LogLine(QString::fromStdString(text)); }
    void clearLog() override { m_page.log->clear(); }
    bool autosaveChecked() const override { return m_page.m_console.autosaveChecked(); }
    void setAutosave(bool on) override { m_page.m_console.setAutosave(on); }
    std::string workingDirectory() const override {
        return m_page.m_console.workingDirectory().toStdString();
    }

private:
    CmdPage& m_page;
};

CmdPage::CmdPage(Console console, QWidget* parent)
    : QWidget(parent), m_console(std::move(console)) {
    auto* layout = new QVBoxLayout(this);
    log = memo("log");
    log->setReadOnly(true);
    log->setFont(systemFont());
    log->viewport()->setCursor(Qt::ArrowCursor);
    QPalette pal = log->palette();
    // The button face with the button's own text colour: black on grey in a
    // light palette, and as readable in a dark one.
    pal.setColor(QPalette::Base, palette().color(QPalette::Button));
    pal.setColor(QPalette::Text, palette().color(QPalette::ButtonText));
    log->setPalette(pal);
    log->setPlainText(QStringLiteral(" :: T A L M O ::.. \n  Console Subsystem.\n"
                                     " { This version as not real functions }\n>"));
    layout->addWidget(log, 1);

    auto* bar = new QHBoxLayout;
    cmd = lineEdit("cmd");
    cmd->setFont(systemFont());
    cmd->setStyleSheet(QStringLiteral("QLineEdit#cmd { background: silver; color: black; }"));
    help = button("help", QStringLiteral("?"));
    QFont helpFont = help->font();
    helpFont.setBold(true);
    helpFont.setPixelSize(19);
    help->setFont(helpFont);
    help->setFixedWidth(40);
    bar->addWidget(cmd, 1);
    bar->addWidget(help);
    layout->addLayout(bar);

    onKeyPress(cmd, [this](char key) { cmdKeyPress(key); });
    connect(help, &QPushButton::clicked, this, [this] { helpClick(); });
}

void CmdPage::LogLine(const QString& text) {
    QTextDocument* doc = log->document();
    const bool empty = doc->isEmpty();
    const int lines = empty ? 0 : doc->blockCount();
    if (logDropsOldest(static_cast<std::size_t>(lines))) {
        QTextCursor first(doc->firstBlock());
        first.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
        first.removeSelectedText();
    }
    if (empty) {
        log->setPlainText(text);
        log->moveCursor(QTextCursor::End);
    } else {
        log->appendPlainText(text);
    }
}

void CmdPage::cmdKeyPress(char key) {
    if (key != '\r')
        return;
    Host host(*this);
    if (enterConsoleLine(host, cmd->text().toStdString()))
        cmd->clear();
}

void CmdPage::helpClick() {
    ShowConsoleHelp();
}

void CmdPage::ShowConsoleHelp() {
    Host host(*this);
    talmo::ShowConsoleHelp(host);
}

} // namespace talmo
