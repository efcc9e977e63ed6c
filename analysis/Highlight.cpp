// SPDX-License-Identifier: GPL-3.0-or-later
#include "Highlight.h"

#include "Text.h"

namespace talmo {

namespace {

constexpr std::string_view kOpen = "/*";
constexpr std::string_view kClose = "*/";
constexpr std::string_view kLineComment = "//";
constexpr std::string_view kCr = "\r";

} // namespace

Highlighting computeHighlighting(std::string_view text) {
    Highlighting h;
    const long size = static_cast<long>(text.size());

    for (std::string_view k : kHighlightKeywords) {
        const long n = static_cast<long>(k.size());
        for (long p = findNoCase(text, k, 0, size); p >= 0; p = findNoCase(text, k, p + n, size)) {
            h.bold.push_back(Range{p, n});
            h.selection = h.bold.back();
        }
    }

    long a = findNoCase(text, kOpen, 0, size);
    long b = a >= 0 ? findNoCase(text, kClose, a, size) : -1;
    while (a >= 0 && b >= 0) {
        h.green.push_back(Range{a, b - a + 2});
        h.selection = h.green.back();
        a = findNoCase(text, kOpen, b, size);
        b = a >= 0 ? findNoCase(text, kClose, a, size) : -1;
    }

    long s = findNoCase(text, kLineComment, 0, size);
    long e = s >= 0 ? findNoCase(text, kCr, s, size) : -1;
    while (s >= 0 && e >= 0) {
        h.green.push_back(Range{s, e - s});
        h.selection = h.green.back();
        s = findNoCase(text, kLineComment, e, size);
        e = s >= 0 ? findNoCase(text, kCr, s, size) : -1;
    }
    return h;
}

void applyHighlighting(Editor& editor, const Highlighting& h) {
    editor.applyBoldAndColour(h.bold, h.green, kGreen);
    if (h.selection) {
        editor.setSelectionStart(h.selection->start);
        editor.setSelectionLength(h.selection->length);
    }
}

void highlightEditor(Editor& editor) {
    applyHighlighting(editor, computeHighlighting(editor.text()));
}

} // namespace talmo
