#include "db/FieldConversions.h"

#include "db/DatabaseErrors.h"
#include "util/FormatSettings.h"
#include "util/NumberText.h"

#include <cmath>
#include <cstring>
#include <limits>

double RoundHalfEven(double value) {
    double rounded = std::floor(value);
    const double fraction = value - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0))
        rounded += 1;
    return rounded;
}

std::string ScaledToStr(std::int64_t raw, int scale) {
    if (scale >= 0) {
        std::string text = IntToStr(raw);
        if (raw != 0)
            text.append(static_cast<std::size_t>(scale), '0');
        return text;
    }
    const bool negative = raw < 0;
    const std::uint64_t magnitude =
        negative ? std::uint64_t{0} - static_cast<std::uint64_t>(raw) : static_cast<std::uint64_t>(raw);
    std::string digits = std::to_string(magnitude);
    const auto decimals = static_cast<std::size_t>(-scale);
    if (digits.size() <= decimals)
        digits.insert(0, decimals + 1 - digits.size(), '0');
    std::string whole = digits.substr(0, digits.size() - decimals);
    std::string fraction = digits.substr(digits.size() - decimals);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.pop_back();
    std::string text = negative ? "-" : "";
    text += whole;
    if (!fraction.empty())
        text += formatSettings().DecimalSeparator + fraction;
    return text;
}

std::int64_t PowerOfTen(int n) {
    std::int64_t power = 1;
    for (int i = 0; i < n; ++i)
        power *= 10;
    return power;
}

void RaiseRangeError(double value, const std::string& fieldName, double min, double max) {
    throw EDatabaseError(FloatToStr(value) + " is not a valid value for field '" + fieldName +
                         "'. The allowed range is " + FloatToStr(min) + " to " + FloatToStr(max));
}

namespace {

constexpr short kSmallint = 500;
constexpr short kInteger = 496;

} // namespace

std::int64_t ReadStoredInteger(const std::byte* value, short sqlType) {
    if (sqlType == kSmallint) {
        std::int16_t v;
        std::memcpy(&v, value, sizeof v);
        return v;
    }
    if (sqlType == kInteger) {
        std::int32_t v;
        std::memcpy(&v, value, sizeof v);
        return v;
    }
    std::int64_t v;
    std::memcpy(&v, value, sizeof v);
    return v;
}

void WriteStoredInteger(std::byte* value, short sqlType, std::int64_t integer) {
    if (sqlType == kSmallint) {
        const auto v = static_cast<std::int16_t>(integer);
        std::memcpy(value, &v, sizeof v);
    } else if (sqlType == kInteger) {
        const auto v = static_cast<std::int32_t>(integer);
        std::memcpy(value, &v, sizeof v);
    } else {
        std::memcpy(value, &integer, sizeof integer);
    }
}

std::int64_t StoredIntegerMin(short sqlType) {
    return sqlType == kSmallint  ? std::numeric_limits<std::int16_t>::min()
           : sqlType == kInteger ? std::numeric_limits<std::int32_t>::min()
                                 : std::numeric_limits<std::int64_t>::min();
}

std::int64_t StoredIntegerMax(short sqlType) {
    return sqlType == kSmallint  ? std::numeric_limits<std::int16_t>::max()
           : sqlType == kInteger ? std::numeric_limits<std::int32_t>::max()
                                 : std::numeric_limits<std::int64_t>::max();
}

bool FitsStoredInteger(double whole, short sqlType) {
    const auto min = static_cast<double>(StoredIntegerMin(sqlType));
    const auto max = static_cast<double>(StoredIntegerMax(sqlType));
    // The largest 64-bit integer is no double; its rounded value 2^63 lies outside.
    return whole >= min && (sqlType == kSmallint || sqlType == kInteger ? whole <= max : whole < max);
}
