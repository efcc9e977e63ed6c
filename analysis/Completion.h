// SPDX-License-Identifier: GPL-3.0-or-later
// What may complete a name being typed: the mod's definitions, the engine's
// builtins, the language's reserved words and the console's commands and
// variables, filtered by the typed prefix. The same list serves the
// window's editor and the language server. No Qt.
#pragma once

#include "DefinitionIndex.h"
#include "NameAt.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace talmo {

// The words the reference pages document, with the line that declares or
// describes each.
struct LanguageWords {
    struct Word {
        std::string name;
        std::string line;
    };
    std::vector<Word> builtins;     // "float(float v) rint = #36;"
    std::vector<Word> keywords;     // reserved words; the line is empty
    std::vector<Word> consoleNames; // "bf    Flashes the screen ..."
};

// The words of the reference pages' texts: builtins are the unindented
// "name = #n" declarations of the builtin page, keywords the one-word items
// of the lex page's "Reserved words" paragraph, console names the first word
// of each unindented line of the console page.
LanguageWords languageWordsOf(std::string_view builtinPage, std::string_view lexPage,
                              std::string_view consolePage);

enum class CompletionKind { Definition, Builtin, Keyword, ConsoleName };

struct CompletionItem {
    std::string name;
    CompletionKind kind = CompletionKind::Definition;
    DefinitionKind definitionKind = DefinitionKind::Global; // for a Definition
    std::string file;                                       // of a Definition; empty for the others
    int line = 0;                                           // 1-based, of a Definition
    std::string lineText;                                   // the line that defines or describes it
    friend bool operator==(const CompletionItem&, const CompletionItem&) = default;
};

// The items that complete `prefix` (ASCII case ignored; an empty prefix
// takes all), sorted by name, those of the prefix's exact case first, one
// per name: a mod's definition (a body before its prototypes) wins over a
// builtin of the same name, which wins over a keyword, then a console name.
// After a "." only the mod's fields. At most `limit` items. `mod` holds the
// mod's definitions that may match (DefinitionIndex::definitionsWhere with
// startsWithNoCase).
std::vector<CompletionItem> completionsFor(std::string_view prefix, bool afterDot,
                                           const std::vector<ModDefinition>& mod,
                                           const LanguageWords& words, std::size_t limit = 200);

// The mod's definitions that may complete `typed`, for completionsFor: one
// per name and sort (a prototype apart from the rest, which it loses to),
// the fields only after a ".". At most `limit`.
std::vector<ModDefinition> completionCandidates(const DefinitionIndex& index, const NameAt& typed,
                                                std::size_t limit);

// What completes `typed` in the mod of `index`, with the builtins, keywords
// and console names of `words`: completionsFor over completionCandidates (up
// to 20 candidates an item). At most `limit` items.
std::vector<CompletionItem> completionsIn(const DefinitionIndex& index, const NameAt& typed,
                                          const LanguageWords& words, std::size_t limit);

// The line a call tip shows for `function`: its first jump target's line in
// the mod, else the builtin's; empty when neither holds a "(".
std::string prototypeOf(const DefinitionIndex& index, std::string_view function,
                        const LanguageWords& words);

// Whether the character typed just before `offset` opens the list by
// itself: it is the third character of a name (a number is no name), in code
// rather than in a comment or a string. `text` may begin anywhere before
// `offset`; it is read as code from its start.
bool opensCompletion(std::string_view text, std::size_t offset);

// Whether `name` begins with `prefix`, ASCII case ignored.
bool startsWithNoCase(std::string_view name, std::string_view prefix);

} // namespace talmo
