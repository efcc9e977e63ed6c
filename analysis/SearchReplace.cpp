// SPDX-License-Identifier: GPL-3.0-or-later
#include "SearchReplace.h"

#include "Text.h"

namespace talmo {

ColorizeResult computeColorize(std::string_view text, std::string_view search) {
    ColorizeResult result;
    const long size = static_cast<long>(text.size());
    const long n = static_cast<long>(search.size());
    for (long p = findNoCase(text, search, 0, size); p >= 0;
         p = findNoCase(text, search, p + n, size))
        result.marks.push_back(Range{p, n});
    if (!result.marks.empty())
        result.selection = result.marks.back();
    return result;
}

void applyColorize(Editor& editor, const ColorizeResult& result, Rgb colour) {
    if (!result.found())
        return;
    editor.applyColour(result.marks, colour);
    editor.setSelectionStart(result.selection->start);
    editor.setSelectionLength(result.selection->length);
}

ReplaceResult computeReplace(std::string_view text, std::string_view search,
                             std::string_view replacement) {
    ReplaceResult result;
    const long size = static_cast<long>(text.size());
    const long n = static_cast<long>(search.size());
    const long growth = static_cast<long>(replacement.size()) - n;
    long shift = 0; // new position - old position, before the next occurrence
    for (long p = findNoCase(text, search, 0, size); p >= 0;
         p = findNoCase(text, search, p + n, size)) {
        result.edits.push_back(Edit{p, n, std::string(replacement), CharFormat{kBlue, false}});
        result.caret = p + shift + static_cast<long>(replacement.size());
        shift += growth;
    }
    return result;
}

void applyReplace(Editor& editor, ReplaceResult result) {
    if (!result.found())
        return;
    for (Edit& e : result.edits)
        e.format.bold = editor.formatAt(e.start).bold;
    editor.applyEdits(result.edits);
    editor.setSelectionStart(*result.caret);
}

} // namespace talmo
