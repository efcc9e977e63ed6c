// SPDX-License-Identifier: GPL-3.0-or-later
#include "Batch.h"
#include "BatchLine.h"
#include "FileError.h"
#include "Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using talmo::BatchDialect;
using Lines = std::vector<std::string>;

TEST(CompileBatch, RedirectsTheCompilerIntoLogAndOpensIt) {
    EXPECT_EQ(talmo::compileBatchLines("frikqcc2.exe"),
              (Lines{"frikqcc2.exe > log", "notepad log "}));
    EXPECT_EQ(talmo::compileBatchLines(""), (Lines{" > log", "notepad log "}));
    EXPECT_EQ(talmo::compileBatchLines("fteqcc -srcfile \"my progs.src\""),
              (Lines{"fteqcc -srcfile \"my progs.src\" > log", "notepad log "}))
        << "the compiler text runs as typed";
}

TEST(DrivePart, TakesTheDriveOrTheServerAndShareOfAGamePath) {
    struct Case {
        const char* path;
        const char* drive;
    };
    const Case cases[] = {
        {"D:\\games\\quake", "D:"},
        {"D:", "D:"},
        {"d:quake", "d:"},
        {"\\\\server\\share\\dir", "\\\\server\\share"},
        {"\\\\server\\share\\dir\\sub", "\\\\server\\share"},
        {"\\\\server\\share", "\\\\server\\share"},
        {"\\\\server", "\\\\server"},
        {"games\\quake", ""},
        {"\\games", ""},
        {"/home/me/quake", ""},
        {"", ""},
        {"D", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(talmo::drivePart(c.path), c.drive) << "path " << c.path;
}

TEST(GameBatch, ChangesToTheGameDriveAndDirectoryThenStartsTheGame) {
    EXPECT_EQ(talmo::gameBatchLines({"D:\\games\\quake", "quake.exe", "mymod", "+map start"}),
              (Lines{"D:", "cd D:\\games\\quake", "quake.exe -game mymod +map start"}));
    EXPECT_EQ(talmo::gameBatchLines({"\\\\server\\share\\dir", "q.exe", "m", ""}),
              (Lines{"\\\\server\\share", "cd \\\\server\\share\\dir", "q.exe -game m "}));
}

TEST(GameBatch, WritesEmptySettingsAsBlanks) {
    EXPECT_EQ(talmo::gameBatchLines({"", "quake.exe", "", ""}),
              (Lines{"", "cd ", "quake.exe -game  "}));
    EXPECT_EQ(talmo::gameBatchLines({}), (Lines{"", "cd ", " -game  "}));
}

TEST(CommandBatch, RedirectsTheTypedCommandWithoutABlankBeforeTheArrow) {
    EXPECT_EQ(talmo::commandBatchLines("dir /w"),
              (Lines{"dir /w> commanderlog", "notepad commanderlog"}));
    EXPECT_EQ(talmo::commandBatchLines("echo a & echo b"),
              (Lines{"echo a & echo b> commanderlog", "notepad commanderlog"}))
        << "typed commands run as typed";
}

TEST(NotepadAndShellBatch, WritePlainPathsExactly) {
    for (const BatchDialect d : {BatchDialect::Cmd, BatchDialect::Posix}) {
        EXPECT_EQ(talmo::notepadBatchLines("C:\\mod\\world.qc", d),
                  (Lines{"notepad C:\\mod\\world.qc"}));
        EXPECT_EQ(talmo::notepadBatchLines("", d), (Lines{"notepad "}));
        EXPECT_EQ(talmo::shellBatchLines("/home/me/mod/readme.txt", d),
                  (Lines{"start /home/me/mod/readme.txt"}));
        EXPECT_EQ(talmo::shellBatchLines("", d), (Lines{"start "}));
    }
}

TEST(NotepadAndShellBatch, QuoteEveryPathThatACommandProcessorWouldReadAsCode) {
    const char* names[] = {
        "C:\\my mod\\a.qc", "/m/a;touch pwned.qc", "/m/$(touch pwned).qc",
        "/m/`id`.qc",       "/m/a&b.qc",           "/m/a|b.qc",
        "/m/a<b>c.qc",      "/m/a^b.qc",           "/m/it's.qc",
        "/m/say\"hi\".qc",  "/m/(x).qc",           "/m/tab\there.qc",
    };
    for (const char* name : names) {
        const std::string quoted = std::string("\"") + name + "\"";
        EXPECT_TRUE(talmo::needsQuoting(name)) << name;
        EXPECT_EQ(talmo::notepadBatchLines(name, BatchDialect::Posix),
                  (Lines{"notepad " + quoted}));
        EXPECT_EQ(talmo::shellBatchLines(name, BatchDialect::Posix),
                  (Lines{"start \"\" " + quoted}));
    }
}

TEST(NotepadAndShellBatch, DoublePercentSignsOnlyForTheWindowsProcessor) {
    EXPECT_EQ(talmo::notepadBatchLines("C:\\m\\100%PATH%.qc", BatchDialect::Cmd),
              (Lines{"notepad \"C:\\m\\100%%PATH%%.qc\""}));
    EXPECT_EQ(talmo::shellBatchLines("C:\\m\\100%.txt", BatchDialect::Cmd),
              (Lines{"start \"\" \"C:\\m\\100%%.txt\""}));
    EXPECT_EQ(talmo::notepadBatchLines("/m/100%.qc", BatchDialect::Posix),
              (Lines{"notepad \"/m/100%.qc\""}));
}

TEST(NotepadAndShellBatch, RefuseAPathThatWouldSplitTheBatchLine) {
    EXPECT_THROW(talmo::notepadBatchLines("/m/a\ntouch pwned"), talmo::FileError);
    EXPECT_THROW(talmo::shellBatchLines("/m/a\rb"), talmo::FileError);
}

TEST(NotepadAndShellBatch, RefuseForTheWindowsProcessorAQuoteThatWouldEndTheQuoting) {
    // Quoted whole, the name would leave " & calc & " outside the quotes.
    const std::string name = "C:\\m\\a\" & calc & \".qc";
    EXPECT_THROW(talmo::notepadBatchLines(name, BatchDialect::Cmd), talmo::FileError);
    EXPECT_THROW(talmo::shellBatchLines(name, BatchDialect::Cmd), talmo::FileError);
    EXPECT_EQ(talmo::notepadBatchLines(name, BatchDialect::Posix),
              (Lines{"notepad \"" + name + "\""}));
}

TEST(ExploreFolder, CutsThePathAfterItsLastSeparator) {
    struct Case {
        const char* path;
        BatchDialect dialect;
        const char* folder;
    };
    const Case cases[] = {
        {"C:\\mod\\progs.src", BatchDialect::Cmd, "C:\\mod\\"},
        {"C:progs.src", BatchDialect::Cmd, "C:"},
        {"\\\\server\\share\\a.txt", BatchDialect::Cmd, "\\\\server\\share\\"},
        {"progs.src", BatchDialect::Cmd, ""},
        {"", BatchDialect::Cmd, ""},
        {"/home/me/mod/a.qc", BatchDialect::Cmd, ""},
        {"/home/me/mod/a.qc", BatchDialect::Posix, "/home/me/mod/"},
        {"/a.qc", BatchDialect::Posix, "/"},
        {"C:\\mod\\progs.src", BatchDialect::Posix, ""},
        {"/m/README\\ read me.txt", BatchDialect::Posix, "/m/"},
        {"/m/a:b/c.qc", BatchDialect::Posix, "/m/a:b/"},
        {"", BatchDialect::Posix, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(talmo::exploreFolderPath(c.path, c.dialect), c.folder) << "path " << c.path;
}

TEST(BatchFile, IsWrittenWithCrLfAfterEveryLineAndReplacedWhole) {
    const fs::path dir =
        fs::temp_directory_path() / ("talmo-batchfile-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string file = (dir / "goquake.bat").string();
    talmo::writeBatchFile(file, {"D:", "cd D:\\q", "quake.exe -game  "});
    EXPECT_EQ(talmo::readFileBytes(file), "D:\r\ncd D:\\q\r\nquake.exe -game  \r\n");
    talmo::writeBatchFile(file, {"", "cd "});
    EXPECT_EQ(talmo::readFileBytes(file), "\r\ncd \r\n");
    EXPECT_THROW(talmo::writeBatchFile((dir / "none" / "qcc.bat").string(), {"x"}),
                 talmo::FileError);
    fs::remove_all(dir);
}

TEST(BatchLine, TellsWhatTheRunnerDoesWithEachLine) {
    using K = talmo::BatchStep::Kind;
    struct Case {
        const char* line;
        K kind;
        const char* argument;
    };
    const Case cases[] = {
        {"", K::Nothing, ""},
        {"D:", K::Nothing, ""},
        {"\\\\server\\share", K::Nothing, ""},
        {"   \r", K::Nothing, ""},
        {"cd sub", K::ChangeDir, "sub"},
        {"cd ", K::Nothing, ""},
        {"cd", K::Nothing, ""},
        {"CD \"my dir\"", K::ChangeDir, "my dir"},
        {"cd /tmp/x\r", K::ChangeDir, "/tmp/x"},
        {"notepad log ", K::Notepad, "log"},
        {"notepad ", K::Notepad, ""},
        {"notepad \"/m/a;b $(touch p).qc\"", K::Notepad, "/m/a;b $(touch p).qc"},
        {"notepad \"/m/say\"hi\".qc\"", K::Notepad, "/m/say\"hi\".qc"},
        {"start /m/readme.txt", K::Open, "/m/readme.txt"},
        {"start \"\" \"/m/a b.txt\"", K::Open, "/m/a b.txt"},
        {"start ", K::Nothing, ""},
        {"start \"\"", K::Nothing, ""},
        {"cdrom", K::Shell, "cdrom"},
        {"notepads x", K::Shell, "notepads x"},
        {"echo hi> out", K::Shell, "echo hi> out"},
        {" > log", K::Shell, " > log"},
        {"quake.exe -game  ", K::Shell, "quake.exe -game  "},
    };
    for (const Case& c : cases) {
        const talmo::BatchStep step = talmo::parseBatchLine(c.line);
        EXPECT_EQ(step.kind, c.kind) << "line \"" << c.line << "\"";
        EXPECT_EQ(step.argument, c.argument) << "line \"" << c.line << "\"";
    }
}

TEST(BatchLine, RunsTheTypedLinesOfTheLaunchersBatchesWholeThroughTheShell) {
    using K = talmo::BatchStep::Kind;
    using Steps = std::vector<talmo::BatchStep>;
    const std::string cmd = "cd sub && pwd> commanderlog\r\nnotepad commanderlog\r\n";
    EXPECT_EQ(talmo::batchSteps("gocmd.bat", cmd),
              (Steps{{K::Shell, "cd sub && pwd> commanderlog"}, {K::Notepad, "commanderlog"}}));
    EXPECT_EQ(talmo::batchSteps("/m/qcc.bat", "notepad foo.txt > log\r\nnotepad log \r\n"),
              (Steps{{K::Shell, "notepad foo.txt > log"}, {K::Notepad, "log"}}));
    EXPECT_EQ(
        talmo::batchSteps("goquake.bat", "\r\ncd /g/my quake\r\nstart -game x \r\n"),
        (Steps{{K::Nothing, ""}, {K::ChangeDir, "/g/my quake"}, {K::Shell, "start -game x "}}));
    EXPECT_EQ(talmo::batchSteps("run.bat", "cd sub\r\n"), (Steps{{K::ChangeDir, "sub"}}))
        << "a batch file of another name is read line by line";
}

TEST(DefaultCompiler, IsTheFirstKnownCompilerOnPathElseFteqcc) {
    const auto onPath = [](std::vector<std::string> found) {
        return [found](std::string_view p) {
            return std::find(found.begin(), found.end(), p) != found.end();
        };
    };
    EXPECT_EQ(talmo::defaultCompiler(BatchDialect::Posix, onPath({})), "fteqcc");
    EXPECT_EQ(talmo::defaultCompiler(BatchDialect::Posix, onPath({"frikqcc", "qfcc"})), "qfcc");
    EXPECT_EQ(talmo::defaultCompiler(BatchDialect::Posix, onPath({"gmqcc", "fteqcc"})), "fteqcc");
    EXPECT_EQ(talmo::defaultCompiler(BatchDialect::Cmd, onPath({"fteqcc"})), "frikqcc2.exe");
}

TEST(BatchLine, SplitsFileBytesAtLineBreaks) {
    EXPECT_EQ(talmo::splitBatchLines("a\r\n\r\nb c\r\n"), (Lines{"a", "", "b c"}));
    EXPECT_EQ(talmo::splitBatchLines("a\nb"), (Lines{"a", "b"}));
    EXPECT_EQ(talmo::splitBatchLines(""), Lines{});
}
