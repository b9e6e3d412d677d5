#include "db/TIBStringField.h"

#include "util/DateText.h"
#include "util/NumberText.h"

#include <algorithm>
#include <cstring>

std::string TIBStringField::TextOf(const std::byte* value) const {
    std::uint16_t length = 0;
    std::memcpy(&length, value, sizeof length);
    length = std::min<std::uint16_t>(length, Storage().Length);
    return std::string(reinterpret_cast<const char*>(value + sizeof length), length);
}

void TIBStringField::SetAsString(const std::string& value) {
    if (value.empty()) {
        WriteNull();
        return;
    }
    const auto length = static_cast<std::uint16_t>(std::min<std::size_t>(value.size(), Storage().Length));
    std::byte* slot = Slot();
    std::memcpy(slot, &length, sizeof length);
    std::memcpy(slot + sizeof length, value.data(), length);
    Written();
}

std::int32_t TIBStringField::AsInteger() const {
    return IsNull() ? 0 : StrToInt(AsString());
}

void TIBStringField::SetAsInteger(std::int32_t value) {
    SetAsString(IntToStr(value));
}

double TIBStringField::AsFloat() const {
    return IsNull() ? 0.0 : StrToFloat(AsString());
}

void TIBStringField::SetAsFloat(double value) {
    SetAsString(FloatToStr(value));
}

double TIBStringField::AsDateTime() const {
    return IsNull() ? 0.0 : StrToDateTime(AsString());
}

void TIBStringField::SetAsDateTime(double value) {
    SetAsString(DateTimeToStr(value));
}

bool TIBStringField::AsBoolean() const {
    const std::string text = AsString();
    return !text.empty() && (text[0] == 'T' || text[0] == 't' || text[0] == 'Y' || text[0] == 'y');
}

void TIBStringField::SetAsBoolean(bool value) {
    SetAsString(value ? "T" : "F");
}
