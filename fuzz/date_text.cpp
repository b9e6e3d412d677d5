// Text to date and time and back. The first byte picks the field order and the
// separators, the rest is the text (also tried as a format).
#include "fuzz/FuzzCheck.h"
#include "util/DateText.h"
#include "util/Exceptions.h"
#include "util/FormatSettings.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

namespace {

constexpr double kMsPerDay = 86'400'000.0;

template <typename F> auto Attempt(F&& convert) -> std::optional<decltype(convert())> {
    try {
        return convert();
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

void ApplySettings(uint8_t choice) {
    static const char* const kDateFormats[] = {"dd/mm/yyyy", "mm/dd/yyyy", "yyyy/mm/dd", "d/m/yyyy"};
    static const char kDateSeparators[] = {'/', '-', '.', '/'};
    FormatSettings& settings = formatSettings();
    settings = FormatSettings{};
    settings.ShortDateFormat = kDateFormats[choice & 3];
    settings.DateSeparator = kDateSeparators[(choice >> 2) & 3];
    settings.TimeSeparator = (choice & 0x10) != 0 ? '.' : ':';
}

bool SameParts(const DateParts& a, const DateParts& b) {
    return a.Year == b.Year && a.Month == b.Month && a.Day == b.Day;
}

bool SameParts(const TimeParts& a, const TimeParts& b) {
    return a.Hour == b.Hour && a.Minute == b.Minute && a.Second == b.Second && a.Millisecond == b.Millisecond;
}

void CheckDate(double date) {
    FUZZ_CHECK(date == std::floor(date));
    const DateParts parts = DecodeDate(date);
    FUZZ_CHECK(EncodeDate(parts.Year, parts.Month, parts.Day) == date);
    // The short date format always has four-digit years here, so nothing is windowed.
    FUZZ_CHECK(StrToDate(DateToStr(date)) == date);
}

void CheckTime(double time) {
    FUZZ_CHECK(time >= 0 && time < 1);
    const double ms = time * kMsPerDay;
    FUZZ_CHECK(std::fabs(ms - std::round(ms)) < 1e-3);
    FUZZ_CHECK(StrToTime(FormatDateTime("hh:nn:ss.zzz", time)) == time);
    TimeParts seconds = DecodeTime(time);
    seconds.Millisecond = 0;
    FUZZ_CHECK(SameParts(DecodeTime(StrToTime(TimeToStr(time))), seconds));
}

void CheckDateTime(double dateTime) {
    const std::string full = FormatDateTime(formatSettings().ShortDateFormat + " hh:nn:ss.zzz", dateTime);
    const double back = StrToDateTime(full);
    FUZZ_CHECK(SameParts(DecodeDate(back), DecodeDate(dateTime)));
    FUZZ_CHECK(SameParts(DecodeTime(back), DecodeTime(dateTime)));

    const double shown = StrToDateTime(DateTimeToStr(dateTime));
    TimeParts seconds = DecodeTime(dateTime);
    seconds.Millisecond = 0;
    FUZZ_CHECK(SameParts(DecodeDate(shown), DecodeDate(dateTime)));
    FUZZ_CHECK(SameParts(DecodeTime(shown), seconds));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    ApplySettings(data[0]);
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    if (const auto date = Attempt([&] { return StrToDate(text); }))
        CheckDate(*date);
    if (const auto time = Attempt([&] { return StrToTime(text); }))
        CheckTime(*time);
    if (const auto dateTime = Attempt([&] { return StrToDateTime(text); }))
        CheckDateTime(*dateTime);

    // Any text is a format: literal runs, token runs and unterminated quotes.
    const std::string formatted = FormatDateTime(text, 45'678.765'432);
    FUZZ_CHECK(formatted.size() <= text.size() * 4 + 16);
    return 0;
}
