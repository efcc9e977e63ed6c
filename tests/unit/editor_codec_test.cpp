// SPDX-License-Identifier: GPL-3.0-or-later
// The one mapping between 8-bit text and Qt strings.
#include "TextCodec.h"

#include <gtest/gtest.h>

using talmo::bytesOfText;
using talmo::textOfBytes;

TEST(TextCodec, EveryByteIsOneCharacterAndComesBackTheSame) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const QString text = textOfBytes(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(bytesOfText(text), all);
}

TEST(TextCodec, TypedCharactersFindTheirWindows1252Bytes) {
    struct Case {
        const char16_t* typed;
        const char* bytes;
    } cases[] = {
        {u"\u20AC", "\x80"},           // euro sign
        {u"\u201C\u201D", "\x93\x94"}, // curly quotes
        {u"\u2014", "\x97"},           // em dash
        {u"\u00A0", "\xA0"},           // no-break space stays itself
        {u"\u0081", "\x81"},           // undefined byte: its C1 control
        {u"\u00FF", "\xFF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(bytesOfText(QString::fromUtf16(c.typed)), std::string(c.bytes))
            << QString::fromUtf16(c.typed).toStdString();
}

TEST(TextCodec, CharactersWithoutAByteAreRefusedAndNamed) {
    struct Case {
        const char16_t* text;
        const char16_t* refused;
    } cases[] = {
        {u"ab\u0416c", u"\u0416"},       // Cyrillic
        {u"x\U0001F600", u"\U0001F600"}, // a pair of surrogates, whole
        {u"\u0080", u"\u0080"},          // C1 of a byte that has a letter
    };
    for (const Case& c : cases) {
        QString refused;
        EXPECT_EQ(bytesOfText(QString::fromUtf16(c.text), &refused), std::nullopt);
        EXPECT_EQ(refused, QString::fromUtf16(c.refused));
    }
}
