// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, the console log, the default error report and closing.
#include "TForm1.h"

#include "CompileController.h"
#include "EditSession.h"
#include "EventHook.h"
#include "FileListBox.h"
#include "JournalKeeper.h"
#include "LogBuffer.h"
#include "QsciEditor.h"
#include "TextBytes.h"
#include "WorkingDirectory.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>

#include <exception>

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent), m_workingDirectory(new talmo::WorkingDirectory(this)),
      m_startupDirectory(m_workingDirectory->path()) {
    buildLayout();
    wireBrowsing();
    wireRecovery();
    wireEditorCommands();
    wireAnalysis();
    wireReports();
    wireLaunch();
    wireStore();
    wireConsole();
    wireNavigation();
}

TForm1::~TForm1() {
    // Ends the compile runs left before the controls they report to go.
    delete m_compile;
}

void TForm1::reportError(const QString& message) {
    if (m_errorReporter) {
        m_errorReporter(message);
        return;
    }
    QMessageBox::critical(this, QStringLiteral(":: Talmo ::"), message);
}

void TForm1::runReportingErrors(const std::function<void()>& body) {
    try {
        body();
    } catch (const std::exception& e) {
        reportError(QString::fromUtf8(e.what()));
    }
}

void TForm1::onKeyPress(QWidget* box, std::function<void(char)> handler) {
    talmo::EventHook::install(box, QEvent::KeyPress, [handler = std::move(handler)](QEvent* event) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            handler('\r');
        else if (key->text().size() == 1)
            handler(key->text()[0].toLatin1());
    });
}

void TForm1::showPage(int index) {
    Manager->setCurrentIndex(index);
}

std::optional<std::string> TForm1::fileText(const QString& text) {
    QString refused;
    std::optional<std::string> bytes = talmo::bytesOfText(text, &refused);
    if (!bytes)
        LogLine(QStringLiteral(":: Cannot use \"") + refused +
                QStringLiteral("\": the 8-bit text of the files has no such character; "
                               "nothing was changed"));
    return bytes;
}

QString TForm1::fileNamePart(const QString& path) {
    const qsizetype cut =
        std::max({path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'), path.lastIndexOf(u':')});
    return path.mid(cut + 1);
}

void TForm1::LogLine(const QString& text) {
    QTextDocument* doc = log->document();
    const bool empty = doc->isEmpty();
    const int lines = empty ? 0 : doc->blockCount();
    if (talmo::logDropsOldest(static_cast<std::size_t>(lines))) {
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

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TForm1::FormShow() {
    setWindowTitle(QStringLiteral(":: T A L M O :: - ") + workingDirectory());
    Manager->setTabText(1, QStringLiteral("&Edit"));
    offerJournals();
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Keep the promise of the autosave box: edits made since the last switch
    // are written back as a switch would, and what cannot be written stays
    // in the journal.
    keepUnsavedWork();
    event->accept();
}
