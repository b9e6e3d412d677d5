// Letter case and trimming of code page 1252 text.
#include "util/AnsiText.h"

#include <gtest/gtest.h>

TEST(AnsiText, UpperCaseCoversAccentedLettersOnly) {
    EXPECT_EQ(AnsiUpperCase("a\xE7\xE3o \xFF\x9A\xF7 z1"), "A\xC7\xC3O \x9F\x8A\xF7 Z1");
    EXPECT_EQ(AnsiUpperCase("\xDF"), "\xDF"); // sharp s has no single capital
}

TEST(AnsiText, SameTextIgnoresCaseOfEveryLetter) {
    EXPECT_TRUE(AnsiSameText("nome", "NOME"));
    EXPECT_TRUE(AnsiSameText("a\xE7\xE3o", "A\xC7\xC3O"));
    EXPECT_FALSE(AnsiSameText("nome", "nomes"));
    EXPECT_FALSE(AnsiSameText("a", "b"));
}

TEST(AnsiText, TrimDropsBlanksAndControlCharacters) {
    EXPECT_EQ(Trim(" \t x y \r\n"), "x y");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(TrimRight("  x  "), "  x");
}
