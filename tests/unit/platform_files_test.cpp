// SPDX-License-Identifier: GPL-3.0-or-later
// Files under the names and rules of the system the program runs on: a
// non-ASCII file name through every file path, read-only files, and (on
// Windows) batch files as the Windows command processor reads them.
#include "Batch.h"
#include "FileError.h"
#include "PathBytes.h"
#include "Report.h"
#include "ReportReader.h"
#include "ShellRun.h"
#include "Snip.h"
#include "Text.h"

#include "ScratchDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace talmo;
using talmo::testing::readOnlyStopsUs;
using talmo::testing::ScratchDir;

namespace {

// Latin letters, a no-break space and a character outside every 8-bit set.
const fs::path kOddName = fs::path(u8"caf\u00e9\u00a0\u6587.qc");

// Every byte value, NUL, 0xA0 and 0xFF included.
std::string allBytes() {
    std::string bytes;
    for (int c = 0; c < 256; ++c)
        bytes += static_cast<char>(c);
    return bytes;
}

// The reason `run` fails with; empty when it does not fail.
template <typename F> std::string whyRefused(F run) {
    try {
        run();
    } catch (const FileError& e) {
        return e.what();
    }
    return {};
}

} // namespace

TEST(PathBytes, AreUtf8ForAUnicodeNameAndReadBackToTheSamePath) {
    const std::string utf8 = "caf\xC3\xA9\xC2\xA0\xE6\x96\x87.qc";
    EXPECT_EQ(pathBytes(kOddName), utf8);
    EXPECT_EQ(pathOfBytes(utf8), kOddName);
}

TEST(NonAsciiFileName, IsSavedReadListedAndReported) {
    ScratchDir dir;
    const fs::path file = dir.path() / kOddName;
    const std::string text = "void() caf\xe9 =\r\n" + allBytes();
    writeFileBytes(file, text);
    EXPECT_EQ(readFileBytes(file), text);

    std::vector<fs::path> listed;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        listed.push_back(entry.path().filename());
    EXPECT_EQ(listed, std::vector<fs::path>{kOddName});

    ReportReader reader;
    std::vector<std::string> entries;
    scanFileForFunctions(reader, file, "x.qc", entries);
    EXPECT_EQ(entries, std::vector<std::string>{"x.qc - void() caf\xe9 ="});

    writeSnipFile(file, "snip");
    EXPECT_EQ(readSnipFile(file), "snip");
}

TEST(ReadFile, SaysWhyADirectoryOrAMissingFileIsRefused) {
    ScratchDir dir;
    const struct {
        fs::path path;
        std::string reason;
    } cases[] = {
        {dir.path(), "\": not a regular file"},
        {dir.path() / "missing.qc", "missing.qc\": No such file or directory"},
    };
    for (const auto& c : cases) {
        const std::string message = whyRefused([&] { readFileBytes(c.path); });
        EXPECT_EQ(message.rfind("Cannot open \"", 0), 0u) << message;
        EXPECT_TRUE(message.ends_with(c.reason)) << message;
    }
}

TEST(ReadOnlyFile, IsRefusedByBothWritersWithTheReasonAndLeftIntact) {
    if (!readOnlyStopsUs())
        GTEST_SKIP() << "permissions do not stop root";
    ScratchDir dir;
    const fs::path file = dir.path() / "ro.qc";
    writeFileBytes(file, "keep me");
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    using Write = void (*)(const fs::path&, std::string_view);
    const Write users = [](const fs::path& p, std::string_view b) { writeFileBytes(p, b); };
    for (const Write write : {users, &writeGeneratedFileBytes}) {
        const std::string message = whyRefused([&] { write(file, "x"); });
        EXPECT_NE(message.find("ro.qc\": Permission denied"), std::string::npos) << message;
    }
    EXPECT_EQ(readFileBytes(file), "keep me");
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
}

#ifdef _WIN32

namespace {

// Runs the batch file `batch` with the command processor, the current
// directory being `directory`; its exit code.
DWORD runBatch(const fs::path& batch, const fs::path& directory) {
    std::wstring command = L"cmd.exe /d /c \"" + batch.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                          nullptr, directory.c_str(), &startup, &process))
        return ~DWORD{0};
    ::WaitForSingleObject(process.hProcess, 60000);
    DWORD code = ~DWORD{0};
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return code;
}

// The root of a drive other than the one of `path`; empty when none.
fs::path otherDriveRoot(const fs::path& path) {
    const wchar_t own = static_cast<wchar_t>(std::towupper(path.root_name().wstring()[0]));
    const DWORD drives = ::GetLogicalDrives();
    for (wchar_t letter = L'C'; letter <= L'Z'; ++letter) {
        const std::wstring root = std::wstring(1, letter) + L":\\";
        if (letter != own && (drives & (1u << (letter - L'A'))) &&
            ::GetDriveTypeW(root.c_str()) == DRIVE_FIXED)
            return root;
    }
    return {};
}

} // namespace

TEST(BatchForCmd, QuotesAndDoubledPercentSignsReachTheCommandAsTyped) {
    ScratchDir dir;
    const std::string name = "100% a&b (1).txt";
    writeFileBytes(dir.path() / name, "copied");
    writeBatchFile(dir.path() / "copy.bat",
                   {"copy /b " + batchArgument(name, BatchDialect::Cmd) + " out.txt"});
    EXPECT_EQ(runBatch(dir.path() / "copy.bat", dir.path()), 0u);
    EXPECT_EQ(readFileBytes(dir.path() / "out.txt"), "copied");
}

TEST(BatchForCmd, TheDriveLineAndCdReachTheGameDirectoryFromAnotherDrive) {
    ScratchDir dir;
    const fs::path elsewhere = otherDriveRoot(dir.path());
    if (elsewhere.empty())
        GTEST_SKIP() << "one drive only";
    GameSettings game;
    game.path = dir.path().string();
    game.exe = "echo";
    game.mod = "m";
    game.params = "p> ran.txt";
    writeBatchFile(dir.path() / "game.bat", gameBatchLines(game));
    EXPECT_EQ(runBatch(dir.path() / "game.bat", elsewhere), 0u);
    EXPECT_EQ(readFileBytes(dir.path() / "ran.txt"), "-game m p\r\n");
}

TEST(ShellRun, StartsABatchFileNamedInWideCharacters) {
    ScratchDir dir;
    const fs::path batch = dir.path() / fs::path(u8"l\u00e4uft \u6587.bat");
    writeBatchFile(batch, {"echo ran> ran.txt"});
    const fs::path old = fs::current_path();
    fs::current_path(dir.path());
    const bool started = runBatchFile(batch, true);
    fs::current_path(old);
    ASSERT_TRUE(started);
    // The run goes on on its own: wait for what it writes.
    std::string ran;
    for (int i = 0; i < 600 && ran.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        try {
            ran = readFileBytes(dir.path() / "ran.txt");
        } catch (const FileError&) {
        }
    }
    EXPECT_EQ(ran, "ran\r\n");
}

#endif
