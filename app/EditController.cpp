// SPDX-License-Identifier: GPL-3.0-or-later
#include "EditController.h"

#include "EditSession.h"
#include "Editor.h"
#include "JournalKeeper.h"
#include "TextBytes.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

#include <exception>

namespace talmo {

EditController::EditController(Editor& editor, const std::filesystem::path& dataFolder,
                               QObject* parent)
    : QObject(parent), m_editor(editor), m_session(std::make_unique<EditSession>(editor)),
      m_watcher(new QFileSystemWatcher(this)) {
    m_session->setFallbackRecoveryDirectory(dataFolder);
    m_session->setSafeCopyDirectory(dataFolder / "safe copies");
    m_journal = std::make_unique<JournalKeeper>(*m_session, dataFolder / "journal");
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { followDisk(); });
    // A file deleted and made again (some tools save so) is watched anew
    // from its directory.
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (rewatch())
            followDisk();
    });
}

EditController::~EditController() = default;

std::filesystem::path EditController::file() const {
    return m_currentFile.isEmpty() ? std::filesystem::path() : m_session->file();
}

bool EditController::failed() const {
    return m_session->failed();
}

void EditController::textEdited() {
    m_journal->textEdited();
}

bool EditController::autosave(QString* why) {
    using Kind = EditSession::Autosave::Kind;
    const EditSession::Autosave result = m_session->autosave();
    const QString kept = pathText(result.recovery);
    if (why)
        *why = result.error.empty() ? QStringLiteral("an earlier write of it failed")
                                    : QString::fromLocal8Bit(result.error);
    switch (result.kind) {
    case Kind::NotNeeded:
    case Kind::Empty:
        return true;
    case Kind::Saved:
        emit log(QStringLiteral(":: Autosaved: ") + m_currentFile);
        if (result.madeUniform)
            emit log(QStringLiteral(":: Line breaks made uniform (") +
                     QLatin1String(lineBreakName(*result.madeUniform)) + QStringLiteral("): ") +
                     m_currentFile);
        m_journal->textSaved();
        emit written(m_currentFile);
        return true;
    case Kind::Failed:
        emit log(QStringLiteral("Autosaved fail!!: "));
        break;
    case Kind::ChangedOnDisk:
        if (why)
            *why = QStringLiteral("it changed on disk");
        if (!kept.isEmpty()) {
            emit log(QStringLiteral(":: Changed on disk, your text kept in: ") + kept);
            m_journal->textSaved();
            return true;
        }
        emit log(QStringLiteral(":: Changed on disk: ") + m_currentFile);
        break;
    case Kind::SkippedFailed:
        break;
    }
    const bool safe = !kept.isEmpty();
    emit log(safe ? QStringLiteral(":: Unsaved text kept in: ") + kept
                  : QStringLiteral(":: Unsaved text could not be kept anywhere!"));
    // Why the write failed (a write in place names the copies of both versions).
    if (!result.error.empty())
        emit log(QStringLiteral(":: ") + QString::fromLocal8Bit(result.error));
    if (safe)
        m_journal->textSaved();
    return safe;
}

bool EditController::leaveEditedFile() {
    if (!m_autosave)
        return true;
    QString why;
    if (autosave(&why))
        return true;
    // Neither the file nor a copy beside it or in the data folder took the
    // text: the journal is its last place, and without it the editor keeps
    // the file.
    if (m_journal->keepNow()) {
        emit log(QStringLiteral(":: Unsaved text kept in the journal: ") +
                 pathText(journalPathOf(m_journal->directory(),
                                        std::filesystem::absolute(m_session->file()))));
        return true;
    }
    emit log(QStringLiteral(":: Not switched: your text could not be saved or kept: ") + why);
    return false;
}

bool EditController::open(const std::filesystem::path& path) {
    const long caret = m_editor.selectionStart();
    if (!leaveEditedFile())
        return false;
    try {
        // An empty path (nothing selected) fails like any unreadable file;
        // then the file being edited stays current, text and all.
        m_session->load(path);
    } catch (const std::exception&) {
        emit log(QStringLiteral("Load fail!!: "));
        return false;
    }
    m_currentFile = pathText(path);
    watch(m_currentFile);
    emit loaded(m_currentFile);
    m_editor.setSelectionStart(caret);
    return true;
}

void EditController::keepUnsavedWork() {
    if (m_autosave)
        autosave();
    if (m_session->textChanged())
        m_journal->keepNow();
    else
        m_journal->textSaved();
    m_journal->flush();
}

void EditController::watch(const QString& path) {
    m_conflictLogged = false;
    const QStringList watched = m_watcher->files() + m_watcher->directories();
    if (!watched.isEmpty())
        m_watcher->removePaths(watched);
    if (path.isEmpty())
        return;
    m_watcher->addPath(path);
    m_watcher->addPath(QFileInfo(path).absolutePath());
}

bool EditController::rewatch() {
    // A file replaced by a rename, or deleted and made again, is no longer
    // watched under its name.
    if (m_currentFile.isEmpty() || m_watcher->files().contains(m_currentFile) ||
        !QFileInfo::exists(m_currentFile))
        return false;
    m_watcher->addPath(m_currentFile);
    return true;
}

void EditController::followDisk() {
    using Change = EditSession::DiskChange;
    rewatch();
    switch (m_session->followDisk()) {
    case Change::Reloaded:
        emit reloaded(m_currentFile);
        m_conflictLogged = false;
        emit log(QStringLiteral(":: Reloaded, changed on disk: ") + m_currentFile);
        emit written(m_currentFile);
        break;
    case Change::Conflict:
        if (!m_conflictLogged)
            emit log(QStringLiteral(":: Changed on disk while edited: ") + m_currentFile);
        m_conflictLogged = true;
        break;
    case Change::None:
    case Change::Vanished:
        break;
    }
}

void EditController::offerJournals(const std::filesystem::path& directory) {
    m_offers = journalsUnder(m_journal->directory(), directory);
    std::erase_if(m_offers, [this](const JournalEntry& e) { return m_journal->owns(e.file); });
    showNextOffer();
}

void EditController::showNextOffer() {
    if (m_offers.empty()) {
        emit noOffer();
        return;
    }
    const JournalEntry& next = m_offers.front();
    emit offered(pathText(next.file), next.written);
}

void EditController::recover() {
    if (m_offers.empty())
        return;
    const JournalEntry entry = m_offers.front();
    if (!leaveEditedFile())
        return;
    m_offers.erase(m_offers.begin());
    m_session->recover(entry);
    m_journal->adopt(entry.file);
    m_currentFile = pathText(entry.file);
    watch(m_currentFile);
    emit recovered(m_currentFile);
    emit log(QStringLiteral(":: Recovered, not saved yet: ") + m_currentFile);
    showNextOffer();
}

void EditController::discard() {
    if (m_offers.empty())
        return;
    // A journal this run has written since (the file is being edited again)
    // holds the text now in the editor: only the offer goes.
    if (!m_journal->owns(m_offers.front().file))
        removeJournal(m_journal->directory(), m_offers.front().file);
    m_offers.erase(m_offers.begin());
    showNextOffer();
}

} // namespace talmo
