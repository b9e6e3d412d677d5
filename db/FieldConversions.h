#pragma once
// Number helpers shared by the field classes.
#include <cstddef>
#include <cstdint>
#include <string>

// Nearest integer, halves to even (never the current rounding mode).
double RoundHalfEven(double value);

// The raw integer of a scaled column as decimal text: 1250 with scale -2 is
// "12.5"; trailing zeros and a bare separator dropped.
std::string ScaledToStr(std::int64_t raw, int scale);

// 10 to the power n, for n from 0 to 18.
std::int64_t PowerOfTen(int n);

// "<value> is not a valid value for field '<name>'. The allowed range is <min> to <max>".
[[noreturn]] void RaiseRangeError(double value, const std::string& fieldName, double min, double max);

// The integer stored in a SMALLINT (500), INTEGER (496) or BIGINT (580) slot.
std::int64_t ReadStoredInteger(const std::byte* value, short sqlType);
// Writes it; the caller has checked the range of the slot's type.
void WriteStoredInteger(std::byte* value, short sqlType, std::int64_t integer);
// The smallest and largest integer the slot's type holds.
std::int64_t StoredIntegerMin(short sqlType);
std::int64_t StoredIntegerMax(short sqlType);
// Whether a whole number held in a double fits the slot's integer type.
bool FitsStoredInteger(double whole, short sqlType);
