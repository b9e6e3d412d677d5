// Record elimination over a real table, with a host that records what the
// operations ask of the window, in order.
#include "ops/RecordElimination.h"
#include "db/TIBTable.h"
#include "ops/CommitStep.h"
#include "ops/OperationHost.h"
#include "tests/db/DbTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Events = std::vector<std::string>;

class RecordingHost : public OperationHost {
public:
    RecordingHost(MainWindowConnection& main, TIBTable& table) : main_(main), table_(table) {}
    bool CommitStep(TIBDataSetBase* dataSet) override {
        events.push_back("commit " + table_.TableName() + (dataSet->Active() ? " open" : " closed"));
        return RunCommitStep(main_.connection, main_.transaction, dataSet);
    }
    void ShowProgress(const std::string& text) override { events.push_back("progress " + text); }
    Events events;

private:
    MainWindowConnection& main_;
    TIBTable& table_;
};

class RecordEliminationTest : public ::testing::Test {
protected:
    void SetUp() override {
        main.db.exec({"CREATE TABLE A (ID INTEGER NOT NULL PRIMARY KEY)",
                      "CREATE TABLE B (ID INTEGER NOT NULL PRIMARY KEY)",
                      "CREATE TABLE C (ID INTEGER NOT NULL PRIMARY KEY, B INTEGER REFERENCES B)",
                      "INSERT INTO A VALUES (1)", "INSERT INTO A VALUES (2)", "INSERT INTO B VALUES (1)",
                      "INSERT INTO C VALUES (1, 1)"});
        main.connection.SetConnected(true);
        main.transaction.Start();
    }
    std::string committedRows(const std::string& tableName) {
        return *main.db.scalar("SELECT COUNT(*) FROM " + tableName);
    }

    MainWindowConnection main;
    TIBTable table{"table", &main.connection, &main.transaction};
    RecordingHost host{main, table};
};

TEST_F(RecordEliminationTest, ShownRowsGoOneByOneEachCommittedAndAnEmptyTableCommitsNothing) {
    table.SetTableName("A");
    table.Open();
    EXPECT_EQ(DeleteShownRows(table, host), 2);
    EXPECT_EQ(host.events, (Events{"commit A open", "commit A open"}));
    EXPECT_EQ(committedRows("A"), "0");
    EXPECT_TRUE(table.Active());

    host.events.clear();
    EXPECT_EQ(DeleteShownRows(table, host), 0);
    EXPECT_TRUE(host.events.empty());
}

TEST_F(RecordEliminationTest, TablesAreEmptiedInTurnEachWithItsProgressAndItsCommit) {
    table.SetTableName("A");
    table.Open();
    EmptyTables({"A", "C"}, table, host);
    const std::string blanks(36, ' ');
    EXPECT_EQ(host.events,
              (Events{"progress A" + blanks, "commit A open", "progress C" + blanks, "commit C open"}));
    EXPECT_FALSE(table.Active());
    EXPECT_EQ(table.TableName(), "C");
    EXPECT_EQ(committedRows("A"), "0");
    EXPECT_EQ(committedRows("C"), "0");
}

TEST_F(RecordEliminationTest, AnErrorStopsTheListWithTheEarlierTablesCommitted) {
    EXPECT_ANY_THROW(EmptyTables({"A", "B", "C"}, table, host));
    EXPECT_EQ(host.events.back(), "progress B" + std::string(36, ' '));
    EXPECT_TRUE(table.Active()) << "left open on the table that failed";
    EXPECT_EQ(table.TableName(), "B");
    EXPECT_EQ(committedRows("A"), "0");
    EXPECT_EQ(committedRows("B"), "1");
    EXPECT_EQ(committedRows("C"), "1");
}

TEST_F(RecordEliminationTest, EmptyingAClosedTableStillCommitsTheDeletion) {
    table.SetTableName("A");
    EmptyTable(table, host);
    EXPECT_EQ(host.events, (Events{"commit A closed"}));
    EXPECT_EQ(committedRows("A"), "0");
}

} // namespace
