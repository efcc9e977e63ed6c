// SPDX-License-Identifier: GPL-3.0-or-later
#include "Highlight.h"

#include "analysis_generator.h"
#include "analysis_reference.h"
#include "analysis_support.h"

#include <optional>

namespace talmo {
namespace {

using testsupport::markup;
using testsupport::sameEditors;

struct HighlightCase {
    const char* name;
    const char* text;               // line breaks become CR LF in the editor
    const char* expected;           // markup of the result
    std::optional<Range> selection; // nullopt: the selection stays at 0
};

void PrintTo(const HighlightCase& c, std::ostream* os) {
    *os << c.name;
}

class HighlightingPass : public ::testing::TestWithParam<HighlightCase> {};

TEST_P(HighlightingPass, FormatsAndSelectsAsDescribed) {
    const HighlightCase& c = GetParam();
    TextModel m;
    m.setText(c.text);
    highlightEditor(m);
    EXPECT_EQ(markup(m), c.expected) << m.text();
    const Range expected = c.selection.value_or(Range{0, 0});
    EXPECT_EQ(m.selectionStart(), expected.start);
    EXPECT_EQ(m.selectionLength(), expected.length);
}

// clang-format off
const HighlightCase kHighlightCases[] = {
    {"KeywordInsideWordBoldsOnlyTheKeyword", "floating", "BBBBB...", Range{0, 5}},
    {"StringInsideSubstring", "substring", "...BBBBBB", Range{3, 6}},
    {"VoidInsideAvoid", "avoid", ".BBBB", Range{1, 4}},
    {"LocalInsideLocals", "locals", "BBBBB.", Range{0, 5}},
    {"CaseIsIgnored", "Void VOID Entity", "BBBB.BBBB.BBBBBB", Range{10, 6}},
    {"LocalOverlappingItselfIsTakenOnce", "localocal", "BBBBB....", Range{0, 5}},
    {"SelectionIsLastOccurrenceOfLastKeywordInListOrder", "entity x void", "BBBBBB...BBBB", Range{0, 6}},
    {"KeywordInCommentIsBoldAndGreen", "/* void */", "GGGXXXXGGG", Range{0, 10}},
    {"KeywordInStringIsBold", "\"float\"", ".BBBBB.", Range{1, 5}},
    {"EmptyTextChangesNothing", "", "", std::nullopt},
    {"PlainTextChangesNothing", "x = 1;", "......", std::nullopt},
    {"CloseBeforeEveryOpenIsIgnored", "*/ x /* y */", ".....GGGGGGG", Range{5, 7}},
    {"SlashStarSlashIsACompleteComment", "a /*/ b", "..GGG..", Range{2, 3}},
    {"ClosingSlashStartsTheNextComment", "/* a */* b */", "GGGGGGGGGGGGG", Range{6, 7}},
    {"CommentsDoNotNest", "/* x /* y */ z */", "GGGGGGGGGGGG.....", Range{0, 12}},
    {"UnclosedCommentStaysPlain", "/* a */ b /* c", "GGGGGGG.......", Range{0, 7}},
    {"LineCommentEndsBeforeTheLineBreak", "x // c\nfloat", "..GGGG..BBBBB", Range{2, 4}},
    {"SlashesInStringStartALineComment", "\"a // b\"\ny", "...GGGGG...", Range{3, 5}},
    {"BlockInsideLineCommentRunsToItsClose", "// a /* b\nc */ d", "GGGGGGGGGGGGGGG..", Range{0, 9}},
    {"LineCommentOnLastLineWithoutBreakStaysPlain", "x\n// last", "..........",
     std::nullopt},
    {"LineCommentWinsTheSelectionOverBlocks", "/* a */\n// b\n/* c */", "GGGGGGG..GGGG..GGGGGGG",
     Range{9, 4}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(EdgeCases, HighlightingPass, ::testing::ValuesIn(kHighlightCases),
                         [](const ::testing::TestParamInfo<HighlightCase>& p) {
                             return std::string(p.param.name);
                         });

TEST(HighlightingPassRunTwice, GivesTheSameFormattingAsOnce) {
    TextModel once, twice;
    const std::string text = testgen::quakeCSource(4000, 7);
    once.setText(text);
    twice.setText(text);
    highlightEditor(once);
    highlightEditor(twice);
    highlightEditor(twice);
    EXPECT_TRUE(sameEditors(once, twice));
}

TEST(HighlightingPassKeepsEarlierMarks, OutsideComments) {
    TextModel m;
    m.setText("x y // z\n");
    m.applyColour({Range{0, 1}, Range{7, 1}}, kRed);
    highlightEditor(m);
    EXPECT_EQ(markup(m), "r...GGGG..");
}

// The bulk pass gives what the step-by-step pass gives, character by
// character, over edge-case texts and random QuakeC-like ones, also on text
// that already carries formatting and a selection.
TEST(HighlightingPassMatchesStepByStep, OnTheEdgeCases) {
    for (const HighlightCase& c : kHighlightCases) {
        TextModel expected, actual;
        expected.setText(c.text);
        actual.setText(c.text);
        reference::syntaxColor(expected);
        highlightEditor(actual);
        EXPECT_TRUE(sameEditors(expected, actual)) << c.name;
    }
}

TEST(HighlightingPassMatchesStepByStep, OnRandomTexts) {
    std::mt19937 rng(2024);
    for (int i = 0; i < 3000; ++i) {
        const std::string text = testgen::randomSnippet(rng, 1 + rng() % 60);
        TextModel expected, actual;
        expected.setText(text);
        if (i % 2)
            testsupport::scribble(expected, rng);
        actual = expected;
        reference::syntaxColor(expected);
        highlightEditor(actual);
        ASSERT_TRUE(sameEditors(expected, actual))
            << "text #" << i << ": " << ::testing::PrintToString(text);
    }
}

TEST(HighlightingPassMatchesStepByStep, OnAGeneratedSource) {
    TextModel expected, actual;
    expected.setText(testgen::quakeCSource(30000, 3));
    actual = expected;
    reference::syntaxColor(expected);
    highlightEditor(actual);
    EXPECT_TRUE(sameEditors(expected, actual));
}

} // namespace
} // namespace talmo
