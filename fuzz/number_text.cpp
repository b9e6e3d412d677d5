// Text to number and back. The first byte picks the decimal separator, the rest
// is the text; its first eight bytes double as the bits of a double and a currency.
#include "fuzz/FuzzCheck.h"
#include "util/Exceptions.h"
#include "util/FormatSettings.h"
#include "util/NumberText.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

namespace {

template <typename F> auto Attempt(F&& convert) -> std::optional<decltype(convert())> {
    try {
        return convert();
    } catch (const EConvertError&) {
        return std::nullopt;
    }
}

bool IsHexadecimal(const std::string& text) {
    return text.find_first_of("$xX") != std::string::npos;
}

void CheckIntegers(const std::string& text) {
    const auto narrow = Attempt([&] { return StrToInt(text); });
    const auto wide = Attempt([&] { return StrToInt64(text); });
    if (narrow)
        FUZZ_CHECK(wide && static_cast<int32_t>(static_cast<uint64_t>(*wide)) == *narrow);
    if (!wide)
        return;
    FUZZ_CHECK(StrToInt64(IntToStr(*wide)) == *wide);
    if (IsHexadecimal(text))
        return;
    // Decimal: the 32-bit form takes exactly the values in its range, and the
    // text is also a valid floating point number of the same (rounded) value.
    const bool fits =
        *wide >= std::numeric_limits<int32_t>::min() && *wide <= std::numeric_limits<int32_t>::max();
    FUZZ_CHECK(narrow.has_value() == fits);
    const auto real = Attempt([&] { return StrToFloat(text); });
    FUZZ_CHECK(real && *real == static_cast<double>(*wide));
}

// Fifteen digits: the text reads back as a number that prints the same text.
void CheckFloatText(double value) {
    const std::string text = FloatToStr(value);
    if (!std::isfinite(value)) {
        FUZZ_CHECK(text == "NAN" || text == "INF" || text == "-INF");
        return;
    }
    // Above this, rounding to 15 digits leaves the range of a double.
    if (std::fabs(value) > 1.79769313486231e308)
        return;
    const auto back = Attempt([&] { return StrToFloat(text); });
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(FloatToStr(*back) == text);
    if (std::fabs(value) >= std::numeric_limits<double>::min())
        FUZZ_CHECK(std::fabs(*back - value) <= std::fabs(value) * 1e-14);
}

void CheckCurrency(double value, int64_t currency) {
    if (const auto rounded = Attempt([&] { return FloatToCurrency(value); })) {
        const long double scaled = static_cast<long double>(value) * 10000.0L;
        FUZZ_CHECK(std::fabs(static_cast<long double>(*rounded) - scaled) <=
                   0.5L + std::fabs(scaled) * 0x1p-52L);
    } else {
        FUZZ_CHECK(!std::isfinite(value) || std::fabs(value) >= 9.2e14);
    }

    const std::string text = CurrToStr(currency);
    const std::size_t separator = text.find(formatSettings().DecimalSeparator);
    if (separator != std::string::npos) {
        const std::size_t decimals = text.size() - separator - 1;
        FUZZ_CHECK(decimals >= 1 && decimals <= 4 && text.back() != '0');
    }
    FUZZ_CHECK((text[0] == '-') == (currency < 0));
    // Exact through a double only while the scaled value keeps its units.
    if (currency > -(int64_t{1} << 50) && currency < (int64_t{1} << 50)) {
        FUZZ_CHECK(FloatToCurrency(CurrencyToFloat(currency)) == currency);
        FUZZ_CHECK(FloatToCurrency(StrToFloat(text)) == currency);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    FormatSettings& settings = formatSettings();
    settings = FormatSettings{};
    settings.DecimalSeparator = (data[0] & 1) != 0 ? ',' : '.';
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    CheckIntegers(text);
    if (const auto real = Attempt([&] { return StrToFloat(text); })) {
        FUZZ_CHECK(std::isfinite(*real));
        CheckFloatText(*real);
    }

    if (text.size() >= sizeof(double)) {
        double value = 0;
        int64_t currency = 0;
        std::memcpy(&value, text.data(), sizeof value);
        std::memcpy(&currency, text.data(), sizeof currency);
        CheckFloatText(value);
        CheckCurrency(value, currency);
    }
    return 0;
}
