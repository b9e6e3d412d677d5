// Code page 1252 to UTF-8 and back.
#include "util/Utf8Text.h"

#include <gtest/gtest.h>

TEST(Utf8TextTest, EveryByteOfTheCodePageKeepsItsCharacter) {
    EXPECT_EQ(AnsiToUtf8("plain ASCII ~"), "plain ASCII ~");
    EXPECT_EQ(AnsiToUtf8("S\xE3o Jo\xE3o \xC7\xE9"), "S\u00e3o Jo\u00e3o \u00c7\u00e9");
    // Where the code page differs from Latin-1.
    EXPECT_EQ(AnsiToUtf8("\x80\x8A\x96\x99\x9F"), "\u20ac\u0160\u2013\u2122\u0178");
    // The undefined bytes pass through as control characters instead of vanishing.
    EXPECT_EQ(AnsiToUtf8("\x81\x8D\x8F\x90\x9D"), "\u0081\u008d\u008f\u0090\u009d");
    EXPECT_EQ(AnsiToUtf8("\xA0\xFF"), "\u00a0\u00ff");
    EXPECT_EQ(AnsiToUtf8(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Utf8TextTest, TextOfTheSystemComesBackIntoTheCodePage) {
    EXPECT_EQ(Utf8ToAnsi("Permiss\u00e3o negada"), "Permiss\xE3o negada");
    EXPECT_EQ(Utf8ToAnsi("/home/jos\u00e9/a\u00e7\u00e3o \u20ac \u0178"),
              "/home/jos\xE9/a\xE7\xE3o \x80 \x9F");
    // What the code page cannot hold, and bytes that are not UTF-8, are marked.
    EXPECT_EQ(Utf8ToAnsi("\u4e2d \U0001F600 ok"), "? ? ok");
    EXPECT_EQ(Utf8ToAnsi("a\xE3o \xC3"), "a?o ?");
    EXPECT_EQ(Utf8ToAnsi(std::string("a\0b", 3)), std::string("a\0b", 3));
    for (int byte = 0; byte < 256; ++byte) {
        if (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D)
            continue; // undefined in the code page
        const std::string one(1, static_cast<char>(byte));
        EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(one)), one) << byte;
    }
}

TEST(Utf8TextTest, OnlyWellFormedUtf8BeyondAsciiCountsAsTheSystemsText) {
    EXPECT_TRUE(IsUtf8BeyondAscii("Conex\u00e3o recusada"));
    EXPECT_FALSE(IsUtf8BeyondAscii("Connection refused"));
    EXPECT_FALSE(IsUtf8BeyondAscii("table \"A\xC7\xC3O\"")) << "a name in the code page";
    EXPECT_FALSE(IsUtf8BeyondAscii("S\xC3O PAULO"));
    EXPECT_FALSE(IsUtf8BeyondAscii(""));
}
