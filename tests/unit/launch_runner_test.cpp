// SPDX-License-Identifier: GPL-3.0-or-later
// Batch files run for real through the detached runner, with stand-in
// programs first on PATH that record how they were called.
#ifndef _WIN32

#include "Batch.h"
#include "BatchLine.h"
#include "FileError.h"
#include "ShellRun.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {

bool waitFor(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return done();
}

std::string readText(const fs::path& p) {
    try {
        return talmo::readFileBytes(p.string());
    } catch (const talmo::FileError&) {
        return {};
    }
}

// A scratch mod directory made current, with a directory of stand-in
// programs and the runner first on PATH.
class RunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_oldDir = fs::current_path();
        const char* path = std::getenv("PATH");
        m_oldPath = path ? path : "";
        m_dir = fs::temp_directory_path() /
                ("talmo-run-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir / "bin");
        fs::create_directories(m_dir / "mod");
        fs::current_path(m_dir / "mod");
        ::setenv("PATH",
                 ((m_dir / "bin").string() + ":" TALMO_BATCH_RUNNER_DIR ":/usr/bin:/bin").c_str(),
                 1);
    }
    void TearDown() override {
        ::setenv("PATH", m_oldPath.c_str(), 1);
        fs::current_path(m_oldDir);
        fs::remove_all(m_dir);
    }

    // A stand-in program that writes its working directory and arguments,
    // one a line, to `record` (renamed into place when complete).
    void addRecorder(const std::string& program, const std::string& record) {
        const fs::path script = m_dir / "bin" / program;
        const std::string rec = (m_dir / record).string();
        std::ofstream(script) << "#!/bin/sh\n"
                              << "{ pwd; printf '%s\\n' \"$@\"; } > '" << rec << ".tmp' && mv '"
                              << rec << ".tmp' '" << rec << "'\n";
        fs::permissions(script, fs::perms::owner_all);
    }

    // Writes and runs `lines` as a batch file ending in a line that marks the
    // end of the run, and waits for that mark.
    void runToEnd(Lines lines) {
        lines.push_back("echo done> " + (m_dir / "finished").string());
        talmo::writeBatchFile("run.bat", lines);
        ASSERT_TRUE(talmo::runBatchFile("run.bat", true));
        ASSERT_TRUE(waitFor([&] { return fs::exists(m_dir / "finished"); }))
            << "the batch run did not finish";
    }

    Lines recorded(const std::string& record) {
        const std::string text = readText(m_dir / record);
        Lines lines;
        std::size_t pos = 0;
        while (pos < text.size()) {
            const std::size_t end = text.find('\n', pos);
            lines.push_back(text.substr(pos, end - pos));
            pos = end == std::string::npos ? text.size() : end + 1;
        }
        return lines;
    }

    fs::path m_oldDir, m_dir;
    std::string m_oldPath;
};

} // namespace

TEST_F(RunnerTest, ChangesDirectoryAndRedirectsThroughTheShell) {
    fs::create_directories("sub");
    runToEnd({"", "cd sub", "echo hi> out"});
    EXPECT_EQ(readText(m_dir / "mod" / "sub" / "out"), "hi\n");
}

TEST_F(RunnerTest, CompileBatchLogsTheCompilerAndOpensLogInNotepad) {
    addRecorder("notepad", "notepad.rec");
    runToEnd(talmo::compileBatchLines("echo compiled"));
    EXPECT_EQ(readText(m_dir / "mod" / "log"), "compiled\n");
    EXPECT_EQ(recorded("notepad.rec"), (Lines{(m_dir / "mod").string(), "log"}));
}

TEST_F(RunnerTest, GameBatchStartsTheGameInItsDirectoryWithItsArguments) {
    addRecorder("quake.exe", "game.rec");
    fs::create_directories(m_dir / "quake");
    runToEnd(
        talmo::gameBatchLines({(m_dir / "quake").string(), "quake.exe", "mymod", "+map start"}));
    EXPECT_EQ(recorded("game.rec"),
              (Lines{(m_dir / "quake").string(), "-game", "mymod", "+map", "start"}));
}

TEST_F(RunnerTest, CommandBatchFillsCommanderlogAndOpensIt) {
    addRecorder("notepad", "notepad.rec");
    runToEnd(talmo::commandBatchLines("echo from the box"));
    EXPECT_EQ(readText(m_dir / "mod" / "commanderlog"), "from the box\n");
    EXPECT_EQ(recorded("notepad.rec").back(), "commanderlog");
}

TEST_F(RunnerTest, TypedCommandsOfTheCompilerAndCmdBoxRunAsTyped) {
    addRecorder("notepad", "notepad.rec");
    fs::create_directories("sub");
    // The batch's own redirection comes last, so it receives the output.
    const std::tuple<const char*, Lines, const char*> batches[] = {
        {talmo::kCompileBatch, talmo::compileBatchLines("cd sub && pwd > out"), "sub/log"},
        {talmo::kCommandBatch, talmo::commandBatchLines("cd sub && pwd > out"), "sub/commanderlog"},
    };
    for (const auto& [name, lines, output] : batches) {
        SCOPED_TRACE(name);
        fs::remove("sub/out");
        fs::remove(m_dir / "notepad.rec");
        talmo::writeBatchFile(name, lines);
        ASSERT_TRUE(talmo::runBatchFile(name, true));
        // notepad runs after the typed line has ended.
        ASSERT_TRUE(waitFor([&] { return fs::exists(m_dir / "notepad.rec"); }));
        EXPECT_TRUE(fs::exists("sub/out"));
        EXPECT_EQ(readText(output), (m_dir / "mod" / "sub").string() + "\n");
        EXPECT_EQ(recorded("notepad.rec").front(), (m_dir / "mod").string());
    }
}

TEST_F(RunnerTest, ProgressReportsEachLinesStatusAndTheRunEndsWithTheShellLines) {
    talmo::writeBatchFile("p.bat", {"echo printed", "", "exit 3", "cd nowhere"});
    FILE* out = ::popen(TALMO_BATCH_RUNNER_DIR "/talmo-batch --progress p.bat 2>/dev/null", "r");
    ASSERT_NE(out, nullptr);
    std::string progress;
    char buf[64];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, out)) > 0;)
        progress.append(buf, n);
    const int status = ::pclose(out);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 3);
    EXPECT_EQ(progress, "1 0\n2 0\n3 3\n4 1\n");
    EXPECT_EQ(talmo::parseProgressLine("3 3\n"), (talmo::LineProgress{3, 3}));
    for (const char* notProgress : {"1", "1 x", " 0", "1 0 0", "-1 2"})
        EXPECT_EQ(talmo::parseProgressLine(notProgress), std::nullopt) << notProgress;
}

TEST_F(RunnerTest, HostileFileNamesAreOpenedLiterallyAndRunNothing) {
    addRecorder("notepad", "notepad.rec");
    addRecorder("xdg-open", "open.rec");
    const char* names[] = {
        "a;touch pwned;b.qc", "$(touch pwned).qc", "`touch pwned`.qc", "x & touch pwned.qc",
        "x | touch pwned.qc", "x > pwned.qc",      "it's \"q\".qc",    "100% (sure) ^.qc",
    };
    for (const char* name : names) {
        SCOPED_TRACE(name);
        const std::string path = (m_dir / "mod" / name).string();
        std::ofstream(path) << "x";
        fs::remove(m_dir / "finished");
        Lines lines = talmo::notepadBatchLines(path);
        const Lines shell = talmo::shellBatchLines(path);
        lines.insert(lines.end(), shell.begin(), shell.end());
        runToEnd(lines);
        EXPECT_EQ(recorded("notepad.rec"), (Lines{(m_dir / "mod").string(), path}));
        EXPECT_EQ(recorded("open.rec"), (Lines{(m_dir / "mod").string(), path}));
        EXPECT_FALSE(fs::exists(m_dir / "mod" / "pwned"));
        EXPECT_FALSE(fs::exists(m_dir / "pwned"));
        fs::remove(path);
    }
}

TEST_F(RunnerTest, NotepadFallsBackToTheDefaultOpener) {
    addRecorder("xdg-open", "open.rec");
    runToEnd({"notepad readme.txt"});
    EXPECT_EQ(recorded("open.rec").back(), "readme.txt");
}

TEST_F(RunnerTest, ReturnsAtOnceAndLeavesNoChildBehind) {
    talmo::writeBatchFile("slow.bat", {"sleep 1", "echo done> finished"});
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(talmo::runBatchFile("slow.bat", false));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_FALSE(fs::exists("finished")) << "the caller waited for the run";
    errno = 0;
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "a child of the caller is left";
    EXPECT_EQ(errno, ECHILD);
    EXPECT_TRUE(waitFor([] { return fs::exists("finished"); }));
}

TEST_F(RunnerTest, ReportsFailureWhenNoRunnerCanBeFound) {
    ::setenv("PATH", (m_dir / "bin").string().c_str(), 1);
    talmo::writeBatchFile("x.bat", {"echo x> out"});
    EXPECT_FALSE(talmo::runBatchFile("x.bat", true));
}

TEST_F(RunnerTest, OpenWithDefaultHandsTheFolderToTheOpener) {
    addRecorder("xdg-open", "open.rec");
    const std::string folder = talmo::exploreFolderPath((m_dir / "mod" / "progs.src").string());
    ASSERT_TRUE(talmo::openWithDefault(folder));
    ASSERT_TRUE(waitFor([&] { return fs::exists(m_dir / "open.rec"); }));
    EXPECT_EQ(recorded("open.rec").back(), (m_dir / "mod").string() + "/");
    EXPECT_FALSE(talmo::openWithDefault(""));
}

#endif
