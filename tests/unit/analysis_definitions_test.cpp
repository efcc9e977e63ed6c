// SPDX-License-Identifier: GPL-3.0-or-later
#include "DefinitionIndex.h"
#include "DefinitionScan.h"

#include "PathBytes.h"
#include "ScratchDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>

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

// A missing ";" (which the compiler accepts with a warning) or a body still
// being typed hides nothing after it.
INSTANTIATE_TEST_SUITE_P(Recovery, DefinitionScanOf, ::testing::Values(
    ScanCase{"GlobalWithoutItsSemicolon", "float missing_semi\nfloat after_missing;",
             {"missing_semi global 1:6", "after_missing global 2:6"}},
    ScanCase{"PrototypeWithoutItsSemicolon", "void() helper\nvoid() helper2 = { x(); };",
             {"helper prototype 1:7", "helper2 function 2:7"}},
    ScanCase{"DeclaredTypeAfterAMissingSemicolon", "float a\nstrbuf b;\nfloat c = 1\nstrbuf d;",
             {"a global 1:6", "b global 2:7", "c constant 3:6", "d global 4:7"}},
    ScanCase{"ConstantWithoutItsSemicolon", "float a = 1\nvar float b;\n.float f\n.float g;",
             {"a constant 1:6", "b global 2:10", "f field 3:7", "g field 4:7"}},
    ScanCase{"BodyStillBeingTyped",
             "void() typing =\n{\n\tlocal float x;\n\tif (x) {\n\nvoid() next = { y(); };\n"
             "$frame run1\n.float speed;",
             {"typing function 1:7", "next function 6:7", "run1 frame 7:7", "speed field 8:7"}},
    ScanCase{"IndentedOrCalledTypesInABodyEndNothing",
             "void() f = {\n\tfloat(entity e) g;\nfloat(x);\n};\nfloat after;",
             {"f function 1:7", "after global 5:6"}}));

// The syntax of current compilers and their extension files.
INSTANTIATE_TEST_SUITE_P(CurrentSyntax, DefinitionScanOf, ::testing::Values(
    ScanCase{"ModifiersBeforeADefinition",
             "__wrap void() ClientKill = { prior(); };\n__used var float mode = 2;\n"
             "__weak float limit;\n__accumulate void() Init = {};\nnosave noref shared float n;",
             {"ClientKill function 1:14", "mode global 2:17", "limit global 3:13",
              "Init function 4:20", "n global 5:26"}},
    ScanCase{"TypedefNamesAType", "typedef float strbuf;\ntypedef void(float a) callback;",
             {"strbuf type 1:14", "callback type 2:22"}},
    ScanCase{"AccessorWithAndWithoutItsBody",
             "accessor filestream : float;\naccessor hashtable : float\n{\n"
             "\tinline get float x = { return 1; };\n};\nfloat after;",
             {"filestream type 1:9", "hashtable type 2:9", "after global 6:6"}},
    ScanCase{"EnumValuesAreConstants",
             "enum { RED, GREEN = 3, BLUE };\nenumflags : float { FL_A, FL_B };\n"
             "typedef enum { ONE, TWO } count_t;",
             {"RED constant 1:7", "GREEN constant 1:12", "BLUE constant 1:23",
              "FL_A constant 2:20", "FL_B constant 2:26", "ONE constant 3:15",
              "TWO constant 3:20", "count_t type 3:26"}},
    ScanCase{"ClassAndStructNameTypes",
             "class monster : entity {\n\tfloat hp;\n};\nstruct pair { float a, b; };\n"
             "typedef struct { float x; } point;",
             {"monster type 1:6", "pair type 4:7", "point type 5:28"}},
    ScanCase{"DeclaredTypesAsReturnAndFieldTypes",
             "strbuf() buf_create = #460;\n"
             "filestream(string name, float mode, optional float size) fopen = #110;\n"
             ".strbuf lines;\nsearchhandle found;\nhashtable hash_create(float n) = #287;",
             {"buf_create builtin 1:9", "fopen builtin 2:57", "lines field 3:8",
              "found global 4:13", "hash_create builtin 5:10"}},
    ScanCase{"PointerTypes",
             "float*(float n) memalloc_f = #384;\n__variant*(float sz) memalloc = #385;\n"
             "float *cursor;",
             {"memalloc_f builtin 1:16", "memalloc builtin 2:21", "cursor global 3:7"}}));
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

struct PlaceCase {
    const char* name;
    std::string text;
    Definition wanted; // as an index saw it, perhaps in an older text
    std::optional<std::size_t> expected;
};

void PrintTo(const PlaceCase& c, std::ostream* os) {
    *os << c.name;
}

class DefinitionPlace : public ::testing::TestWithParam<PlaceCase> {};

TEST_P(DefinitionPlace, IsThisOffset) {
    EXPECT_EQ(definitionPlace(GetParam().text, GetParam().wanted), GetParam().expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, DefinitionPlace, ::testing::Values(
    PlaceCase{"WhereTheIndexSawIt", "float a;\r\nfloat b;\r\n", {"b", K::Global, 2, 6, 0}, 16},
    PlaceCase{"LoneCrAndLfEndLinesToo", "float a;\rfloat c;\nfloat b;", {"b", K::Global, 3, 6, 0}, 24},
    PlaceCase{"MovedDownFoundByItsKind",
              "float x;\nvoid() b;\nvoid() b = {};\n", {"b", K::Function, 1, 7, 0}, 26},
    PlaceCase{"PastTheEndOfTheText", "float b;", {"b", K::Global, 9, 0, 0}, 6},
    PlaceCase{"AColumnPastTheLineEnd", "float b;\nx", {"b", K::Global, 2, 40, 0}, 6},
    PlaceCase{"OtherWordThereAndNoneOfThatKind", "float b;\nfloat c;", {"b", K::Field, 2, 6, 0},
              std::nullopt}));
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

TEST_F(ModIndex, OpenTextsStandForTheirFilesUntilClosed) {
    write("a.qc", "float x;\n");
    write("b.qc", "float y = x;\n");
    std::error_code ignored; // a folder time from long ago, so that its change shows
    fs::last_write_time(root(), fs::last_write_time(root()) - std::chrono::hours(1), ignored);
    DefinitionIndex index = DefinitionIndex::build(root());
    index.setOpenText("a.qc", "\nfloat \xe9x; float x;\n");
    index.setOpenText("new.qc", "float x2 = x;"); // never saved
    index.setOpenText("notes.txt", "float x;");   // no source
    write("a.qc", "float other;\n");              // saved elsewhere: the open text still wins
    write("sub/c.qc", "float z;\n");              // the folder changes: the mod is listed again
    index.refreshChanged();

    std::vector<std::string> defs;
    for (const ModDefinition& d : index.definitionsOf("x"))
        defs.push_back(d.file + ":" + std::to_string(d.definition.line));
    EXPECT_EQ(defs, (std::vector<std::string>{"a.qc:2"}));
    std::vector<std::string> uses;
    for (const ModUsage& u : index.usagesOf("x"))
        uses.push_back(u.file + ":" + std::to_string(u.line));
    EXPECT_EQ(uses, (std::vector<std::string>{"a.qc:2", "b.qc:1", "new.qc:1"}));
    EXPECT_EQ(index.definitionsOf("\xe9x").size(), 1u);
    EXPECT_EQ(index.definitionsWhere([](const Definition& d) { return d.name.starts_with("x"); }, 1)
                  .size(),
              1u);

    index.closeText("a.qc");
    EXPECT_TRUE(index.definitionsOf("x").empty());
    EXPECT_EQ(index.definitionsOf("other").size(), 1u);
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

// Three monsters in compile order, each with frames of the same names.
class FrameScope : public ModIndex {
protected:
    void SetUp() override {
        write("progs.src", "progs.dat\nintro.qc\nplayer.qc\nzombie.qc\ndog.qc\n");
        write("intro.qc", "void() i = [$stand1, i] {};\n");
        write("player.qc", "$frame stand1 stand2\nvoid() p = [$stand1, p] {};\n");
        write("zombie.qc", "void() early = [$stand1, early] {};\n$frame stand1\n"
                           "void() z = [$stand1, z] {};\nvoid() z2 = [$stand2, z2] {};\n");
        write("dog.qc", "void() d = [$stand1, d] {};\n");
        m_index = DefinitionIndex::build(root());
    }
    // The byte offset of `name` on `line` (1-based) of `file`.
    std::size_t offsetOf(const std::string& file, int line, const std::string& name) {
        std::ifstream in(root() / file, std::ios::binary);
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        std::size_t start = 0;
        for (int l = 1; l < line; ++l)
            start = text.find('\n', start) + 1;
        return text.find(name, start);
    }
    DefinitionIndex m_index;
};

TEST_F(FrameScope, AUseTakesTheLastFrameLineBeforeItInCompileOrder) {
    struct Case {
        const char* name;
        const char* file;
        int line;
        const char* frame;
        const char* definition; // "file:line", "" for none
    };
    const Case cases[] = {
        {"its own file's line above it", "zombie.qc", 3, "stand1", "zombie.qc:2"},
        {"an earlier file's before the redefinition", "zombie.qc", 1, "stand1", "player.qc:1"},
        {"an earlier file's where nothing redefined it", "zombie.qc", 4, "stand2", "player.qc:1"},
        {"the last file that defined it, from a later file", "dog.qc", 1, "stand1", "zombie.qc:2"},
        {"the name on the $frame line itself", "zombie.qc", 2, "stand1", "zombie.qc:2"},
        {"none before the first $frame line", "intro.qc", 1, "stand1", ""},
    };
    for (const Case& c : cases) {
        const std::optional<ModDefinition> d =
            m_index.frameDefinitionAt(c.frame, c.file, offsetOf(c.file, c.line, c.frame));
        EXPECT_EQ(d ? d->file + ":" + std::to_string(d->definition.line) : "", c.definition)
            << c.name;
    }
}

TEST_F(FrameScope, UsagesAreTheUsesOfTheSameDefinitionAndEditedTextCounts) {
    auto places = [](const std::vector<ModUsage>& uses) {
        std::vector<std::string> out;
        for (const ModUsage& u : uses)
            out.push_back(u.file + ":" + std::to_string(u.line));
        return out;
    };
    EXPECT_EQ(places(m_index.frameUsagesAt("stand1", "dog.qc", offsetOf("dog.qc", 1, "stand1"))),
              (std::vector<std::string>{"zombie.qc:2", "zombie.qc:3", "dog.qc:1"}));
    // The dog's own $frame line, still unsaved, takes its use over.
    const DefinitionIndex::EditedText edited{"dog.qc",
                                             "$frame stand1\r\nvoid() d = [$stand1, d] {};\r\n"};
    EXPECT_EQ(places(m_index.frameUsagesAt("stand1", "zombie.qc",
                                           offsetOf("zombie.qc", 3, "stand1"), &edited)),
              (std::vector<std::string>{"zombie.qc:2", "zombie.qc:3"}));
}

TEST(ProgsSourceList, SkipsTheOutputFileAndComments) {
    EXPECT_EQ(progsSourceList("// head\n  progs.dat\n\tdefs.qc // first\nsub\\x.qc"),
              (std::vector<std::string>{"defs.qc", "sub/x.qc"}));
}

} // namespace
} // namespace talmo
