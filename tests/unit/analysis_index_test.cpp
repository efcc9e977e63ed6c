// SPDX-License-Identifier: GPL-3.0-or-later
#include "FindNext.h"
#include "FunctionIndex.h"

#include "analysis_generator.h"
#include "analysis_reference.h"
#include "analysis_support.h"

#include "Text.h"

#include <optional>

namespace talmo {
namespace {

struct IndexCase {
    const char* name;
    std::string line;
    std::optional<std::string> entry;
};

void PrintTo(const IndexCase& c, std::ostream* os) {
    *os << c.name;
}

class FunctionIndexLine : public ::testing::TestWithParam<IndexCase> {};

TEST_P(FunctionIndexLine, GivesItsEntry) {
    const IndexCase& c = GetParam();
    const std::vector<std::string> entries = buildFunctionIndex({c.line});
    if (c.entry) {
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0], *c.entry);
    } else {
        EXPECT_TRUE(entries.empty()) << entries[0];
    }
}

// clang-format off
const IndexCase kIndexCases[] = {
    {"FunctionBodyHead", "void() main = {", "void() main ="},
    {"IndentationIsKept", "\tvoid() main = {", "\tvoid() main ="},
    {"PrototypeWithoutEqualsGivesNothing", "void() think;", std::nullopt},
    {"BuiltinCutAfterEquals", "float(float v) rint = #36;", "float(float v) rint ="},
    {"VectorHeadIsNotTested", "vector(vector v) normalize = #9;", std::nullopt},
    {"PlainGlobalGivesNothing", "float time = 0;", std::nullopt},
    {"VoidInsideAWordQualifies", "float avoid_me = 0;", "float avoid_me ="},
    {"TestsRespectCase", "Void() main =", std::nullopt},
    {"FirstEqualsOfAComparison", "if (self.classname == \"void\")", "if (self.classname ="},
    {"FloatWithOneBlank", "float (entity e) f = #1;", "float (entity e) f ="},
    {"FloatWithTab", "float\t(entity e) f = #1;", "float\t(entity e) f ="},
    {"FloatWithTwoBlanks", "float  (entity e) f = #1;", "float  (entity e) f ="},
    {"FloatWithThreeBlanksGivesNothing", "float   (entity e) f = #1;", std::nullopt},
    {"EntityHeads", "entity(entity s) find = #18;", "entity(entity s) find ="},
    {"EntityWithTwoBlanks", "entity  (string s) spawnit = #1;", "entity  (string s) spawnit ="},
    {"StringWithBlank", "string (float f) ftos = #26;", "string (float f) ftos ="},
    {"StringWithTwoBlanksGivesNothing", "string  (float f) ftos = #26;", std::nullopt},
    {"CarriageReturnsAreRemoved", "void()\r main\r =", "void() main ="},
    {"LongTailIsDropped", "void() f = {" + std::string(10000, 'x'), "void() f ="},
    {"EmptyLine", "", std::nullopt},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(EdgeCases, FunctionIndexLine, ::testing::ValuesIn(kIndexCases),
                         [](const ::testing::TestParamInfo<IndexCase>& p) {
                             return std::string(p.param.name);
                         });

TEST(FunctionIndex, KeepsLineOrderAndDuplicates) {
    const std::vector<std::string> lines = {"void() b =", "float x;", "void() a =", "void() b ="};
    EXPECT_EQ(buildFunctionIndex(lines),
              (std::vector<std::string>{"void() b =", "void() a =", "void() b ="}));
}

TEST(FunctionIndex, OfAnEmptyEditorIsEmpty) {
    EXPECT_TRUE(buildFunctionIndex(std::vector<std::string>{}).empty());
    EXPECT_TRUE(buildFunctionIndexFromText("").empty());
}

TEST(FunctionIndex, OfACrLfTextAndItsLfTwinAreTheSame) {
    const std::string crlf = testgen::quakeCSource(20000, 5);
    std::string lf;
    for (char c : crlf)
        if (c != '\r')
            lf += c;
    TextModel a, b;
    a.setText(crlf);
    b.setText(lf);
    const std::vector<std::string> entries = buildFunctionIndex(a.lines());
    EXPECT_FALSE(entries.empty());
    EXPECT_EQ(entries, buildFunctionIndex(b.lines()));
    EXPECT_EQ(entries, buildFunctionIndexFromText(a.text()));
}

TEST(FunctionIndexMatchesStepByStep, OnRandomTexts) {
    std::mt19937 rng(99);
    for (int i = 0; i < 3000; ++i) {
        TextModel m;
        m.setText(testgen::randomSnippet(rng, 1 + rng() % 80));
        const std::vector<std::string> expected = reference::buildFunctionIndex(m);
        ASSERT_EQ(buildFunctionIndex(m.lines()), expected) << m.text();
        ASSERT_EQ(buildFunctionIndexFromText(m.text()), expected) << m.text();
    }
}

struct FindNextCase {
    const char* name;
    const char* text;
    long selStart, selLength;
    const char* what;
    std::optional<Range> found;
};

void PrintTo(const FindNextCase& c, std::ostream* os) {
    *os << c.name;
}

class FindNext : public ::testing::TestWithParam<FindNextCase> {};

TEST_P(FindNext, SelectsTheNextOccurrenceOrNothing) {
    const FindNextCase& c = GetParam();
    EXPECT_EQ(findNext(normalizeLineBreaks(c.text), c.selStart, c.selLength, c.what), c.found);

    TextModel m;
    m.setText(c.text);
    m.setSelectionStart(c.selStart);
    m.setSelectionLength(c.selLength);
    EXPECT_EQ(findNextInEditor(m, c.what), c.found.has_value());
    const Range expected = c.found.value_or(Range{c.selStart, c.selLength});
    EXPECT_EQ((Range{m.selectionStart(), m.selectionLength()}), expected);
    EXPECT_EQ(m.hasFocus(), c.found.has_value());
}

// clang-format off
const FindNextCase kFindNextCases[] = {
    {"FindsAfterTheCaret", "x foo foo", 0, 0, "foo", Range{2, 3}},
    {"IgnoresCase", "x FOO", 0, 0, "foo", Range{2, 3}},
    {"SkipsAnOccurrenceAtTheCaret", "ab foo foo", 3, 0, "foo", Range{7, 3}},
    {"SkipsAnOccurrenceRightAfterTheSelection", "foofoo foo", 0, 3, "foo", Range{7, 3}},
    {"NeverFindsPositionZero", "foo", 0, 0, "foo", std::nullopt},
    {"FindsNothingAfterTheLastOccurrence", "foo x", 4, 0, "foo", std::nullopt},
    {"CaretAtTheEnd", "foo", 3, 0, "foo", std::nullopt},
    {"EmptyTextIsNeverFound", "a b", 0, 0, "", std::nullopt},
    {"EmptyEditor", "", 0, 0, "x", std::nullopt},
    {"CountsLineBreaksAsTwo", "a\nb\nvoid", 0, 0, "void", Range{6, 4}},
    {"DefinitionHead", "void() a;\nvoid() a =\n{", 0, 0, "void() a =", Range{11, 10}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(EdgeCases, FindNext, ::testing::ValuesIn(kFindNextCases),
                         [](const ::testing::TestParamInfo<FindNextCase>& p) {
                             return std::string(p.param.name);
                         });

TEST(FindNextMatchesStepByStep, OnRandomTextsAndSelections) {
    std::mt19937 rng(7);
    const char* const targets[] = {"void", "float(", "//", "/*", "a", "ab", "=", "\r\n", "x ="};
    for (int i = 0; i < 3000; ++i) {
        TextModel expected;
        expected.setText(testgen::randomSnippet(rng, 1 + rng() % 40));
        testsupport::scribble(expected, rng);
        TextModel actual = expected;
        const char* what = targets[rng() % std::size(targets)];
        for (int step = 0; step < 3; ++step) {
            const bool a = reference::findNext(expected, what);
            const bool b = findNextInEditor(actual, what);
            ASSERT_EQ(a, b);
            ASSERT_TRUE(testsupport::sameEditors(expected, actual)) << expected.text();
        }
    }
}

} // namespace
} // namespace talmo
