// SPDX-License-Identifier: GPL-3.0-or-later
#include "Console.h"
#include "LogBuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The window as the console sees it: a capped log, the autosave box and the
// directory list.
class FakeHost : public talmo::ConsoleHost {
public:
    void logLine(const std::string& text) override { talmo::appendCapped(m_log, text); }
    void clearLog() override { m_log.clear(); }
    bool autosaveChecked() const override { return m_autosave; }
    void setAutosave(bool on) override { m_autosave = on; }
    std::string workingDirectory() const override { return m_dir; }

    std::vector<std::string> m_log = {" :: T A L M O ::.. ", "  Console Subsystem.",
                                      " { This version as not real functions }", ">"};
    bool m_autosave = true;
    std::string m_dir = "C:\\quake\\mymod";
};

// What one entry appends to a log of four lines.
std::vector<std::string> linesAfterStart(const FakeHost& host) {
    return {host.m_log.begin() + 4, host.m_log.end()};
}

using Lines = std::vector<std::string>;

} // namespace

TEST(ConsoleHelp, ListsTwentyOneLinesWithTheColonInItsColumn) {
    const Lines& help = talmo::consoleHelpLines();
    ASSERT_EQ(help.size(), 21u);
    EXPECT_EQ(help.front(), "Help:");
    EXPECT_EQ(help[16], " autosave  1 : sets autosave on change config on");
    EXPECT_EQ(help[19].rfind(" Sugest welcome here to ", 0), 0u);
    EXPECT_GT(help[19].size(), std::string(" Sugest welcome here to ").size());
    EXPECT_EQ(help[20], " Actual console version is only a sugest placeholder");
    for (std::size_t i = 1; i <= 18; ++i) {
        const bool quakeLine = i == 11 || i == 12;
        EXPECT_EQ(help[i].find(':'), quakeLine ? 14u : 13u) << "line " << i + 1 << ": " << help[i];
        EXPECT_EQ(help[i][0], ' ');
    }
}

TEST(ConsoleHelp, TheQuestionButtonAppendsTheListingAlone) {
    FakeHost host;
    talmo::ShowConsoleHelp(host);
    EXPECT_EQ(linesAfterStart(host), talmo::consoleHelpLines());
}

TEST(ConsoleCommand, EveryNameOfHelpGivesTheListingThenOk) {
    for (const char* name : {"help", "ayuda", "sos", "h"}) {
        FakeHost host;
        ASSERT_TRUE(talmo::enterConsoleLine(host, name));
        Lines expected = {std::string("> ") + name};
        expected.insert(expected.end(), talmo::consoleHelpLines().begin(),
                        talmo::consoleHelpLines().end());
        expected.push_back("Ok.");
        EXPECT_EQ(linesAfterStart(host), expected) << name;
        EXPECT_EQ(linesAfterStart(host).size(), 23u) << "echo and 22 lines";
    }
}

TEST(ConsoleCommand, AnswersTextsThatAreNoCommandAsUnknown) {
    const char* texts[] = {"Dir",        "dir ",   "dir C:\\", "autosave  1", "HELP",
                           "autosave 2", " clear", "qcc",      "quake mymod", "x"};
    for (const char* text : texts) {
        FakeHost host;
        talmo::enterConsoleLine(host, text);
        EXPECT_EQ(linesAfterStart(host),
                  (Lines{std::string("> ") + text, std::string(text) + " unknom action.", "Ok."}))
            << "text \"" << text << "\"";
        EXPECT_TRUE(host.m_autosave);
    }
}

TEST(ConsoleCommand, DirShowsTheWorkingDirectoryInQuotes) {
    FakeHost host;
    talmo::enterConsoleLine(host, "dir");
    EXPECT_EQ(linesAfterStart(host), (Lines{"> dir", "Dir Path \"C:\\quake\\mymod\"", "Ok."}));
}

TEST(ConsoleCommand, AutosaveZeroUnchecksThenReportsTheNewState) {
    FakeHost host;
    talmo::enterConsoleLine(host, "autosave 0");
    EXPECT_FALSE(host.m_autosave);
    EXPECT_EQ(linesAfterStart(host), (Lines{"> autosave 0", "autosave 0", "Ok.", "Ok."}));

    host.m_log.resize(4);
    talmo::enterConsoleLine(host, "autosave");
    EXPECT_FALSE(host.m_autosave);
    EXPECT_EQ(linesAfterStart(host), (Lines{"> autosave", "autosave 0", "Ok."}));
}

TEST(ConsoleCommand, AutosaveOneChecksThenReportsTheNewState) {
    FakeHost host;
    host.m_autosave = false;
    talmo::enterConsoleLine(host, "autosave 1");
    EXPECT_TRUE(host.m_autosave);
    EXPECT_EQ(linesAfterStart(host), (Lines{"> autosave 1", "autosave 1", "Ok.", "Ok."}));
}

TEST(ConsoleCommand, ClearLeavesOnlyOk) {
    FakeHost host;
    talmo::enterConsoleLine(host, "clear");
    EXPECT_EQ(host.m_log, (Lines{"Ok."}));
}

TEST(ConsoleEntry, EmptyEntryAppendsNothingAndKeepsTheBox) {
    FakeHost host;
    EXPECT_FALSE(talmo::enterConsoleLine(host, ""));
    EXPECT_EQ(host.m_log.size(), 4u);
}

TEST(LogCap, GrowsTo801LinesAndThenDropsTheOldest) {
    Lines log(4, "start");
    for (int i = 1; i <= 796; ++i)
        talmo::appendCapped(log, "n" + std::to_string(i));
    EXPECT_EQ(log.size(), 800u);
    talmo::appendCapped(log, "n797");
    EXPECT_EQ(log.size(), 801u) << "the 797th line makes 801";
    EXPECT_EQ(log.front(), "start");
    talmo::appendCapped(log, "n798");
    EXPECT_EQ(log.size(), 801u);
    EXPECT_EQ(log.front(), "start") << "one of the four start lines went";
    EXPECT_EQ(log[3], "n1");
    EXPECT_EQ(log.back(), "n798");
}

TEST(LogCap, HelpIntoAFullLogRemovesItsTwentyThreeOldestLines) {
    FakeHost host;
    host.m_log.clear();
    for (int i = 0; i < 801; ++i)
        host.m_log.push_back("old" + std::to_string(i));
    talmo::enterConsoleLine(host, "help");
    ASSERT_EQ(host.m_log.size(), 801u);
    EXPECT_EQ(host.m_log.front(), "old23");
    EXPECT_EQ(host.m_log[801 - 23 - 1], "old800");
    EXPECT_EQ(host.m_log[801 - 23], "> help");
    EXPECT_EQ(host.m_log.back(), "Ok.");
}
