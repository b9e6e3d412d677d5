// Fields on a real table of every mapped column type: what they are, how their
// values read and convert, how assigned values reach the server, and the
// conversion errors (which carry no component name).
#include "DataSetTestSupport.h"
#include "tests/util/TestHelpers.h"
#include "util/DateText.h"
#include "util/Exceptions.h"

#include <gtest/gtest.h>

namespace {

struct AllTypes : TableFixture {
    AllTypes() {
        db.exec(kAllTypesTable);
        db.exec(
            "INSERT INTO ALLTYPES (ID, VC, CH, DP, FL, NI, NS, NB, NF, SI, BI, TS, DT, TM, MEMO, BIN) VALUES "
            "(1, 'abc', 'ab', 0.1, 1.5, 12.5, 12.5, 12.5, 1.234567, -7, 4294967297, "
            "'2024-02-29 13:14:15.1234', '2024-02-29', '13:14:15.1234', 'memo text', 'bin')");
        db.exec("INSERT INTO ALLTYPES (ID) VALUES (2)");
        db.exec("INSERT INTO ALLTYPES (ID, TS, NB, VC) VALUES (3, '2024-03-01 00:00:00', 13.5, 'T')");
        open("ALLTYPES");
    }
    // Posts the current row after `assign` and returns the committed column text.
    std::optional<std::string> stored(const std::string& column, int id = 1) {
        return committed("SELECT " + column + " FROM ALLTYPES WHERE ID = " + std::to_string(id));
    }
};

} // namespace

TEST(Fields, EachColumnTypeGetsItsFieldTypeAndSizes) {
    AllTypes t;
    struct Expect {
        const char* name;
        TFieldType type;
        int size, dataSize;
    };
    const Expect expected[] = {
        {"ID", ftInteger, 0, 4},  {"VC", ftString, 10, 11}, {"CH", ftString, 6, 7},
        {"DP", ftFloat, 0, 8},    {"FL", ftFloat, 0, 8},    {"NI", ftBCD, 2, 8},
        {"NS", ftBCD, 1, 8},      {"NB", ftBCD, 2, 8},      {"NF", ftFloat, 0, 8},
        {"SI", ftSmallint, 0, 2}, {"BI", ftLargeint, 0, 8}, {"TS", ftDateTime, 0, 8},
        {"DT", ftDate, 0, 8},     {"TM", ftTime, 0, 8},     {"MEMO", ftMemo, 8, 8},
        {"BIN", ftBlob, 8, 8},    {"CC", ftLargeint, 0, 8},
    };
    ASSERT_EQ(t.table.FieldCount(),
              static_cast<int>(std::size(expected))); // no field for ARR nor the row key
    for (int i = 0; i < t.table.FieldCount(); ++i) {
        const TField& f = *t.table.FieldAt(i);
        EXPECT_EQ(f.FieldName(), expected[i].name);
        EXPECT_EQ(f.DataType(), expected[i].type) << f.FieldName();
        EXPECT_EQ(f.Size(), expected[i].size) << f.FieldName();
        EXPECT_EQ(f.DataSize(), expected[i].dataSize) << f.FieldName();
        EXPECT_EQ(f.Index(), i);
    }
    EXPECT_EQ(t.field("NB").Precision(), 18);
    EXPECT_EQ(t.field("NS").Precision(), 4);
    EXPECT_TRUE(t.field("CH").FixedLength());
    EXPECT_TRUE(t.field("ID").Required());
    EXPECT_FALSE(t.field("VC").Required());
    EXPECT_EQ(t.field("VC").FieldNo(), 2);
    EXPECT_EQ(t.field("CC").FieldNo(), 18); // after ARR, which has no field
    EXPECT_TRUE(t.field("CC").ReadOnly());
    EXPECT_FALSE(t.field("VC").ReadOnly());
    EXPECT_EQ(t.table.FindField("ARR"), nullptr);
    EXPECT_EQ(t.table.FindField("IBX_INTERNAL_DBKEY"), nullptr);
}

TEST(Fields, ValuesReadAsTheirTexts) {
    SettingsGuard guard;
    ApplyProgramFormatSettings();
    AllTypes t;
    EXPECT_EQ(t.field("VC").AsString(), "abc");
    EXPECT_EQ(t.field("CH").AsString(), "ab    ");
    EXPECT_EQ(t.field("DP").AsString(), "0.1");
    EXPECT_EQ(t.field("FL").AsString(), "1.5");
    EXPECT_EQ(t.field("NI").AsString(), "12.5");
    EXPECT_EQ(t.field("NS").AsString(), "12.5");
    EXPECT_EQ(t.field("NB").AsString(), "12.5");
    EXPECT_EQ(t.field("NF").AsString(), "1.234567");
    EXPECT_EQ(t.field("SI").AsString(), "-7");
    EXPECT_EQ(t.field("BI").AsString(), "4294967297");
    EXPECT_EQ(t.field("TS").AsString(), "29/02/2024 13:14:15");
    EXPECT_EQ(t.field("DT").AsString(), "29/02/2024");
    EXPECT_EQ(t.field("TM").AsString(), "13:14:15");
    EXPECT_EQ(t.field("MEMO").AsString(), "memo text");
    EXPECT_EQ(t.field("BIN").AsString(), "bin");
    EXPECT_EQ(t.field("CC").AsString(), "2");
    EXPECT_EQ(t.field("MEMO").DisplayText(), "(MEMO)");
    EXPECT_EQ(t.field("BIN").DisplayText(), "(BLOB)");
    EXPECT_EQ(t.field("NB").DisplayText(), "12.5");

    t.table.MoveTo(2);
    // A timestamp at midnight shows its date only.
    EXPECT_EQ(t.field("TS").AsString(), "01/03/2024");
}

TEST(Fields, NumbersConvertWithHalvesToEven) {
    AllTypes t;
    EXPECT_EQ(t.field("BI").AsInteger(), 1); // the low 32 bits of 2^32 + 1
    EXPECT_DOUBLE_EQ(t.field("BI").AsFloat(), 4294967297.0);
    EXPECT_EQ(t.field("NB").AsCurrency(), 125000);
    EXPECT_EQ(t.field("NS").AsCurrency(), 125000);
    EXPECT_EQ(t.field("NB").AsInteger(), 12);
    EXPECT_DOUBLE_EQ(t.field("NB").AsFloat(), 12.5);
    EXPECT_EQ(t.field("FL").AsInteger(), 2);
    EXPECT_EQ(t.field("DP").AsCurrency(), 1000);
    EXPECT_EQ(t.field("SI").AsCurrency(), -70000);
    EXPECT_EQ(t.field("NF").AsCurrency(), 12346);
    EXPECT_DOUBLE_EQ(t.field("TM").AsFloat(), EncodeTime(13, 14, 15, 123));
    EXPECT_DOUBLE_EQ(t.field("DT").AsDateTime(), EncodeDate(2024, 2, 29));
    EXPECT_DOUBLE_EQ(t.field("TS").AsDateTime(), EncodeDate(2024, 2, 29) + EncodeTime(13, 14, 15, 123));
    t.table.MoveTo(2);
    EXPECT_EQ(t.field("NB").AsInteger(), 14);
    EXPECT_TRUE(t.field("VC").AsBoolean());
}

TEST(Fields, NullReadsAsEmptyZeroAndFalse) {
    AllTypes t;
    t.table.MoveTo(1);
    for (int i = 1; i < t.table.FieldCount() - 1; ++i) {
        const TField& f = *t.table.FieldAt(i);
        EXPECT_TRUE(f.IsNull()) << f.FieldName();
        EXPECT_EQ(f.AsString(), "") << f.FieldName();
    }
    EXPECT_EQ(t.field("VC").AsInteger(), 0);
    EXPECT_EQ(t.field("VC").AsFloat(), 0.0);
    EXPECT_FALSE(t.field("VC").AsBoolean());
    EXPECT_EQ(t.field("NB").AsCurrency(), 0);
    EXPECT_EQ(t.field("TS").AsDateTime(), 0.0);
    EXPECT_EQ(t.field("MEMO").DisplayText(), "(memo)");
    EXPECT_EQ(t.field("BIN").DisplayText(), "(blob)");
}

TEST(Fields, ConversionsAClassDoesNotOfferAreRefusedByHeaderName) {
    AllTypes t;
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.field("SI").AsBoolean(); }),
              "Cannot access field 'SI' as type Boolean");
    t.field("ID").SetDisplayLabel("Codigo");
    EXPECT_EQ(t.field("ID").HeaderName(), "Codigo");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.field("ID").AsDateTime(); }),
              "Cannot access field 'Codigo' as type DateTime");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.field("DT").AsInteger(); }),
              "Cannot access field 'DT' as type Integer");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.field("MEMO").AsFloat(); }),
              "Cannot access field 'MEMO' as type Float");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.field("BIN").AsCurrency(); }),
              "Cannot access field 'BIN' as type Float");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.field("NB").AsBoolean(); }),
              "Cannot access field 'NB' as type Boolean");
    // Text that is no number fails in the run-time library's words.
    EXPECT_EQ(ErrorOf<EConvertError>([&] { t.field("VC").AsInteger(); }),
              "'abc' is not a valid integer value");
    EXPECT_EQ(ErrorOf<EConvertError>([&] { t.field("VC").AsFloat(); }),
              "'abc' is not a valid floating point value");
}

TEST(FieldAssignment, OnlyInEditOrInsertStateAndNeverToComputedColumns) {
    AllTypes t;
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.field("VC").SetAsString("x"); }), "Not in edit mode");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.field("VC").Clear(); }), "Not in edit mode");
    t.table.Edit();
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.field("CC").SetAsInteger(5); }),
              "Field 'CC' cannot be modified");
    EXPECT_FALSE(t.table.Modified());
}

TEST(FieldAssignment, StringsAreCutToSizeAndEmptyStoresNull) {
    AllTypes t;
    t.table.Edit();
    t.field("VC").SetAsString("123456789012");
    EXPECT_EQ(t.field("VC").AsString(), "1234567890");
    t.field("CH").SetAsString("");
    EXPECT_TRUE(t.field("CH").IsNull());
    t.table.Post();
    EXPECT_EQ(t.stored("VC"), "1234567890");
    EXPECT_EQ(t.stored("CH"), std::nullopt);

    t.table.Edit();
    t.field("VC").SetAsBoolean(false);
    t.field("CH").SetAsInteger(-42);
    t.table.Post();
    EXPECT_EQ(t.stored("VC"), "F");
    EXPECT_EQ(t.stored("CH"), "-42   "); // read back padded
    EXPECT_EQ(t.field("CH").AsString(), "-42   ");
}

TEST(FieldAssignment, IntegerFieldsCheckTextAndRange) {
    AllTypes t;
    t.table.Edit();
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.field("SI").SetAsString("12abc"); }),
              "'12abc' is not a valid integer value for field 'SI'");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.field("SI").SetAsString("40000"); }),
              "40000 is not a valid value for field 'SI'. The allowed range is -32768 to 32767");
    EXPECT_EQ(
        ErrorOf<EDatabaseError>([&] { t.field("ID").SetAsFloat(3e9); }),
        "3000000000 is not a valid value for field 'ID'. The allowed range is -2147483648 to 2147483647");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.field("BI").SetAsString("1e3"); }),
              "'1e3' is not a valid integer value for field 'BI'");
    EXPECT_EQ(t.field("SI").AsInteger(), -7); // refused values leave the field as it was
    t.field("SI").SetAsFloat(2.5);
    EXPECT_EQ(t.field("SI").AsInteger(), 2);
    t.field("SI").SetAsFloat(3.5);
    EXPECT_EQ(t.field("SI").AsInteger(), 4);
    t.field("BI").SetAsString("9223372036854775807");
    t.field("NI").SetAsString("");
    t.table.Post();
    EXPECT_EQ(t.stored("SI"), "4");
    EXPECT_EQ(t.stored("BI"), "9223372036854775807");
    EXPECT_EQ(t.stored("NI"), std::nullopt);
}

TEST(FieldAssignment, DecimalsRoundToTheColumnScaleHalvesToEven) {
    SettingsGuard guard;
    ApplyProgramFormatSettings();
    AllTypes t;
    t.table.Edit();
    t.field("NB").SetAsString("12.345");
    EXPECT_EQ(t.field("NB").AsString(), "12.34");
    t.field("NI").SetAsFloat(12.355);
    EXPECT_EQ(t.field("NI").AsString(), "12.36");
    t.field("NS").SetAsCurrency(-5);
    EXPECT_EQ(t.field("NS").AsString(), "0");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.field("NS").SetAsInteger(5000); }),
              "5000 is not a valid value for field 'NS'. The allowed range is -3276.8 to 3276.7");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.field("NB").SetAsString("12,5"); }),
              "'12,5' is not a valid floating point value for field 'NB'");
    t.field("NF").SetAsFloat(0.0000015);
    t.table.Post();
    EXPECT_EQ(t.stored("NB"), "12.34");
    EXPECT_EQ(t.stored("NI"), "12.36");
    EXPECT_EQ(t.stored("NS"), "0.0");
    EXPECT_EQ(t.stored("NF"), "0.000002");
}

TEST(FieldAssignment, FloatsDatesAndTimes) {
    SettingsGuard guard;
    ApplyProgramFormatSettings();
    AllTypes t;
    t.table.Edit();
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.field("DP").SetAsString("x1"); }),
              "'x1' is not a valid floating point value for field 'DP'");
    EXPECT_EQ(ErrorOf<EConvertError>([&] { t.field("DT").SetAsString("31/02/2024"); }),
              "'31/02/2024' is not a valid date");
    EXPECT_EQ(ErrorOf<EConvertError>([&] { t.field("TM").SetAsString("25:00"); }),
              "'25:00' is not a valid time");
    EXPECT_EQ(ErrorOf<EConvertError>([&] { t.field("TS").SetAsString("x"); }),
              "'x' is not a valid date and time");
    t.field("DP").SetAsString("1.5E-7");
    t.field("DT").SetAsString("01/03/2024");
    t.field("TM").SetAsString("10:20:30");
    t.field("TS").SetAsDateTime(EncodeDate(1899, 12, 29) - EncodeTime(6, 0, 0, 0));
    t.table.Post();
    EXPECT_EQ(t.stored("DP"), "1.500000000000000e-07");
    EXPECT_EQ(t.stored("DT"), "2024-03-01");
    EXPECT_EQ(t.stored("TM"), "10:20:30.0000");
    EXPECT_EQ(t.stored("TS"), "29-DEC-1899 6:00:00.0000");
    EXPECT_EQ(t.field("TS").AsString(), "29/12/1899 06:00:00");
}

TEST(FieldAssignment, ValuesNotAssignedGoBackExactly) {
    AllTypes t;
    t.table.Edit();
    t.field("VC").SetAsString("changed");
    t.table.Post();
    // Every column is written again by the update; untouched ones keep every digit.
    EXPECT_EQ(t.stored("TM"), "13:14:15.1234");
    EXPECT_EQ(t.stored("TS"), "29-FEB-2024 13:14:15.1234");
    EXPECT_EQ(t.stored("DP"), "0.1000000000000000");
    EXPECT_EQ(t.stored("CH"), "ab    ");
    EXPECT_EQ(t.stored("MEMO"), "memo text");
    EXPECT_EQ(t.stored("BIN"), "bin");
}

TEST(Fields, Dialect1DatesAreTimestampsAndNumericsAreFloats) {
    SettingsGuard guard;
    ApplyProgramFormatSettings();
    TableFixture t(1);
    t.db.exec("CREATE TABLE T1 (ID INTEGER NOT NULL PRIMARY KEY, D DATE, N NUMERIC(15,2))");
    t.db.exec("INSERT INTO T1 VALUES (1, '29-FEB-2024', 12.5)");
    t.open("T1");
    EXPECT_EQ(t.connection.SQLDialect(), 1);
    EXPECT_EQ(t.field("D").DataType(), ftDateTime);
    EXPECT_EQ(t.field("N").DataType(), ftFloat);
    EXPECT_EQ(t.field("D").AsString(), "29/02/2024");
    EXPECT_EQ(t.field("N").AsString(), "12.5");
    t.table.Edit();
    t.field("N").SetAsFloat(0.25);
    t.table.Post();
    EXPECT_EQ(t.committed("SELECT N FROM T1"), "0.25");
}
