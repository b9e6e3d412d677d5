// The query dataset: its lines and parameters, Prepare, Execute and Open of
// every kind of statement, values from the master table and the re-execution
// that follows the master's moves.
#include "db/TIBQuery.h"
#include "DataSetTestSupport.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> namesOf(const TIBQuery& query) {
    std::vector<std::string> names;
    for (const TParam& param : query.Params())
        names.push_back(param.Name());
    return names;
}

// Counts what a grid on the query would hear.
struct CountingLink : TDataLink {
    int activeChanges = 0;
    int dataChanges = 0;
    void ActiveChanged() override { ++activeChanges; }
    void DataSetChanged() override { ++dataChanges; }
};

// The main window's `table` with `dtstable`, and a query bound to it as `qryScript` is.
struct Console : TableFixture {
    Console() {
        db.exec(
            "CREATE TABLE ORDERS (ID INTEGER NOT NULL PRIMARY KEY, ITEM VARCHAR(20), TOTAL NUMERIC(15,2))");
        db.exec("INSERT INTO ORDERS VALUES (1, 'PEN', 1.5)");
        db.exec("INSERT INTO ORDERS VALUES (2, 'INK', 2)");
        db.exec("INSERT INTO ORDERS VALUES (3, 'CUP', 3)");
        query.SetBufferChunks(1000);
        query.SetDataSource(&tableSource);
    }
    std::string item(int id) {
        return db.scalar("select ITEM from ORDERS where ID = " + std::to_string(id)).value_or("NULL");
    }

    TDataSource tableSource{"dtstable", &table};
    TIBQuery query{"qryScript", &connection, &transaction};
};

} // namespace

TEST(TIBQueryText, LinesAndParameterScanning) {
    TIBQuery query;
    query.SetSQLText("update T set A = 'at 10:30', B = \"x:y\" -- :NOTE\r\n"
                     "where ID = :ID /* :OLD */ and K = :Key\nor ID = :ID");
    EXPECT_EQ(query.SQL(),
              (std::vector<std::string>{"update T set A = 'at 10:30', B = \"x:y\" -- :NOTE",
                                        "where ID = :ID /* :OLD */ and K = :Key", "or ID = :ID"}));
    EXPECT_EQ(query.SQLText(), "update T set A = 'at 10:30', B = \"x:y\" -- :NOTE\r\n"
                               "where ID = :ID /* :OLD */ and K = :Key\r\nor ID = :ID\r\n");
    EXPECT_EQ(namesOf(query), (std::vector<std::string>{"ID", "Key"}));
    EXPECT_EQ(&query.ParamByName("key"), &query.Params()[1]);
    EXPECT_EQ(ErrorOf([&] { query.ParamByName("NOTE"); }), "qryScript: Parameter 'NOTE' not found");

    query.ClearSQL();
    EXPECT_TRUE(query.SQL().empty());
    EXPECT_TRUE(query.Params().empty());
    query.AddSQL("update T set A = 'a:b'");
    EXPECT_TRUE(query.Params().empty());
}

TEST(TIBQueryText, SameNamedParametersKeepTheirValuesAcrossTextChanges) {
    TIBQuery query;
    query.SetSQLText("select * from T where A = :A and B = :B");
    query.ParamByName("A").SetAsInteger(7);
    EXPECT_TRUE(query.ParamByName("A").Bound());
    query.SetSQLText("select * from T where C = :C and A = :A");
    EXPECT_EQ(namesOf(query), (std::vector<std::string>{"C", "A"}));
    EXPECT_TRUE(query.ParamByName("A").Bound());
    EXPECT_EQ(query.ParamByName("A").Value().Integer, 7);
    EXPECT_FALSE(query.ParamByName("C").Bound());
    EXPECT_TRUE(query.ParamByName("C").IsNull());

    // Without the check the list stays as it was.
    query.SetParamCheck(false);
    query.SetSQLText("select * from T where D = :D");
    EXPECT_EQ(namesOf(query), (std::vector<std::string>{"C", "A"}));
}

TEST(TIBQueryExecute, RefusesWhatItCannotRun) {
    Console c;
    c.query.SetSQLText(";");
    EXPECT_EQ(ErrorOf([&] { c.query.Prepare(); }), "Empty SQL Statement");
    c.query.ClearSQL();
    EXPECT_EQ(ErrorOf([&] { c.query.Execute(); }), "Empty SQL Statement");

    c.query.SetSQLText("SET TRANSACTION");
    EXPECT_EQ(ErrorOf([&] { c.query.Prepare(); }), "Not permitted");
    EXPECT_FALSE(c.query.Prepared());

    c.open("ORDERS");
    c.query.SetSQLText("select ITEM from ORDERS");
    EXPECT_EQ(ErrorOf([&] { c.query.Execute(); }), "use Open for a Select Statement");
    EXPECT_FALSE(c.query.Active());

    c.query.Open();
    EXPECT_EQ(ErrorOf([&] { c.query.Execute(); }),
              "qryScript: Cannot perform this operation on an open dataset");
    EXPECT_EQ(ErrorOf([&] { c.query.Prepare(); }), "Dataset open");
    EXPECT_EQ(ErrorOf([&] { c.query.Edit(); }), "qryScript: Cannot modify a read-only dataset");

    // A text change closes the query and drops its statement.
    c.query.AddSQL("where ID = 2");
    EXPECT_FALSE(c.query.Active());
    EXPECT_FALSE(c.query.Prepared());
    c.query.Open();
    EXPECT_EQ(c.query.FieldNamed("ITEM")->AsString(), "INK");

    c.query.Close();
    c.query.SetSQLText("update ORDERS set ITEM = :V where ID = 1");
    TParamValue odd;
    odd.DataType = ftVariant;
    odd.IsNull = false;
    c.query.ParamByName("V").SetValue(odd);
    EXPECT_EQ(ErrorOf([&] { c.query.Execute(); }), "Unsupported feature");
}

TEST(TIBQueryExecute, StatementsRunUncommitted) {
    Console c;
    c.open("ORDERS");
    c.query.SetSQLText("update ORDERS set ITEM = 'at 10:30' where ID = 1");
    c.query.Execute();
    EXPECT_FALSE(c.query.Active());

    // "Execute Consulta SQL" with an UPDATE: done at once, no rows to show.
    c.query.SetSQLText("update ORDERS set ITEM = 'BOX' where ID = 2");
    c.query.Open();
    EXPECT_FALSE(c.query.Active());

    c.query.SetSQLText("delete from ORDERS where ID = 99");
    EXPECT_NO_THROW(c.query.Execute());

    EXPECT_EQ(c.item(1), "PEN");
    c.transaction.Commit();
    EXPECT_EQ(c.item(1), "at 10:30");
    EXPECT_EQ(c.item(2), "BOX");
    EXPECT_EQ(c.db.scalar("select count(*) from ORDERS"), "3");
}

TEST(TIBQueryMaster, WithoutTableNameFailsAfterAttachingAndStarting) {
    Console c;
    c.query.SetSQLText("update ORDERS set ITEM = 'X' where ID = 1");
    EXPECT_EQ(ErrorOf([&] { c.query.Execute(); }), "No Table Name assigned");
    EXPECT_TRUE(c.connection.Connected());
    EXPECT_TRUE(c.transaction.InTransaction());

    c.query.SetSQLText("select * from ORDERS");
    EXPECT_EQ(ErrorOf([&] { c.query.Open(); }), "No Table Name assigned");
    EXPECT_FALSE(c.query.Active());
    c.transaction.Commit();
    EXPECT_EQ(c.item(1), "PEN");
}

TEST(TIBQueryMaster, UnboundParametersTakeTheCurrentRow) {
    Console c;
    c.open("ORDERS");
    c.table.Next(); // ID 2
    c.query.SetSQLText("update ORDERS set ITEM = 'ref: ' || :ITEM, TOTAL = :total * 2 where ID = :ID");
    c.query.Execute();
    EXPECT_EQ(c.query.ParamByName("ID").DataType(), ftInteger);
    EXPECT_EQ(c.query.ParamByName("TOTAL").DataType(), ftBCD);

    // A bound value wins over the master's.
    c.query.SetSQLText("update ORDERS set ITEM = 'bound' where ID = :ID");
    c.query.ParamByName("ID").SetAsInteger(3);
    c.query.Execute();
    c.transaction.CommitRetaining();
    EXPECT_EQ(c.item(2), "ref: INK");
    EXPECT_EQ(c.db.scalar("select TOTAL from ORDERS where ID = 2"), "4.00");
    EXPECT_EQ(c.item(3), "bound");
    EXPECT_EQ(c.item(1), "PEN");
}

TEST(TIBQueryMaster, MissingMasterFieldFailsWithTheTablePrefix) {
    Console c;
    c.open("ORDERS");
    c.query.SetSQLText("update ORDERS set ITEM = 'X' where ID = :CODIGO");
    EXPECT_EQ(ErrorOf([&] { c.query.Execute(); }), "table: Field 'CODIGO' not found");

    c.table.Close();
    c.query.SetSQLText("update ORDERS set ITEM = 'X' where ID = :ID");
    EXPECT_EQ(ErrorOf([&] { c.query.Execute(); }), "table: Field 'ID' not found");
    c.transaction.Commit();
    EXPECT_EQ(c.db.scalar("select count(*) from ORDERS where ITEM = 'X'"), "0");
}

TEST(TIBQueryMaster, OpenQueryRunsAgainWhenTheMasterMoves) {
    Console c;
    c.open("ORDERS");
    c.query.SetSQLText("select ITEM, TOTAL from ORDERS where ID = :ID");
    c.query.Open();
    EXPECT_EQ(c.query.FieldNamed("ITEM")->AsString(), "PEN");

    TDataSource grid("dtsScript", &c.query);
    CountingLink link;
    link.SetDataSource(&grid);
    c.table.Next();
    EXPECT_EQ(c.query.FieldNamed("ITEM")->AsString(), "INK");
    // The grid hears one change, not the close and the open.
    EXPECT_EQ(link.activeChanges, 0);
    EXPECT_EQ(link.dataChanges, 1);

    // A posted edit of the master row shows in the query.
    c.table.Edit();
    c.table.FieldNamed("TOTAL")->SetAsString("9");
    c.table.Post();
    EXPECT_EQ(c.query.FieldNamed("TOTAL")->AsString(), "9");

    // Closing the master leaves the query alone; opening it runs the query again.
    c.table.Close();
    EXPECT_TRUE(c.query.Active());
    EXPECT_EQ(c.query.FieldNamed("ITEM")->AsString(), "INK");
    c.table.Open();
    EXPECT_EQ(c.query.FieldNamed("ITEM")->AsString(), "PEN");

    // A closed query stays closed.
    c.query.Close();
    c.table.Next();
    EXPECT_FALSE(c.query.Active());
}
