// SPDX-License-Identifier: GPL-3.0-or-later
// Where the reference pages document a word of QuakeC source: a builtin, a
// reserved word or a console command. No Qt.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talmo {

// The page indices of the reference notebook that hold entries.
inline constexpr int kConsolePage = 0;
inline constexpr int kLexPage = 1;
inline constexpr int kBuiltinPage = 2;

struct ReferenceEntry {
    int page = 0;           // index into the pages given
    std::size_t offset = 0; // zero-based character offset of the word in the page
    std::size_t length = 0; // the word's length
    friend bool operator==(const ReferenceEntry&, const ReferenceEntry&) = default;
};

// The entry documenting `word` in `pages` (the notebook's page texts, one
// byte a character, indexed as above), looked for in this order:
//  - a builtin: an unindented line of the builtin page that declares it
//    ("name = #");
//  - a reserved word: listed in the lex page's paragraph that begins with
//    "Reserved words", as one word between ",", ":", "(" or ")";
//  - a console command: a line of the console page that begins with it
//    (ignoring ASCII case, a leading "+" or "-" allowed), then a blank, a
//    "{" or the line's end.
// Words match whole; nullopt for a word that none documents or is empty.
std::optional<ReferenceEntry> findReferenceEntry(const std::vector<std::string>& pages,
                                                 std::string_view word);

// The items of the lex page's paragraph that begins with "Reserved words":
// the texts between ",", ":", "(" and ")", without blanks around them, each
// with its offset in `lexPage`; none when the page has no such paragraph.
struct PageItem {
    std::size_t offset = 0;
    std::string_view text;
};
std::vector<PageItem> reservedWordItems(std::string_view lexPage);

} // namespace talmo
