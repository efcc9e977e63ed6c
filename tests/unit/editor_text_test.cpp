// SPDX-License-Identifier: GPL-3.0-or-later
// The shared text and file helpers: line breaks, the one case-folding rule,
// and saving that never destroys what was on disk.
#include "FileError.h"
#include "GoToLine.h"
#include "LargeBuffers.h"
#include "Text.h"
#include "TextModel.h"

#include "ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace talmo;
using talmo::testing::ScratchDir;

namespace {

std::vector<std::string> namesIn(const ScratchDir& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir.path()))
        out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

using talmo::testing::fileBytes;
using talmo::testing::putFile;
using talmo::testing::readOnlyStopsUs;

// Makes the symbolic link `link` to `target`; false where none can be made.
bool makeSymlink(const std::string& target, const std::string& link) {
#ifdef _WIN32
    const fs::path to(target), name(link);
    // 0x2: without the privilege, where developer mode allows it.
    if (!::CreateSymbolicLinkW(name.c_str(), to.c_str(), 0x2))
        return false;
    const DWORD attributes = ::GetFileAttributesW(name.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
#else
    return ::symlink(target.c_str(), link.c_str()) == 0;
#endif
}

bool isSymlink(const std::string& path) {
#ifdef _WIN32
    const DWORD attributes = ::GetFileAttributesW(fs::path(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
#else
    return fs::is_symlink(path);
#endif
}

} // namespace

TEST(GoToLine, AcceptsASignedNumberBetweenBlanksOnly) {
    EXPECT_EQ(parseLineNumber(" -3 "), -3);
    EXPECT_EQ(parseLineNumber("+12"), 12);
    for (const char* refused : {"", " ", "-", "abc", "1 2", "0x10", "99999999999999999999"})
        EXPECT_EQ(parseLineNumber(refused), std::nullopt) << refused;
}

TEST(GoToLine, SkipsWholeLinesAndStopsAtTheEnd) {
    TextModel editor;
    editor.setText("aaaaa\nbbbbb\nc"); // 15 positions, a break counting two
    EXPECT_EQ(offsetAfterLines(editor, 0), 0);
    EXPECT_EQ(offsetAfterLines(editor, 2), 14);
    EXPECT_EQ(offsetAfterLines(editor, -3), 0);
    EXPECT_EQ(offsetAfterLines(editor, 3), 15);
    EXPECT_EQ(offsetAfterLines(editor, 1000), 15);
}

#if defined(__GLIBC__)
// The page faults a large buffer costs when it is written through.
long faultsToFill(std::size_t size, char*& buffer) {
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    buffer = static_cast<char*>(std::malloc(size));
    std::memset(buffer, 'x', size);
    getrusage(RUSAGE_SELF, &after);
    return after.ru_minflt - before.ru_minflt;
}

TEST(LargeBuffers, AFreedTextSizedBufferIsReusedWithoutNewPages) {
    keepLargeBuffersForReuse();
    constexpr std::size_t kSize = 12 << 20; // a text of 12 MB
    char* first = nullptr;
    const long firstFaults = faultsToFill(kSize, first);
    std::free(first);
    char* second = nullptr;
    const long secondFaults = faultsToFill(kSize + 4096, second);
    std::free(second);
    EXPECT_GT(firstFaults, 1000);
    EXPECT_LT(secondFaults, firstFaults / 10);
}
#endif

TEST(LineBreaks, EveryKindBecomesCrLf) {
    EXPECT_EQ(normalizeLineBreaks("a\rb\nc\r\nd\n\re"), "a\r\nb\r\nc\r\nd\r\n\r\ne");
    EXPECT_EQ(normalizeLineBreaks(""), "");
}

TEST(LineBreaks, AFileIsWrittenWithItsMostFrequentBreak) {
    using talmo::LineBreak;
    EXPECT_EQ(lineBreakStyleOf("a\nb\n").kind, LineBreak::Lf);
    EXPECT_EQ(lineBreakStyleOf("a\r\nb\n").kind, LineBreak::CrLf) << "a tie is CR LF";
    EXPECT_EQ(lineBreakStyleOf("no break").kind, LineBreak::CrLf);
    EXPECT_EQ(withLineBreaks(normalizeLineBreaks("x\ry\r"), LineBreak::Cr), "x\ry\r")
        << "a CR file round-trips";
    EXPECT_EQ(crlfToLf(normalizeLineBreaks("x\ny\n")), "x\ny\n") << "an LF file round-trips";
}

TEST(CaseFolding, LettersOfTheEightBitSetFoldAndOtherBytesDoNot) {
    EXPECT_EQ(foldCase('F'), 'f');
    EXPECT_EQ(foldCase(0xC9), 0xE9) << "É folds to é";
    EXPECT_EQ(foldCase(0x8A), 0x9A) << "Š folds to š";
    EXPECT_EQ(foldCase(0xD7), 0xD7) << "the multiplication sign is no letter";
    EXPECT_EQ(foldCase('['), '[');
}

TEST(FindNoCase, BoundsAndNotFound) {
    EXPECT_EQ(findNoCase("floating", "FLOAT", 0, 8), 0);
    EXPECT_EQ(findNoCase("abcabc", "abc", 1, 100), 3);
    EXPECT_EQ(findNoCase("abcabc", "abc", 1, 4), -1) << "must end within start + length";
    EXPECT_EQ(findNoCase("abc", "", 0, 3), -1);
    EXPECT_EQ(findNoCase("abc", "a", -1, 3), -1);
    EXPECT_EQ(findNoCase("abc", "c", 5, 3), -1) << "a start past the end finds nothing";
}

TEST(ReadFile, SpecialFilesFailAtOnceInsteadOfBlocking) {
    ScratchDir dir;
    const auto begin = std::chrono::steady_clock::now();
#ifdef _WIN32
    EXPECT_THROW(readFileBytes("NUL"), FileError);
#else
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0644), 0);
    EXPECT_THROW(readFileBytes(dir.file("pipe")), FileError);
    EXPECT_THROW(readFileBytes("/dev/zero"), FileError);
#endif
    EXPECT_THROW(readFileBytes(dir.path()), FileError);
    EXPECT_THROW(readFileBytes(dir.file("missing")), FileError);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(2));
}

TEST(SafeSave, ReplacesTheWholeFileAndLeavesNoTemporaryBehind) {
    ScratchDir dir;
    putFile(dir.file("a.qc"), "old text that is longer than the new one");
    writeFileBytes(dir.file("a.qc"), std::string("new\0text", 8));
    EXPECT_EQ(fileBytes(dir.file("a.qc")), std::string("new\0text", 8));
    EXPECT_EQ(namesIn(dir), std::vector<std::string>{"a.qc"});
}

TEST(SafeSave, KeepsTheTargetsPermissions) {
    ScratchDir dir;
    putFile(dir.file("a.qc"), "x");
#ifdef _WIN32
    const std::wstring name = (dir.path() / "a.qc").wstring();
    ASSERT_TRUE(::SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_HIDDEN));
    writeFileBytes(dir.file("a.qc"), "y");
    EXPECT_NE(::GetFileAttributesW(name.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
#else
    ASSERT_EQ(::chmod(dir.file("a.qc").c_str(), 0640), 0);
    writeFileBytes(dir.file("a.qc"), "y");
    struct stat st {};
    ASSERT_EQ(::stat(dir.file("a.qc").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
#endif
    EXPECT_EQ(fileBytes(dir.file("a.qc")), "y");
}

TEST(SafeSave, UserFilesFollowASymbolicLinkAndGeneratedOnesReplaceIt) {
    ScratchDir dir;
    putFile(dir.file("real.qc"), "x");
    if (!makeSymlink("real.qc", dir.file("link.qc")))
        GTEST_SKIP() << "no symbolic links here (Windows asks a privilege; wine only "
                        "pretends to make them)";
    writeFileBytes(dir.file("link.qc"), "through the link");
    EXPECT_TRUE(isSymlink(dir.file("link.qc")));
    EXPECT_EQ(fileBytes(dir.file("real.qc")), "through the link");

    writeGeneratedFileBytes(dir.file("link.qc"), "generated");
    EXPECT_FALSE(isSymlink(dir.file("link.qc")));
    EXPECT_EQ(fileBytes(dir.file("link.qc")), "generated");
    EXPECT_EQ(fileBytes(dir.file("real.qc")), "through the link");
}

TEST(SafeSave, AFailureLeavesTheOldFileIntact) {
    ScratchDir dir;
    // The target's place taken by a directory.
    fs::create_directory(dir.file("dir.qc"));
    EXPECT_THROW(writeFileBytes(dir.file("dir.qc"), "x"), FileError);
    // A directory that vanished.
    EXPECT_THROW(writeFileBytes(dir.file("gone/a.qc"), "x"), FileError);
    std::vector<std::string> expected{"dir.qc"};
    // A read-only file (not for root, whom permissions do not stop).
    if (readOnlyStopsUs()) {
        expected.push_back("ro.qc");
        putFile(dir.file("ro.qc"), "keep me");
        fs::permissions(dir.file("ro.qc"),
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        EXPECT_THROW(writeFileBytes(dir.file("ro.qc"), "x"), FileError);
        EXPECT_EQ(fileBytes(dir.file("ro.qc")), "keep me");
    }
    EXPECT_EQ(namesIn(dir), expected) << "no temporary file is left behind";
}

TEST(SafeSave, AWritableFileInALockedDirectoryIsStillSaved) {
#ifdef _WIN32
    GTEST_SKIP() << "a directory's read-only attribute does not stop creating files in it";
#else
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop root";
    ScratchDir dir;
    putFile(dir.file("a.qc"), "old");
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
    writeFileBytes(dir.file("a.qc"), "new");
    EXPECT_EQ(fileBytes(dir.file("a.qc")), "new");
#endif
}
