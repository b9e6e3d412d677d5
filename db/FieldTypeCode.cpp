#include "db/FieldTypeCode.h"

#include <iterator>

namespace {

constexpr const char* kNames[] = {
    "ftUnknown",    "ftString",     "ftSmallint", "ftInteger",     "ftWord",      "ftBoolean",
    "ftFloat",      "ftCurrency",   "ftBCD",      "ftDate",        "ftTime",      "ftDateTime",
    "ftBytes",      "ftVarBytes",   "ftAutoInc",  "ftBlob",        "ftMemo",      "ftGraphic",
    "ftFmtMemo",    "ftParadoxOle", "ftDBaseOle", "ftTypedBinary", "ftCursor",    "ftFixedChar",
    "ftWideString", "ftLargeint",   "ftADT",      "ftArray",       "ftReference", "ftDataSet",
    "ftOraBlob",    "ftOraClob",    "ftVariant",  "ftInterface",   "ftIDispatch", "ftGuid",
    "ftTimeStamp",  "ftFMTBcd",
};

constexpr int kTextBlobSubType = 1;

// A scaled integer column: a whole number, a BCD of up to four decimals, or a float.
TColumnMapping scaledInteger(TFieldType whole, int precision, int scale) {
    if (scale == 0)
        return {whole, 0, 0, false};
    if (scale >= -4 && scale < 0)
        return {ftBCD, -scale, precision, false};
    return {ftFloat, 0, 0, false};
}

} // namespace

const char* FieldTypeName(TFieldType type) {
    const int code = static_cast<int>(type);
    return code >= 0 && code < static_cast<int>(std::size(kNames)) ? kNames[code] : "";
}

std::optional<TColumnMapping> MapColumn(int sqlType, int scale, int subType, int length) {
    switch (sqlType & ~1) {
    case sctVarchar:
        return TColumnMapping{ftString, length, 0, false};
    case sctChar:
        return TColumnMapping{ftString, length, 0, true};
    case sctDouble:
    case sctFloat:
        return TColumnMapping{ftFloat, 0, 0, false};
    case sctInteger:
        return scaledInteger(ftInteger, 9, scale);
    case sctSmallint:
        // Any scale other than 0 is a BCD of precision 4, also beyond four decimals.
        return scale == 0 ? TColumnMapping{ftSmallint, 0, 0, false} : TColumnMapping{ftBCD, -scale, 4, false};
    case sctTimestamp:
        return TColumnMapping{ftDateTime, 0, 0, false};
    case sctBlob:
        return subType == kTextBlobSubType ? TColumnMapping{ftMemo, 8, 0, false}
                                           : TColumnMapping{ftBlob, 8, 0, false};
    case sctTime:
        return TColumnMapping{ftTime, 0, 0, false};
    case sctDate:
        return TColumnMapping{ftDate, 0, 0, false};
    case sctInt64:
        return scaledInteger(ftLargeint, 18, scale);
    default:
        return std::nullopt;
    }
}
