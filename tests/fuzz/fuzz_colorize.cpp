// SPDX-License-Identifier: GPL-3.0-or-later
// Colorize Search: the marks are every occurrence, left to right without
// overlap, inside the text; applied in bulk they colour exactly what the
// step-by-step operation colours and leave the last one selected.
#include "FuzzSupport.h"
#include "SearchReplace.h"
#include "Text.h"
#include "TextModel.h"

namespace {

bool occursAt(std::string_view text, long at, std::string_view what) {
    for (std::size_t i = 0; i < what.size(); ++i)
        if (talmo::foldCase(static_cast<unsigned char>(text[at + i])) !=
            talmo::foldCase(static_cast<unsigned char>(what[i])))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    talmo::fuzz::FuzzInput in(data, size);
    const std::string search = in.shortString();
    const talmo::Rgb colour{in.byte(), in.byte(), in.byte()};
    const std::uint8_t caret = in.byte();
    talmo::TextModel bulk;
    bulk.setText(in.rest());
    const std::string text = bulk.text();
    const long L = bulk.length();
    talmo::TextModel steps;
    steps.setText(text);
    bulk.setSelectionStart(caret);
    steps.setSelectionStart(caret);

    const talmo::ColorizeResult result = talmo::computeColorize(text, search);
    const long n = static_cast<long>(search.size());
    long end = 0;
    for (const talmo::Range& r : result.marks) {
        TALMO_FUZZ_CHECK(talmo::fuzz::inside(r, L) && r.length == n && n > 0 && r.start >= end);
        TALMO_FUZZ_CHECK(occursAt(text, r.start, search));
        for (long q = end; q + n <= r.start; ++q)
            TALMO_FUZZ_CHECK(!occursAt(text, q, search));
        end = r.start + r.length;
    }
    for (long q = end; n > 0 && q + n <= L; ++q)
        TALMO_FUZZ_CHECK(!occursAt(text, q, search));
    TALMO_FUZZ_CHECK(result.found() == result.selection.has_value());
    if (result.found())
        TALMO_FUZZ_CHECK(*result.selection == result.marks.back());

    talmo::applyColorize(bulk, result, colour);
    for (long p = steps.find(search, 0, L); p >= 0;
         p = steps.find(search, p + steps.selectionLength(), L)) {
        steps.setSelectionStart(p);
        steps.setSelectionLength(n);
        steps.setSelectionColour(colour);
    }
    TALMO_FUZZ_CHECK(bulk.text() == text);
    for (long p = 0; p < L; ++p)
        TALMO_FUZZ_CHECK(bulk.formatAt(p) == steps.formatAt(p));
    TALMO_FUZZ_CHECK(bulk.selectionStart() == steps.selectionStart());
    TALMO_FUZZ_CHECK(bulk.selectionLength() == steps.selectionLength());
    TALMO_FUZZ_CHECK(bulk.selectionStart() + bulk.selectionLength() <= L);
    return 0;
}
