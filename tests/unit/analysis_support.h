// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the analysis tests: compare two editors character by
// character, and draw a text's formatting as a string.
#pragma once

#include "TextModel.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace talmo {
inline void PrintTo(const Range& r, std::ostream* os) {
    *os << "[" << r.start << ", +" << r.length << ")";
}
} // namespace talmo

namespace talmo::testsupport {

// One letter per character: '.' plain, 'B' bold, 'G' green, 'X' bold and
// green, 'b' blue, 'r' red, 'R' bold red, '?' anything else.
inline std::string markup(const Editor& e) {
    std::string out;
    for (long p = 0; p < e.length(); ++p) {
        const CharFormat f = e.formatAt(p);
        char c = '?';
        if (f.colour == kBlack)
            c = f.bold ? 'B' : '.';
        else if (f.colour == kGreen)
            c = f.bold ? 'X' : 'G';
        else if (f.colour == kBlue && !f.bold)
            c = 'b';
        else if (f.colour == kRed)
            c = f.bold ? 'R' : 'r';
        out += c;
    }
    return out;
}

// Same text, same format for every character, same selection, and the same
// format for the next typed text.
inline ::testing::AssertionResult sameEditors(const TextModel& expected, const TextModel& actual) {
    if (expected.text() != actual.text())
        return ::testing::AssertionFailure() << "texts differ";
    for (long p = 0; p < expected.length(); ++p)
        if (!(expected.formatAt(p) == actual.formatAt(p)))
            return ::testing::AssertionFailure() << "formats differ at " << p << "\n"
                                                 << markup(expected) << "\n"
                                                 << markup(actual);
    if (expected.selectionStart() != actual.selectionStart() ||
        expected.selectionLength() != actual.selectionLength())
        return ::testing::AssertionFailure()
               << "selections differ: " << expected.selectionStart() << "+"
               << expected.selectionLength() << " vs " << actual.selectionStart() << "+"
               << actual.selectionLength();
    if (expected.hasFocus() != actual.hasFocus())
        return ::testing::AssertionFailure() << "focus differs";
    // The next typed character shows the pending format.
    TextModel a = expected;
    TextModel b = actual;
    a.typeText("q");
    b.typeText("q");
    if (!(a.formatAt(a.selectionStart() - 1) == b.formatAt(b.selectionStart() - 1)))
        return ::testing::AssertionFailure() << "typing formats differ";
    return ::testing::AssertionSuccess();
}

// Leaves some earlier formatting on the text, as typing, a colorize or an
// earlier pass would, and a random selection.
inline void scribble(TextModel& m, std::mt19937& rng) {
    if (m.length() == 0)
        return;
    for (int i = 0; i < 3; ++i) {
        const long s = static_cast<long>(rng() % m.length());
        m.setSelectionStart(s);
        m.setSelectionLength(static_cast<long>(rng() % 8));
        if (rng() % 2)
            m.setSelectionColour(rng() % 2 ? kRed : kBlue);
        else
            m.setSelectionBold(true);
    }
    m.setSelectionStart(static_cast<long>(rng() % (m.length() + 1)));
    m.setSelectionLength(static_cast<long>(rng() % 5));
}

} // namespace talmo::testsupport
