// SPDX-License-Identifier: GPL-3.0-or-later
#include "DefinitionIndex.h"
#include "DefinitionScan.h"

#include "PathBytes.h"
#include "ScratchDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

namespace talmo {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// "name kind line:column" for each definition, the form the tables expect.
std::vector<std::string> described(const std::vector<Definition>& found) {
    std::vector<std::string> out;
    for (const Definition& d : found)
        out.push_back(d.name + " " + std::string(definitionKindName(d.kind)) + " " +
                      std::to_string(d.line) + ":" + std::to_string(d.column));
    return out;
}

struct ScanCase {
    const char* name;
    std::string text;
    std::vector<std::string> expected;
};

void PrintTo(const ScanCase& c, std::ostream* os) {
    *os << c.name;
}

class DefinitionScanOf : public ::testing::TestWithParam<ScanCase> {};

TEST_P(DefinitionScanOf, FindsTheseDefinitions) {
    EXPECT_EQ(described(scanDefinitions(GetParam().text)), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Sources, DefinitionScanOf, ::testing::Values(
    ScanCase{"PrototypeThenBodyWithLocalsSkipped",
             "void() think;\nvoid() think =\n{\n\tlocal float x;\n};\n",
             {"think prototype 1:7", "think function 2:7"}},
    ScanCase{"BuiltinWithItsNumber", "float(float v) rint = #36;",
             {"rint builtin 1:15"}},
    ScanCase{"FieldAndGlobalOfOneName", ".float health;\nfloat health;",
             {"health field 1:7", "health global 2:6"}},
    ScanCase{"FieldsOfFunctionTypeAndLists", ".void() th_pain;\n.entity enemy, goal;",
             {"th_pain field 1:8", "enemy field 2:8", "goal field 2:15"}},
    ScanCase{"ValueMakesAConstantUnlessVar",
             "float TRUE = 1, FALSE = 0;\nvar float speed = 3;\nvector up = '0 0 1';",
             {"TRUE constant 1:6", "FALSE constant 1:16", "speed global 2:10", "up constant 3:7"}},
    ScanCase{"NamesInCommentsAndStringsAreNotDefinitions",
             "// void() a;\n/* float b;\n entity c; */ string s = \"float d; // \\\" e\";\nfloat f;",
             {"s constant 3:21", "f global 4:6"}},
    ScanCase{"FrameMacrosUpToAComment", "$cd /x/y\n$frame stand1 stand2\n$frame\trun1 // run2",
             {"stand1 frame 2:7", "stand2 frame 2:14", "run1 frame 3:7"}},
    ScanCase{"StateFunctionWithFrameAndNext",
             "void() walk1 = [$walk1, walk2] { ai_walk(10); };\nvoid() walk2;",
             {"walk1 function 1:7", "walk2 prototype 2:7"}},
    ScanCase{"CStyleBodyAndPrototype", "void foo(float a) { bar(); }\nfloat bar(float a);",
             {"foo function 1:5", "bar prototype 2:6"}},
    ScanCase{"DefineIsAConstant", "#define MAX_HEALTH 100\n#include \"x.qc\"",
             {"MAX_HEALTH constant 1:8"}},
    ScanCase{"CrLfAndLoneCrBreakLines", "float a;\r\nfloat b;\rfloat c;\r\n",
             {"a global 1:6", "b global 2:6", "c global 3:6"}},
    ScanCase{"HighBytesAndNulBelongToTheText", "float caf\xE9;\n// \0 \xA0\nfloat\xA0z;"s,
             {"caf\xE9 global 1:6", "z global 3:6"}},
    ScanCase{"BraceInsideABodyStringDoesNotEndIt",
             "void() a = { dprint(\"}\"); /* } */ if (x) { y(); } };\nfloat after;",
             {"a function 1:7", "after global 2:6"}},
    ScanCase{"DeclarationAfterAStrayStatementIsFound", "junk junk\nfloat kept;",
             {"kept global 2:6"}}));
// clang-format on

struct UsageCase {
    const char* name;
    std::string text;
    std::string word;
    std::vector<std::string> expected; // "line:column line-text"
};

void PrintTo(const UsageCase& c, std::ostream* os) {
    *os << c.name;
}

class UsagesIn : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsagesIn, AreTheseWholeWordsOfCode) {
    const UsageCase& c = GetParam();
    std::vector<std::string> got;
    for (const TextUsage& u : findUsagesInText(c.text, c.word))
        got.push_back(std::to_string(u.line) + ":" + std::to_string(u.column) + " " +
                      c.text.substr(u.lineStart, u.lineLength));
    EXPECT_EQ(got, c.expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, UsagesIn, ::testing::Values(
    UsageCase{"WholeWordsWithExactCase", "health healthy self.health Health _health",
              "health", {"1:0 health healthy self.health Health _health",
                         "1:20 health healthy self.health Health _health"}},
    UsageCase{"NotInCommentsOrStrings",
              "x = 1; // x\n/* x\n x */ y = \"x\" + 'x 0 0';\nx();", "x",
              {"1:0 x = 1; // x", "4:0 x();"}},
    UsageCase{"LinesCountedThroughCrLf", "a;\r\n\r\nb = a;\r\n", "a",
              {"1:0 a;", "3:4 b = a;"}},
    UsageCase{"AFrameMacroAfterItsDollar", "$frame run1\nvoid() r = [$run1, r] {};", "run1",
              {"1:7 $frame run1", "2:13 void() r = [$run1, r] {};"}},
    UsageCase{"EmptyNameHasNone", "abc", "", {}},
    UsageCase{"NoIdentifierHasNone", "a.b\n1a 1a", "1a", {}}));
// clang-format on

struct TargetCase {
    const char* name;
    std::vector<DefinitionKind> kinds;
    bool afterDot;
    std::vector<DefinitionKind> expected;
};

void PrintTo(const TargetCase& c, std::ostream* os) {
    *os << c.name;
}

class JumpTargets : public ::testing::TestWithParam<TargetCase> {};

TEST_P(JumpTargets, KeepTheseKinds) {
    std::vector<ModDefinition> found;
    for (DefinitionKind k : GetParam().kinds)
        found.push_back({"f.qc", {"n", k, 1, 0, 0}, "n"});
    std::vector<DefinitionKind> kept;
    for (const ModDefinition& d : jumpTargets(found, GetParam().afterDot))
        kept.push_back(d.definition.kind);
    EXPECT_EQ(kept, GetParam().expected);
}

using K = DefinitionKind;
// clang-format off
INSTANTIATE_TEST_SUITE_P(Choices, JumpTargets, ::testing::Values(
    TargetCase{"PrototypeWhenNoBody", {K::Prototype}, false, {K::Prototype}},
    TargetCase{"FieldAfterADot", {K::Global, K::Field}, true, {K::Field}},
    TargetCase{"GlobalWithoutADot", {K::Field, K::Global}, false, {K::Global}},
    TargetCase{"FieldWithoutADotWhenNothingElse", {K::Field}, false, {K::Field}},
    TargetCase{"BodiesRatherThanPrototypeAllRemain", {K::Function, K::Prototype, K::Function},
               false, {K::Function, K::Function}}));
// clang-format on

class ModIndex : public ::testing::Test {
protected:
    void write(const std::string& name, const std::string& text) {
        const fs::path path = m_dir.path() / pathOfBytes(name);
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    const fs::path& root() const { return m_dir.path(); }

    testing::ScratchDir m_dir;
};

TEST_F(ModIndex, OrdersFilesAsProgsSrcListsThemThenTheRestByNameOutsideHiddenFolders) {
    write("progs.src",
          "../progs.dat // output\r\nb.qc\r\nsub\\c.qc\r\ngone.qc\r\n../out.qc\r\na.qc\r\n");
    for (const char* name : {"a.qc", "b.qc", "sub/c.qc", "sub/d.qc", "z.QC", "notes.txt",
                             ".git/x.qc", "\xC3\xA9t\xC3\xA9.qc"})
        write(name, "float x;");
    EXPECT_EQ(modSourceFiles(root()),
              (std::vector<std::string>{"b.qc", "sub/c.qc", "a.qc", "sub/d.qc", "z.QC",
                                        "\xC3\xA9t\xC3\xA9.qc"}));
}

TEST_F(ModIndex, FindsDefinitionsAndUsagesAcrossFilesWithTheirLines) {
    write("defs.qc", "void() T_Damage;\r\n.float health;\r\n$frame stand1 stand2\r\n");
    write("combat.qc", "void() T_Damage =\n{\n\tself.health = 0;\n};\n");
    write("world.qc", "void() main = { T_Damage(); T_Damage(); };\n// T_Damage\n");
    const DefinitionIndex index =
        DefinitionIndex::build(root(), {"defs.qc", "combat.qc", "world.qc", "vanished.qc"});
    EXPECT_EQ(index.fileCount(), 3u);

    std::vector<std::string> defs;
    for (const ModDefinition& d : index.definitionsOf("T_Damage"))
        defs.push_back(d.file + ":" + std::to_string(d.definition.line) + " " + d.lineText);
    EXPECT_EQ(defs, (std::vector<std::string>{"defs.qc:1 void() T_Damage;",
                                              "combat.qc:1 void() T_Damage ="}));
    EXPECT_EQ(index.definitionsOf("stand2").at(0).lineText, "$frame stand1 stand2");

    std::vector<std::string> uses;
    for (const ModUsage& u : index.usagesOf("T_Damage"))
        uses.push_back(u.file + ":" + std::to_string(u.line) + ":" + std::to_string(u.column));
    EXPECT_EQ(uses, (std::vector<std::string>{"defs.qc:1:7", "combat.qc:1:7", "world.qc:1:16",
                                              "world.qc:1:28"}));
    EXPECT_TRUE(index.definitionsOf("main2").empty());
}

TEST_F(ModIndex, RefreshedFileReplacesDropsOrAddsItsDefinitions) {
    write("a.qc", "float old;");
    write("b.qc", "float kept;");
    DefinitionIndex index = DefinitionIndex::build(root());

    write("a.qc", "float renamed;");
    EXPECT_EQ(index.usagesOf("renamed").size(), 1u); // usages read the files as they are now
    index.refreshFile("a.qc");
    EXPECT_TRUE(index.definitionsOf("old").empty());
    ASSERT_EQ(index.definitionsOf("renamed").size(), 1u);

    fs::remove(m_dir.path() / "b.qc");
    index.refreshFile("b.qc");
    EXPECT_TRUE(index.definitionsOf("kept").empty());
    EXPECT_TRUE(index.usagesOf("kept").empty());

    write("new.qc", "float renamed;");
    write("notes.txt", "float renamed;");
    index.refreshFile("new.qc");
    index.refreshFile("notes.txt");
    std::vector<std::string> files;
    for (const ModDefinition& d : index.definitionsOf("renamed"))
        files.push_back(d.file);
    EXPECT_EQ(files, (std::vector<std::string>{"a.qc", "new.qc"}));
}

TEST_F(ModIndex, FilesChangedByOthersAreReadAgainWhenAsked) {
    write("a.qc", "float old;");
    write("b.qc", "float kept;");
    write("c.qc", "float gone;");
    DefinitionIndex index = DefinitionIndex::build(root());
    EXPECT_EQ(index.refreshChanged(), 0u);

    write("a.qc", "float renamed;");
    fs::remove(m_dir.path() / "c.qc");
    EXPECT_EQ(index.refreshChanged(), 2u);
    EXPECT_TRUE(index.definitionsOf("old").empty());
    EXPECT_EQ(index.definitionsOf("renamed").size(), 1u);
    EXPECT_TRUE(index.definitionsOf("gone").empty());
    EXPECT_EQ(index.definitionsOf("kept").size(), 1u);
    EXPECT_EQ(index.fileCount(), 2u);

    write("c.qc", "float back;");
    EXPECT_EQ(index.refreshChanged(), 1u);
    EXPECT_EQ(index.definitionsOf("back").size(), 1u);
}

TEST_F(ModIndex, FilesAddedByOthersOrReorderedInProgsSrcAreListedAgainWhenAsked) {
    write("progs.src", "progs.dat\na.qc\n");
    write("a.qc", "float first;");
    write("sub/b.qc", "float second;");
    // Folder times from long ago, so that any change shows whatever the
    // clock's grain (where a folder's time can be set: not on Windows).
    const auto past = fs::last_write_time(root()) - std::chrono::hours(1);
    for (const fs::path& folder : {root(), root() / "sub"}) {
        std::error_code ignored;
        fs::last_write_time(folder, past, ignored);
    }
    DefinitionIndex index = DefinitionIndex::build(root());

    write("sub/new.qc", "float added;");
    write("progs.src", "progs.dat\nsub/b.qc\na.qc\n");
    EXPECT_EQ(index.refreshChanged(), 1u);
    std::vector<std::string> files;
    for (const char* name : {"first", "second", "added"})
        for (const ModDefinition& d : index.definitionsOf(name))
            files.push_back(d.file);
    EXPECT_EQ(files, (std::vector<std::string>{"a.qc", "sub/b.qc", "sub/new.qc"}));
    std::vector<std::string> order;
    for (const ModUsage& u : index.usagesOf("float"))
        order.push_back(u.file);
    EXPECT_EQ(order, (std::vector<std::string>{"sub/b.qc", "a.qc", "sub/new.qc"}));
}

TEST_F(ModIndex, EditedTextStandsInForItsFileOnDisk) {
    write("a.qc", "float x;\nfloat y = x;\n");
    write("b.qc", "float z = x;\n");
    const DefinitionIndex index = DefinitionIndex::build(root());
    const DefinitionIndex::EditedText edited{"a.qc", "\r\nfloat x;\r\n"};

    const std::vector<ModDefinition> defs = index.definitionsOf("x", &edited);
    ASSERT_EQ(defs.size(), 1u);
    EXPECT_EQ(defs[0].definition.line, 2);
    std::vector<std::string> uses;
    for (const ModUsage& u : index.usagesOf("x", &edited))
        uses.push_back(u.file + ":" + std::to_string(u.line));
    EXPECT_EQ(uses, (std::vector<std::string>{"a.qc:2", "b.qc:1"}));
}

TEST_F(ModIndex, LongLinesAreCutAroundTheName) {
    write("long.qc", std::string(10000, ' ') + "float far; far = 1;" + std::string(10000, ' '));
    const DefinitionIndex index = DefinitionIndex::build(root());
    const std::string definitionLine = index.definitionsOf("far").at(0).lineText;
    const std::string usageLine = index.usagesOf("far").at(1).lineText;
    EXPECT_EQ(definitionLine.size(), kShownLineBytes);
    EXPECT_NE(definitionLine.find("float far;"), std::string::npos);
    EXPECT_EQ(usageLine.size(), kShownLineBytes);
    EXPECT_NE(usageLine.find("far = 1;"), std::string::npos);
}

TEST_F(ModIndex, FilesBiggerThanASourceAreLeftOut) {
    write("big.qc", "float big;");
    fs::resize_file(m_dir.path() / "big.qc", kMaxSourceBytes + 1); // sparse: no time, no disk
    write("small.qc", "float small;");
    DefinitionIndex index = DefinitionIndex::build(root());
    EXPECT_EQ(index.fileCount(), 1u);
    index.refreshFile("big.qc");
    EXPECT_TRUE(index.definitionsOf("big").empty());
}

TEST(ProgsSourceList, SkipsTheOutputFileAndComments) {
    EXPECT_EQ(progsSourceList("// head\n  progs.dat\n\tdefs.qc // first\nsub\\x.qc"),
              (std::vector<std::string>{"defs.qc", "sub/x.qc"}));
}

} // namespace
} // namespace talmo
