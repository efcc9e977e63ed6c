// SPDX-License-Identifier: GPL-3.0-or-later
// The definitions and the usages of names in one QuakeC source text, found
// from its tokens: no compiler, no preprocessor. Comments ("//" to the line
// end, "/* */") and strings ("..." and '...' vectors, each ending at its
// closing quote or its line end) are skipped.
//
// Lines are 1-based and end at LF, CR LF or a lone CR, as the editor splits
// them; a column is the byte offset of the name within its line (0-based).
// An identifier is a run of letters, digits, "_" and bytes 0x80-0xFF other
// than 0xA0, not starting with a digit.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talmo {

enum class DefinitionKind {
    Prototype, // a function declared without its body: void() think;
    Function,  // a function with its body: void() think = { ... };
    Builtin,   // a function of the engine: float(float v) rint = #36;
    Field,     // an entity field: .float health;
    Global,    // a global variable: entity self;
    Constant,  // a global with a value, or a #define: float TRUE = 1;
    Frame,     // a $frame macro: $frame stand1 stand2
    Type,      // a type of the mod: typedef float strbuf; accessor, enum, class, struct
};

// A short lower-case word for the kind ("function", "prototype", ...).
std::string_view definitionKindName(DefinitionKind kind);

struct Definition {
    std::string name;
    DefinitionKind kind = DefinitionKind::Global;
    int line = 0;
    int column = 0;
    std::size_t offset = 0; // byte offset of the name in the text
};

// Every top-level definition of `text`, in text order. Declarations inside a
// function body (locals) are not definitions of the mod. A declaration that
// lacks its ";" ends where the next line begins a declaration, and a body
// left open ends before the next line that begins a function, a field or a
// $frame at its first column, so a fault hides no more than its own
// statement. A word that is no type of the language is taken as a type
// (declared elsewhere: "strbuf") where a declaration's shape follows it.
std::vector<Definition> scanDefinitions(std::string_view text);
// The same, added to the end of `out`: a scan of many texts uses one vector's
// room for all.
void scanDefinitionsInto(std::string_view text, std::vector<Definition>& out);

// Where to select the definition `wanted` (of `wanted.name`, as an index saw
// it) in `text`, which may have changed since: the byte offset of the name at
// the definition's line and column when it is still there, else of the first
// definition of that name and kind in the text; nullopt when there is none.
std::optional<std::size_t> definitionPlace(std::string_view text, const Definition& wanted);

struct TextUsage {
    int line = 0;
    int column = 0;
    std::size_t lineStart = 0;  // byte offset of the line in the text
    std::size_t lineLength = 0; // without its line break
};

// Every occurrence of the identifier `name` in `text` as a whole word with
// exact case, outside comments and strings, in text order. A name that is
// no identifier has none.
std::vector<TextUsage> findUsagesInText(std::string_view text, std::string_view name);

// The line of `text` that holds byte `offset`, without its line break.
std::string_view lineAround(std::string_view text, std::size_t offset);

// Whether `c` may stand inside an identifier.
bool isIdentifierByte(unsigned char c);

} // namespace talmo
