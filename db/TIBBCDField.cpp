#include "db/TIBBCDField.h"

#include "db/DatabaseErrors.h"
#include "db/FieldConversions.h"
#include "util/Exceptions.h"
#include "util/NumberText.h"

namespace {

constexpr std::int64_t kCurrencyScale = 10000;

// Integer division rounding to the nearest, halves to even.
std::int64_t divideHalfEven(std::int64_t value, std::int64_t divisor) {
    std::int64_t quotient = value / divisor;
    const std::int64_t remainder = value % divisor;
    const std::int64_t twice = (remainder < 0 ? -remainder : remainder) * 2;
    if (twice > divisor || (twice == divisor && quotient % 2 != 0))
        quotient += value < 0 ? -1 : 1;
    return quotient;
}

} // namespace

std::int64_t TIBBCDField::currencyOf(const std::byte* value) const {
    const std::int64_t raw = ReadStoredInteger(value, Storage().SqlType);
    const int shift = 4 + Storage().Scale;
    if (shift < 0)
        return divideHalfEven(raw, PowerOfTen(-shift));
    std::int64_t currency = 0;
    if (__builtin_mul_overflow(raw, PowerOfTen(shift), &currency))
        throw EConvertError("'" + ScaledToStr(raw, Storage().Scale) + "' is not a valid currency value");
    return currency;
}

std::string TIBBCDField::TextOf(const std::byte* value) const {
    // Straight from the stored integer, so no value is too large to show.
    if (Storage().Scale >= -4)
        return ScaledToStr(ReadStoredInteger(value, Storage().SqlType), Storage().Scale);
    return CurrToStr(currencyOf(value));
}

void TIBBCDField::SetAsString(const std::string& value) {
    if (value.empty()) {
        WriteNull();
        return;
    }
    double parsed = 0;
    try {
        parsed = StrToFloat(value);
    } catch (const EConvertError&) {
        throw EDatabaseError("'" + value + "' is not a valid floating point value for field '" +
                             HeaderName() + "'");
    }
    SetAsFloat(parsed);
}

std::int64_t TIBBCDField::AsCurrency() const {
    const std::byte* value = Value();
    return value ? currencyOf(value) : 0;
}

void TIBBCDField::SetAsCurrency(std::int64_t value) {
    const TFieldStorage& s = Storage();
    const int shift = 4 + s.Scale;
    std::int64_t raw = 0;
    bool overflow = false;
    if (shift >= 0)
        raw = divideHalfEven(value, PowerOfTen(shift));
    else
        overflow = __builtin_mul_overflow(value, PowerOfTen(-shift), &raw);
    if (overflow || raw < StoredIntegerMin(s.SqlType) || raw > StoredIntegerMax(s.SqlType)) {
        const double unit = static_cast<double>(PowerOfTen(-s.Scale));
        RaiseRangeError(static_cast<double>(value) / kCurrencyScale, HeaderName(),
                        static_cast<double>(StoredIntegerMin(s.SqlType)) / unit,
                        static_cast<double>(StoredIntegerMax(s.SqlType)) / unit);
    }
    WriteStoredInteger(Slot(), s.SqlType, raw);
    Written();
}

std::int32_t TIBBCDField::AsInteger() const {
    return static_cast<std::int32_t>(divideHalfEven(AsCurrency(), kCurrencyScale));
}

void TIBBCDField::SetAsInteger(std::int32_t value) {
    SetAsCurrency(static_cast<std::int64_t>(value) * kCurrencyScale);
}

double TIBBCDField::AsFloat() const {
    return CurrencyToFloat(AsCurrency());
}

void TIBBCDField::SetAsFloat(double value) {
    SetAsCurrency(FloatToCurrency(value));
}
