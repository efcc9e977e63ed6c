// SPDX-License-Identifier: GPL-3.0-or-later
#include "SearchReplace.h"

#include "analysis_generator.h"
#include "analysis_reference.h"
#include "analysis_support.h"

#include <optional>

namespace talmo {
namespace {

using testsupport::markup;
using testsupport::sameEditors;

struct ReplaceCase {
    const char* name;
    const char* text;
    const char* search;
    const char* replacement;
    const char* result;        // text afterwards
    const char* marks;         // markup afterwards
    std::optional<long> caret; // nullopt: nothing found, selection unchanged
};

void PrintTo(const ReplaceCase& c, std::ostream* os) {
    *os << c.name;
}

class SearchAndReplace : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(SearchAndReplace, RewritesEveryOccurrenceInBlue) {
    const ReplaceCase& c = GetParam();
    TextModel m;
    m.setText(c.text);
    m.setSelectionStart(1);
    const ReplaceResult r = computeReplace(m.text(), c.search, c.replacement);
    EXPECT_EQ(r.found(), c.caret.has_value());
    applyReplace(m, r);
    EXPECT_EQ(m.text(), c.result);
    EXPECT_EQ(markup(m), c.marks);
    EXPECT_EQ(m.selectionStart(), c.caret.value_or(1));
    EXPECT_EQ(m.selectionLength(), 0);
}

// clang-format off
const ReplaceCase kReplaceCases[] = {
    {"IgnoresCaseAndWritesTheReplacementAsTyped", "Foo FOO foo", "foo", "bar", "bar bar bar", "bbb.bbb.bbb", 11},
    {"InsertedTextIsNotSearchedAgain", "foo foo", "foo", "foobar", "foobar foobar", "bbbbbb.bbbbbb", 13},
    {"OccurrencesDoNotOverlap", "aaaa", "aa", "a", "aa", "bb", 2},
    {"ReplacementAndFollowingTextMakeNoNewMatch", "abb", "ab", "a", "ab", "b.", 1},
    {"ReplacementAndFollowingTextMakeNoNewMatchEvenWhenGrowing", "xab", "x", "xa", "xaab", "bb..", 2},
    {"EmptyReplacementDeletes", "a-b-c", "-", "", "abc", "...", 2},
    {"SameWordInAnotherCaseEndsAfterOnePass", "Self self SELF", "Self", "self", "self self self", "bbbb.bbbb.bbbb", 14},
    {"GrowingTextStillReachesTheEnd", "a a a a", "a", "aaaa", "aaaa aaaa aaaa aaaa", "bbbb.bbbb.bbbb.bbbb", 19},
    {"LineBreaksCountTwo", "x\ny\nx", "x", "zz", "zz\r\ny\r\nzz", "bb.....bb", 9},
    {"NothingFoundChangesNothing", "abc", "q", "z", "abc", "...", std::nullopt},
    {"EmptySearchFindsNothing", "abc", "", "z", "abc", "...", std::nullopt},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(EdgeCases, SearchAndReplace, ::testing::ValuesIn(kReplaceCases),
                         [](const ::testing::TestParamInfo<ReplaceCase>& p) {
                             return std::string(p.param.name);
                         });

TEST(SearchAndReplaceKeepsBold, OfTheOccurrencesFirstCharacter) {
    TextModel m;
    m.setText("float x; vector y;");
    m.applyBold({Range{0, 2}, Range{10, 1}});
    applyReplace(m, computeReplace(m.text(), "float", "vector"));
    applyReplace(m, computeReplace(m.text(), "vector", "string"));
    // "float" began bold: its replacement is bold blue; "vector" began plain.
    EXPECT_EQ(m.text(), "string x; string y;");
    for (long p = 0; p < 6; ++p)
        EXPECT_EQ(m.formatAt(p), (CharFormat{kBlue, true}));
    for (long p = 10; p < 16; ++p)
        EXPECT_EQ(m.formatAt(p), (CharFormat{kBlue, false}));
}

struct ColorizeCase {
    const char* name;
    const char* text;
    const char* search;
    const char* marks;
    std::optional<Range> selection;
};

void PrintTo(const ColorizeCase& c, std::ostream* os) {
    *os << c.name;
}

class ColorizeSearch : public ::testing::TestWithParam<ColorizeCase> {};

TEST_P(ColorizeSearch, MarksEveryOccurrence) {
    const ColorizeCase& c = GetParam();
    TextModel m;
    m.setText(c.text);
    m.setSelectionStart(1);
    const ColorizeResult r = computeColorize(m.text(), c.search);
    EXPECT_EQ(r.found(), c.selection.has_value());
    applyColorize(m, r, kRed);
    EXPECT_EQ(markup(m), c.marks);
    const Range expected = c.selection.value_or(Range{1, 0});
    EXPECT_EQ((Range{m.selectionStart(), m.selectionLength()}), expected);
}

// clang-format off
const ColorizeCase kColorizeCases[] = {
    {"InsideWordsAndInAnyCase", "floating FLOAT", "float", "rrrrr....rrrrr", Range{9, 5}},
    {"WithoutOverlap", "aaaaa", "aa", "rrrr.", Range{2, 2}},
    {"AtTheVeryStart", "x", "x", "r", Range{0, 1}},
    {"EmptySearchMarksNothing", "abc", "", "...", std::nullopt},
    {"NothingFound", "abc", "d", "...", std::nullopt},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(EdgeCases, ColorizeSearch, ::testing::ValuesIn(kColorizeCases),
                         [](const ::testing::TestParamInfo<ColorizeCase>& p) {
                             return std::string(p.param.name);
                         });

// Searches and replacements that stress the continuation rule: replacements
// that are prefixes or extensions of the search text, that differ in case, or
// that are empty.
const std::pair<const char*, const char*> kPairs[] = {
    {"ab", "a"},   {"ab", "b"},        {"a", "aa"},           {"aa", "a"},
    {"b", ""},     {"void", "VOID"},   {"float", "floating"}, {"/*", "*/"},
    {"\r\n", "x"}, {"x", "\r\n"},      {"loc", "local"},      {"=", "=="},
    {"", "q"},     {"localocal", "l"}, {"ab", "bab"},         {"*/", "/"}};

TEST(SearchAndReplaceMatchesStepByStep, OnRandomTexts) {
    std::mt19937 rng(11);
    for (int i = 0; i < 4000; ++i) {
        TextModel expected;
        expected.setText(testgen::randomSnippet(rng, 1 + rng() % 50));
        testsupport::scribble(expected, rng);
        TextModel actual = expected;
        const auto& [search, replacement] = kPairs[rng() % std::size(kPairs)];
        const bool found = reference::searchAndReplace(expected, search, replacement);
        const ReplaceResult r = computeReplace(actual.text(), search, replacement);
        applyReplace(actual, r);
        ASSERT_EQ(r.found(), found);
        ASSERT_TRUE(sameEditors(expected, actual))
            << ::testing::PrintToString(search) << " -> " << ::testing::PrintToString(replacement);
    }
}

TEST(ColorizeSearchMatchesStepByStep, OnRandomTexts) {
    std::mt19937 rng(12);
    for (int i = 0; i < 4000; ++i) {
        TextModel expected;
        expected.setText(testgen::randomSnippet(rng, 1 + rng() % 50));
        testsupport::scribble(expected, rng);
        TextModel actual = expected;
        const char* search = kPairs[rng() % std::size(kPairs)].first;
        const Rgb colour = rng() % 2 ? kRed : kBlue;
        const bool found = reference::colorize(expected, search, colour);
        const ColorizeResult r = computeColorize(actual.text(), search);
        applyColorize(actual, r, colour);
        ASSERT_EQ(r.found(), found);
        ASSERT_TRUE(sameEditors(expected, actual)) << ::testing::PrintToString(search);
    }
}

TEST(SearchAndReplaceMatchesStepByStep, OnAGeneratedSource) {
    TextModel expected;
    expected.setText(testgen::quakeCSource(40000, 9));
    TextModel actual = expected;
    reference::searchAndReplace(expected, "self", "this_entity");
    applyReplace(actual, computeReplace(actual.text(), "self", "this_entity"));
    EXPECT_TRUE(sameEditors(expected, actual));
}

} // namespace
} // namespace talmo
