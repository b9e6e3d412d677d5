#pragma once
// The data type of a field as a small integer in a fixed order, and how the
// column types of a statement's result become fields.
#include <optional>

enum TFieldType : int {
    ftUnknown = 0,
    ftString = 1,
    ftSmallint = 2,
    ftInteger = 3,
    ftWord = 4,
    ftBoolean = 5,
    ftFloat = 6,
    ftCurrency = 7,
    ftBCD = 8,
    ftDate = 9,
    ftTime = 10,
    ftDateTime = 11,
    ftBytes = 12,
    ftVarBytes = 13,
    ftAutoInc = 14,
    ftBlob = 15,
    ftMemo = 16,
    ftGraphic = 17,
    ftFmtMemo = 18,
    ftParadoxOle = 19,
    ftDBaseOle = 20,
    ftTypedBinary = 21,
    ftCursor = 22,
    ftFixedChar = 23,
    ftWideString = 24,
    ftLargeint = 25,
    ftADT = 26,
    ftArray = 27,
    ftReference = 28,
    ftDataSet = 29,
    ftOraBlob = 30,
    ftOraClob = 31,
    ftVariant = 32,
    ftInterface = 33,
    ftIDispatch = 34,
    ftGuid = 35,
    ftTimeStamp = 36,
    ftFMTBcd = 37,
};

// The name as the program writes it ("ftString"); "" outside the range.
const char* FieldTypeName(TFieldType type);

// What a result column becomes.
struct TColumnMapping {
    TFieldType DataType = ftUnknown;
    int Size = 0;
    int Precision = 0;        // BCD only
    bool FixedLength = false; // CHAR
};

// Column types as the client library describes them (without the null flag bit).
enum TServerColumnType : int {
    sctVarchar = 448,
    sctChar = 452,
    sctDouble = 480,
    sctFloat = 482,
    sctInteger = 496,
    sctSmallint = 500,
    sctTimestamp = 510,
    sctBlob = 520,
    sctDFloat = 530,
    sctArray = 540,
    sctQuad = 550,
    sctTime = 560,
    sctDate = 570,
    sctInt64 = 580,
};

// The field a column of this type becomes; nothing for arrays, quads, d_float
// and types this program does not know. `length` is the declared byte length
// of a text column.
std::optional<TColumnMapping> MapColumn(int sqlType, int scale, int subType, int length);

// The alias of the row key column; such a column never becomes a field.
inline constexpr const char* kDBKeyAlias = "IBX_INTERNAL_DBKEY";
