// SPDX-License-Identifier: GPL-3.0-or-later
// Colorize Search (`Button3Click`) and Search and Replace (`Button4Click`),
// computed on the whole text and applied in bulk. The window hides the editor
// around the apply and shows the Edit page when something was found.
//
// Units: zero-based positions, a line break (CR LF) counting two. Searches are
// the editor's find (findNoCase): letter case ignored, any substring, an empty
// search text never found. Occurrences are taken left to right without
// overlap.
#pragma once

#include "Editor.h"

#include <optional>
#include <string_view>
#include <vector>

namespace talmo {

struct ColorizeResult {
    // Every occurrence: p := find(s, 0); then p := find(s, p + |s|).
    std::vector<Range> marks;
    // The last mark, which the operation leaves selected; nullopt when
    // nothing was found (the selection then stays as it was).
    std::optional<Range> selection;
    bool found() const { return !marks.empty(); }
};

ColorizeResult computeColorize(std::string_view text, std::string_view search);

// Marks every range in `colour` and selects the last one.
void applyColorize(Editor& editor, const ColorizeResult& result, Rgb colour);

struct ReplaceResult {
    // One edit per occurrence, in positions of the text before the operation,
    // sorted and not overlapping; each becomes the replacement text in blue.
    // The bold flag of an edit's format is false here: the real replacement
    // keeps the bold of the occurrence's first character, which only the
    // editor knows (applyReplace fills it in).
    std::vector<Edit> edits;
    // Caret after the operation, in positions of the new text: right after
    // the last inserted replacement. nullopt when nothing was found.
    std::optional<long> caret;
    bool found() const { return !edits.empty(); }
};

// The step-by-step operation replaces at p, then searches from p + |r| in the
// changed text, and that search reaches the end of the text. What follows
// p + |r| is the unchanged tail of the original text after the occurrence, so
// a replacement never joins with the following text into a new occurrence,
// and the operation equals a left-to-right scan of the original text that
// resumes after each occurrence.
ReplaceResult computeReplace(std::string_view text, std::string_view search,
                             std::string_view replacement);

// Applies the edits (blue, keeping the bold of each occurrence's first
// character, as replacing the selection does) and puts the caret after the
// last replacement with nothing selected. Nothing happens when nothing was
// found.
void applyReplace(Editor& editor, ReplaceResult result);

} // namespace talmo
