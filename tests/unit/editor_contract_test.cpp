// SPDX-License-Identifier: GPL-3.0-or-later
// The editor contract, run alike against the in-memory model and the
// QScintilla view: both must give the same answers.
#include "Editor.h"
#include "QsciEditor.h"
#include "QsciView.h"
#include "Text.h"
#include "TextModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>

namespace talmo {
namespace {

namespace fs = std::filesystem;

// An editor and what its user does beside the contract: typing, and making
// it read-only.
struct UnderTest {
    std::shared_ptr<void> owner;
    Editor* editor = nullptr;
    std::function<void(std::string_view)> type;
    std::function<void(bool)> setReadOnly;
};

struct EditorKind {
    std::string name;
    std::function<UnderTest()> make;
};

void PrintTo(const EditorKind& kind, std::ostream* os) {
    *os << kind.name;
}

const CharFormat kPlain{kBlack, false};

class TempDir {
public:
    TempDir() {
        std::random_device rd;
        m_path = fs::temp_directory_path() / ("talmo_editor_" + std::to_string(rd()));
        fs::create_directories(m_path);
    }
    ~TempDir() {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    fs::path m_path;
};

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

class EditorContract : public ::testing::TestWithParam<EditorKind> {
protected:
    void SetUp() override {
        under = GetParam().make();
        ed = under.editor;
    }

    UnderTest under;
    Editor* ed = nullptr;

    void type(std::string_view text) { under.type(text); }

    void select(long start, long len) {
        ed->setSelectionStart(start);
        ed->setSelectionLength(len);
    }
    // Formats of [start, end) as a string: '.' plain, 'r'/'b'/'g' red, blue,
    // green, upper case when bold, '?' anything else.
    std::string formats(long start, long end) const {
        std::string out;
        for (long p = start; p < end; ++p) {
            const CharFormat f = ed->formatAt(p);
            char c = f.colour == kBlack   ? '.'
                     : f.colour == kRed   ? 'r'
                     : f.colour == kBlue  ? 'b'
                     : f.colour == kGreen ? 'g'
                                          : '?';
            if (f.bold)
                c = c == '.' ? '#' : static_cast<char>(std::toupper(c));
            out += c;
        }
        return out;
    }
    std::string formats() const { return formats(0, ed->length()); }
};

// ---- positions, lines, loading ----

TEST_P(EditorContract, LineBreakCountsTwoPositions) {
    ed->setText("a\r\nb");
    EXPECT_EQ(ed->length(), 4);
    EXPECT_EQ(ed->find("b", 0, 100), 3);
    EXPECT_EQ(ed->line(1), "b");
    EXPECT_EQ(ed->textRange(1, 3), "\r\nb");
    EXPECT_EQ(ed->textRange(-2, 3), "a");
    EXPECT_EQ(ed->textRange(3, 100), "b");
    EXPECT_EQ(ed->textRange(9, 1), "");
}

struct LoadCase {
    std::string in, stored;
};

TEST_P(EditorContract, LoadTurnsEveryLineBreakIntoCrLf) {
    const LoadCase cases[] = {
        {"a\rb", "a\r\nb"},   {"a\nb", "a\r\nb"},
        {"a\r\nb", "a\r\nb"}, {"a\r\r\nb", "a\r\n\r\nb"},
        {"\n\n", "\r\n\r\n"}, {"a\n\rb", "a\r\n\r\nb"},
        {"end\r", "end\r\n"}, {"", ""},
    };
    for (const LoadCase& c : cases) {
        ed->setText(c.in);
        EXPECT_EQ(ed->text(), c.stored) << "loading " << ::testing::PrintToString(c.in);
        EXPECT_EQ(ed->length(), static_cast<long>(c.stored.size()));
    }
}

struct LinesCase {
    std::string text;
    std::vector<std::string> lines;
};

TEST_P(EditorContract, LineCountIgnoresAFinalEmptyLine) {
    const LinesCase cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\r\n\r\n", {"a", ""}},
        {"\r\n", {""}},
        {"one\r\n\r\nthree\r\n", {"one", "", "three"}},
    };
    for (const LinesCase& c : cases) {
        ed->setText(c.text);
        const auto n = static_cast<int>(c.lines.size());
        EXPECT_EQ(ed->lineCount(), n) << ::testing::PrintToString(c.text);
        EXPECT_EQ(ed->lines(), c.lines) << ::testing::PrintToString(c.text);
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(ed->line(i), c.lines[static_cast<std::size_t>(i)]);
        EXPECT_EQ(ed->line(n), "") << "line past the end";
        EXPECT_EQ(ed->line(-1), "");
    }
}

TEST_P(EditorContract, JoinedLinesEndEveryLineWithCrLf) {
    ed->setText("");
    EXPECT_EQ(ed->joinedLines(), "");
    ed->setText("a\r\nb");
    EXPECT_EQ(ed->joinedLines(), "a\r\nb\r\n");
    ed->setText("a\r\n");
    EXPECT_EQ(ed->joinedLines(), "a\r\n");
}

TEST_P(EditorContract, EmptyEditorHasNoLinesUntilACharacterIsTyped) {
    EXPECT_EQ(ed->lineCount(), 0);
    type("x");
    EXPECT_EQ(ed->lineCount(), 1);
    EXPECT_EQ(ed->text(), "x");
}

std::string everyByte() {
    std::string bytes;
    for (int b = 1; b <= 255; ++b)
        if (b != '\r' && b != '\n')
            bytes += static_cast<char>(b);
    return bytes + "\r\nlast line";
}

TEST_P(EditorContract, EveryByteLoadsAndSavesByteForByte) {
    TempDir dir;
    const std::string original = everyByte();
    writeAll(dir.file("in.txt"), original);
    ed->loadFromFile(dir.file("in.txt"));
    EXPECT_EQ(ed->text(), original);
    EXPECT_EQ(ed->length(), static_cast<long>(original.size()));
    ed->saveToFile(dir.file("out.txt"));
    EXPECT_EQ(readAll(dir.file("out.txt")), original) << "save adds or changes nothing";
}

TEST_P(EditorContract, TextWithNulBytesLoadsWhole) {
    const std::string withNul("a\0b\r\n\0", 6);
    ed->setText(withNul);
    EXPECT_EQ(ed->text(), withNul);
    EXPECT_EQ(ed->lineCount(), 2);
}

TEST_P(EditorContract, SaveWritesNoFinalLineBreak) {
    TempDir dir;
    ed->setText("a\nb");
    ed->saveToFile(dir.file("out.txt"));
    EXPECT_EQ(readAll(dir.file("out.txt")), "a\r\nb");
}

TEST_P(EditorContract, FailedLoadLeavesTheTextUnchanged) {
    TempDir dir;
    ed->setText("kept");
    EXPECT_THROW(ed->loadFromFile(dir.file("missing.qc")), FileError);
    EXPECT_THROW(ed->loadFromFile(dir.file("")), FileError) << "a directory is no file";
    EXPECT_EQ(ed->text(), "kept");
}

TEST_P(EditorContract, FailedSaveThrows) {
    TempDir dir;
    ed->setText("x");
    EXPECT_THROW(ed->saveToFile(dir.file("no/such/dir/out.qc")), FileError);
}

TEST_P(EditorContract, LoadResetsFormatsAndCaret) {
    ed->setText("abc");
    select(1, 2);
    ed->setSelectionColour(kRed);
    ed->applyBold({{0, 1}});
    ed->setText("abcdef");
    EXPECT_EQ(formats(), "......");
    EXPECT_EQ(ed->selectionStart(), 0);
    EXPECT_EQ(ed->selectionLength(), 0);
}

// ---- find ----

struct FindCase {
    const char* what;
    std::string text;
    std::string needle;
    long start, len, expected;
};

TEST_P(EditorContract, FindIgnoresCaseAndStaysInsideItsBounds) {
    const FindCase cases[] = {
        {"empty text", "", "a", 0, 10, -1},
        {"negative start", "abc", "a", -1, 10, -1},
        {"empty needle", "abc", "", 0, 10, -1},
        {"upper needle in lower text", "floating", "FLOAT", 0, 100, 0},
        {"lower needle in upper text", "VOID main", "void", 0, 100, 0},
        {"any substring", "thinkfloat", "float", 0, 100, 5},
        {"match ending exactly at the bound", "abcdef", "cd", 0, 4, 2},
        {"match crossing the bound", "abcdef", "cd", 0, 3, -1},
        {"starts at start", "abab", "ab", 2, 2, 2},
        {"forward only", "abab", "ab", 1, 100, 2},
        {"start past the end", "abc", "a", 5, 10, -1},
        {"length beyond the text", "abc", "c", 0, 1000000, 2},
        {"Latin-1 letters fold", "caf\xc9", "\xe9", 0, 10, 3},
        {"no occurrence", "abc", "x", 0, 10, -1},
        {"across a line break", "end\r\nnext", "d\r\nn", 0, 100, 2},
    };
    for (const FindCase& c : cases) {
        ed->setText(c.text);
        EXPECT_EQ(ed->find(c.needle, c.start, c.len), c.expected) << c.what;
    }
}

TEST_P(EditorContract, FindLeavesTheSelectionWhereItWas) {
    ed->setText("one two one");
    select(4, 3);
    EXPECT_EQ(ed->find("ONE", 1, 100), 8);
    EXPECT_EQ(ed->selectionStart(), 4);
    EXPECT_EQ(ed->selectionLength(), 3);
}

// ---- selection ----

TEST_P(EditorContract, SelectionStartIsClampedToTheText) {
    ed->setText("abc\r\nde");
    const std::pair<long, long> cases[] = {{-5, 0}, {0, 0}, {3, 3}, {7, 7}, {8, 7}, {1000, 7}};
    for (auto [asked, got] : cases) {
        select(2, 2);
        ed->setSelectionStart(asked);
        EXPECT_EQ(ed->selectionStart(), got) << "asked " << asked;
        EXPECT_EQ(ed->selectionLength(), 0) << "setting the start drops the selection";
    }
}

TEST_P(EditorContract, SelectionLengthIsClampedToTheEnd) {
    ed->setText("abcdef");
    select(4, 100);
    EXPECT_EQ(ed->selectionStart(), 4);
    EXPECT_EQ(ed->selectionLength(), 2);
    select(1, -3);
    EXPECT_EQ(ed->selectionLength(), 0);
}

TEST_P(EditorContract, ShowLineSelectsTheLineWithoutItsBreak) {
    struct Case {
        const char* name;
        std::string text;
        int line;
        long start; // -1: no such line
        long length;
    };
    const Case cases[] = {
        {"first line", "ab\r\ncde\r\n", 0, 0, 2},
        {"middle line", "ab\r\ncde\r\nf", 1, 4, 3},
        {"last line without a break", "ab\r\ncde", 1, 4, 3},
        {"empty line after a final break", "ab\r\n", 1, 4, 0},
        {"end of a text without a final break", "ab", 1, 2, 0},
        {"past the end", "ab\r\n", 2, -1, 0},
        {"negative", "ab", -1, -1, 0},
        {"empty text", "", 0, 0, 0},
    };
    for (const Case& c : cases) {
        ed->setText(c.text);
        select(1, 0);
        EXPECT_EQ(ed->lineStart(c.line), c.start) << c.name;
        EXPECT_EQ(ed->showLine(c.line), c.start >= 0) << c.name;
        EXPECT_EQ(ed->selectionStart(), c.start >= 0 ? c.start : std::min(1L, ed->length()))
            << c.name;
        EXPECT_EQ(ed->selectionLength(), c.length) << c.name;
    }
}

TEST_P(EditorContract, CaretLineIsTheLineOfTheSelectionEnd) {
    ed->setText("a\r\nb\r\nc");
    const std::pair<std::pair<long, long>, int> cases[] = {{{0, 0}, 0}, {{1, 0}, 0}, {{3, 0}, 1},
                                                           {{0, 3}, 1}, {{0, 7}, 2}, {{7, 0}, 2}};
    for (auto [sel, line] : cases) {
        select(sel.first, sel.second);
        EXPECT_EQ(ed->caretLine(), line) << "selection " << sel.first << "+" << sel.second;
    }
}

// ---- formats ----

TEST_P(EditorContract, ColourKeepsBold) {
    ed->setText("abcdef");
    ed->applyBold({{0, 4}});
    select(2, 4);
    ed->setSelectionColour(kRed);
    EXPECT_EQ(formats(), "##RRrr");
    select(0, 6);
    ed->setSelectionColour(kBlue);
    EXPECT_EQ(formats(), "BBBBbb");
}

TEST_P(EditorContract, FormatOutsideTheTextIsTheDefault) {
    ed->setText("ab");
    select(0, 2);
    ed->setSelectionColour(kRed);
    EXPECT_EQ(ed->formatAt(-1), kPlain);
    EXPECT_EQ(ed->formatAt(2), kPlain);
    EXPECT_EQ(ed->formatAt(1), (CharFormat{kRed, false}));
}

TEST_P(EditorContract, ColourWithNothingSelectedFormatsTheNextTypedText) {
    ed->setText("ab");
    ed->setSelectionStart(2);
    ed->setSelectionColour(kBlue);
    EXPECT_EQ(formats(), "..") << "no character changes yet";
    type("xy");
    EXPECT_EQ(ed->text(), "abxy");
    EXPECT_EQ(formats(), "..bb");
}

TEST_P(EditorContract, MovingTheCaretDropsThePendingFormat) {
    ed->setText("ab");
    ed->setSelectionStart(1);
    ed->setSelectionColour(kRed);
    ed->setSelectionStart(2);
    type("c");
    EXPECT_EQ(formats(), "...");
}

TEST_P(EditorContract, TypedTextTakesTheFormatBeforeTheCaret) {
    ed->setText("abcd");
    select(0, 2);
    ed->setSelectionColour(kRed);
    ed->applyBold({{0, 2}});
    ed->setSelectionStart(2);
    type("x");
    EXPECT_EQ(ed->text(), "abxcd");
    EXPECT_EQ(formats(), "RRR..");
    ed->setSelectionStart(0);
    type("y");
    EXPECT_EQ(formats(), ".RRR..") << "at the start there is no character before";
}

TEST_P(EditorContract, TypingOverASelectionTakesTheFormatOfItsFirstCharacter) {
    ed->setText("abcd");
    select(1, 1);
    ed->setSelectionColour(kGreen);
    select(1, 2);
    type("XY");
    EXPECT_EQ(ed->text(), "aXYd");
    EXPECT_EQ(formats(), ".gg.");
    EXPECT_EQ(ed->selectionStart(), 3);
}

TEST_P(EditorContract, TypedLineBreakIsCrLf) {
    ed->setText("ab");
    ed->setSelectionStart(1);
    type("\r");
    EXPECT_EQ(ed->text(), "a\r\nb");
    type("\r\n");
    EXPECT_EQ(ed->text(), "a\r\n\r\nb") << "CR LF is one Enter";
    EXPECT_EQ(ed->selectionStart(), 5);
}

TEST_P(EditorContract, TypingFiresKeyEventsForEveryCharacter) {
    std::string pressed;
    int downs = 0;
    ed->setEvents({[&](int) { ++downs; }, [&](char c) { pressed += c; }, {}, {}, {}});
    type("a\tb\r");
    EXPECT_EQ(pressed, "a\tb\r");
    EXPECT_EQ(downs, 4);
    EXPECT_EQ(ed->text(), "a\tb\r\n");
}

TEST_P(EditorContract, InsertLineAtStartAddsTextAndCrLf) {
    ed->setText("body");
    ed->setSelectionStart(2);
    ed->insertLineAtStart("head");
    EXPECT_EQ(ed->text(), "head\r\nbody");
    EXPECT_EQ(ed->lineCount(), 2);
    EXPECT_EQ(ed->selectionStart(), 8) << "the caret stays on its character";
    ed->setText("");
    ed->insertLineAtStart("only");
    EXPECT_EQ(ed->text(), "only\r\n");
}

// ---- bulk operations ----

TEST_P(EditorContract, BulkColourAndBoldMatchSelectingEachRange) {
    ed->setText("0123456789");
    ed->applyBold({{1, 2}, {8, 5}});
    ed->applyColour({{0, 2}, {5, 1}, {-3, 4}, {20, 2}}, kGreen);
    EXPECT_EQ(formats(), "gG#..g..##");
    EXPECT_EQ(ed->selectionStart(), 0) << "the selection does not move";
}

TEST_P(EditorContract, BulkEditsReplaceEachRangeAndKeepOtherFormats) {
    ed->setText("int a; int b;");
    ed->applyColour({{4, 1}}, kRed);
    ed->applyEdits({{0, 3, "float", {kBlue, false}}, {11, 1, "bb", {kBlue, true}}});
    EXPECT_EQ(ed->text(), "float a; int bb;");
    EXPECT_EQ(formats(), "bbbbb.r......BB.");
    EXPECT_THROW(ed->applyEdits({{5, 1, "x", kPlain}, {2, 1, "y", kPlain}}), std::invalid_argument);
    EXPECT_EQ(ed->text(), "float a; int bb;") << "rejected edits change nothing";
}

TEST_P(EditorContract, BulkEditsAcrossALongTextKeepTheFormatsBetween) {
    ed->setText(std::string(100000, 'x'));
    ed->applyColour({{32767, 2}, {70000, 1}}, kRed);
    ed->applyEdits({{0, 1, "yy", kPlain}, {99999, 1, "z", kPlain}});
    std::string around;
    for (long at : {32767L, 32768L, 32769L, 32770L, 70000L, 70001L, 70002L})
        around += ed->formatAt(at).colour == kRed ? 'r' : '.';
    EXPECT_EQ(around, ".rr..r.") << "every format moves with its text";
}

// ---- clipboard, flags ----

TEST_P(EditorContract, CutAndPasteMoveTheSelectedText) {
    ed->setText("abc def");
    select(4, 3);
    ed->cut();
    EXPECT_EQ(ed->text(), "abc ");
    ed->setSelectionStart(0);
    ed->paste();
    EXPECT_EQ(ed->text(), "defabc ");
    select(0, 3);
    ed->copy();
    ed->setSelectionStart(7);
    ed->paste();
    EXPECT_EQ(ed->text(), "defabc def");
}

TEST_P(EditorContract, ReadOnlyStopsTypingButNotLoading) {
    under.setReadOnly(true);
    ed->setText("view");
    type("x");
    EXPECT_EQ(ed->text(), "view");
}

const EditorKind kKinds[] = {
    {"TextModel",
     [] {
         auto model = std::make_shared<TextModel>();
         TextModel* m = model.get();
         return UnderTest{model, m, [m](std::string_view t) { m->typeText(t); },
                          [m](bool on) { m->setReadOnly(on); }};
     }},
    {"QsciEditor",
     [] {
         auto view = std::make_shared<QsciView>();
         QsciView* v = view.get();
         return UnderTest{view, v->editor(), [v](std::string_view t) { v->typeText(t); },
                          [v](bool on) { v->setReadOnly(on); }};
     }},
};

INSTANTIATE_TEST_SUITE_P(Both, EditorContract, ::testing::ValuesIn(kKinds),
                         [](const ::testing::TestParamInfo<EditorKind>& kind) {
                             return kind.param.name;
                         });

} // namespace
} // namespace talmo
