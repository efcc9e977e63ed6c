// SPDX-License-Identifier: GPL-3.0-or-later
// Unsaved work: the journal of the edited file, the offer of journals left
// by an earlier run (the recover bar), leaving a file only when its text is
// safe somewhere, and what closing or being told to stop keeps.
#include "TForm1.h"

#include "TextBytes.h"

#include "EditSession.h"
#include "Journal.h"
#include "JournalKeeper.h"
#include "QsciEditor.h"
#include "QsciView.h"
#include "RecoverBar.h"

#include <QCheckBox>
#include <QStandardPaths>
#include <QTabWidget>

using talmo::localPath;
using talmo::pathText;

std::filesystem::path TForm1::dataFolder() {
    return localPath(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
}

void TForm1::wireRecovery() {
    m_session->setFallbackRecoveryDirectory(dataFolder());
    m_session->setSafeCopyDirectory(dataFolder() / "safe copies");
    m_journal = std::make_unique<talmo::JournalKeeper>(*m_session, dataFolder() / "journal");
    connect(talmo->view(), &QsciScintilla::textChanged, m_journal.get(),
            &talmo::JournalKeeper::textEdited);
    connect(recoverbar, &talmo::RecoverBar::recoverClicked, this, [this] { recoverClick(); });
    connect(recoverbar, &talmo::RecoverBar::discardClicked, this, [this] { discardClick(); });
}

void TForm1::offerJournals() {
    m_offers = talmo::journalsUnder(m_journal->directory(), localPath(workingDirectory()));
    std::erase_if(m_offers,
                  [this](const talmo::JournalEntry& e) { return m_journal->owns(e.file); });
    showNextOffer();
}

void TForm1::showNextOffer() {
    if (m_offers.empty()) {
        recoverbar->hide();
        return;
    }
    const talmo::JournalEntry& next = m_offers.front();
    recoverbar->offer(pathText(next.file), next.written);
}

void TForm1::recoverClick() {
    if (m_offers.empty())
        return;
    const talmo::JournalEntry entry = m_offers.front();
    if (!leaveEditedFile())
        return;
    m_offers.erase(m_offers.begin());
    m_session->recover(entry);
    m_journal->adopt(entry.file);
    CurrentFile = pathText(entry.file);
    showLoadedText();
    Manager->setTabText(1, QStringLiteral("[ &Edit ") + fileNamePart(CurrentFile) +
                               QStringLiteral("]"));
    watchEditedFile(CurrentFile);
    markMessageLines();
    LogLine(QStringLiteral(":: Recovered, not saved yet: ") + CurrentFile);
    showNextOffer();
    showPage(1);
}

void TForm1::discardClick() {
    if (m_offers.empty())
        return;
    // A journal this run has written since (the file is being edited again)
    // holds the text now in the editor: only the offer goes.
    if (!m_journal->owns(m_offers.front().file))
        talmo::removeJournal(m_journal->directory(), m_offers.front().file);
    m_offers.erase(m_offers.begin());
    showNextOffer();
}

bool TForm1::leaveEditedFile() {
    if (!autosave->isChecked())
        return true;
    QString why;
    if (autosaveCurrentFile(&why))
        return true;
    // Neither the file nor a copy beside it or in the data folder took the
    // text: the journal is its last place, and without it the editor keeps
    // the file.
    if (m_journal->keepNow()) {
        LogLine(QStringLiteral(":: Unsaved text kept in the journal: ") +
                pathText(talmo::journalPathOf(m_journal->directory(),
                                              std::filesystem::absolute(m_session->file()))));
        return true;
    }
    LogLine(QStringLiteral(":: Not switched: your text could not be saved or kept: ") + why);
    return false;
}

void TForm1::keepUnsavedWork() {
    if (autosave->isChecked())
        autosaveCurrentFile();
    if (m_session->textChanged())
        m_journal->keepNow();
    else
        m_journal->textSaved();
    m_journal->flush();
}
