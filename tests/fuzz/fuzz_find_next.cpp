// SPDX-License-Identifier: GPL-3.0-or-later
// Find-next: the occurrence found lies after the selection (one position past
// its end at the earliest) and inside the text, is the first one there, and
// the editor then selects exactly it; a failed search changes nothing.
#include "FindNext.h"
#include "FuzzSupport.h"
#include "Text.h"
#include "TextModel.h"

namespace {

// The first p >= start at which `what` occurs ignoring case, or -1.
long firstFrom(std::string_view text, std::string_view what, long start) {
    if (what.empty())
        return -1;
    const long n = static_cast<long>(what.size());
    for (long p = start; p + n <= static_cast<long>(text.size()); ++p) {
        long k = 0;
        while (k < n && talmo::foldCase(static_cast<unsigned char>(text[p + k])) ==
                            talmo::foldCase(static_cast<unsigned char>(what[k])))
            ++k;
        if (k == n)
            return p;
    }
    return -1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    talmo::fuzz::FuzzInput in(data, size);
    const std::string what = in.shortString();
    const long selFrom = in.upTo(4096);
    const long selLength = in.upTo(4096);
    talmo::TextModel m;
    m.setText(in.rest());
    m.setSelectionStart(selFrom);
    m.setSelectionLength(selLength);
    const long start = m.selectionStart();
    const long length = m.selectionLength();
    const std::string text = m.text();

    const std::optional<talmo::Range> onText = talmo::findNext(text, start, length, what);
    const std::optional<talmo::Range> onEditor = talmo::findNext(m, what);
    TALMO_FUZZ_CHECK(onText == onEditor);
    const long expected = firstFrom(text, what, start + length + 1);
    TALMO_FUZZ_CHECK(onText.has_value() == (expected >= 0));
    if (onText) {
        TALMO_FUZZ_CHECK(onText->start == expected);
        TALMO_FUZZ_CHECK(onText->start > start + length);
        TALMO_FUZZ_CHECK(onText->length == static_cast<long>(what.size()));
        TALMO_FUZZ_CHECK(talmo::fuzz::inside(*onText, m.length()));
    }

    const bool found = talmo::findNextInEditor(m, what);
    TALMO_FUZZ_CHECK(found == onText.has_value());
    TALMO_FUZZ_CHECK(m.hasFocus() == found);
    if (found) {
        TALMO_FUZZ_CHECK(m.selectionStart() == onText->start);
        TALMO_FUZZ_CHECK(m.selectionLength() == onText->length);
    } else {
        TALMO_FUZZ_CHECK(m.selectionStart() == start && m.selectionLength() == length);
    }
    TALMO_FUZZ_CHECK(m.text() == text);
    return 0;
}
