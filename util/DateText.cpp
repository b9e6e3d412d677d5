#include "util/DateText.h"

#include "util/Clock.h"
#include "util/Exceptions.h"
#include "util/FormatSettings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

constexpr int64_t kMsPerDay = 86'400'000;
// Day numbers of 01/01/0001 and 31/12/9999.
constexpr int64_t kFirstDay = -693'593;
constexpr int64_t kLastDay = 2'958'465;
// Days from 01/01/0001 to 30/12/1899.
constexpr int64_t kDayZeroOffset = 693'594;

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int64_t year, int64_t month, int64_t day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(static_cast<int>(year), static_cast<int>(month));
}

bool IsValidTime(int64_t hour, int64_t minute, int64_t second, int64_t millisecond) {
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 &&
           millisecond >= 0 && millisecond < 1000;
}

int64_t DayNumber(int year, int month, int day) {
    const int64_t before = year - 1;
    int64_t days = before * 365 + before / 4 - before / 100 + before / 400 + day;
    for (int m = 1; m < month; ++m)
        days += DaysInMonth(year, m);
    return days - kDayZeroOffset;
}

struct DayAndTime {
    int64_t day = 0;
    int64_t millisecond = 0; // of the day, always positive
};

// Rounded to the millisecond before splitting, so 0.99999999999 is the next midnight.
bool SplitDateTime(double dateTime, DayAndTime& split) {
    if (!std::isfinite(dateTime) || std::fabs(dateTime) > static_cast<double>(kLastDay + 1))
        return false;
    const int64_t total = std::llround(dateTime * static_cast<double>(kMsPerDay));
    split.day = total / kMsPerDay;
    split.millisecond = std::abs(total % kMsPerDay);
    return true;
}

DateParts DateOfDay(int64_t dayNumber) {
    int64_t days = dayNumber - kFirstDay; // 0 on 01/01/0001
    constexpr int64_t kDays400 = 146'097, kDays100 = 36'524, kDays4 = 1'461, kDays1 = 365;
    int64_t year = 1 + days / kDays400 * 400;
    days %= kDays400;
    // The last day of a 400- or 4-year cycle belongs to its last century or year.
    const int64_t centuries = std::min<int64_t>(days / kDays100, 3);
    days -= centuries * kDays100;
    const int64_t quads = days / kDays4;
    days -= quads * kDays4;
    const int64_t years = std::min<int64_t>(days / kDays1, 3);
    days -= years * kDays1;
    year += centuries * 100 + quads * 4 + years;

    DateParts parts;
    parts.Year = static_cast<int>(year);
    parts.Month = 1;
    while (days >= DaysInMonth(parts.Year, parts.Month)) {
        days -= DaysInMonth(parts.Year, parts.Month);
        ++parts.Month;
    }
    parts.Day = static_cast<int>(days) + 1;
    return parts;
}

TimeParts TimeOfMillisecond(int64_t millisecond) {
    TimeParts parts;
    parts.Hour = static_cast<int>(millisecond / 3'600'000);
    parts.Minute = static_cast<int>(millisecond / 60'000 % 60);
    parts.Second = static_cast<int>(millisecond / 1000 % 60);
    parts.Millisecond = static_cast<int>(millisecond % 1000);
    return parts;
}

DateParts CheckedDateOf(const DayAndTime& split, bool splitOk) {
    if (!splitOk || split.day < kFirstDay || split.day > kLastDay)
        throw EConvertError("Invalid argument to date decode");
    return DateOfDay(split.day);
}

char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool StartsWithNoCase(const std::string& text, std::size_t pos, const char* prefix) {
    for (std::size_t k = 0; prefix[k] != 0; ++k)
        if (pos + k >= text.size() || AsciiUpper(text[pos + k]) != AsciiUpper(prefix[k]))
            return false;
    return true;
}

bool HasAmPm(const std::string& format) {
    for (std::size_t i = 0; i < format.size(); ++i)
        if (StartsWithNoCase(format, i, "am/pm") || StartsWithNoCase(format, i, "a/p"))
            return true;
    return false;
}

std::string Padded(int value, std::size_t width) {
    std::string text = std::to_string(value);
    if (text.size() < width)
        text.insert(0, width - text.size(), '0');
    return text;
}

// Reads dates and times; blanks are allowed before every number and separator.
class Scanner {
public:
    explicit Scanner(const std::string& text) : text_(text) {}

    bool Number(int64_t& value, std::size_t& digits) {
        SkipBlanks();
        value = 0;
        digits = 0;
        for (; pos_ < text_.size() && IsDigit(text_[pos_]); ++pos_, ++digits)
            if (digits < 9) // more digits never make a valid part
                value = value * 10 + (text_[pos_] - '0');
        return digits > 0 && digits <= 9;
    }

    // The separator, or no move at all.
    bool Char(char expected) {
        const std::size_t start = pos_;
        SkipBlanks();
        if (pos_ < text_.size() && text_[pos_] == expected) {
            ++pos_;
            return true;
        }
        pos_ = start;
        return false;
    }

    // Up to three digits right after the decimal separator, as milliseconds.
    bool Fraction(int64_t& millisecond) {
        millisecond = 0;
        std::size_t digits = 0;
        for (; pos_ < text_.size() && IsDigit(text_[pos_]); ++pos_, ++digits)
            if (digits < 3) // a longer run is rejected below; accumulating it would overflow
                millisecond = millisecond * 10 + (text_[pos_] - '0');
        if (digits == 0 || digits > 3)
            return false;
        for (; digits < 3; ++digits)
            millisecond *= 10;
        return true;
    }

    bool Word(const char* word) {
        const std::size_t start = pos_;
        SkipBlanks();
        if (StartsWithNoCase(text_, pos_, word)) {
            pos_ += std::char_traits<char>::length(word);
            return true;
        }
        pos_ = start;
        return false;
    }

    bool AtBlank() const { return pos_ < text_.size() && text_[pos_] == ' '; }

    // Only blanks left; does not move.
    bool AtEnd() const { return text_.find_first_not_of(' ', pos_) == std::string::npos; }

private:
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    void SkipBlanks() {
        while (pos_ < text_.size() && text_[pos_] == ' ')
            ++pos_;
    }

    const std::string& text_;
    std::size_t pos_ = 0;
};

enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

DateOrder OrderOf(const std::string& format) {
    for (char c : format) {
        switch (AsciiUpper(c)) {
        case 'D':
            return DateOrder::DayMonthYear;
        case 'M':
            return DateOrder::MonthDayYear;
        case 'Y':
            return DateOrder::YearMonthDay;
        default:
            break;
        }
    }
    return DateOrder::DayMonthYear;
}

// A one- or two-digit year falls in the 100 years starting 50 before the current one.
int64_t WindowedYear(int64_t shortYear) {
    const int64_t start = CurrentYear() - 50;
    return start + ((shortYear - start) % 100 + 100) % 100;
}

bool ScanDate(Scanner& scanner, double& date) {
    const FormatSettings& settings = formatSettings();
    int64_t n[3] = {};
    std::size_t digits[3] = {};
    if (!scanner.Number(n[0], digits[0]) || !scanner.Char(settings.DateSeparator) ||
        !scanner.Number(n[1], digits[1]))
        return false;
    const bool hasYear = scanner.Char(settings.DateSeparator);
    if (hasYear && !scanner.Number(n[2], digits[2]))
        return false;

    int64_t year = 0, month = 0, day = 0;
    std::size_t yearDigits = 4;
    const DateOrder order = OrderOf(settings.ShortDateFormat);
    if (!hasYear) {
        year = CurrentYear();
        day = order == DateOrder::DayMonthYear ? n[0] : n[1];
        month = order == DateOrder::DayMonthYear ? n[1] : n[0];
    } else if (order == DateOrder::YearMonthDay) {
        year = n[0], yearDigits = digits[0], month = n[1], day = n[2];
    } else {
        year = n[2], yearDigits = digits[2];
        day = order == DateOrder::DayMonthYear ? n[0] : n[1];
        month = order == DateOrder::DayMonthYear ? n[1] : n[0];
    }
    if (yearDigits <= 2)
        year = WindowedYear(year);
    if (!IsValidDate(year, month, day))
        return false;
    date = static_cast<double>(
        DayNumber(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day)));
    return true;
}

bool ScanTime(Scanner& scanner, double& time) {
    const FormatSettings& settings = formatSettings();
    int64_t hour = 0, minute = 0, second = 0, millisecond = 0;
    std::size_t digits = 0;
    if (!scanner.Number(hour, digits) || !scanner.Char(settings.TimeSeparator) ||
        !scanner.Number(minute, digits))
        return false;
    if (scanner.Char(settings.TimeSeparator)) {
        if (!scanner.Number(second, digits))
            return false;
        if (scanner.Char(settings.DecimalSeparator) && !scanner.Fraction(millisecond))
            return false;
    }
    const bool am = scanner.Word("AM");
    const bool pm = !am && scanner.Word("PM");
    if (am || pm) {
        if (hour > 12)
            return false;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    if (!IsValidTime(hour, minute, second, millisecond))
        return false;
    time = static_cast<double>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond) /
           static_cast<double>(kMsPerDay);
    return true;
}

} // namespace

double EncodeDate(int year, int month, int day) {
    if (!IsValidDate(year, month, day))
        throw EConvertError("Invalid argument to date encode");
    return static_cast<double>(DayNumber(year, month, day));
}

double EncodeTime(int hour, int minute, int second, int millisecond) {
    if (!IsValidTime(hour, minute, second, millisecond))
        throw EConvertError("Invalid argument to time encode");
    return static_cast<double>(((int64_t{hour} * 60 + minute) * 60 + second) * 1000 + millisecond) /
           static_cast<double>(kMsPerDay);
}

double ComposeDateTime(double date, double time) {
    return date < 0 ? date - time : date + time;
}

DateParts DecodeDate(double dateTime) {
    DayAndTime split;
    const bool ok = SplitDateTime(dateTime, split);
    return CheckedDateOf(split, ok);
}

TimeParts DecodeTime(double dateTime) {
    DayAndTime split;
    if (!SplitDateTime(dateTime, split))
        throw EConvertError("Invalid argument to time decode");
    return TimeOfMillisecond(split.millisecond);
}

std::string FormatDateTime(const std::string& format, double dateTime) {
    DayAndTime split;
    const bool ok = SplitDateTime(dateTime, split);
    const DateParts date = CheckedDateOf(split, ok);
    const TimeParts time = TimeOfMillisecond(split.millisecond);
    const FormatSettings& settings = formatSettings();
    const bool twelveHour = HasAmPm(format);

    std::string out;
    char lastToken = 0;
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        if (c == '"' || c == '\'') {
            const std::size_t close = format.find(c, i + 1);
            const std::size_t end = close == std::string::npos ? format.size() : close;
            out.append(format, i + 1, end - i - 1);
            i = end == format.size() ? end : end + 1;
            continue;
        }
        if (c == '/' || c == ':') {
            out += c == '/' ? settings.DateSeparator : settings.TimeSeparator;
            ++i;
            continue;
        }
        char token = AsciiUpper(c);
        if (token < 'A' || token > 'Z') {
            out += c;
            ++i;
            continue;
        }
        std::size_t run = 1;
        while (i + run < format.size() && AsciiUpper(format[i + run]) == token)
            ++run;
        if (token == 'M' && lastToken == 'H')
            token = 'N';
        lastToken = token;
        const bool two = run >= 2;
        switch (token) {
        case 'Y':
            out += run <= 2 ? Padded(date.Year % 100, 2) : Padded(date.Year, 4);
            i += run;
            continue;
        case 'D':
            out += Padded(date.Day, two ? 2 : 1);
            break;
        case 'M':
            out += Padded(date.Month, two ? 2 : 1);
            break;
        case 'H': {
            int hour = time.Hour;
            if (twelveHour)
                hour = hour % 12 == 0 ? 12 : hour % 12;
            out += Padded(hour, two ? 2 : 1);
            break;
        }
        case 'N':
            out += Padded(time.Minute, two ? 2 : 1);
            break;
        case 'S':
            out += Padded(time.Second, two ? 2 : 1);
            break;
        case 'Z':
            out += Padded(time.Millisecond, run >= 3 ? 3 : 1);
            i += run >= 3 ? 3 : 1;
            continue;
        case 'A':
            if (StartsWithNoCase(format, i, "am/pm")) {
                const bool lower = c == 'a';
                out += time.Hour < 12 ? (lower ? "am" : "AM") : (lower ? "pm" : "PM");
                i += 5;
                continue;
            }
            if (StartsWithNoCase(format, i, "a/p")) {
                out += time.Hour < 12 ? (c == 'a' ? 'a' : 'A') : (c == 'a' ? 'p' : 'P');
                i += 3;
                continue;
            }
            out += c;
            i += 1;
            continue;
        default:
            out += c;
            i += 1;
            continue;
        }
        i += two ? 2 : 1;
    }
    return out;
}

std::string DateToStr(double dateTime) {
    return FormatDateTime(formatSettings().ShortDateFormat, dateTime);
}

std::string TimeToStr(double dateTime) {
    return FormatDateTime(formatSettings().LongTimeFormat, dateTime);
}

std::string DateTimeToStr(double dateTime) {
    DayAndTime split;
    if (SplitDateTime(dateTime, split) && split.millisecond != 0)
        return DateToStr(dateTime) + " " + TimeToStr(dateTime);
    return DateToStr(dateTime);
}

double StrToDate(const std::string& text) {
    Scanner scanner(text);
    double date = 0;
    if (!ScanDate(scanner, date) || !scanner.AtEnd())
        throw EConvertError("'" + text + "' is not a valid date");
    return date;
}

double StrToTime(const std::string& text) {
    Scanner scanner(text);
    double time = 0;
    if (!ScanTime(scanner, time) || !scanner.AtEnd())
        throw EConvertError("'" + text + "' is not a valid time");
    return time;
}

double StrToDateTime(const std::string& text) {
    Scanner scanner(text);
    double date = 0;
    double time = 0;
    const bool valid = ScanDate(scanner, date) &&
                       (scanner.AtEnd() || (scanner.AtBlank() && ScanTime(scanner, time) && scanner.AtEnd()));
    if (!valid)
        throw EConvertError("'" + text + "' is not a valid date and time");
    return ComposeDateTime(date, time);
}
