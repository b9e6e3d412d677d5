#include "util/NumberText.h"

#include "util/Exceptions.h"
#include "util/FormatSettings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace {

constexpr int kSignificantDigits = 15;

// A positive number rounded to 15 significant digits: digits d1 d2 ... (no trailing
// zeros) and the exponent e, so that the value is d1.d2... x 10^e.
struct RoundedDecimal {
    std::string digits;
    int exponent = 0;
};

RoundedDecimal RoundToSignificantDigits(double magnitude) {
    // to_chars rounds correctly from the exact binary value, which a scaled
    // multiplication would not.
    char buffer[64];
    const auto converted = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                         std::chars_format::scientific, kSignificantDigits - 1);
    RoundedDecimal rounded;
    const char* p = buffer;
    for (; p != converted.ptr && *p != 'e'; ++p)
        if (*p != '.')
            rounded.digits += *p;
    ++p;
    if (p != converted.ptr && *p == '+')
        ++p;
    std::from_chars(p, converted.ptr, rounded.exponent);
    while (rounded.digits.size() > 1 && rounded.digits.back() == '0')
        rounded.digits.pop_back();
    return rounded;
}

std::string FixedText(const RoundedDecimal& number, char separator) {
    const std::string& digits = number.digits;
    if (number.exponent < 0)
        return "0" + std::string(1, separator) +
               std::string(static_cast<std::size_t>(-number.exponent - 1), '0') + digits;
    const auto integerLength = static_cast<std::size_t>(number.exponent) + 1;
    if (digits.size() <= integerLength)
        return digits + std::string(integerLength - digits.size(), '0');
    return digits.substr(0, integerLength) + separator + digits.substr(integerLength);
}

std::string ScientificText(const RoundedDecimal& number, char separator) {
    std::string text = number.digits.substr(0, 1);
    if (number.digits.size() > 1)
        text += separator + number.digits.substr(1);
    text += 'E';
    if (number.exponent < 0)
        text += '-';
    text += std::to_string(std::abs(number.exponent));
    return text;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The integer forms shared by StrToInt and StrToInt64; the result is in the low `bits`
// bits. False when the text is not one of the forms or leaves the range.
bool ParseInteger(const std::string& text, int bits, uint64_t& result) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == n)
        return false;

    const uint64_t unsignedMax =
        bits == 64 ? std::numeric_limits<uint64_t>::max() : (uint64_t{1} << bits) - 1;
    const uint64_t signedLimit = (uint64_t{1} << (bits - 1)) - (negative ? 0 : 1);
    // Hexadecimal may fill the unsigned width; its top bit becomes the sign.
    const uint64_t limit = hex ? unsignedMax : signedLimit;
    const uint64_t base = hex ? 16 : 10;
    uint64_t value = 0;
    for (; i < n; ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0 || static_cast<uint64_t>(digit) >= base)
            return false;
        if (value > (limit - static_cast<uint64_t>(digit)) / base)
            return false;
        value = value * base + static_cast<uint64_t>(digit);
    }
    result = negative ? uint64_t{0} - value : value;
    return true;
}

[[noreturn]] void ThrowInvalidInteger(const std::string& text) {
    throw EConvertError("'" + text + "' is not a valid integer value");
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool ParseFloat(const std::string& text, double& result) {
    const char separator = formatSettings().DecimalSeparator;
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    // The mantissa is copied with "." as its point, for from_chars. `order` tracks
    // the decimal exponent of the first non-zero digit, to tell overflow from underflow.
    std::string normalized;
    bool anyDigit = false;
    bool nonZero = false;
    int64_t order = 0;
    for (; i < n && IsDigit(text[i]); ++i) {
        anyDigit = true;
        nonZero = nonZero || text[i] != '0';
        if (nonZero)
            ++order;
        normalized += text[i];
    }
    if (nonZero)
        --order;
    if (i < n && text[i] == separator) {
        normalized += '.';
        for (++i; i < n && IsDigit(text[i]); ++i) {
            anyDigit = true;
            if (!nonZero) {
                --order;
                nonZero = text[i] != '0';
            }
            normalized += text[i];
        }
    }
    if (!anyDigit)
        return false;

    int64_t exponent = 0;
    if (i < n && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        if (i == n || !IsDigit(text[i]))
            return false;
        // Saturated: far beyond this every value overflows or underflows anyway.
        for (; i < n && IsDigit(text[i]); ++i)
            exponent = std::min<int64_t>(exponent * 10 + (text[i] - '0'), 1'000'000'000);
        if (negativeExponent)
            exponent = -exponent;
    }
    while (i < n && text[i] == ' ')
        ++i;
    if (i != n)
        return false;

    if (!nonZero) {
        result = negative ? -0.0 : 0.0;
        return true;
    }
    normalized += 'e' + std::to_string(exponent);
    double value = 0;
    const auto converted = std::from_chars(normalized.data(), normalized.data() + normalized.size(), value,
                                           std::chars_format::general);
    if (converted.ec == std::errc::result_out_of_range) {
        if (order + exponent > 0)
            return false;
        value = 0;
    } else if (converted.ec != std::errc() || converted.ptr != normalized.data() + normalized.size()) {
        return false;
    }
    result = negative ? -value : value;
    return true;
}

} // namespace

std::string FloatToStr(double value) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";
    const RoundedDecimal rounded = RoundToSignificantDigits(std::fabs(value));
    const char separator = formatSettings().DecimalSeparator;
    const bool scientific = rounded.exponent >= kSignificantDigits || rounded.exponent < -5;
    return (value < 0 ? "-" : "") +
           (scientific ? ScientificText(rounded, separator) : FixedText(rounded, separator));
}

std::string IntToStr(int64_t value) {
    return std::to_string(value);
}

int32_t StrToInt(const std::string& text) {
    uint64_t bits = 0;
    if (!ParseInteger(text, 32, bits))
        ThrowInvalidInteger(text);
    return static_cast<int32_t>(static_cast<uint32_t>(bits));
}

int64_t StrToInt64(const std::string& text) {
    uint64_t bits = 0;
    if (!ParseInteger(text, 64, bits))
        ThrowInvalidInteger(text);
    return static_cast<int64_t>(bits);
}

double StrToFloat(const std::string& text) {
    double value = 0;
    if (!ParseFloat(text, value))
        throw EConvertError("'" + text + "' is not a valid floating point value");
    return value;
}

int64_t FloatToCurrency(double value) {
    // Rounded by hand: std::nearbyint would follow whatever rounding mode is current.
    const double scaled = value * 10000.0;
    double rounded = std::floor(scaled);
    const double fraction = scaled - rounded;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0))
        rounded += 1;
    constexpr double kLimit = 9223372036854775808.0; // 2^63
    if (!(rounded >= -kLimit && rounded < kLimit))
        throw EConvertError("'" + FloatToStr(value) + "' is not a valid currency value");
    return static_cast<int64_t>(rounded);
}

double CurrencyToFloat(int64_t currency) {
    return static_cast<double>(currency) / 10000.0;
}

std::string CurrToStr(int64_t currency) {
    const bool negative = currency < 0;
    const uint64_t magnitude =
        negative ? uint64_t{0} - static_cast<uint64_t>(currency) : static_cast<uint64_t>(currency);
    std::string text = negative ? "-" : "";
    text += std::to_string(magnitude / 10000);
    if (const uint64_t fraction = magnitude % 10000; fraction != 0) {
        std::string decimals = std::to_string(fraction);
        decimals.insert(0, 4 - decimals.size(), '0');
        while (decimals.back() == '0')
            decimals.pop_back();
        text += formatSettings().DecimalSeparator + decimals;
    }
    return text;
}
