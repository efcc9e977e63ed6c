// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileError.h"
#include "Snip.h"
#include "Text.h"

#include <gtest/gtest.h>

#include "ScratchDir.h"

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using SnipFiles = talmo::testing::InScratchDir;

} // namespace

TEST(SnipFileName, AlwaysAppendsDotSnip) {
    EXPECT_EQ(talmo::snipFileName("abc"), "abc.snip");
    EXPECT_EQ(talmo::snipFileName("abc.snip"), "abc.snip.snip");
    EXPECT_EQ(talmo::snipFileName(""), ".snip");
}

TEST_F(SnipFiles, TextRoundTripsWithAndWithoutAFinalLineBreak) {
    const std::vector<std::string> texts = {
        "void() f =\r\n{\r\n\tdprint(\"x\");\r\n};",
        "line one\r\nline two\r\n",
        "",
        "\r\n\r\n",
    };
    for (const std::string& text : texts) {
        talmo::writeSnipFile("s.snip", text);
        EXPECT_EQ(talmo::readFileBytes("s.snip"), text) << "written byte for byte";
        EXPECT_EQ(talmo::readSnipFile("s.snip"), text) << "read back unchanged";
    }
}

TEST_F(SnipFiles, ReadingTurnsLoneCrAndLfIntoCrLf) {
    talmo::writeFileBytes("mixed.snip", "a\nb\rc\r\nd\n");
    EXPECT_EQ(talmo::readSnipFile("mixed.snip"), "a\r\nb\r\nc\r\nd\r\n");
}

TEST_F(SnipFiles, SaveWritesTheFileAndLogsSuccessThenItsName) {
    int rereads = 0;
    const auto log = talmo::saveSnip("abc", "x = 1;", [&] { ++rereads; });
    EXPECT_EQ(log, (std::vector<std::string>{"Save snip!!: ", "file: abc.snip"}));
    EXPECT_EQ(rereads, 1);
    EXPECT_EQ(talmo::readFileBytes("abc.snip"), "x = 1;");
}

TEST_F(SnipFiles, SaveUnderANameEndingInSnipAddsASecondExtension) {
    const auto log = talmo::saveSnip("abc.snip", "t", {});
    EXPECT_EQ(log.back(), "file: abc.snip.snip");
    EXPECT_TRUE(fs::exists("abc.snip.snip"));
    EXPECT_FALSE(fs::exists("abc.snip"));
}

TEST_F(SnipFiles, SaveReplacesAnExistingSnip) {
    talmo::saveSnip("same", "old text that is longer", {});
    talmo::saveSnip("same", "new", {});
    EXPECT_EQ(talmo::readSnipFile("same.snip"), "new");
}

TEST_F(SnipFiles, SaveWithAnEmptyNameWritesNothingAndLogsOnlyTheName) {
    int rereads = 0;
    const auto log = talmo::saveSnip("", "text", [&] { ++rereads; });
    EXPECT_EQ(log, (std::vector<std::string>{"file: .snip"}));
    EXPECT_EQ(rereads, 0);
    EXPECT_TRUE(fs::is_empty(m_dir));
}

TEST_F(SnipFiles, SaveThatCannotWriteLogsFailureAndDoesNotReread) {
    int rereads = 0;
    const auto log = talmo::saveSnip("missing/dir", "text", [&] { ++rereads; });
    EXPECT_EQ(log, (std::vector<std::string>{"Save fail!!: ", "file: missing/dir.snip"}));
    EXPECT_EQ(rereads, 0);
}

TEST_F(SnipFiles, SaveWhoseListRereadFailsLogsFailure) {
    const auto log =
        talmo::saveSnip("abc", "t", [] { throw talmo::FileError("directory vanished"); });
    EXPECT_EQ(log.front(), "Save fail!!: ");
}
