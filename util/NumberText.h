#pragma once
// Conversions between numbers and text, following the decimal separator of
// formatSettings() and never the C locale.
#include <cstdint>
#include <string>

// General format: at most 15 significant digits, no thousands separator, no trailing
// zeros; scientific ("1.5E20", "1E-6") only when the integer part needs more than 15
// digits or the magnitude is below 0.00001. "INF", "-INF" and "NAN" for the rest.
std::string FloatToStr(double value);

std::string IntToStr(int64_t value);

// Optional leading blanks and sign, then decimal digits, or hexadecimal digits after
// "$", "x", "X", "0x" or "0X" (which may use the full unsigned width and wrap).
// Throws EConvertError "'<text>' is not a valid integer value".
int32_t StrToInt(const std::string& text);
int64_t StrToInt64(const std::string& text);

// Optional blanks around, sign, digits with an optional decimal separator and fraction,
// optional exponent. Throws EConvertError "'<text>' is not a valid floating point value".
double StrToFloat(const std::string& text);

// A currency value is a number times 10000 held in 64 bits (four implied decimals).
// Rounds to the nearest integer, halves to even; a value outside the range throws
// EConvertError "'<number text>' is not a valid currency value".
int64_t FloatToCurrency(double value);
double CurrencyToFloat(int64_t currency);

// Shortest decimal text with up to four decimals: 12345000 -> "1234.5", -5 -> "-0.0005".
std::string CurrToStr(int64_t currency);
