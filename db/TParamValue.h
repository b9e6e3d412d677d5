#pragma once
// A value handed to a statement parameter, with the field type that says how
// it travels to the server.
#include "db/FieldTypeCode.h"

#include <cstdint>
#include <string>

struct TParamValue {
    TFieldType DataType = ftUnknown;
    bool IsNull = true;
    // ftString, ftFixedChar, ftMemo, ftBlob: the bytes.
    std::string Text;
    // ftSmallint, ftInteger, ftWord, ftAutoInc, ftLargeint, ftBoolean: the number;
    // ftBCD, ftCurrency: the currency (number times 10000).
    std::int64_t Integer = 0;
    // ftFloat: the number; ftDate, ftTime, ftDateTime, ftTimeStamp: the day number.
    double Number = 0;
};
