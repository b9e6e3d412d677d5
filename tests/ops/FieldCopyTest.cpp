// Field-to-field copy over a real table. What counts is what a second
// attachment sees committed, and the state a failing row leaves behind.
#include "ops/FieldCopy.h"
#include "db/TDataSource.h"
#include "db/TIBTable.h"
#include "ops/CommitStep.h"
#include "ops/OperationHost.h"
#include "tests/db/DbTestSupport.h"
#include "util/Clock.h"
#include "util/DateText.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Values = std::vector<std::string>;

class CountingHost : public OperationHost {
public:
    explicit CountingHost(MainWindowConnection& main) : main_(main) {}
    bool CommitStep(TIBDataSetBase* dataSet) override {
        ++commits;
        return RunCommitStep(main_.connection, main_.transaction, dataSet);
    }
    int commits = 0;

private:
    MainWindowConnection& main_;
};

class ChangeCounter : public TDataLink {
public:
    void DataSetChanged() override { ++changes; }
    void DataSetScrolled() override { ++other; }
    void RecordChanged(TField*) override { ++other; }
    void EditingChanged() override { ++other; }
    int changes = 0;
    int other = 0;
};

std::string ExceptionText(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "no error";
}

class FieldCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        main.db.exec("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, I INTEGER, R NUMERIC(15,2), "
                     "CUR NUMERIC(15,4), F DOUBLE PRECISION, S VARCHAR(30), C CHAR(6), D DATE, "
                     "TS TIMESTAMP, B VARCHAR(5))");
        main.connection.SetConnected(true);
        main.transaction.Start();
        table.SetTableName("T");
    }
    void TearDown() override { SetNowSource({}); }

    // One row per text, IDs from 1; each text is the rest of a VALUES list after ID.
    void rows(const std::vector<std::string>& columns, const std::vector<std::string>& values) {
        std::string list;
        for (const std::string& column : columns)
            list += ", " + column;
        for (std::size_t i = 0; i < values.size(); ++i)
            main.db.exec("INSERT INTO T (ID" + list + ") VALUES (" + std::to_string(i + 1) + ", " +
                         values[i] + ")");
    }
    void copy(const std::string& from, CopySource source, const std::string& to, CopyTarget target) {
        if (!table.Active())
            table.Open();
        CopyField(table, {from, source, to, target}, host);
    }
    // The copy's error message, or "no error".
    std::string copyError(const std::string& from, CopySource source, const std::string& to,
                          CopyTarget target) {
        return ExceptionText([&] { copy(from, source, to, target); });
    }
    // Committed values by ID, read through the fixture's own attachment; NULL as "<null>".
    Values committed(const std::string& column) {
        Values values;
        for (const TestRow& row : main.db.query("SELECT " + column + " FROM T ORDER BY ID"))
            values.push_back(row[0] ? *row[0] : "<null>");
        return values;
    }

    MainWindowConnection main;
    TIBTable table{"table", &main.connection, &main.transaction};
    CountingHost host{main};
};

TEST_F(FieldCopyTest, NumbersTravelAsGeneralNumberText) {
    rows({"R", "F", "S", "I"}, {"12.5, 0.1, '1.23456', 42", "-0.25, 1e20, ' 7 ', 0"});
    copy("R", CopySource::Real, "S", CopyTarget::String);
    EXPECT_EQ(committed("S"), (Values{"12.5", "-0.25"}));
    copy("F", CopySource::Float, "S", CopyTarget::String);
    EXPECT_EQ(committed("S"), (Values{"0.1", "1E20"}));

    main.db.exec("UPDATE T SET S = CASE ID WHEN 1 THEN '1.23456' ELSE ' 7 ' END");
    table.Close();
    copy("S", CopySource::String, "CUR", CopyTarget::Real);
    EXPECT_EQ(committed("CUR"), (Values{"1.2346", "7.0000"})) << "rounded to four decimals, blanks allowed";
    copy("I", CopySource::Integer, "CUR", CopyTarget::Real);
    EXPECT_EQ(committed("CUR"), (Values{"42.0000", "0.0000"}));
    copy("R", CopySource::Real, "F", CopyTarget::Float);
    EXPECT_EQ(committed("F"), (Values{"12.50000000000000", "-0.2500000000000000"}));
    EXPECT_EQ(host.commits, 10) << "one commit step per row";
}

TEST_F(FieldCopyTest, IntegerTargetRefusesDecimalsAndTrailingBlanksWhileOtherTargetsTakeThem) {
    rows({"R", "C"}, {"12.5, '7'"});
    EXPECT_EQ(copyError("R", CopySource::Real, "I", CopyTarget::Integer),
              "'12.5' is not a valid integer value");
    EXPECT_EQ(table.State(), dsEdit) << "the failing row stays in edit state";
    EXPECT_FALSE(table.Modified()) << "with nothing written";
    table.Cancel();
    copy("R", CopySource::Real, "S", CopyTarget::DigitsOnly);
    EXPECT_EQ(committed("S"), (Values{"125"}));

    EXPECT_EQ(copyError("C", CopySource::String, "I", CopyTarget::Integer),
              "'7     ' is not a valid integer value");
    table.Cancel();
    copy("C", CopySource::String, "CUR", CopyTarget::Real);
    copy("C", CopySource::Integer, "F", CopyTarget::Float);
    EXPECT_EQ(committed("CUR || '|' || F"), (Values{"7.0000|7.000000000000000"}));
}

TEST_F(FieldCopyTest, DatesTravelAsShortDateTextWithoutTheirTime) {
    rows({"D", "TS"}, {"'2020-02-05', '2021-03-04 14:30:00'", "NULL, NULL"});
    copy("D", CopySource::Date, "S", CopyTarget::String);
    EXPECT_EQ(committed("S"), (Values{"05/02/2020", "30/12/1899"})) << "an empty date is day zero";
    copy("TS", CopySource::Date, "B", CopyTarget::String);
    EXPECT_EQ(committed("B"), (Values{"04/03", "30/12"})) << "cut to the column's five characters";
    copy("TS", CopySource::Date, "TS", CopyTarget::Date);
    EXPECT_EQ(committed("CAST(TS AS VARCHAR(24))"),
              (Values{"2021-03-04 00:00:00.0000", "1899-12-30 00:00:00.0000"}));
}

TEST_F(FieldCopyTest, DateTargetReadsDayMonthYearWithTheYearOfTheClock) {
    SetNowSource([] { return EncodeDate(2026, 6, 15); });
    rows({"S"}, {"'05/02/76'", "'05/02/75'", "'29/2'", "' 1/12/2003 '"});
    EXPECT_EQ(copyError("S", CopySource::String, "D", CopyTarget::Date), "'29/2' is not a valid date");
    EXPECT_EQ(committed("D"), (Values{"1976-02-05", "2075-02-05", "<null>", "<null>"}));
    EXPECT_EQ(table.RecNo(), 2);

    SetNowSource([] { return EncodeDate(2028, 1, 1); });
    table.Cancel();
    copy("S", CopySource::String, "D", CopyTarget::Date);
    EXPECT_EQ(committed("D"), (Values{"2076-02-05", "2075-02-05", "2028-02-29", "2003-12-01"}));
}

TEST_F(FieldCopyTest, BooleanTargetWritesOnlyTrueOrFalseAndStillCommitsTheOtherRows) {
    rows({"S", "B"}, {"'true', 'x'", "'True', 'x'", "'FALSE', 'x'", "'S', 'x'", "'1', 'x'", "NULL, 'x'"});
    copy("S", CopySource::String, "B", CopyTarget::Boolean);
    EXPECT_EQ(committed("B"), (Values{"T", "T", "F", "x", "x", "x"}));
    EXPECT_EQ(host.commits, 1) << "the six rows went in one block, committed once";

    copy("S", CopySource::Boolean, "S", CopyTarget::String);
    EXPECT_EQ(committed("S"), (Values{"TRUE", "TRUE", "FALSE", "FALSE", "FALSE", "FALSE"}));
    EXPECT_EQ(copyError("S", CopySource::Boolean, "I", CopyTarget::Integer),
              "'TRUE' is not a valid integer value");
    table.Cancel();
    EXPECT_EQ(copyError("I", CopySource::Boolean, "S", CopyTarget::String),
              "Cannot access field 'I' as type Boolean");
    EXPECT_EQ(table.State(), dsBrowse) << "a source that cannot be read fails before the edit";
}

TEST_F(FieldCopyTest, AFailureAtTheTenthRowLeavesNineRowsCommitted) {
    std::vector<std::string> values;
    for (int i = 1; i <= 12; ++i)
        values.push_back(i == 10 ? "'ten'" : "'" + std::to_string(i) + "'");
    rows({"S"}, values);
    EXPECT_EQ(copyError("S", CopySource::String, "I", CopyTarget::Integer),
              "'ten' is not a valid integer value");
    EXPECT_EQ(committed("I"),
              (Values{"1", "2", "3", "4", "5", "6", "7", "8", "9", "<null>", "<null>", "<null>"}));
    EXPECT_EQ(host.commits, 1) << "the nine rows before it went in one block, committed before the error";
    EXPECT_EQ(table.RecNo(), 9);
    EXPECT_EQ(table.State(), dsEdit);
}

TEST_F(FieldCopyTest, SameColumnKeepsOnlyDigitsAndAValueWithoutDigitsBecomesNull) {
    rows({"S"}, {"'(11) 98765-4321'", "'sem numero'"});
    copy("S", CopySource::String, "S", CopyTarget::DigitsOnly);
    EXPECT_EQ(committed("S"), (Values{"11987654321", "<null>"}));
}

TEST_F(FieldCopyTest, UnknownColumnsEmptyValuesAndClosedOrEmptyTables) {
    EXPECT_EQ(ExceptionText([&] {
                  CopyField(table, {"S", CopySource::String, "I", CopyTarget::Integer}, host);
              }),
              "table: Cannot perform this operation on a closed dataset");
    table.Open();
    copy("S", CopySource::String, "I", CopyTarget::Integer);
    EXPECT_EQ(host.commits, 0) << "an empty table runs no commit step";

    rows({"S"}, {"NULL"});
    table.Close();
    EXPECT_EQ(copyError("NOPE", CopySource::String, "I", CopyTarget::Integer),
              "table: Field 'NOPE' not found");
    EXPECT_EQ(table.State(), dsBrowse);
    EXPECT_EQ(copyError("S", CopySource::String, "NOPE", CopyTarget::Integer),
              "table: Field 'NOPE' not found");
    EXPECT_EQ(table.State(), dsEdit);
    table.Cancel();
    EXPECT_EQ(copyError("S", CopySource::String, "F", CopyTarget::Float),
              "'' is not a valid floating point value");
    table.Cancel();
    EXPECT_EQ(copyError("S", CopySource::String, "I", CopyTarget::Integer),
              "'' is not a valid integer value");
    table.Cancel();
    EXPECT_EQ(host.commits, 0);
}

// Every post and commit would make a grid re-read all its rows; it hears one change at the end.
TEST_F(FieldCopyTest, ShownDataHearsOneChangeForTheWholeCopyAlsoWhenItFails) {
    rows({"S"}, {"'1'", "'2'", "'x'"});
    TDataSource source("dtstable", &table);
    ChangeCounter grid;
    grid.SetDataSource(&source);
    table.Open();
    copyError("S", CopySource::String, "I", CopyTarget::Integer);
    EXPECT_EQ(grid.changes, 1);
    EXPECT_EQ(grid.other, 0);
    EXPECT_FALSE(table.ControlsDisabled());
}

} // namespace
