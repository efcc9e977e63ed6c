// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileError.h"
#include "Profile.h"
#include "Text.h"

#include <gtest/gtest.h>

#include "ScratchDir.h"

#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;
using talmo::ProfileSettings;

namespace {

// A scratch directory made current for the test, removed afterwards.
using ProfileFiles = talmo::testing::InScratchDir;

ProfileSettings sampleSettings() {
    return {"proj.qprofile", "fteqcc -O2", "C:\\mods\\src", "D:\\games\\quake",
            "quake.exe",     "mymod",      "+map start"};
}

} // namespace

TEST(ProfileFileName, AppendsTheExtensionOnlyWhenTheNameHoldsNoDot) {
    struct Case {
        const char* savename;
        const char* expected;
    };
    const Case cases[] = {
        {"proj", "proj.qprofile"},        {"default.qprofile", "default.qprofile"},
        {"proj.txt", "proj.txt"},         {"", ".qprofile"},
        {"..\\up\\proj", "..\\up\\proj"}, {"dir.d/proj", "dir.d/proj"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(talmo::profileFileName(c.savename), c.expected) << "savename " << c.savename;
}

TEST(ProfileText, HasSevenLabelledLinesEachEndingInCrLf) {
    EXPECT_EQ(talmo::composeProfileText(sampleSettings()), "configfile : proj.qprofile\r\n"
                                                           "qc compiler: fteqcc -O2\r\n"
                                                           "path src   : C:\\mods\\src\r\n"
                                                           "path exe   : D:\\games\\quake\r\n"
                                                           "quake exe  : quake.exe\r\n"
                                                           "modname    : mymod\r\n"
                                                           "paramsquake: +map start\r\n");
}

TEST(ProfileText, WritesValuesAsTypedEmptyOnesIncluded) {
    ProfileSettings s;
    s.configFile = ".qprofile";
    s.compiler = "  frikqcc2.exe ";
    const std::vector<std::string> lines = talmo::composeProfileLines(s);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "configfile : .qprofile");
    EXPECT_EQ(lines[1], "qc compiler:   frikqcc2.exe ");
    EXPECT_EQ(lines[6], "paramsquake: ");
}

TEST(ProfileValue, TakesWhatFollowsTheFirstColonTrimmed) {
    struct Case {
        const char* line;
        const char* expected;
    };
    const Case cases[] = {
        {"path exe   : D:\\games\\quake", "D:\\games\\quake"},
        {"modname    :mymod", "mymod"},
        {"args: a: b : c ", "a: b : c"},
        {"no colon here  ", "no colon here"},
        {"  \t whole line\t", "whole line"},
        {"label:", ""},
        {"label: \x01\x1f value \x7f\x05", "value \x7f"},
        {"", ""},
        {":", ""},
        {"x: \xe9t\xe9 ", "\xe9t\xe9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(talmo::ProfileValue(c.line), c.expected) << "line \"" << c.line << "\"";
}

TEST(MemoLine, GivesLineByIndexAndEmptyPastTheEnd) {
    const std::string text = "one\r\ntwo\nthree\rfour";
    EXPECT_EQ(talmo::memoLine(text, 0), "one");
    EXPECT_EQ(talmo::memoLine(text, 1), "two");
    EXPECT_EQ(talmo::memoLine(text, 2), "three");
    EXPECT_EQ(talmo::memoLine(text, 3), "four");
    EXPECT_EQ(talmo::memoLine(text, 4), "");
    EXPECT_EQ(talmo::memoLine("a\r\n\r\nc", 1), "");
    EXPECT_EQ(talmo::memoLine("a\r\n\r\nc", 2), "c");
    EXPECT_EQ(talmo::memoLine("", 0), "");
    EXPECT_EQ(talmo::memoLine("x", -1), "");
}

TEST(ProfileLoad, ReadsTheInitialMemoLineAsTheNameAndEveryBoxEmpty) {
    ProfileSettings expected;
    expected.configFile = "profileinfo";
    EXPECT_EQ(talmo::readProfileValues("profileinfo"), expected);
}

TEST(ProfileLoad, UsesOnlyTheFirstSevenLinesOfALongerProfile) {
    const std::string text = talmo::composeProfileText(sampleSettings()) + "extra : ignored\r\n"
                                                                           "more : ignored\r\n";
    EXPECT_EQ(talmo::readProfileValues(text), sampleSettings());
}

TEST(ProfileLoad, FillsEachBoxByLineNumberWhateverTheLabelSays) {
    const std::string text = "modname    : first\r\n"
                             "configfile : second\r\n"
                             "paramsquake: third\r\n"
                             "qc compiler: fourth\r\n"
                             "path src   : fifth\r\n"
                             "quake exe  : sixth\r\n"
                             "path exe   : seventh\r\n";
    const ProfileSettings expected{"first", "second", "third",  "fourth",
                                   "fifth", "sixth",  "seventh"};
    EXPECT_EQ(talmo::readProfileValues(text), expected);
}

TEST(ProfileLoad, GivesEmptyValuesForMissingLines) {
    ProfileSettings expected;
    expected.configFile = "short.qprofile";
    expected.compiler = "qcc";
    EXPECT_EQ(talmo::readProfileValues("configfile : short.qprofile\r\nqc compiler: qcc"),
              expected);
}

TEST_F(ProfileFiles, SaveThenLoadGivesTheValuesWithoutOuterBlanks) {
    const ProfileSettings typed{"proj.qprofile", "  fteqcc  ", " C:\\src ",   "\tD:\\quake",
                                "quake.exe   ",  "  my mod ",  " +map  e1m1 "};
    talmo::writeProfileFile(talmo::profileFileName("proj"), typed);
    const std::string bytes = talmo::readFileBytes("proj.qprofile");
    EXPECT_EQ(bytes, talmo::composeProfileText(typed)) << "the file keeps the values as typed";

    const ProfileSettings loaded =
        talmo::readProfileValues(talmo::readProfileFile("proj.qprofile"));
    const ProfileSettings expected{"proj.qprofile", "fteqcc", "C:\\src",   "D:\\quake",
                                   "quake.exe",     "my mod", "+map  e1m1"};
    EXPECT_EQ(loaded, expected);
}

TEST_F(ProfileFiles, ShowsAnLfProfileWithCrLfLineBreaksAndEveryLine) {
    talmo::writeFileBytes("lf.qprofile", "a: 1\nb: 2\nc: 3\nd: 4\ne: 5\nf: 6\ng: 7\nh: 8\n");
    EXPECT_EQ(talmo::readProfileFile("lf.qprofile"),
              "a: 1\r\nb: 2\r\nc: 3\r\nd: 4\r\ne: 5\r\nf: 6\r\ng: 7\r\nh: 8\r\n");
}

TEST_F(ProfileFiles, SaveWithAnEmptyNameWritesADotQprofileFile) {
    const std::string name = talmo::profileFileName("");
    ProfileSettings s = sampleSettings();
    s.configFile = name;
    talmo::writeProfileFile(name, s);
    EXPECT_TRUE(fs::is_regular_file(m_dir / ".qprofile"));
    EXPECT_EQ(talmo::readProfileValues(talmo::readProfileFile(name)).configFile, ".qprofile");
}

TEST_F(ProfileFiles, SaveIntoAMissingDirectoryFailsWithFileError) {
    EXPECT_THROW(talmo::writeProfileFile("no-such-dir/p.qprofile", sampleSettings()),
                 talmo::FileError);
    EXPECT_THROW(talmo::readProfileFile("absent.qprofile"), talmo::FileError);
}

TEST(ProfileMemoText, ShowsLinesBrokenByLfWithNoEmptyLineForTheLastBreak) {
    const struct {
        const char* name;
        std::string_view file;
        std::string_view shown;
    } cases[] = {
        {"every line ends in CR LF", "configfile : a\r\nqc compiler: b\r\n",
         "configfile : a\nqc compiler: b"},
        {"the last line has no break", "one\r\ntwo", "one\ntwo"},
        {"an empty last line is kept", "one\r\n\r\n", "one\n"},
        {"an empty file", "", ""},
        {"only a break", "\r\n", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(talmo::profileMemoText(c.file), c.shown) << c.name;
}
