// SPDX-License-Identifier: GPL-3.0-or-later
// The compile controller with the real batch runner and typed stand-in
// compilers: which compile's log becomes the listed messages.
#ifndef _WIN32
#include "CompileController.h"

#include "EditController.h"
#include "ScratchDir.h"
#include "ShellRun.h"
#include "TextBytes.h"
#include "TextModel.h"
#include "WorkingDirectory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

using talmo::testing::InScratchDir;
using talmo::testing::putFile;

// Turns the event loop until `done` holds; false after 30 s.
bool spinUntil(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.hasExpired(30000))
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

class CompileControllerTest : public InScratchDir {
protected:
    void SetUp() override {
        InScratchDir::SetUp();
        // The runner from the build; a notepad that only leaves a mark where
        // it ran.
        std::filesystem::create_directory(m_dir / "bin");
        putFile(m_dir / "bin" / "notepad", "#!/bin/sh\ntouch notepad-ran\n");
        std::filesystem::permissions(m_dir / "bin" / "notepad", std::filesystem::perms::owner_all);
        m_path = qgetenv("PATH");
        qputenv("PATH",
                QByteArray((m_dir / "bin").c_str()) + ':' + TALMO_BATCH_RUNNER_DIR + ':' + m_path);
    }
    void TearDown() override {
        qputenv("PATH", m_path);
        InScratchDir::TearDown();
    }

    QByteArray m_path;
};

TEST_F(CompileControllerTest, ACompileOvertakenByALaterOneListsNothing) {
    ASSERT_FALSE(talmo::findBatchRunner().empty());
    std::filesystem::create_directory(m_dir / "first");
    std::filesystem::create_directory(m_dir / "second");
    talmo::TextModel editor;
    talmo::EditController edit(editor, m_dir);
    talmo::WorkingDirectory directory;
    talmo::CompileController compile(edit, directory);
    struct Read {
        QString header;
        QString directory;
        std::vector<std::string> files;
    };
    std::vector<Read> reads;
    QObject::connect(&compile, &talmo::CompileController::messagesRead,
                     [&](const QString& header, const QString& dir,
                         const std::vector<talmo::ListedMessage>& messages) {
                         Read read{header, dir, {}};
                         for (const talmo::ListedMessage& m : messages)
                             read.files.push_back(m.file.string());
                         reads.push_back(read);
                     });

    // The first compile ends at once, but QCC! is pressed again before its
    // end is seen; the second one ends well after the first's runner.
    ASSERT_TRUE(directory.change(talmo::pathText(m_dir / "first")));
    compile.compile("echo 'a.qc:1: error: overtaken'", 0);
    ASSERT_TRUE(directory.change(talmo::pathText(m_dir / "second")));
    compile.compile("for i in $(seq 200); do [ -e ../first/notepad-ran ] && break; sleep 0.05; "
                    "done; sleep 0.3; echo 'b.qc:2: error: latest'",
                    0);

    ASSERT_TRUE(spinUntil(
        [&] { return !reads.empty() && reads.back().files == std::vector<std::string>{"b.qc"}; }));
    ASSERT_EQ(reads.size(), 1u) << "listed too: " << reads.front().directory.toStdString();
    EXPECT_EQ(reads[0].header, QStringLiteral("1 error, 0 warnings"));
    EXPECT_EQ(reads[0].directory, talmo::pathText(m_dir / "second"));
}

} // namespace
#endif
