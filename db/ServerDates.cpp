#include "db/ServerDates.h"

#include "util/DateText.h"

#include <ctime>

namespace {

constexpr ISC_TIME kUnitsPerSecond = 10000;
constexpr ISC_TIME kUnitsPerMillisecond = 10;

} // namespace

double DateFromServer(ISC_DATE date) {
    std::tm parts{};
    Client().decode_sql_date(&date, &parts);
    return EncodeDate(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday);
}

ISC_DATE DateToServer(double dateTime) {
    const DateParts date = DecodeDate(dateTime);
    std::tm parts{};
    parts.tm_year = date.Year - 1900;
    parts.tm_mon = date.Month - 1;
    parts.tm_mday = date.Day;
    ISC_DATE encoded = 0;
    Client().encode_sql_date(&parts, &encoded);
    return encoded;
}

double TimeFromServer(ISC_TIME time) {
    std::tm parts{};
    Client().decode_sql_time(&time, &parts);
    const auto millisecond = static_cast<int>(time % kUnitsPerSecond / kUnitsPerMillisecond);
    return EncodeTime(parts.tm_hour, parts.tm_min, parts.tm_sec, millisecond);
}

ISC_TIME TimeToServer(double dateTime) {
    const TimeParts time = DecodeTime(dateTime);
    std::tm parts{};
    parts.tm_hour = time.Hour;
    parts.tm_min = time.Minute;
    parts.tm_sec = time.Second;
    ISC_TIME encoded = 0;
    Client().encode_sql_time(&parts, &encoded);
    return encoded + static_cast<ISC_TIME>(time.Millisecond) * kUnitsPerMillisecond;
}

double TimestampFromServer(const ISC_TIMESTAMP& timestamp) {
    return ComposeDateTime(DateFromServer(timestamp.timestamp_date),
                           TimeFromServer(timestamp.timestamp_time));
}

ISC_TIMESTAMP TimestampToServer(double dateTime) {
    return ISC_TIMESTAMP{DateToServer(dateTime), TimeToServer(dateTime)};
}
