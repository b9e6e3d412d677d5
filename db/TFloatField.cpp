#include "db/TFloatField.h"

#include "db/DatabaseErrors.h"
#include "db/FieldConversions.h"
#include "util/Exceptions.h"
#include "util/NumberText.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr short kFloat = 482;
constexpr short kDouble = 480;

} // namespace

double TFloatField::read(const std::byte* value) const {
    const TFieldStorage& s = Storage();
    if (s.SqlType == kFloat) {
        float v;
        std::memcpy(&v, value, sizeof v);
        return v;
    }
    if (s.SqlType == kDouble) {
        double v;
        std::memcpy(&v, value, sizeof v);
        return v;
    }
    // A scaled integer with more decimals than a currency holds.
    return static_cast<double>(ReadStoredInteger(value, s.SqlType)) * std::pow(10.0, s.Scale);
}

std::string TFloatField::TextOf(const std::byte* value) const {
    return FloatToStr(read(value));
}

void TFloatField::SetAsString(const std::string& value) {
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

std::int32_t TFloatField::AsInteger() const {
    const double rounded = RoundHalfEven(AsFloat());
    constexpr double min = std::numeric_limits<std::int32_t>::min();
    constexpr double max = std::numeric_limits<std::int32_t>::max();
    if (!(rounded >= min && rounded <= max))
        RaiseRangeError(rounded, HeaderName(), min, max);
    return static_cast<std::int32_t>(rounded);
}

void TFloatField::SetAsInteger(std::int32_t value) {
    SetAsFloat(value);
}

double TFloatField::AsFloat() const {
    const std::byte* value = Value();
    return value ? read(value) : 0.0;
}

void TFloatField::SetAsFloat(double value) {
    const TFieldStorage& s = Storage();
    if (s.SqlType == kFloat) {
        constexpr double max = std::numeric_limits<float>::max();
        if (std::isfinite(value) && std::fabs(value) > max)
            RaiseRangeError(value, HeaderName(), -max, max);
        const auto v = static_cast<float>(value);
        std::memcpy(Slot(), &v, sizeof v);
    } else if (s.SqlType == kDouble) {
        std::memcpy(Slot(), &value, sizeof value);
    } else {
        const double raw = RoundHalfEven(value * std::pow(10.0, -s.Scale));
        if (!FitsStoredInteger(raw, s.SqlType))
            RaiseRangeError(value, HeaderName(),
                            static_cast<double>(StoredIntegerMin(s.SqlType)) * std::pow(10.0, s.Scale),
                            static_cast<double>(StoredIntegerMax(s.SqlType)) * std::pow(10.0, s.Scale));
        WriteStoredInteger(Slot(), s.SqlType, static_cast<std::int64_t>(raw));
    }
    Written();
}
