#include "util/DateText.h"

#include "tests/util/TestHelpers.h"

#include <ctime>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace {

void FixNow(int year, int month, int day) {
    const double now = EncodeDate(year, month, day) + EncodeTime(14, 30, 0, 0);
    SetNowSource([now] { return now; });
}

class DateTextTest : public ::testing::Test {
protected:
    DateTextTest() {
        ApplyProgramFormatSettings();
        formatSettings().DateSeparator = '/';
        formatSettings().LongTimeFormat = "hh:mm:ss";
        formatSettings().TimeSeparator = ':';
        FixNow(2026, 5, 10);
    }
    SettingsGuard guard_;
};

TEST_F(DateTextTest, DayNumbersCountFromThe30thOfDecember1899) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
    EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465.0);
    EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    for (int day = -693593; day <= 2958465; ++day) {
        const DateParts d = DecodeDate(day);
        ASSERT_EQ(EncodeDate(d.Year, d.Month, d.Day), day) << d.Day << "/" << d.Month << "/" << d.Year;
    }
}

TEST_F(DateTextTest, EncodingAndDecodingRefuseWhatIsNotOnTheCalendar) {
    EXPECT_NO_THROW(EncodeDate(2024, 2, 29));
    EXPECT_NO_THROW(EncodeDate(2000, 2, 29));
    const int invalid[][3] = {{2026, 2, 29}, {1900, 2, 29}, {2026, 4, 31},
                              {0, 1, 1},     {10000, 1, 1}, {2026, 13, 1}};
    for (const auto& d : invalid)
        EXPECT_EQ(ConvertErrorOf([&d] { EncodeDate(d[0], d[1], d[2]); }), "Invalid argument to date encode");
    EXPECT_EQ(ConvertErrorOf([] { EncodeTime(24, 0, 0, 0); }), "Invalid argument to time encode");
    EXPECT_EQ(ConvertErrorOf([] { EncodeTime(23, 59, 59, 1000); }), "Invalid argument to time encode");
    EXPECT_EQ(ConvertErrorOf([] { DecodeDate(2958466.0); }), "Invalid argument to date decode");
    EXPECT_EQ(ConvertErrorOf([] { DateToStr(std::numeric_limits<double>::quiet_NaN()); }),
              "Invalid argument to date decode");
    EXPECT_EQ(ConvertErrorOf([] { DecodeTime(1e300); }), "Invalid argument to time decode");
}

TEST_F(DateTextTest, NegativeValuesCarryTheTimeOfDayAsAnAbsoluteFraction) {
    const DateParts date = DecodeDate(-1.25);
    EXPECT_EQ(date.Year * 10000 + date.Month * 100 + date.Day, 18991229);
    EXPECT_EQ(DecodeTime(-1.25).Hour, 6);
    EXPECT_EQ(ComposeDateTime(EncodeDate(1899, 12, 29), EncodeTime(6, 0, 0, 0)), -1.25);
    EXPECT_EQ(DateTimeToStr(-1.25), "29/12/1899 06:00:00");
    EXPECT_EQ(DateTimeToStr(-0.5), "30/12/1899 12:00:00");
    EXPECT_EQ(StrToDateTime("29/12/1899 06:00"), -1.25);
}

TEST_F(DateTextTest, FormatsWithTheSettings) {
    const double date = EncodeDate(2020, 2, 5);
    const double moment = date + EncodeTime(14, 5, 9, 7);
    EXPECT_EQ(DateTimeToStr(moment), "05/02/2020 14:05:09");
    EXPECT_EQ(DateTimeToStr(date), "05/02/2020");
    EXPECT_EQ(DateTimeToStr(1.0 - 1e-11), "31/12/1899"); // rounds to the next midnight

    formatSettings().DateSeparator = '-';
    formatSettings().TimeSeparator = '.';
    EXPECT_EQ(DateToStr(date), "05-02-2020");
    EXPECT_EQ(TimeToStr(moment), "14.05.09");
}

TEST_F(DateTextTest, FormatTokens) {
    const double moment = EncodeDate(2020, 2, 5) + EncodeTime(14, 5, 9, 7);
    EXPECT_EQ(FormatDateTime("d/m/yy h:n:s", moment), "5/2/20 14:5:9");
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:mm", moment), "2020/02/05 14:05"); // mm after hh: minutes
    EXPECT_EQ(FormatDateTime("DD/MM/YYYY HH:NN:SS.zzz", moment), "05/02/2020 14:05:09.007");
    EXPECT_EQ(FormatDateTime("h:mm am/pm", moment), "2:05 pm");
    EXPECT_EQ(FormatDateTime("hh AM/PM", EncodeTime(0, 30, 0, 0)), "12 AM");
    EXPECT_EQ(FormatDateTime("dd 'de' mm \"de\" yyyy", moment), "05 de 02 de 2020");
}

TEST_F(DateTextTest, StrToDateReadsDayMonthYearAndCompletesTheYear) {
    EXPECT_EQ(StrToDate(" 5 / 2 / 2020 "), EncodeDate(2020, 2, 5));
    EXPECT_EQ(StrToDate("29/02/2024"), EncodeDate(2024, 2, 29));
    EXPECT_EQ(StrToDate("05/02/026"), EncodeDate(26, 2, 5));
    EXPECT_EQ(StrToDate("05/02"), EncodeDate(2026, 2, 5));
    EXPECT_EQ(StrToDate("05/02/76"), EncodeDate(1976, 2, 5));
    EXPECT_EQ(StrToDate("05/02/75"), EncodeDate(2075, 2, 5));
    EXPECT_EQ(StrToDate("05/02/0"), EncodeDate(2000, 2, 5));

    FixNow(2000, 1, 1);
    EXPECT_EQ(StrToDate("01/01/49"), EncodeDate(2049, 1, 1));
    EXPECT_EQ(StrToDate("01/01/50"), EncodeDate(1950, 1, 1));
    EXPECT_EQ(StrToDate("29/02"), EncodeDate(2000, 2, 29));
    FixNow(2001, 1, 1);
    EXPECT_EQ(ConvertErrorOf([] { StrToDate("29/02"); }), "'29/02' is not a valid date");
}

TEST_F(DateTextTest, StrToDateFollowsTheOrderAndSeparatorOfTheSettings) {
    formatSettings().ShortDateFormat = "yyyy/mm/dd";
    EXPECT_EQ(StrToDate("2020/02/05"), EncodeDate(2020, 2, 5));
    EXPECT_EQ(StrToDate("02/05"), EncodeDate(2026, 2, 5));
    formatSettings().ShortDateFormat = "mm/dd/yyyy";
    EXPECT_EQ(StrToDate("02/05/2020"), EncodeDate(2020, 2, 5));
    formatSettings().ShortDateFormat = "dd/mm/yyyy";
    formatSettings().DateSeparator = '-';
    EXPECT_EQ(StrToDate("05-02-2020"), EncodeDate(2020, 2, 5));
    EXPECT_EQ(ConvertErrorOf([] { StrToDate("05/02/2020"); }), "'05/02/2020' is not a valid date");
}

TEST_F(DateTextTest, StrToDateRefusesOtherTexts) {
    for (const char* text : {"31/02/2026", "29/02/2026", "00/01/2026", "01/13/2026", "01/01/10000",
                             "01/01/000", "", "05", "05/02/", "/02/2020", "05-02-2020", "05/02/2020/1",
                             "05/02/2020 10:00", "5.0/2/2020", "-5/02/2020", "05/02/1234567890123"})
        EXPECT_EQ(ConvertErrorOf([text] { StrToDate(text); }),
                  "'" + std::string(text) + "' is not a valid date");
}

TEST_F(DateTextTest, StrToTimeReadsHoursMinutesSecondsAndMilliseconds) {
    EXPECT_EQ(StrToTime(" 14 : 05 "), EncodeTime(14, 5, 0, 0));
    EXPECT_EQ(StrToTime("14:05:09.5"), EncodeTime(14, 5, 9, 500));
    EXPECT_EQ(StrToTime("14:05:09.123"), EncodeTime(14, 5, 9, 123));
    EXPECT_EQ(StrToTime("2:05 PM"), EncodeTime(14, 5, 0, 0));
    EXPECT_EQ(StrToTime("12:00 AM"), 0.0);
    EXPECT_EQ(StrToTime("12:00pm"), 0.5);
    for (const char* text : {"24:00", "14:60", "14:05:60", "14", "13:00 PM", "14:05:", "14:05:09.",
                             "14:05:09.1234", "", "14:05 XM", "-1:00",
                             // Found by fuzzing: a run of digits this long overflowed while read.
                             "14:05:09.99999999999999999999999"})
        EXPECT_EQ(ConvertErrorOf([text] { StrToTime(text); }),
                  "'" + std::string(text) + "' is not a valid time");
}

TEST_F(DateTextTest, StrToDateTimeReadsADateAndAnOptionalTime) {
    const double moment = EncodeDate(1987, 11, 30) + EncodeTime(8, 15, 42, 0);
    EXPECT_EQ(StrToDateTime(DateTimeToStr(moment)), moment);
    EXPECT_EQ(StrToDateTime(" 30/11/1987   08:15:42 "), moment);
    EXPECT_EQ(StrToDateTime("30/11/1987"), EncodeDate(1987, 11, 30));
    EXPECT_EQ(StrToDateTime("05/02 14:05"), EncodeDate(2026, 2, 5) + EncodeTime(14, 5, 0, 0));
    for (const char* text :
         {"05/02/2020 25:00", "05/02/2020x", "14:05", "", "05/02/2020 14", "31/02/2020 10:00"})
        EXPECT_EQ(ConvertErrorOf([text] { StrToDateTime(text); }),
                  "'" + std::string(text) + "' is not a valid date and time");
}

TEST(ClockTest, DefaultsToTheSystemClock) {
    SettingsGuard guard;
    SetNowSource([] { return 0.0; });
    EXPECT_EQ(CurrentYear(), 1899);
    SetNowSource({});
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    EXPECT_EQ(CurrentYear(), local.tm_year + 1900);
}

} // namespace
