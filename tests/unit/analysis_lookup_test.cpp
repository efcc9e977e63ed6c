// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReferenceLookup.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using talmo::ReferenceEntry;

TEST(ReferenceLookup, FindsTheEntryThatDocumentsAWord) {
    const std::vector<std::string> pages = {
        // console
        "alias {name}      Makes a command.\n"
        "+attack           Fires.\n"
        "cd {on/off}       CD audio; \"cd\" alone shows it.\n"
        "random_thing      Not the builtin.\n",
        // lex
        "The words if and else appear in prose first.\n"
        "\n"
        "Reserved words cannot be used as names: float, if, else,\n"
        "return, and the extras (for, const).  A name like \"iffy\" is fine.\n",
        // builtin
        "Use random() for dice, see random = the one below.\n"
        "    float() random = #7;\n"
        "float() random = #7;\n"
        "void(entity e) remove   =  #15;\n",
    };
    struct Case {
        const char* name;
        const char* word;
        std::optional<ReferenceEntry> entry;
    };
    const std::string& lex = pages[1];
    const std::string& builtin = pages[2];
    const Case cases[] = {
        {"a builtin at its declaration", "random",
         ReferenceEntry{2, builtin.find("\nfloat() random") + 9, 6}},
        {"a builtin with blanks around =", "remove", ReferenceEntry{2, builtin.find("remove"), 6}},
        {"a reserved word in the list, not in prose", "if", ReferenceEntry{1, lex.find("if,"), 2}},
        {"the first reserved word after the colon", "float",
         ReferenceEntry{1, lex.find("float"), 5}},
        {"a reserved word after a line break", "return",
         ReferenceEntry{1, lex.find("return"), 6}},
        {"a reserved word in parentheses", "for", ReferenceEntry{1, lex.find("for,"), 3}},
        {"a console command in another case", "CD", ReferenceEntry{0, pages[0].find("cd {"), 2}},
        {"a console command after +", "attack", ReferenceEntry{0, pages[0].find("attack"), 6}},
        {"a word that only begins an entry", "rand", std::nullopt},
        {"a word of the prose only", "name", std::nullopt},
        {"a word that is no identifier", "if,", std::nullopt},
        {"nothing", "", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(talmo::findReferenceEntry(pages, c.word), c.entry) << c.name;
}
