#include "db/TIntegerField.h"

#include "db/DatabaseErrors.h"
#include "db/FieldConversions.h"
#include "util/Exceptions.h"
#include "util/NumberText.h"

namespace {

[[noreturn]] void raiseInvalidInteger(const std::string& text, const std::string& fieldName) {
    throw EDatabaseError("'" + text + "' is not a valid integer value for field '" + fieldName + "'");
}

// 2^63: the first double beyond a 64-bit integer.
constexpr double kInt64Limit = 9223372036854775808.0;

} // namespace

std::string TIntegerField::TextOf(const std::byte* value) const {
    return IntToStr(ReadStoredInteger(value, Storage().SqlType));
}

std::int64_t TIntegerField::stored() const {
    const std::byte* value = Value();
    return value ? ReadStoredInteger(value, Storage().SqlType) : 0;
}

void TIntegerField::store(std::int64_t value) {
    const short type = Storage().SqlType;
    if (value < StoredIntegerMin(type) || value > StoredIntegerMax(type))
        RaiseRangeError(static_cast<double>(value), HeaderName(), static_cast<double>(StoredIntegerMin(type)),
                        static_cast<double>(StoredIntegerMax(type)));
    WriteStoredInteger(Slot(), type, value);
    Written();
}

void TIntegerField::SetAsString(const std::string& value) {
    if (value.empty()) {
        WriteNull();
        return;
    }
    std::int32_t parsed = 0;
    try {
        parsed = StrToInt(value);
    } catch (const EConvertError&) {
        raiseInvalidInteger(value, HeaderName());
    }
    store(parsed);
}

std::int32_t TIntegerField::AsInteger() const {
    return static_cast<std::int32_t>(stored());
}

void TIntegerField::SetAsInteger(std::int32_t value) {
    store(value);
}

double TIntegerField::AsFloat() const {
    return static_cast<double>(stored());
}

void TIntegerField::SetAsFloat(double value) {
    const double rounded = RoundHalfEven(value);
    const short type = Storage().SqlType;
    if (!FitsStoredInteger(rounded, type))
        RaiseRangeError(rounded, HeaderName(), static_cast<double>(StoredIntegerMin(type)),
                        static_cast<double>(StoredIntegerMax(type)));
    store(static_cast<std::int64_t>(rounded));
}

std::string TLargeintField::TextOf(const std::byte* value) const {
    return IntToStr(ReadStoredInteger(value, Storage().SqlType));
}

std::int64_t TLargeintField::AsLargeInt() const {
    const std::byte* value = Value();
    return value ? ReadStoredInteger(value, Storage().SqlType) : 0;
}

void TLargeintField::SetAsLargeInt(std::int64_t value) {
    WriteStoredInteger(Slot(), Storage().SqlType, value);
    Written();
}

void TLargeintField::SetAsString(const std::string& value) {
    if (value.empty()) {
        WriteNull();
        return;
    }
    std::int64_t parsed = 0;
    try {
        parsed = StrToInt64(value);
    } catch (const EConvertError&) {
        raiseInvalidInteger(value, HeaderName());
    }
    SetAsLargeInt(parsed);
}

std::int32_t TLargeintField::AsInteger() const {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(AsLargeInt())));
}

void TLargeintField::SetAsInteger(std::int32_t value) {
    SetAsLargeInt(value);
}

double TLargeintField::AsFloat() const {
    return static_cast<double>(AsLargeInt());
}

void TLargeintField::SetAsFloat(double value) {
    const double rounded = RoundHalfEven(value);
    // Beyond 64 bits there is no integer to round to.
    if (!FitsStoredInteger(rounded, Storage().SqlType))
        RaiseRangeError(rounded, HeaderName(), -kInt64Limit, kInt64Limit);
    SetAsLargeInt(static_cast<std::int64_t>(rounded));
}
