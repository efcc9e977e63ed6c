// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalKeeper.h"

#include "EditSession.h"

#include <ctime>
#include <system_error>

namespace talmo {

namespace fs = std::filesystem;

JournalKeeper::JournalKeeper(EditSession& session, fs::path journalDir, QObject* parent)
    : QObject(parent), m_session(session), m_dir(std::move(journalDir)) {
    m_pause.setSingleShot(true);
    m_pause.setInterval(1000);
    m_limit.setSingleShot(true);
    m_limit.setInterval(3000);
    connect(&m_pause, &QTimer::timeout, this, [this] { writeSoon(); });
    connect(&m_limit, &QTimer::timeout, this, [this] { writeSoon(); });
    m_worker = std::thread([this] { run(); });
}

JournalKeeper::~JournalKeeper() {
    {
        const std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_worker.join();
}

void JournalKeeper::textEdited() {
    m_pause.start();
    if (!m_limit.isActive())
        m_limit.start();
}

namespace {

fs::path absoluteOf(const fs::path& file) {
    std::error_code ec;
    fs::path a = fs::absolute(file, ec);
    return ec ? file : a;
}

} // namespace

void JournalKeeper::writeSoon() {
    m_pause.stop();
    m_limit.stop();
    if (m_session.file().empty())
        return;
    if (!m_session.textChanged()) {
        textSaved();
        return;
    }
    JournalEntry entry = m_session.journalEntry(static_cast<std::int64_t>(std::time(nullptr)));
    m_own.insert(entry.file);
    enqueue(Job{false, std::move(entry)});
}

bool JournalKeeper::keepNow() {
    m_pause.stop();
    m_limit.stop();
    if (m_session.file().empty() || !m_session.textChanged())
        return true;
    writeSoon();
    flush();
    const std::lock_guard lock(m_mutex);
    return m_lastOk;
}

void JournalKeeper::textSaved() {
    m_pause.stop();
    m_limit.stop();
    const fs::path file = absoluteOf(m_session.file());
    if (m_own.erase(file) == 0)
        return;
    Job job;
    job.remove = true;
    job.entry.file = file;
    enqueue(std::move(job));
}

void JournalKeeper::adopt(const fs::path& file) {
    m_own.insert(absoluteOf(file));
}

void JournalKeeper::flush() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
}

void JournalKeeper::enqueue(Job job) {
    {
        const std::lock_guard lock(m_mutex);
        // Only the newest word on a file counts.
        std::erase_if(m_jobs, [&](const Job& j) { return j.entry.file == job.entry.file; });
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void JournalKeeper::run() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
        if (m_jobs.empty())
            return; // stopping, nothing left to write
        Job job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();
        const bool ok = perform(job);
        lock.lock();
        m_busy = false;
        m_lastOk = ok;
        if (m_jobs.empty())
            m_idle.notify_all();
    }
}

bool JournalKeeper::perform(const Job& job) {
    try {
        if (job.remove)
            removeJournal(m_dir, job.entry.file);
        else
            writeJournal(m_dir, job.entry);
        return true;
    } catch (const FileError&) {
        return false;
    }
}

} // namespace talmo
