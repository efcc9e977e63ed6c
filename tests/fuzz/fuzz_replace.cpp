// SPDX-License-Identifier: GPL-3.0-or-later
// Replace-all: the bulk edits applied to a text model give the same text,
// formats and caret as the operation done one occurrence at a time on the
// editor, and the result holds no occurrence of the search text that it
// should have replaced: every occurrence left touches an inserted replacement.
#include "FuzzSupport.h"
#include "SearchReplace.h"
#include "Text.h"
#include "TextModel.h"

namespace {

using talmo::TextModel;

bool stepByStepReplace(TextModel& m, std::string_view s, std::string_view r) {
    const long L = m.length();
    bool found = false;
    for (long p = m.find(s, 0, L); p >= 0; p = m.find(s, p + static_cast<long>(r.size()), L)) {
        m.setSelectionStart(p);
        m.setSelectionLength(static_cast<long>(s.size()));
        m.setSelectionColour(talmo::kBlue);
        m.replaceSelection(r);
        found = true;
    }
    return found;
}

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
    const std::string replacement = in.shortString();
    const std::uint8_t boldFrom = in.byte();
    const std::uint8_t boldLength = in.byte();
    const std::uint8_t caret = in.byte();

    TextModel bulk;
    bulk.setText(in.rest());
    const std::string before = bulk.text();
    const long L = bulk.length();
    TextModel steps;
    steps.setText(before);
    for (TextModel* m : {&bulk, &steps}) {
        m->applyBold({talmo::Range{boldFrom, boldLength}});
        m->setSelectionStart(caret);
    }

    const talmo::ReplaceResult result = talmo::computeReplace(before, search, replacement);
    TALMO_FUZZ_CHECK(result.found() == result.caret.has_value());
    long copied = 0;
    for (const talmo::Edit& e : result.edits) {
        TALMO_FUZZ_CHECK(e.start >= copied && e.length == static_cast<long>(search.size()));
        TALMO_FUZZ_CHECK(e.start + e.length <= L && occursAt(before, e.start, search));
        TALMO_FUZZ_CHECK(e.text == replacement && e.format.colour == talmo::kBlue);
        // Left to right without overlap: no occurrence lies wholly in the gap.
        for (long q = copied; q + e.length <= e.start; ++q)
            TALMO_FUZZ_CHECK(!occursAt(before, q, search));
        copied = e.start + e.length;
    }
    for (long q = copied; !search.empty() && q + static_cast<long>(search.size()) <= L; ++q)
        TALMO_FUZZ_CHECK(!occursAt(before, q, search));

    talmo::applyReplace(bulk, result);
    const bool found = stepByStepReplace(steps, search, replacement);
    TALMO_FUZZ_CHECK(found == result.found());
    TALMO_FUZZ_CHECK(bulk.text() == steps.text());
    for (long p = 0; p < bulk.length(); ++p)
        TALMO_FUZZ_CHECK(bulk.formatAt(p) == steps.formatAt(p));
    TALMO_FUZZ_CHECK(bulk.selectionStart() == steps.selectionStart());
    TALMO_FUZZ_CHECK(bulk.selectionLength() == steps.selectionLength());

    const std::string after = bulk.text();
    const long count = static_cast<long>(result.edits.size());
    const long r = static_cast<long>(replacement.size());
    TALMO_FUZZ_CHECK(static_cast<long>(after.size()) ==
                     L + count * (r - static_cast<long>(search.size())));
    if (!found) {
        TALMO_FUZZ_CHECK(after == before);
        return 0;
    }
    TALMO_FUZZ_CHECK(*result.caret == bulk.selectionStart() && bulk.selectionLength() == 0);
    // Where the replacements went in the new text.
    std::vector<long> inserted;
    long shift = 0;
    for (const talmo::Edit& e : result.edits) {
        inserted.push_back(e.start + shift);
        shift += r - e.length;
    }
    TALMO_FUZZ_CHECK(*result.caret == inserted.back() + r);
    const long n = static_cast<long>(search.size());
    for (long q = 0; q + n <= static_cast<long>(after.size()); ++q) {
        if (!occursAt(after, q, search))
            continue;
        bool madeByReplacement = false;
        for (long at : inserted)
            madeByReplacement =
                madeByReplacement || (r > 0 ? (q < at + r && at < q + n) : (q < at && at < q + n));
        TALMO_FUZZ_CHECK(madeByReplacement);
    }
    return 0;
}
