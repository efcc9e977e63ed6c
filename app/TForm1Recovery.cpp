// SPDX-License-Identifier: GPL-3.0-or-later
// Unsaved work: the edit controller's journal and its offers of journals
// left by an earlier run, shown on the recover bar, and what closing or
// being told to stop keeps.
#include "TForm1.h"

#include "TextBytes.h"

#include "EditController.h"
#include "EditPage.h"
#include "QsciEditor.h"
#include "QsciView.h"
#include "RecoverBar.h"

#include <QStandardPaths>
#include <QTabWidget>

using talmo::localPath;

std::filesystem::path TForm1::dataFolder() {
    return localPath(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
}

void TForm1::wireRecovery() {
    connect(editor()->view(), &QsciScintilla::textChanged, m_edit,
            &talmo::EditController::textEdited);
    talmo::RecoverBar* recoverbar = m_editPage->recoverBar();
    connect(recoverbar, &talmo::RecoverBar::recoverClicked, this, [this] { recoverClick(); });
    connect(recoverbar, &talmo::RecoverBar::discardClicked, this, [this] { discardClick(); });
    connect(m_edit, &talmo::EditController::offered, recoverbar, &talmo::RecoverBar::offer);
    connect(m_edit, &talmo::EditController::noOffer, recoverbar, &QWidget::hide);
    connect(m_edit, &talmo::EditController::recovered, this, [this](const QString& path) {
        showLoadedText();
        Manager->setTabText(1,
                            QStringLiteral("[ &Edit ") + fileNamePart(path) + QStringLiteral("]"));
        markMessageLines();
        showPage(1);
    });
}

void TForm1::offerJournals() {
    m_edit->offerJournals(localPath(workingDirectory()));
}

void TForm1::recoverClick() {
    m_edit->recover();
}

void TForm1::discardClick() {
    m_edit->discard();
}

void TForm1::keepUnsavedWork() {
    m_edit->keepUnsavedWork();
}
