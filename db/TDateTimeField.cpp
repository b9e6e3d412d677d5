#include "db/TDateTimeField.h"

#include "db/ServerDates.h"
#include "util/DateText.h"

#include <cstring>

double TDateTimeField::read(const std::byte* value) const {
    switch (Storage().SqlType) {
    case SQL_TYPE_DATE: {
        ISC_DATE date;
        std::memcpy(&date, value, sizeof date);
        return DateFromServer(date);
    }
    case SQL_TYPE_TIME: {
        ISC_TIME time;
        std::memcpy(&time, value, sizeof time);
        return TimeFromServer(time);
    }
    default: {
        ISC_TIMESTAMP timestamp;
        std::memcpy(&timestamp, value, sizeof timestamp);
        return TimestampFromServer(timestamp);
    }
    }
}

std::string TDateTimeField::TextOf(const std::byte* value) const {
    const double dateTime = read(value);
    switch (Storage().SqlType) {
    case SQL_TYPE_DATE:
        return DateToStr(dateTime);
    case SQL_TYPE_TIME:
        return TimeToStr(dateTime);
    default:
        return DateTimeToStr(dateTime);
    }
}

void TDateTimeField::SetAsString(const std::string& value) {
    if (value.empty()) {
        WriteNull();
        return;
    }
    switch (Storage().SqlType) {
    case SQL_TYPE_DATE:
        SetAsDateTime(StrToDate(value));
        break;
    case SQL_TYPE_TIME:
        SetAsDateTime(StrToTime(value));
        break;
    default:
        SetAsDateTime(StrToDateTime(value));
        break;
    }
}

double TDateTimeField::AsDateTime() const {
    const std::byte* value = Value();
    return value ? read(value) : 0.0;
}

void TDateTimeField::SetAsDateTime(double value) {
    // Converted before the slot is touched: a bad value leaves the row as it was.
    switch (Storage().SqlType) {
    case SQL_TYPE_DATE: {
        const ISC_DATE date = DateToServer(value);
        std::memcpy(Slot(), &date, sizeof date);
        break;
    }
    case SQL_TYPE_TIME: {
        const ISC_TIME time = TimeToServer(value);
        std::memcpy(Slot(), &time, sizeof time);
        break;
    }
    default: {
        const ISC_TIMESTAMP timestamp = TimestampToServer(value);
        std::memcpy(Slot(), &timestamp, sizeof timestamp);
        break;
    }
    }
    Written();
}

double TDateTimeField::AsFloat() const {
    return AsDateTime();
}

void TDateTimeField::SetAsFloat(double value) {
    SetAsDateTime(value);
}
