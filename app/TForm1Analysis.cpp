// SPDX-License-Identifier: GPL-3.0-or-later
// QuakeC analysis in the window: the highlighting pass, the function index in
// `com` and find-next.
#include "TForm1.h"

#include "TextBytes.h"

#include "EventHook.h"
#include "FindNext.h"
#include "FunctionCombo.h"
#include "FunctionIndex.h"
#include "Highlight.h"
#include "QsciEditor.h"
#include "QsciView.h"

#include <QAction>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

using talmo::textOfBytes;

void TForm1::wireAnalysis() {
    connect(syntaxcolor, &QPushButton::clicked, this, [this] { syntaxcolorClick(); });

    // Entering `com` from another control rebuilds the index; the close of its
    // own list or the window's activation does not.
    talmo::EventHook::install(com, QEvent::FocusIn, [this](QEvent* event) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            codeChange();
    });
    connect(com, &talmo::FunctionCombo::editedByUser, this, [this] { comClick(); });
    // A pick is reported both as a change and as a click.
    connect(com, &talmo::FunctionCombo::picked, this, [this] {
        comClick();
        comClick();
    });
    connect(com, &talmo::FunctionCombo::closedUp, this, [this] { comCloseUp(); });
    onKeyPress(com, [this](char key) { comKeyPress(key); });
    onKeyPress(findedit, [this](char key) { findeditKeyPress(key); });
}

void TForm1::syntaxcolorClick() {
    talmo::highlightEditor(*talmo);
}

void TForm1::BuildFunctionIndex() {
    com->clear();
    QStringList entries;
    for (const std::string& entry : talmo::buildFunctionIndexFromText(talmo->text()))
        entries << textOfBytes(entry);
    com->addItems(entries);
    com->setCurrentIndex(-1);
    com->setEditText(QString());
}

void TForm1::codeChange() {
    BuildFunctionIndex();
}

void TForm1::comClick() {
    if (const auto what = fileText(com->currentText()))
        talmo::findNextInEditor(*talmo, *what);
}

void TForm1::comCloseUp() {
    talmo->setSelectionStart(0);
    comClick();
}

void TForm1::comKeyPress(char key) {
    if (key == '\r' && !com->currentText().isEmpty())
        comClick();
}

void TForm1::findeditKeyPress(char key) {
    if (key != '\r' || findedit->text().isEmpty())
        return;
    com->setEditText(findedit->text());
    LastSearch = findedit->text();
    comClick();
}

void TForm1::next1Click() {
    com->setEditText(LastSearch);
    comClick();
}
