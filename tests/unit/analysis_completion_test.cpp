// SPDX-License-Identifier: GPL-3.0-or-later
// Completion: which names complete a prefix, in which order, and the words
// read from the reference pages; the name and the call at a place of a text.
#include "Completion.h"
#include "NameAt.h"
#include "TextModel.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace talmo;

namespace {

ModDefinition def(std::string name, DefinitionKind kind, std::string file = "defs.qc",
                  int line = 1) {
    Definition d;
    d.name = name;
    d.kind = kind;
    d.line = line;
    return {std::move(file), d, "line of " + name};
}

const std::vector<ModDefinition> kMod = {
    def("health", DefinitionKind::Field, "defs.qc", 2),
    def("self", DefinitionKind::Global, "defs.qc", 3),
    def("think", DefinitionKind::Prototype, "defs.qc", 4),
    def("think", DefinitionKind::Function, "world.qc", 9),
    def("sound", DefinitionKind::Builtin, "defs.qc", 5),
    def("Setup", DefinitionKind::Function, "world.qc", 1),
    def("\xe9t\xe9", DefinitionKind::Constant, "w\xf6rld.qc", 7),
    def("stand1", DefinitionKind::Frame, "world.qc", 12),
};

LanguageWords words() {
    LanguageWords w;
    w.builtins = {{"sound", "void(entity e) sound = #8;"}, {"setorigin", "setorigin line"}};
    w.keywords = {{"self", ""}, {"string", ""}, {"while", ""}};
    w.consoleNames = {{"sensitivity", "sensitivity {value}"}, {"+attack", "+attack line"}};
    return w;
}

struct CompletionCase {
    const char* name;
    std::string prefix;
    bool afterDot;
    std::vector<std::string> expected; // "name/kind/file:line"
};

void PrintTo(const CompletionCase& c, std::ostream* os) {
    *os << c.name;
}

std::string shown(const CompletionItem& item) {
    static const char* kinds[] = {"def", "builtin", "keyword", "console"};
    std::string text = item.name + "/" + kinds[static_cast<int>(item.kind)];
    if (item.kind == CompletionKind::Definition)
        text += "/" + item.file + ":" + std::to_string(item.line);
    return text;
}

class Completions : public ::testing::TestWithParam<CompletionCase> {};

TEST_P(Completions, AreFilteredRankedAndSorted) {
    const CompletionCase& c = GetParam();
    std::vector<std::string> got;
    for (const CompletionItem& item : completionsFor(c.prefix, c.afterDot, kMod, words()))
        got.push_back(shown(item));
    EXPECT_EQ(got, c.expected);
}

// clang-format off
const CompletionCase kCompletionCases[] = {
    {"ModWinsOverKeywordAndBuiltin", "s", false,
     {"self/def/defs.qc:3", "sensitivity/console", "setorigin/builtin", "sound/def/defs.qc:5",
      "stand1/def/world.qc:12", "string/keyword", "Setup/def/world.qc:1"}},
    {"BodyWinsOverPrototype", "th", false, {"think/def/world.qc:9"}},
    {"CaseIgnoredExactCaseFirst", "SE", false,
     {"Setup/def/world.qc:1", "self/def/defs.qc:3", "sensitivity/console", "setorigin/builtin"}},
    {"AfterDotOnlyFields", "", true, {"health/def/defs.qc:2"}},
    {"AfterDotNoField", "se", true, {}},
    {"EightBitName", "\xe9", false, {"\xe9t\xe9/def/w\xf6rld.qc:7"}},
    {"ConsoleNameWithPlus", "+a", false, {"+attack/console"}},
    {"NoMatch", "zz", false, {}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Table, Completions, ::testing::ValuesIn(kCompletionCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(Completions, StopAtTheLimit) {
    EXPECT_EQ(completionsFor("", false, kMod, words(), 3).size(), 3u);
}

TEST(LanguageWords, ReadFromThePages) {
    const LanguageWords w = languageWordsOf(
        "3. Builtins\n\nfloat() random = #7;\n    float() example = #1;\nvoid(vector v) "
        "makevectors = #1;\r\n",
        "Intro.\n\nReserved words cannot be used: float, vector,\nwhile, and the rest (for, "
        "const).\n\nfloat x;",
        "alias {name} {commands}     Makes a command.\n                  more text\n+attack   "
        "Fires.\nbf\n");
    std::vector<std::string> names;
    for (const auto& b : w.builtins)
        names.push_back(b.name + "|" + b.line);
    EXPECT_EQ(names, (std::vector<std::string>{"random|float() random = #7;",
                                               "makevectors|void(vector v) makevectors = #1;"}));
    names.clear();
    for (const auto& k : w.keywords)
        names.push_back(k.name);
    EXPECT_EQ(names, (std::vector<std::string>{"float", "vector", "while", "for", "const"}));
    names.clear();
    for (const auto& c : w.consoleNames)
        names.push_back(c.name);
    EXPECT_EQ(names, (std::vector<std::string>{"alias", "+attack", "bf"}));
}

struct CallCase {
    const char* name;
    std::string text; // "|" marks the place
    std::optional<std::string> function;
    int argument;
};

void PrintTo(const CallCase& c, std::ostream* os) {
    *os << c.name;
}

class CallAtPlace : public ::testing::TestWithParam<CallCase> {};

TEST_P(CallAtPlace, FindsTheFunctionAndArgument) {
    const CallCase& c = GetParam();
    std::string text = c.text;
    const std::size_t at = text.find('|');
    text.erase(at, 1);
    const std::optional<CallAt> call = callAtOffset(text, at);
    ASSERT_EQ(call.has_value(), c.function.has_value());
    if (call) {
        EXPECT_EQ(call->function, *c.function);
        EXPECT_EQ(call->argument, c.argument);
    }
}

// clang-format off
const CallCase kCallCases[] = {
    {"FirstArgument", "sound(|", "sound", 0},
    {"ThirdArgument", "sound (self, 1, |", "sound", 2},
    {"InnerCallsSkipped", "sound(self, vlen(a, b), |", "sound", 2},
    {"InsideInnerCall", "sound(self, vlen(a, |", "vlen", 1},
    {"AcrossLines", "sound(self,\n\t|", "sound", 1},
    {"StatementEnds", "sound(self); |", std::nullopt, 0},
    {"NoNameBeforeParen", "x = (|", std::nullopt, 0},
    {"EightBitName", "\xe9t\xe9(|", "\xe9t\xe9", 0},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Table, CallAtPlace, ::testing::ValuesIn(kCallCases),
                         [](const auto& p) { return std::string(p.param.name); });

TEST(NameAtPlace, KnowsDotsAndDollars) {
    const std::string text = "self . health = $stand1 + 1x;";
    const auto field = nameAtOffset(text, 9);
    ASSERT_TRUE(field);
    EXPECT_EQ(field->name, "health");
    EXPECT_TRUE(field->afterDot);
    const auto frame = nameAtOffset(text, 17);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->name, "stand1");
    EXPECT_TRUE(frame->afterDollar);
    EXPECT_FALSE(nameAtOffset(text, 26)) << "a number is no name";
    EXPECT_FALSE(nameAtOffset(text, 999));
    EXPECT_EQ(typedPrefix(text, 2).name, "se");
}

} // namespace

TEST(NameAtPlace, InAnEditorIsReadAroundThePositionAndAgreesWithTheWholeText) {
    // A name far from the start, longer than the first stretch read around it.
    const std::string name(700, 'n');
    const std::string text = std::string(5000, ' ') + "self. " + name + " = 1;";
    talmo::TextModel editor;
    editor.setText(text);
    for (const long position : {5006L, 5400L, 5706L}) {
        const auto fromEditor = talmo::nameAt(editor, position);
        const auto fromText = talmo::nameAtOffset(text, static_cast<std::size_t>(position));
        ASSERT_TRUE(fromEditor && fromText) << position;
        EXPECT_EQ(fromEditor->name, name) << position;
        EXPECT_EQ(fromEditor->start, fromText->start) << position;
        EXPECT_TRUE(fromEditor->afterDot) << position;
    }
}

TEST(OpensCompletion, AtTheThirdCharacterOfAName) {
    const struct {
        const char* name;
        std::string text;
        bool opens;
    } cases[] = {
        {"third character", "  sel", true},
        {"second character", "  se", false},
        {"fourth character", "  self", false},
        {"third after a dot", "self.hea", true},
        {"third digit of a number", "x = 100", false},
        {"number's letters", "x = 1e5", false},
        {"after a blank", "sel ", false},
        {"whole text", "abc", true},
        {"in a line comment", "x = 1; // the", false},
        {"on the line after a comment", "// note\n  sel", true},
        {"in a block comment", "/* a\n the", false},
        {"after a block comment", "/* a */ sel", true},
        {"in a string", "bprint(\"the", false},
        {"after a string with a quote in it", "s = \"a\\\"b\"; sel", true},
        {"a comment mark inside a string", "s = \"//\"; sel", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(opensCompletion(c.text, c.text.size()), c.opens) << c.name;
}
