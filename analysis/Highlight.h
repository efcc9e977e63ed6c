// SPDX-License-Identifier: GPL-3.0-or-later
// The highlighting pass (`syntaxcolorClick`): six QuakeC type keywords bold,
// block and line comments green. Computed on the whole text, applied in bulk.
//
// Units: zero-based positions into the editor text, where a line break is
// CR LF and counts two. Every search is the editor's find (findNoCase):
// letter case ignored, any substring, forward from its start to the text's end.
#pragma once

#include "Editor.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace talmo {

// Searched in this order; the last one that occurs gives the final selection
// when the text holds no comment.
inline constexpr std::array<std::string_view, 6> kHighlightKeywords = {"void",  "string", "float",
                                                                       "local", "vector", "entity"};

struct Highlighting {
    // Every keyword occurrence, keyword by keyword, each left to right.
    std::vector<Range> bold;
    // Block comments ("/*" through "*/") then line comments ("//" up to the
    // next CR), each kind left to right. Ranges may overlap.
    std::vector<Range> green;
    // The last range the pass formats: the last line comment, else the last
    // block comment, else the last bold range. nullopt when nothing is
    // formatted, and then the selection stays as it was.
    std::optional<Range> selection;
};

// The pass on `text`:
// - each keyword: p := find(k, 0); while found, bold [p, p + |k|) and
//   p := find(k, p + |k|);
// - a := find("/*", 0), b := find("*/", a) (from the opening marker itself, so
//   "/*/" is a whole comment); while both found, green [a, b + 2),
//   a := find("/*", b), b := find("*/", a);
// - s := find("//", 0), e := find(CR, s); while both found, green [s, e),
//   s := find("//", e), e := find(CR, s).
// An unclosed "/*" or a "//" with no CR after it ends its step.
Highlighting computeHighlighting(std::string_view text);

// Applies `h` to the editor: bold ranges, green ranges, then selects
// h.selection (when set) as the last step of the pass would.
void applyHighlighting(Editor& editor, const Highlighting& h);

// The whole pass on the editor's current text (`syntaxcolorClick`).
void highlightEditor(Editor& editor);

} // namespace talmo
