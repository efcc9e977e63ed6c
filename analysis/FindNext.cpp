// SPDX-License-Identifier: GPL-3.0-or-later
#include "FindNext.h"

#include "Text.h"

#include <algorithm>

namespace talmo {

namespace {

long searchStart(long selStart, long selLength) {
    return selStart + selLength + 1;
}

std::optional<Range> toRange(long pos, std::string_view what) {
    if (pos < 0)
        return std::nullopt;
    return Range{pos, static_cast<long>(what.size())};
}

} // namespace

std::optional<Range> findNext(std::string_view text, long selStart, long selLength,
                              std::string_view what) {
    const long start = searchStart(selStart, selLength);
    const long n = std::max(0L, static_cast<long>(text.size()) - start);
    return toRange(findNoCase(text, what, start, n), what);
}

std::optional<Range> findNext(const Editor& editor, std::string_view what) {
    const long start = searchStart(editor.selectionStart(), editor.selectionLength());
    const long n = std::max(0L, editor.length() - start);
    return toRange(editor.find(what, start, n), what);
}

bool findNextInEditor(Editor& editor, std::string_view what) {
    const std::optional<Range> r = findNext(editor, what);
    if (!r)
        return false;
    editor.setFocus();
    editor.setSelectionStart(r->start);
    editor.setSelectionLength(r->length);
    return true;
}

} // namespace talmo
