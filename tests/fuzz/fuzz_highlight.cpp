// SPDX-License-Identifier: GPL-3.0-or-later
// The highlighting pass: the bulk computation applied to a text model must
// format exactly what the pass done step by step on the editor formats, and
// every range it gives must lie inside the text and hold what it marks.
#include "FuzzSupport.h"
#include "Highlight.h"
#include "Text.h"
#include "TextModel.h"

namespace {

using talmo::Range;
using talmo::TextModel;

// The pass one occurrence at a time, through the editor's find and selection.
void highlightStepByStep(TextModel& m) {
    const long L = m.length();
    for (std::string_view k : talmo::kHighlightKeywords) {
        for (long p = m.find(k, 0, L); p >= 0; p = m.find(k, p + m.selectionLength(), L)) {
            m.setSelectionStart(p);
            m.setSelectionLength(static_cast<long>(k.size()));
            m.setSelectionBold(true);
        }
    }
    long a = m.find("/*", 0, L);
    long b = a >= 0 ? m.find("*/", a, L) : -1;
    while (a >= 0 && b >= 0) {
        m.setSelectionStart(a);
        m.setSelectionLength(b - a + 2);
        m.setSelectionColour(talmo::kGreen);
        a = m.find("/*", b, L);
        b = a >= 0 ? m.find("*/", a, L) : -1;
    }
    long s = m.find("//", 0, L);
    long e = s >= 0 ? m.find("\r", s, L) : -1;
    while (s >= 0 && e >= 0) {
        m.setSelectionStart(s);
        m.setSelectionLength(e - s);
        m.setSelectionColour(talmo::kGreen);
        s = m.find("//", e, L);
        e = s >= 0 ? m.find("\r", s, L) : -1;
    }
}

bool sameNoCase(std::string_view text, long at, std::string_view what) {
    for (std::size_t i = 0; i < what.size(); ++i)
        if (talmo::foldCase(static_cast<unsigned char>(text[at + i])) !=
            talmo::foldCase(static_cast<unsigned char>(what[i])))
            return false;
    return true;
}

void checkRanges(std::string_view text, const talmo::Highlighting& h) {
    const long size = static_cast<long>(text.size());
    for (const Range& r : h.bold) {
        TALMO_FUZZ_CHECK(talmo::fuzz::inside(r, size) && r.length > 0);
        bool isKeyword = false;
        for (std::string_view k : talmo::kHighlightKeywords)
            isKeyword = isKeyword ||
                        (r.length == static_cast<long>(k.size()) && sameNoCase(text, r.start, k));
        TALMO_FUZZ_CHECK(isKeyword);
    }
    // Occurrences of one keyword come left to right without overlap.
    for (std::size_t i = 1; i < h.bold.size(); ++i) {
        const Range& prev = h.bold[i - 1];
        const Range& next = h.bold[i];
        if (next.length == prev.length &&
            sameNoCase(text, next.start, text.substr(prev.start, prev.length)))
            TALMO_FUZZ_CHECK(next.start >= prev.start + prev.length);
    }
    for (const Range& r : h.green) {
        TALMO_FUZZ_CHECK(talmo::fuzz::inside(r, size) && r.length >= 2);
        const std::string_view g = text.substr(r.start, r.length);
        if (g.substr(0, 2) == "/*" && g.size() >= 3 && g.substr(g.size() - 2) == "*/")
            continue; // a block comment
        // Otherwise a line comment: up to the first CR after its "//".
        TALMO_FUZZ_CHECK(g.substr(0, 2) == "//");
        TALMO_FUZZ_CHECK(g.find('\r') == std::string_view::npos);
        TALMO_FUZZ_CHECK(r.start + r.length < size && text[r.start + r.length] == '\r');
    }
    if (h.selection) {
        TALMO_FUZZ_CHECK(talmo::fuzz::inside(*h.selection, size));
        const bool formatted =
            (!h.green.empty() && *h.selection == h.green.back()) ||
            (h.green.empty() && !h.bold.empty() && *h.selection == h.bold.back());
        TALMO_FUZZ_CHECK(formatted);
    } else {
        TALMO_FUZZ_CHECK(h.bold.empty() && h.green.empty());
    }
}

bool sameFormatting(const TextModel& a, const TextModel& b) {
    if (a.text() != b.text())
        return false;
    for (long p = 0; p < a.length(); ++p)
        if (!(a.formatAt(p) == b.formatAt(p)))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    talmo::fuzz::FuzzInput in(data, size);
    // Formatting left by earlier operations stays where the pass does not
    // touch it: start both models from the same red run and caret.
    const std::uint8_t redFrom = in.byte();
    const std::uint8_t redLength = in.byte();
    const std::uint8_t caret = in.byte();
    const std::string raw = in.rest();

    // Any bytes at all: ranges inside the text and holding what they mark.
    checkRanges(raw, talmo::computeHighlighting(raw));

    TextModel bulk;
    bulk.setText(raw);
    TextModel steps;
    steps.setText(raw);
    for (TextModel* m : {&bulk, &steps}) {
        m->applyColour({Range{redFrom, redLength}}, talmo::kRed);
        m->setSelectionStart(caret);
    }
    const talmo::Highlighting h = talmo::computeHighlighting(bulk.text());
    checkRanges(bulk.text(), h);
    talmo::applyHighlighting(bulk, h);
    highlightStepByStep(steps);
    TALMO_FUZZ_CHECK(sameFormatting(bulk, steps));
    TALMO_FUZZ_CHECK(bulk.selectionStart() == steps.selectionStart());
    TALMO_FUZZ_CHECK(bulk.selectionLength() == steps.selectionLength());
    TALMO_FUZZ_CHECK(bulk.selectionStart() + bulk.selectionLength() <= bulk.length());

    // A second run changes nothing.
    TextModel again;
    again.setText(raw);
    again.applyColour({Range{redFrom, redLength}}, talmo::kRed);
    talmo::highlightEditor(again);
    talmo::highlightEditor(again);
    TALMO_FUZZ_CHECK(sameFormatting(bulk, again));
    return 0;
}
