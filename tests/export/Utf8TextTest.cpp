// Code page 1252 to UTF-8, and the file-name check of the export.
#include "export/Utf8Text.h"
#include "export/SpreadsheetExport.h"

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

TEST(SpreadsheetFileNameTest, OnlyALowerCaseXlsxEndingIsAccepted) {
    EXPECT_TRUE(IsSpreadsheetFileName("/home/ana/vendas.xlsx"));
    EXPECT_TRUE(IsSpreadsheetFileName(".xlsx"));
    EXPECT_FALSE(IsSpreadsheetFileName("vendas.XLSX"));
    EXPECT_FALSE(IsSpreadsheetFileName("vendas.Xlsx"));
    EXPECT_FALSE(IsSpreadsheetFileName("vendas.xls"));
    EXPECT_FALSE(IsSpreadsheetFileName("vendas"));
    EXPECT_FALSE(IsSpreadsheetFileName("xlsx"));
    EXPECT_FALSE(IsSpreadsheetFileName("vendas.xlsx "));
    EXPECT_FALSE(IsSpreadsheetFileName(""));
}
