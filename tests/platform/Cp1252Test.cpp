#include "platform/Cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252, EveryByteRoundTrips)
{
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all.push_back(static_cast<char>(byte));

    const QString text = cp1252::toQString(all);
    ASSERT_EQ(text.size(), 256);
    bool ok = false;
    EXPECT_EQ(cp1252::fromQString(text, &ok), all);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(cp1252::canEncode(text));
}

TEST(Cp1252, MapsTheWindowsCharacters)
{
    EXPECT_EQ(cp1252::toQString("\x80"), QString(QChar(0x20AC))); // euro sign
    EXPECT_EQ(cp1252::toQString("\x8A\x9F"), QString::fromUtf8("Š\u0178"));
    EXPECT_EQ(cp1252::toQString("\xC6\xD8\xC5\xE6\xF8\xE5"), QString::fromUtf8("ÆØÅæøå"));
    // The five undefined bytes become the C1 controls of the same value.
    for (const unsigned char byte : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        const QString text = cp1252::toQString(std::string(1, char(byte)));
        EXPECT_EQ(text, QString(QChar(byte))) << int(byte);
    }
    EXPECT_EQ(cp1252::fromQString(QString::fromUtf8("€ Ærø")), "\x80 \xC6r\xF8");
}

TEST(Cp1252, CharactersOutsideTheCodePageAreReported)
{
    bool ok = true;
    // U+0080 is a C1 control that code page 1252 has no byte for (0x80 is the
    // euro sign); Ω and the emoji are not in the code page at all.
    EXPECT_EQ(cp1252::fromQString(QString::fromUtf8("a\u03A9b"), &ok), "a?b");
    EXPECT_FALSE(ok);
    EXPECT_EQ(cp1252::fromQString(QString::fromUtf8("x\U0001F600y"), &ok), "x?y");
    EXPECT_FALSE(ok);
    EXPECT_FALSE(cp1252::canEncode(QString(QChar(0x80))));
    EXPECT_TRUE(cp1252::canEncode(QString()));
    EXPECT_EQ(cp1252::fromQString(QString(), &ok), "");
    EXPECT_TRUE(ok);
}
