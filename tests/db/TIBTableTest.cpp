// The table dataset: the statements it generates, its order and filter,
// re-querying, emptying the table, read-only tables, applying and the
// transaction's ends, and column definitions of a closed table.
#include "DataSetTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct Orders : TableFixture {
    explicit Orders(int sqlDialect = 3) : TableFixture(sqlDialect) {
        db.exec("CREATE TABLE ORDERS (ID INTEGER NOT NULL PRIMARY KEY, CUSTOMER VARCHAR(20), "
                "ITEM VARCHAR(20), TOTAL NUMERIC(15,2), CODE COMPUTED BY (ID + 100))");
        for (const char* row : {"(3, 'ANA', 'PEN', 1.5)", "(1, 'BIA', 'INK', 2)", "(2, 'ANA', 'CUP', 3)"})
            db.exec(std::string("INSERT INTO ORDERS (ID, CUSTOMER, ITEM, TOTAL) VALUES ") + row);
    }
    std::string ids() {
        std::string list;
        for (table.First(); !table.Eof(); table.Next())
            list += (list.empty() ? "" : ",") + table.FieldNamed("ID")->AsString();
        return list;
    }
};

} // namespace

TEST(TableStatementsOnServer, Dialect3QuotesEveryName) {
    Orders t;
    t.open("ORDERS");
    EXPECT_EQ(
        t.table.SelectSQL(),
        "select \"ORDERS\".*, RDB$DB_KEY as IBX_INTERNAL_DBKEY from \"ORDERS\"\r\n order by \"ID\"\r\n");
    EXPECT_EQ(t.table.RefreshSQL(),
              "select \"ORDERS\".*, RDB$DB_KEY as IBX_INTERNAL_DBKEY from \"ORDERS\" where "
              "RDB$DB_KEY = :IBX_INTERNAL_DBKEY");
    EXPECT_EQ(t.table.ModifySQL(),
              "update \"ORDERS\" set \"ID\" = :\"ID\", \"CUSTOMER\" = :\"CUSTOMER\", \"ITEM\" "
              "= :\"ITEM\", \"TOTAL\" = :\"TOTAL\" where RDB$DB_KEY = :IBX_INTERNAL_DBKEY");
    EXPECT_EQ(t.table.DeleteSQL(), "delete from \"ORDERS\" where RDB$DB_KEY = :IBX_INTERNAL_DBKEY");
    EXPECT_EQ(t.table.InsertSQL(),
              "insert into \"ORDERS\" (\"ID\", \"CUSTOMER\", \"ITEM\", \"TOTAL\") values "
              "(:\"ID\", :\"CUSTOMER\", :\"ITEM\", :\"TOTAL\")");
    EXPECT_EQ(t.table.PrimaryKeyFields(), "ID");
    EXPECT_EQ(t.ids(), "1,2,3");
}

TEST(TableStatementsOnServer, Dialect1UpperCasesNamesWithoutQuotes) {
    Orders t(1);
    t.table.SetFilter("total > 1.5");
    t.table.SetFiltered(true);
    t.open("orders");
    EXPECT_EQ(t.table.SelectSQL(), "select ORDERS.*, RDB$DB_KEY as IBX_INTERNAL_DBKEY from ORDERS\r\n"
                                   " where total > 1.5\r\n order by ID\r\n");
    EXPECT_EQ(t.table.ModifySQL(),
              "update ORDERS set ID = :ID, CUSTOMER = :CUSTOMER, ITEM = :ITEM, TOTAL = :TOTAL "
              "where RDB$DB_KEY = :IBX_INTERNAL_DBKEY");
    EXPECT_EQ(t.table.InsertSQL(),
              "insert into ORDERS (ID, CUSTOMER, ITEM, TOTAL) values (:ID, :CUSTOMER, :ITEM, :TOTAL)");
    EXPECT_EQ(t.table.DeleteSQL(), "delete from ORDERS where RDB$DB_KEY = :IBX_INTERNAL_DBKEY");
    EXPECT_EQ(t.ids(), "1,2");
    t.table.First();
    t.table.Edit();
    t.table.FieldNamed("ITEM")->SetAsString("BOOK");
    t.table.Post();
    EXPECT_EQ(t.committed("SELECT ITEM FROM ORDERS WHERE ID = 1"), "BOOK");
}

TEST(TableOpening, NeedsANameAndAnExactlyQuotedTable) {
    Orders t;
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.table.Open(); }), "No Table Name assigned");
    EXPECT_FALSE(t.connection.Connected());
    t.table.SetTableName("orders");
    EXPECT_THROW(t.table.Open(), EIBInterBaseError);
    EXPECT_FALSE(t.table.Active());
    t.table.SetTableName("ORDERS");
    t.table.Open();
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.table.SetTableName("OTHER"); }),
              "table: Cannot perform this operation on an open dataset");
    EXPECT_EQ(t.table.TableName(), "ORDERS");
}

TEST(TableOpening, NamesWithApostrophesAndBlanksWork) {
    TableFixture t;
    t.db.exec("CREATE TABLE \"Caf\xE9 D'Avila\" (\"C\xF3"
              "digo\" INTEGER NOT NULL PRIMARY KEY, \"Nome X\" VARCHAR(5))");
    t.db.exec("INSERT INTO \"Caf\xE9 D'Avila\" VALUES (1, 'a')");
    t.open("Caf\xE9 D'Avila");
    EXPECT_EQ(t.table.PrimaryKeyFields(), "C\xF3"
                                          "digo");
    t.table.Edit();
    t.field("Nome X").SetAsString("b");
    t.table.Post();
    EXPECT_EQ(t.committed("SELECT \"Nome X\" FROM \"Caf\xE9 D'Avila\""), "b");
}

TEST(TableOpening, ColumnsDifferingOnlyInCaseAreWrittenToTheirOwnColumn) {
    TableFixture t;
    t.db.exec("CREATE TABLE CASES (\"Nome\" VARCHAR(5), NOME VARCHAR(5))");
    t.db.exec("INSERT INTO CASES VALUES ('a', 'B')");
    t.open("CASES");
    t.table.Edit();
    t.table.FieldAt(0)->SetAsString("x");
    t.table.Post();
    EXPECT_EQ(t.committed("SELECT \"Nome\" || NOME FROM CASES"), "xB");
}

TEST(TableOrder, IndexFieldNamesQuotesEachFieldAndReopensAtOnce) {
    Orders t;
    t.open("ORDERS");
    t.table.SetIndexFieldNames("CUSTOMER;ITEM");
    EXPECT_TRUE(t.table.Active());
    const std::string& select = t.table.SelectSQL();
    EXPECT_EQ(select.substr(select.find(" order by")), " order by \"CUSTOMER\", \"ITEM\"\r\n");
    EXPECT_EQ(t.ids(), "2,3,1");

    // A direction is taken as part of the name, which the server refuses.
    EXPECT_THROW(t.table.SetIndexFieldNames("TOTAL DESC"), EIBInterBaseError);
    EXPECT_FALSE(t.table.Active());
    EXPECT_EQ(t.table.IndexFieldNames(), "TOTAL DESC");

    // Opening the same table keeps the order; another table forgets it.
    t.table.SetIndexFieldNames("ITEM");
    t.table.Open();
    EXPECT_EQ(t.ids(), "2,1,3");
    t.table.Close();
    t.table.SetTableName("ORDERS");
    EXPECT_EQ(t.table.IndexFieldNames(), "ITEM");
    t.table.SetTableName("RDB$DATABASE");
    EXPECT_EQ(t.table.IndexFieldNames(), "");
}

TEST(TableOrder, IndexesComeFromTheCatalogue) {
    TableFixture t;
    t.db.exec("CREATE TABLE PAIRS (A INTEGER NOT NULL, B INTEGER NOT NULL, C INTEGER, PRIMARY KEY (B, A))");
    t.db.exec("CREATE UNIQUE DESCENDING INDEX PAIRS_C ON PAIRS (C)");
    t.db.exec("INSERT INTO PAIRS VALUES (1, 2, 10)");
    t.db.exec("INSERT INTO PAIRS VALUES (2, 1, 20)");
    t.db.exec("INSERT INTO PAIRS VALUES (1, 1, 30)");
    t.open("PAIRS");
    EXPECT_EQ(t.table.PrimaryKeyFields(), "B;A");
    const std::string& select = t.table.SelectSQL();
    EXPECT_EQ(select.substr(select.find(" order by")), " order by \"B\", \"A\"\r\n");
    ASSERT_EQ(t.table.IndexDefs().size(), 2u);
    const TIndexDef& byC =
        t.table.IndexDefs()[0].Name == "PAIRS_C" ? t.table.IndexDefs()[0] : t.table.IndexDefs()[1];
    EXPECT_TRUE(byC.Unique);
    EXPECT_TRUE(byC.Descending);
    EXPECT_FALSE(byC.Primary);
    EXPECT_EQ(byC.Fields, "C");

    t.table.SetIndexName("PAIRS_C");
    EXPECT_EQ(t.table.SelectSQL().substr(t.table.SelectSQL().find(" order by")), " order by \"C\" DESC\r\n");
    EXPECT_EQ(t.field("C").AsInteger(), 30);
    t.table.SetDefaultIndex(false);
    t.table.SetIndexFieldNames("");
    EXPECT_EQ(t.table.SelectSQL().find("order by"), std::string::npos);
}

TEST(TableFilter, AppliedWhileFilteredAndNotEmpty) {
    Orders t;
    t.open("ORDERS");
    t.table.SetFiltered(true);
    EXPECT_EQ(t.table.SelectSQL().find(" where "), std::string::npos);
    t.table.SetFilter("CUSTOMER = 'ANA'");
    EXPECT_EQ(t.ids(), "2,3");
    EXPECT_NE(t.table.SelectSQL().find("\r\n where CUSTOMER = 'ANA'\r\n"), std::string::npos);
    t.table.SetFiltered(false);
    t.table.SetFilter("");
    EXPECT_EQ(t.ids(), "1,2,3");
}

TEST(TableFilter, AChangedFilterOnAClosedTableFailsButIsKept) {
    Orders t;
    t.table.SetTableName("ORDERS");
    t.table.SetFiltered(true);
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.table.SetFilter("ID > 1"); }),
              "table: Cannot perform this operation on a closed dataset");
    EXPECT_EQ(t.table.Filter(), "ID > 1");
    t.table.Open();
    EXPECT_EQ(t.ids(), "2,3");
    // A condition the server refuses leaves the table closed, with the condition set.
    EXPECT_THROW(t.table.SetFilter("NOPE = 1"), EIBInterBaseError);
    EXPECT_FALSE(t.table.Active());
    EXPECT_TRUE(t.table.Filtered());
}

TEST(TableRequery, KeepsTheCurrentRowOrFallsBackToTheFirst) {
    Orders t;
    TDataSource source("dtstable", &t.table);
    t.open("ORDERS");
    t.table.MoveTo(2);
    t.table.SetFiltered(true);
    t.table.SetFilter("ID >= 2");
    EXPECT_EQ(t.table.FieldNamed("ID")->AsInteger(), 3);
    EXPECT_FALSE(t.table.ControlsDisabled());
    t.table.MoveTo(0);
    t.table.SetFilter("ID = 3");
    EXPECT_EQ(t.table.FieldNamed("ID")->AsInteger(), 3);
    t.table.SetFilter("ID = 99");
    EXPECT_TRUE(t.table.Eof());
    t.table.SetFilter("ID < 3");
    EXPECT_EQ(t.table.FieldNamed("ID")->AsInteger(), 1);
}

TEST(TableDeleteAllRows, EmptiesTheTableUntilRolledBack) {
    Orders t;
    t.open("ORDERS");
    t.table.DeleteAllRows();
    EXPECT_TRUE(t.table.Active());
    EXPECT_TRUE(t.table.Eof());
    EXPECT_EQ(t.table.RecordCount(), 0);
    t.table.Next();
    EXPECT_EQ(t.table.RecordCount(), 0);
    t.table.Close();
    t.transaction.Rollback();
    t.table.Open();
    EXPECT_EQ(t.ids(), "1,2,3");

    // A closed table stays closed; nothing is attached or started for it.
    t.table.Close();
    t.table.DeleteAllRows();
    EXPECT_FALSE(t.table.Active());
    EXPECT_EQ(t.committed("SELECT COUNT(*) FROM ORDERS"), "0");
    t.transaction.Commit();
    EXPECT_CLIENT_ERROR(t.table.DeleteAllRows(), 18, "Transaction is not active");
    t.connection.SetConnected(false);
    EXPECT_CLIENT_ERROR(t.table.DeleteAllRows(), 15, "Cannot perform operation -- DB is not open");
}

TEST(TableReadOnly, ViewsAndSystemTablesCannotBeModified) {
    Orders t;
    t.db.exec("CREATE TABLE LINES (ID INTEGER)");
    t.db.exec("CREATE VIEW ORDER_LINES AS SELECT O.ID, O.ITEM FROM ORDERS O JOIN LINES L ON L.ID = O.ID");
    t.open("ORDER_LINES");
    EXPECT_TRUE(t.table.ReadOnly());
    EXPECT_EQ(t.table.ModifySQL(), "");
    EXPECT_EQ(t.table.SelectSQL(),
              "select \"ORDER_LINES\".*, RDB$DB_KEY as IBX_INTERNAL_DBKEY from \"ORDER_LINES\"\r\n");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.table.Edit(); }), "table: Cannot modify a read-only dataset");
    t.table.Close();

    // The flag stays for the tables opened later.
    t.open("ORDERS");
    EXPECT_FALSE(t.table.CanModify());
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.table.Edit(); }), "table: Cannot modify a read-only dataset");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.table.Delete(); }),
              "Cannot delete from dataset. (No delete query)");

    TIBTable system("system", &t.connection, &t.transaction);
    system.SetTableName("RDB$RELATIONS");
    system.Open();
    EXPECT_FALSE(system.CanModify());
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { system.Insert(); }), "system: Cannot modify a read-only dataset");
}

TEST(TableApply, ReadsEveryRowAndKeepsTheCurrentOne) {
    Orders t;
    for (int id = 4; id <= 2500; ++id)
        t.db.exec("INSERT INTO ORDERS (ID) VALUES (" + std::to_string(id) + ")");
    TDataSource source("dtstable", &t.table);
    t.open("ORDERS");
    t.table.Next();
    t.table.Edit();
    t.table.FieldNamed("ITEM")->SetAsString("APPLIED");
    t.table.ApplyCachedUpdates();
    EXPECT_EQ(t.table.State(), dsBrowse);
    EXPECT_EQ(t.table.RecordCount(), 2500);
    EXPECT_TRUE(t.table.AllFetched());
    EXPECT_EQ(t.table.RecNo(), 1);
    EXPECT_FALSE(t.table.Eof());
    EXPECT_EQ(t.committed("SELECT ITEM FROM ORDERS WHERE ID = 2"), "APPLIED");

    // Eof goes back to false also when it was true before.
    t.table.MoveTo(5000);
    EXPECT_TRUE(t.table.Eof());
    t.connection.ApplyUpdatesAndCommit({&t.table});
    EXPECT_FALSE(t.table.Eof());
    EXPECT_EQ(t.table.RecNo(), 2499);
}

TEST(TableApply, ANewRowLeftUntouchedIsDroppedNotPosted) {
    Orders t;
    t.open("ORDERS");
    t.table.Insert(); // the grid's Insert key, then the commit step
    t.connection.ApplyUpdatesAndCommit({&t.table});
    EXPECT_EQ(t.table.State(), dsBrowse);
    EXPECT_EQ(t.table.RecordCount(), 3);
    EXPECT_EQ(t.db.scalar("SELECT COUNT(*) FROM ORDERS"), "3");
}

TEST(TableApply, AClosedTableFailsAndTheGridStillFollowsItAfterwards) {
    Orders t;
    TDataSource source("dtstable", &t.table);
    struct Counter : TDataLink {
        int active = 0;
        void ActiveChanged() override { ++active; }
    } link;
    link.SetDataSource(&source);
    t.table.SetTableName("ORDERS");
    t.connection.SetConnected(true);
    t.transaction.Start();
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.table.ApplyCachedUpdates(); }),
              "table: Cannot perform this operation on a closed dataset");
    EXPECT_FALSE(t.table.ControlsDisabled());
    t.table.Open();
    EXPECT_EQ(link.active, 1);

    t.transaction.Commit();
    EXPECT_CLIENT_ERROR(t.table.ApplyCachedUpdates(), 18, "Transaction is not active");
    t.connection.SetConnected(false);
    EXPECT_CLIENT_ERROR(t.table.ApplyCachedUpdates(), 15, "Cannot perform operation -- DB is not open");
}

TEST(TableTransaction, RetainingKeepsItOnItsRowAHardCommitClosesIt) {
    Orders t;
    for (int id = 4; id <= 1500; ++id)
        t.db.exec("INSERT INTO ORDERS (ID) VALUES (" + std::to_string(id) + ")");
    t.open("ORDERS");
    t.table.MoveTo(1);
    t.table.Edit();
    t.table.FieldNamed("ITEM")->SetAsString("KEPT");
    t.table.Post();
    t.transaction.CommitRetaining();
    EXPECT_TRUE(t.table.Active());
    EXPECT_EQ(t.table.RecNo(), 1);
    // The cursor goes on after the commit.
    t.table.MoveTo(1400);
    EXPECT_EQ(t.table.FieldNamed("ID")->AsInteger(), 1401);
    t.transaction.RollbackRetaining();
    EXPECT_TRUE(t.table.Active());

    t.transaction.Commit();
    EXPECT_FALSE(t.table.Active());
    EXPECT_EQ(t.db.scalar("SELECT ITEM FROM ORDERS WHERE ID = 2"), "KEPT");
    // Opened again, it prepares afresh on a new transaction.
    t.table.Open();
    EXPECT_EQ(t.table.FieldNamed("ITEM")->AsString(), "INK");
}

TEST(TableFieldDefs, AClosedTableReadsThemFromTheCatalogue) {
    Orders t;
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.table.FieldDefs(); }), "No Table Name assigned");
    t.table.SetTableName("ORDERS");
    t.connection.SetConnected(true);
    const auto fromCatalogue = t.table.FieldDefs();
    ASSERT_EQ(fromCatalogue.size(), 5u);
    EXPECT_EQ(fromCatalogue[1].Name, "CUSTOMER");
    EXPECT_EQ(fromCatalogue[1].DataType, ftString);
    EXPECT_EQ(fromCatalogue[1].Size, 20);
    EXPECT_EQ(fromCatalogue[3].DataType, ftBCD);
    EXPECT_EQ(fromCatalogue[3].Size, 2);
    EXPECT_TRUE(fromCatalogue[4].Calculated);
    EXPECT_EQ(fromCatalogue[4].DataType, ftLargeint);

    // Open, the definitions are those of the prepared statement, and agree.
    t.table.Open();
    const auto fromStatement = t.table.FieldDefs();
    ASSERT_EQ(fromStatement.size(), fromCatalogue.size());
    for (std::size_t i = 0; i < fromStatement.size(); ++i) {
        EXPECT_EQ(fromStatement[i].Name, fromCatalogue[i].Name);
        EXPECT_EQ(fromStatement[i].DataType, fromCatalogue[i].DataType);
        EXPECT_EQ(fromStatement[i].Size, fromCatalogue[i].Size);
    }
}

TEST(TableReadOnly, RowStatementsTheServerRefusesMakeItReadOnlyAtTheFirstWrite) {
    Orders t;
    // A view of one table, so the catalogue calls it updatable; the server does not.
    t.db.exec("CREATE VIEW CUSTOMERS AS SELECT DISTINCT CUSTOMER FROM ORDERS");
    t.open("CUSTOMERS");
    EXPECT_FALSE(t.table.ReadOnly());
    EXPECT_EQ(t.table.FieldNamed("CUSTOMER")->AsString(), "ANA");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { t.table.Edit(); }), "table: Cannot modify a read-only dataset");
    EXPECT_TRUE(t.table.ReadOnly());
    EXPECT_EQ(t.table.State(), dsBrowse);
}
