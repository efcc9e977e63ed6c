// SPDX-License-Identifier: GPL-3.0-or-later
// Find-next (`comClick`): the next occurrence of a search text after the
// editor's selection, found with the editor's find (letter case ignored).
//
// Units: zero-based positions, a line break (CR LF) counting two. The search
// starts one position past the end of the selection, so an occurrence that
// begins right where the selection ends (or at the caret, or at position 0)
// is skipped. Nothing wraps around.
#pragma once

#include "Editor.h"

#include <optional>
#include <string_view>

namespace talmo {

// start := selStart + selLength + 1; n := max(0, |text| - start);
// the range [find(what, start, n), + |what|) of `text`. nullopt when nothing
// is found (always for an empty `what`).
std::optional<Range> findNext(std::string_view text, long selStart, long selLength,
                              std::string_view what);

// The same search on the editor's text and selection, through Editor::find.
std::optional<Range> findNext(const Editor& editor, std::string_view what);

// Find-next as `comClick` does it: when found, gives the editor the focus and
// selects the occurrence (scrolling it into view); otherwise changes nothing.
// Returns whether something was found.
bool findNextInEditor(Editor& editor, std::string_view what);

} // namespace talmo
