// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the journal of the edited file's unsaved text current: written on a
// worker thread no later than a second after typing pauses and at least every
// three seconds while it goes on, removed once the text is in its file.
#pragma once

#include "Journal.h"

#include <QObject>
#include <QTimer>

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <set>
#include <thread>

namespace talmo {

class EditSession;

class JournalKeeper : public QObject {
    Q_OBJECT
public:
    JournalKeeper(EditSession& session, std::filesystem::path journalDir,
                  QObject* parent = nullptr);
    ~JournalKeeper() override;

    const std::filesystem::path& directory() const { return m_dir; }

    // The editor's text changed (typing, paste, undo...).
    void textEdited();
    // Brings the journal of the current file up to date now, on this thread,
    // after the writes already queued: true when it holds the editor's text
    // (or none is needed because the text is in its file).
    bool keepNow();
    // The current file's text is in its file: its journal goes.
    void textSaved();
    // Makes the journal of `file` this run's own (a recovered one): it is
    // kept current and removed like the ones this run wrote.
    void adopt(const std::filesystem::path& file);
    // Whether this run writes (or recovered) the journal of `file` (absolute).
    bool owns(const std::filesystem::path& file) const { return m_own.count(file) > 0; }
    // Waits for every queued write.
    void flush();

private:
    struct Job {
        bool remove = false;
        JournalEntry entry;
    };
    void writeSoon();
    void enqueue(Job job);
    void run();
    bool perform(const Job& job);

    EditSession& m_session;
    std::filesystem::path m_dir;
    QTimer m_pause; // a second without typing
    QTimer m_limit; // three seconds of typing
    // Journals this run wrote: a journal left by an earlier run is only
    // removed by Discard or a recovery, never by an untouched editor.
    std::set<std::filesystem::path> m_own;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Job> m_jobs;
    bool m_busy = false;
    bool m_stop = false;
    bool m_lastOk = true;
    std::thread m_worker;
};

} // namespace talmo
