// SPDX-License-Identifier: GPL-3.0-or-later
// The file being edited, over the editor contract: the edit session and its
// rules, the watch on the file for outside changes, the journal of unsaved
// text, and the offers of journals an earlier run left (Recover / Discard).
// No widget: the window (or a test over the in-memory editor) drives it and
// follows its signals; every log line goes out through log().
#pragma once

#include "Journal.h"

#include <QObject>
#include <QString>

#include <filesystem>
#include <memory>
#include <vector>

class QFileSystemWatcher;

namespace talmo {

class Editor;
class EditSession;
class JournalKeeper;

class EditController : public QObject {
    Q_OBJECT
public:
    // `dataFolder` holds the journals, the recovery copies that fit nowhere
    // else and the safe copies of a write in place.
    EditController(Editor& editor, const std::filesystem::path& dataFolder,
                   QObject* parent = nullptr);
    ~EditController() override;

    // The file loaded in the editor, as shown; empty when none.
    QString currentFile() const { return m_currentFile; }
    // The same as the system names it; empty when none.
    std::filesystem::path file() const;
    // The last load or autosave failed.
    bool failed() const;
    // The autosave box: whether leaving a file writes it first.
    void setAutosaveEnabled(bool on) { m_autosave = on; }
    bool autosaveEnabled() const { return m_autosave; }

    // Switches the editor to `path`: leaves the edited file by the autosave
    // rules, then loads, watches and emits loaded(); the caret keeps its
    // offset (the end of a shorter text). False (logged) when the
    // text left could be kept nowhere (the editor keeps it) or when `path`
    // cannot be read (the edited file stays current).
    bool open(const std::filesystem::path& path);
    // The autosave of a switch, logged. True when the text is safe (written,
    // kept in a copy, or nothing to write); else `why` says what failed.
    bool autosave(QString* why = nullptr);
    // What closing keeps: the autosave by its rules, and the journal of text
    // that could not be written.
    void keepUnsavedWork();
    // The editor's text changed (typing, paste, undo...).
    void textEdited();
    // Follows an outside change of the edited file: an untouched editor shows
    // the new version; edited text is kept (the next autosave keeps both).
    void followDisk();

    // Offers the journals an earlier run left for files under `directory`.
    void offerJournals(const std::filesystem::path& directory);
    // Recovers the offered journal's text into the editor (after leaving the
    // edited file as a switch does), or removes the offered journal.
    void recover();
    void discard();

signals:
    // `path` was loaded by open(), or shown again after an outside change
    // (reloaded), or recovered from a journal: the window runs its after-load
    // steps (function index, highlighting, caption, marks).
    void loaded(const QString& path);
    void reloaded(const QString& path);
    void recovered(const QString& path);
    // Talmo wrote `path`, or saw it change on disk.
    void written(const QString& path);
    void log(const QString& line);
    // The journal on offer now (seconds since 1970), or none left.
    void offered(const QString& file, qint64 written);
    void noOffer();

private:
    bool leaveEditedFile();
    void watch(const QString& path);
    bool rewatch();
    void showNextOffer();

    Editor& m_editor;
    std::unique_ptr<EditSession> m_session;
    std::unique_ptr<JournalKeeper> m_journal; // after m_session: it uses it
    QFileSystemWatcher* m_watcher = nullptr;
    QString m_currentFile;
    bool m_autosave = true;
    bool m_conflictLogged = false; // an outside change met edited text
    std::vector<JournalEntry> m_offers;
};

} // namespace talmo
