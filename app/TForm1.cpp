// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up, the default error report and closing.
#include "TForm1.h"

#include "CompileController.h"
#include "EditController.h"
#include "WorkingDirectory.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QTabWidget>

TForm1::TForm1(QWidget* parent)
    : QMainWindow(parent), m_workingDirectory(new talmo::WorkingDirectory(this)),
      m_startupDirectory(m_workingDirectory->path()) {
    buildLayout();
    wireBrowsing();
    wireRecovery();
    wireLaunch();
    wirePages();
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
    m_edit->keepUnsavedWork();
    event->accept();
}

QString TForm1::workingDirectory() const {
    return m_workingDirectory->path();
}

void TForm1::showPage(int index) {
    Manager->setCurrentIndex(index);
}
