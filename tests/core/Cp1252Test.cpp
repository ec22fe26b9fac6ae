#include "Cp1252.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace pipeloop;

namespace
{
QByteArray allBytes()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(static_cast<char>(b));
    return bytes;
}
} // namespace

TEST(Cp1252Decode, AsciiAndLatin1BytesAreTheirOwnCharacters)
{
    const QString text = DecodeCp1252("Caf\xE9 \xA3"
                                      "5 \xFF");
    EXPECT_EQ(text, QString::fromUtf8("Café £5 ÿ"));
}

TEST(Cp1252Decode, TheWindowsPlaneHasItsTypographicCharacters)
{
    EXPECT_EQ(DecodeCp1252("\x80"), QString::fromUtf8("€"));
    EXPECT_EQ(DecodeCp1252("\x8A\x9A\x8C\x9C\x8E\x9E\x9F"), QString::fromUtf8("ŠšŒœŽžŸ"));
    EXPECT_EQ(DecodeCp1252("\x93quoted\x94 \x96 \x85 \x99"), QString::fromUtf8("“quoted” – … ™"));
}

TEST(Cp1252Decode, UnassignedBytesBecomeTheC1ControlsOfTheSameValue)
{
    for (const unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        const QString text = DecodeCp1252(QByteArray(1, static_cast<char>(b)));
        ASSERT_EQ(text.size(), 1);
        EXPECT_EQ(text.at(0).unicode(), b);
    }
}

TEST(Cp1252RoundTrip, EveryByteSequenceSurvivesDecodeAndEncode)
{
    const QByteArray bytes = allBytes();
    const QString text = DecodeCp1252(bytes);
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(EncodeCp1252(text), bytes);
    // Including NULs and long runs, in any order.
    QByteArray mixed;
    for (int i = 0; i < 100000; ++i)
        mixed.append(static_cast<char>((i * 7919) % 256));
    EXPECT_EQ(EncodeCp1252(DecodeCp1252(mixed)), mixed);
}

TEST(Cp1252RoundTrip, EveryCharacterWithAByteDecodesBackToItself)
{
    int encodable = 0;
    for (int c = 0; c < 0x10000; ++c) {
        if (c >= 0xD800 && c < 0xE000)
            continue;
        const char16_t ch = static_cast<char16_t>(c);
        const QByteArray bytes = EncodeCp1252(QStringView(&ch, 1));
        ASSERT_EQ(bytes.size(), 1) << c;
        if (bytes == "?" && c != '?')
            continue;
        ++encodable;
        EXPECT_EQ(DecodeCp1252(bytes), QString(QChar(ch))) << c;
    }
    EXPECT_EQ(encodable, 256); // a byte for each character, and no more
}

TEST(Cp1252Encode, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(EncodeCp1252(QString::fromUtf8("Ωmega ∑ 中")), QByteArray("?mega ? ?"));
    EXPECT_EQ(EncodeCp1252(QString::fromUtf8("a😀b")), QByteArray("a?b")); // one ? per character
    const char16_t loneSurrogates[] = {0xD800, u'x', 0xDC00};
    EXPECT_EQ(EncodeCp1252(QStringView(loneSurrogates, 3)), QByteArray("?x?"));
    // C1 controls other than the five unassigned bytes are not in the code page.
    EXPECT_EQ(EncodeCp1252(QString(QChar(0x80))), QByteArray("?"));
    EXPECT_EQ(EncodeCp1252(QString(QChar(0x81))), QByteArray("\x81"));
}

TEST(Cp1252Encode, WindowsCharactersGetTheirBytes)
{
    EXPECT_EQ(EncodeCp1252(QString::fromUtf8("€ ŠšŒœŽžŸ ƒ ˆ ˜ ‰ ‹› •")),
              QByteArray("\x80 \x8A\x9A\x8C\x9C\x8E\x9E\x9F \x83 \x88 \x98 \x89 \x8B\x9B \x95"));
    EXPECT_EQ(EncodeCp1252(QString()), QByteArray());
}

TEST(Cp1252Encode, TheBufferFormWritesNoMoreThanOneBytePerCharacter)
{
    const QString text = QString::fromUtf8("x😀y€");
    char buffer[8];
    std::memset(buffer, '#', sizeof buffer);
    const qsizetype n = EncodeCp1252(text, buffer);
    EXPECT_EQ(QByteArray(buffer, n), QByteArray("x?y\x80"));
    EXPECT_EQ(buffer[n], '#');
}

TEST(Cp1252Characters, SingleCharacterConversionsAgreeWithTheTextOnes)
{
    const QByteArray bytes = allBytes();
    const QString text = DecodeCp1252(bytes);
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(Cp1252ToUnicode(static_cast<unsigned char>(b)), text.at(b).unicode());
        EXPECT_EQ(Cp1252FromUnicode(text.at(b).unicode()), static_cast<char>(b));
    }
}
