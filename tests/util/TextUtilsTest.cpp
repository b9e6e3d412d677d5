#include "util/TextUtils.h"

#include <climits>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

TEST(StrZerosTest, FillsCutsAndKeepsTheSignInsideTheWidth) {
    struct Case {
        int32_t number, width;
        const char* expected;
    };
    for (const Case& c :
         {Case{7, 3, "007"}, Case{0, 2, "00"}, Case{12345, 2, "45"}, Case{5, 0, ""}, Case{5, -1, ""},
          Case{-5, 3, "0-5"}, Case{-5, 1, "5"}, Case{INT32_MIN, 12, "0-2147483648"}})
        EXPECT_EQ(StrZeros(c.number, c.width), c.expected) << c.number << " width " << c.width;
}

TEST(IncluiBarraTest, AddsOneBackslashUnlessPresent) {
    EXPECT_EQ(IncluiBarra("C:\\dados"), "C:\\dados\\");
    EXPECT_EQ(IncluiBarra("C:\\dados\\"), "C:\\dados\\");
    EXPECT_EQ(IncluiBarra(""), "\\");
    EXPECT_EQ(IncluiBarra("/home/user/"), "/home/user/\\");
}

TEST(TiraAcentoTest, ReplacesAccentedLettersAndTheApostrophe) {
    EXPECT_EQ(TiraAcento("S\xE3o Jo\xE3o"), "SAo JoAo");
    EXPECT_EQ(TiraAcento("a\xE7\xE3o"), "aCAo");
    EXPECT_EQ(TiraAcento("Av. 25 de Mar\xE7o, n\xBA 10"), "Av. 25 de MarCo, no 10");
    EXPECT_EQ(TiraAcento("d'\xC1vila"), "d Avila");
    // Every entry of the replacement table.
    EXPECT_EQ(TiraAcento("\xC1\xC0\xC2\xC3\xE1\xE0\xE2\xE3\xC9\xCA\xC8\xE9\xEA\xE8\xCD\xCE\xCC\xED\xEE\xEC"),
              "AAAAAAAAEEEEEEIIIIII");
    EXPECT_EQ(TiraAcento("\xD3\xD2\xD4\xD5\xF3\xF2\xF4\xF5\xDA\xD9\xDB\xFA\xF9\xFB\xC7\xE7\xAA\xBA"),
              "OOOOOOOOUUUUUUCCoo");
}

TEST(TiraAcentoTest, KeepsPrintableAsciiAndDropsTheRest) {
    const std::string kept = " !\"#$%&()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[]^_"
                             "abcdefghijklmnopqrstuvwxyz{|}~";
    EXPECT_EQ(TiraAcento(kept), kept);
    EXPECT_EQ(TiraAcento("C:\\dados"), "C:dados");
    EXPECT_EQ(TiraAcento("linha\r\n\tnova`\x7F"), "linhanova");
    EXPECT_EQ(TiraAcento(std::string("a\0b", 3)), "ab");
    // Diaeresis, n with tilde and unlisted high bytes.
    EXPECT_EQ(TiraAcento("\xC4\xCB\xCF\xD6\xDC\xE4\xEB\xEF\xF6\xFC\xD1\xF1\x80\xFF"), "");
    EXPECT_EQ(TiraAcento(""), "");
}

TEST(SomenteNumerosTest, KeepsOnlyDigits) {
    EXPECT_EQ(SomenteNumeros("R$ 1.234,56"), "123456");
    EXPECT_EQ(SomenteNumeros("-12,50"), "1250");
    EXPECT_EQ(SomenteNumeros("abc"), "");
    EXPECT_EQ(SomenteNumeros(""), "");
    EXPECT_EQ(SomenteNumeros("\xB2\xB3\xB9 0"), "0"); // superscript digits are not digits
}

TEST(DiretorioAplicacaoTest, IsTheExecutablesDirectoryWithTrailingSlash) {
    const std::string directory = DiretorioAplicacao();
    ASSERT_FALSE(directory.empty());
    EXPECT_EQ(directory.front(), '/');
    EXPECT_EQ(directory.back(), '/');
    EXPECT_EQ(directory.find("corvelo_util_tests"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_regular_file(directory + "corvelo_util_tests"));
}

} // namespace
