// SPDX-License-Identifier: GPL-3.0-or-later
#include "Report.h"

#include "Editor.h"
#include "Text.h"

#include "analysis_generator.h"
#include "analysis_reference.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace talmo {
namespace {

namespace fs = std::filesystem;

struct LineCase {
    const char* name;
    std::string line;
    std::optional<std::string> function;  // definition text of funcs()
    std::optional<std::string> attribute; // definition text of .atributes
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

class ReportLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(ReportLine, YieldsItsDefinitions) {
    const LineCase& c = GetParam();
    EXPECT_EQ(functionDefinition(c.line), c.function);
    EXPECT_EQ(attributeDefinition(c.line), c.attribute);

    std::vector<std::string> entries;
    EXPECT_EQ(testFunctionLine(c.line, "defs.qc", entries), c.function.has_value());
    EXPECT_EQ(testAttributeLine(c.line, "defs.qc", entries), c.attribute.has_value());
    std::vector<std::string> expected;
    if (c.function)
        expected.push_back("defs.qc - " + *c.function);
    if (c.attribute)
        expected.push_back("defs.qc - " + *c.attribute);
    EXPECT_EQ(entries, expected);
}

const std::nullopt_t none = std::nullopt;

// clang-format off
const LineCase kLineCases[] = {
    {"FunctionBodyHead", "void() FireAxe =", "void() FireAxe =", none},
    {"BuiltinCutAtEquals", "float(float v) rint = #36;", "float(float v) rint =", none},
    {"PrototypeHasNoEquals", "void(entity e) think;", none, none},
    {"ComparisonFirst", "if (self.classname == x)", none, none},
    {"NoParenthesisBeforeEquals", "local vector v = normalize(d);", none, none},
    {"StatementsOnOneLine", "setmodel (self, string_null); self.x = 1;", "setmodel (self, string_null); self.x =", none},
    {"Field", ".float health;", none, ".float health;"},
    {"FieldWithComment", ".void() th_pain; // comment", none, ".void() th_pain;"},
    {"FieldAccessIsNoField", "self.health = 100;", none, none},
    {"LessOrEqualHead", "if (float_a() <= 2)", "if (float_a() <=", none},
    {"NotEqualHead", "while (vector_b() != x)", "while (vector_b() !=", none},
    {"GreaterOrEqualWithoutKeyword", "if (f() >= 2)", none, none},
    {"KeywordInsideAWord", "x = 1; avoid() =", none, none},
    {"AvoidBeforeEquals", "avoid(x) z = 1", "avoid(x) z =", none},
    {"IndentedFunctionIsTrimmed", "\t  void() f =\t", "void() f =", none},
    {"IndentedFieldIsTrimmed", "\t\t.entity enemy;  \t", none, ".entity enemy;"},
    {"FloatyThroughFloat", ".floaty x;", none, ".floaty x;"},
    {"SemicolonBeforeDot", "x = 1; // a .float", none, none},
    {"DotWithoutSemicolon", ".float x", none, none},
    {"KeywordAfterSemicolonCounts", ".x; .vector", none, ".x;"},
    {"CaseMatters", "VOID() f =", none, none},
    {"FieldTestsRespectCase", ".Float x;", none, none},
    {"EqualsFollowedLaterByDoubleEquals", "void() f = a == b", "void() f =", none},
    {"ControlCharactersAreTrimmed", "\x01\x1f void() f =", "void() f =", none},
    {"HighBytesAreKept", "\xa0void() f =", "\xa0void() f =", none},
    {"EmptyLine", "", none, none},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Examples, ReportLine, ::testing::ValuesIn(kLineCases),
                         [](const ::testing::TestParamInfo<LineCase>& p) {
                             return std::string(p.param.name);
                         });

TEST(ReportLineTestsMatchTheirPositionalReading, OnRandomLines) {
    std::mt19937 rng(5);
    for (int i = 0; i < 5000; ++i) {
        const std::string line = testgen::randomSnippet(rng, 1 + rng() % 12);
        std::vector<std::string> expected, actual;
        reference::testFunctionLine(line, "a.qc", expected);
        reference::testAttributeLine(line, "a.qc", expected);
        testFunctionLine(line, "a.qc", actual);
        testAttributeLine(line, "a.qc", actual);
        ASSERT_EQ(actual, expected) << ::testing::PrintToString(line);
    }
}

TEST(ReportRun, SkipsOnlyTheExactReportFileName) {
    EXPECT_TRUE(skippedByReportRun("talmo.report.txt"));
    EXPECT_FALSE(skippedByReportRun("Talmo.Report.txt"));
    EXPECT_FALSE(skippedByReportRun("talmo.report.txt.bak"));
}

TEST(ReportFile, WithNoEntriesHoldsTenLines) {
    const std::string bytes = joinCrLf(reportFileLines({}));
    EXPECT_EQ(bytes, "\r\n/////////////////////\r\n//  \r\n//   Report \r\n//  \r\n"
                     "/////////////////////\r\n\r\n// All data found in this directory\r\n"
                     "\r\n // End of data.\r\n");
}

TEST(ReportFile, ListsEntriesUnchangedBetweenHeadAndTail) {
    const std::vector<std::string> lines = reportFileLines({"a.qc - void() f =", " x "});
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[8], "a.qc - void() f =");
    EXPECT_EQ(lines[9], " x ");
    EXPECT_EQ(lines[11], " // End of data.");
}

struct SplitCase {
    const char* name;
    const char* entry;
    const char* file;
    const char* definition;
};

void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << c.name;
}

class ReportEntrySplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(ReportEntrySplit, GivesFileAndDefinition) {
    const ReportEntryParts parts = splitReportEntry(GetParam().entry);
    EXPECT_EQ(parts.file, GetParam().file);
    EXPECT_EQ(parts.definition, GetParam().definition);
}

// clang-format off
const SplitCase kSplitCases[] = {
    {"PlainEntry", "defs.qc - void() main =", "defs.qc", "void() main ="},
    {"FileNameWithDashIsCutAtItsFirstDash", "a - b.qc - .float x;", "a", "b.qc - .float x;"},
    {"BlanksAroundPartsAreRemoved", "  x.qc  -   void() f =  ", "x.qc", "void() f ="},
    {"NoSeparator", "lonely", "lonely", ""},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Examples, ReportEntrySplit, ::testing::ValuesIn(kSplitCases),
                         [](const ::testing::TestParamInfo<SplitCase>& p) {
                             return std::string(p.param.name);
                         });

class ReportScan : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("talmo-analysis-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override {
        m_reader.close(); // Windows keeps an open file from being removed
        fs::remove_all(m_dir);
    }

    std::string write(const std::string& name, const std::string& bytes) {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return path;
    }

    // What reading the file's lines one by one and testing each gives.
    static std::vector<std::string> expectedEntries(const std::string& bytes,
                                                    const std::string& source) {
        std::vector<std::string> entries;
        for (const std::string& line : reference::fileLines(bytes))
            reference::testFunctionLine(line, source, entries);
        for (const std::string& line : reference::fileLines(bytes))
            reference::testAttributeLine(line, source, entries);
        return entries;
    }

    std::vector<std::string> scanBoth(const std::string& path, const std::string& source) {
        std::vector<std::string> entries;
        scanFileForFunctions(m_reader, path, source, entries);
        EXPECT_FALSE(m_reader.isOpen());
        scanFileForAttributes(m_reader, path, source, entries);
        EXPECT_FALSE(m_reader.isOpen());
        return entries;
    }

    fs::path m_dir;
    ReportReader m_reader;
};

TEST_F(ReportScan, OneLineFileWithoutLineBreakYieldsItsEntry) {
    const std::string path = write("one.qc", "void() main =");
    EXPECT_EQ(scanBoth(path, "one.qc"), std::vector<std::string>{"one.qc - void() main ="});
}

TEST_F(ReportScan, EmptyFileYieldsNothing) {
    EXPECT_TRUE(scanBoth(write("empty.qc", ""), "empty.qc").empty());
}

TEST_F(ReportScan, CrLfFileAndLfTwinGiveTheSameEntries) {
    const std::string crlf = testgen::quakeCSource(50000, 4);
    const std::string lf = crlfToLf(crlf);
    const std::vector<std::string> a = scanBoth(write("a.qc", crlf), "x.qc");
    const std::vector<std::string> b = scanBoth(write("b.qc", lf), "x.qc");
    EXPECT_GT(a.size(), 100u);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, expectedEntries(crlf, "x.qc"));
}

TEST_F(ReportScan, AppendsToTheEntriesAlreadyThere) {
    const std::string path = write("d.qc", ".float a;\nvoid() f =\n");
    std::vector<std::string> entries = {"old"};
    scanFileForFunctions(m_reader, path, "d.qc", entries);
    scanFileForAttributes(m_reader, path, "d.qc", entries);
    scanFileForFunctions(m_reader, path, "d.qc", entries);
    EXPECT_EQ(entries, (std::vector<std::string>{"old", "d.qc - void() f =", "d.qc - .float a;",
                                                 "d.qc - void() f ="}));
}

TEST_F(ReportScan, LinesLongerThanTheBufferAreWhole) {
    const std::string longTail(700000, 'x');
    const std::string bytes = "a\r\nvoid() f = " + longTail + "\r\n.float " + longTail +
                              ";\r\nvoid() g =" + std::string(600000, '.');
    EXPECT_EQ(scanBoth(write("long.qc", bytes), "long.qc"), expectedEntries(bytes, "long.qc"));
}

TEST_F(ReportScan, MatchesLineByLineReadingOnRandomFiles) {
    std::mt19937 rng(8);
    for (int i = 0; i < 300; ++i) {
        // Mostly small files, some larger than the read buffer so that lines
        // and CR LF pairs straddle reads.
        const std::size_t tokens = i % 25 == 0 ? 200000 : 1 + rng() % 300;
        std::string bytes = testgen::randomSnippet(rng, tokens);
        if (i % 3 == 0)
            bytes += "\r";
        const std::string path = write("r.qc", bytes);
        ASSERT_EQ(scanBoth(path, "r.qc"), expectedEntries(bytes, "r.qc")) << "file #" << i;
    }
}

TEST_F(ReportScan, ReadLineGivesEveryLine) {
    const std::string bytes = "a\r\n\r\nb\n\nc\rd\r\n";
    write("l.qc", bytes);
    m_reader.open((m_dir / "l.qc").string());
    std::vector<std::string> lines;
    std::string_view line;
    while (m_reader.readLine(line))
        lines.emplace_back(line);
    EXPECT_EQ(lines, reference::fileLines(bytes));
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "", "b", "", "c\rd"}));
}

TEST_F(ReportScan, MissingFileThrowsAndKeepsEarlierEntries) {
    const std::string good = write("g.qc", "void() f =");
    std::vector<std::string> entries;
    scanFileForFunctions(m_reader, good, "g.qc", entries);
    EXPECT_THROW(scanFileForFunctions(m_reader, (m_dir / "gone.qc").string(), "gone.qc", entries),
                 FileError);
    EXPECT_EQ(entries.size(), 1u);
    EXPECT_FALSE(m_reader.isOpen());
}

TEST_F(ReportScan, DirectoryIsRefused) {
    std::vector<std::string> entries;
    EXPECT_THROW(scanFileForAttributes(m_reader, m_dir.string(), "d", entries), FileError);
}

#ifndef _WIN32
TEST_F(ReportScan, FifoIsRefusedWithoutWaiting) {
    const std::string path = (m_dir / "pipe.qc").string();
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    std::vector<std::string> entries;
    EXPECT_THROW(scanFileForFunctions(m_reader, path, "pipe.qc", entries), FileError);
}

TEST_F(ReportScan, UnreadableFileThrows) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    const std::string path = write("locked.qc", "void() f =");
    ::chmod(path.c_str(), 0);
    std::vector<std::string> entries;
    EXPECT_THROW(scanFileForFunctions(m_reader, path, "locked.qc", entries), FileError);
}
#endif

} // namespace
} // namespace talmo
