// SPDX-License-Identifier: GPL-3.0-or-later
#include "CompilerMessages.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using talmo::CompilerMessage;
using Kind = talmo::CompilerMessage::Kind;
using Messages = std::vector<CompilerMessage>;

namespace {

// What fteqcc wrote for a copy of the example mod with an assignment in a
// condition (client.qc) and an entity given a number (floater.qc).
constexpr const char* kFteqccLog = "Source file: progs.src\n"
                                   "outputfile: progs.dat\n"
                                   "compiling defs.qc\n"
                                   "compiling client.qc\n"
                                   "in function Client_Impulses (line 66),\n"
                                   "client.qc:68: warning: Assignment in conditional\n"
                                   "compiling floater.qc\n"
                                   "in function Lantern_Drop (line 347),\n"
                                   "floater.qc:37: error: type mismatch for = (entity and float)\n"
                                   "\n"
                                   "************ ERROR ************\n"
                                   "Errors have occured\n"
                                   "\n"
                                   "Error in floater.qc on line 168\n";

} // namespace

TEST(CompilerMessages, ReadsFteqccAndLeavesItsOtherLinesOut) {
    EXPECT_EQ(
        talmo::parseCompilerMessages(kFteqccLog),
        (Messages{{Kind::Warning, "client.qc", 68, 0, "Assignment in conditional"},
                  {Kind::Error, "floater.qc", 37, 0, "type mismatch for = (entity and float)"}}));
}

TEST(CompilerMessages, ReadsEachCompilersForm) {
    struct Case {
        const char* name;
        const char* line;
        CompilerMessage message;
    };
    const Case cases[] = {
        {"fteqcc or gmqcc with a column",
         "sub/a.qc:12:5: error: unexpected token: `}`\r",
         {Kind::Error, "sub/a.qc", 12, 5, "unexpected token: `}`"}},
        {"a warning with a code",
         "a.qc:7: warning F307: type mismatch",
         {Kind::Warning, "a.qc", 7, 0, "type mismatch"}},
        {"a Windows compiler",
         "C:\\mod\\defs.qc(40) : error: unknown value \"x\"",
         {Kind::Error, "C:\\mod\\defs.qc", 40, 0, "unknown value \"x\""}},
        {"a Windows compiler with a column",
         "defs.qc(40,2) : Warning: odd",
         {Kind::Warning, "defs.qc", 40, 2, "odd"}},
        {"a name holding \": \" and 8-bit text",
         "my: d\xe9j\xe0.qc:9: error: caf\xe9\xa0 x",
         {Kind::Error, "my: d\xe9j\xe0.qc", 9, 0, "caf\xe9\xa0 x"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(talmo::parseCompilerMessages(c.line), Messages{c.message}) << c.name;
}

TEST(CompilerMessages, IgnoresLinesWithoutALocationOrAKind) {
    for (const char* line :
         {"Warning: progs CRC not recognised", "a.qc: error: no line", "a.qc:x: error: bad line",
          "a.qc:0: error: line zero", "a.qc:3: note: other kind", "a.qc:3: errors: plural",
          "a.qc(3 : error: unclosed"})
        EXPECT_EQ(talmo::parseCompilerMessages(line), Messages{}) << line;
}

TEST(CompilerMessages, ReadsMessagesWithoutAPlace) {
    struct Case {
        const char* name;
        const char* output;
        Messages messages;
    };
    const Case cases[] = {
        {"an error under fteqcc's banner",
         "Source file: progs.src\n\n************ ERROR ************\n"
         "Couldn't open file progs.src\n",
         {{Kind::Error, "", 0, 0, "Couldn't open file progs.src"}}},
        {"the banner over errors already listed adds none",
         "a.qc:1: error: \";\" - not a name\n\n************ ERROR ************\n"
         "Errors have occured\n\nError in a.qc on line 3\n",
         {{Kind::Error, "a.qc", 1, 0, "\";\" - not a name"}}},
        {"a warning the compiler counts",
         "Warning: progs CRC not recognised from quake nor clones\n"
         "warning: Model progs/gib1.mdl was precached but not directly used\n",
         {{Kind::Warning, "", 0, 0, "Model progs/gib1.mdl was precached but not directly used"}}},
        {"an error with a code",
         "error F100: no progs.src\r\n",
         {{Kind::Error, "", 0, 0, "no progs.src"}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(talmo::parseCompilerMessages(c.output), c.messages) << c.name;
}

TEST(CompilerMessages, TheHeaderSaysHowTheCompileEnded) {
    const CompilerMessage e{Kind::Error, "a.qc", 1, 0, "e"};
    const CompilerMessage unplaced{Kind::Error, "", 0, 0, "Couldn't open file progs.src"};
    const CompilerMessage w{Kind::Warning, "a.qc", 2, 0, "w"};
    struct Case {
        const char* name;
        Messages messages;
        std::optional<int> status;
        const char* header;
    };
    const Case cases[] = {
        {"success without a message", {}, 0, "no errors"},
        {"status unknown, no message", {}, std::nullopt, "no errors"},
        {"success with warnings", {w}, 0, "0 errors, 1 warning"},
        {"errors counted with the warnings", {e, w, w}, 1, "1 error, 2 warnings"},
        {"an error without a place counts", {unplaced}, 1, "1 error, 0 warnings"},
        {"failure without any output", {}, 1, "the compiler failed (exit status 1); see log"},
        {"failure with warnings only", {w}, 2, "the compiler failed (exit status 2); see log"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(talmo::messageSummary(c.messages, c.status), c.header) << c.name;
}
