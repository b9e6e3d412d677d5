#pragma once
// Date-time values and their text. A date-time is a double: the whole days since
// 30 December 1899 (negative before it) with the time of day as the fraction, always
// counted as an absolute value, so -1.25 is 29/12/1899 06:00.
#include <string>

struct DateParts {
    int Year = 0;
    int Month = 0;
    int Day = 0;
};

struct TimeParts {
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
};

// Years 1 to 9999. Throws EConvertError "Invalid argument to date encode".
double EncodeDate(int year, int month, int day);
// Throws EConvertError "Invalid argument to time encode".
double EncodeTime(int hour, int minute, int second, int millisecond);
// A date and a time of day into one value, honouring the rule for negative dates.
double ComposeDateTime(double date, double time);

// Throws EConvertError "Invalid argument to date decode" outside years 1 to 9999.
DateParts DecodeDate(double dateTime);
TimeParts DecodeTime(double dateTime);

// Tokens: d dd m mm yy yyyy h hh n nn s ss z zzz am/pm a/p, "/" for the date separator,
// ":" for the time separator, quoted literal text; "m"/"mm" right after "h"/"hh" are
// minutes. Letters are case-insensitive; other characters are copied.
std::string FormatDateTime(const std::string& format, double dateTime);

std::string DateToStr(double dateTime);     // short date format
std::string TimeToStr(double dateTime);     // long time format
std::string DateTimeToStr(double dateTime); // date, then a blank and the time unless it is 00:00:00.000

// Two or three numbers separated by the date separator, in the order of the short date
// format; throws EConvertError "'<text>' is not a valid date".
double StrToDate(const std::string& text);
// "h:m[:s[.zzz]]" with an optional AM/PM; throws "'<text>' is not a valid time".
double StrToTime(const std::string& text);
// A date, optionally followed by blanks and a time; throws
// "'<text>' is not a valid date and time".
double StrToDateTime(const std::string& text);
