// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, the console log, the default error report and closing.
#include "TForm1.h"

#include "CmdPage.h"
#include "CompileController.h"
#include "EditSession.h"
#include "FileListBox.h"
#include "JournalKeeper.h"
#include "PageControls.h"
#include "QsciEditor.h"
#include "RSearchPage.h"
#include "TextBytes.h"
#include "WorkingDirectory.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTabWidget>

#include <exception>

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent), m_workingDirectory(new talmo::WorkingDirectory(this)),
      m_startupDirectory(m_workingDirectory->path()) {
    buildLayout();
    wireBrowsing();
    wireRecovery();
    wireLaunch();
    wirePages();
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
    pageServices().runReportingErrors(body);
}

void TForm1::onKeyPress(QWidget* box, std::function<void(char)> handler) {
    talmo::onKeyPress(box, std::move(handler));
}

void TForm1::showPage(int index) {
    Manager->setCurrentIndex(index);
}

std::optional<std::string> TForm1::fileText(const QString& text) {
    return pageServices().fileText(text);
}

QString TForm1::fileNamePart(const QString& path) {
    const qsizetype cut =
        std::max({path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'), path.lastIndexOf(u':')});
    return path.mid(cut + 1);
}

void TForm1::LogLine(const QString& text) {
    m_cmd->LogLine(text);
}

QString TForm1::reportSource() const {
    return m_rsearch->reportSource();
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
