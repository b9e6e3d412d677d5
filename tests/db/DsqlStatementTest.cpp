// The one-round-trip read of a single row, as the re-read after a post uses it.
#include "db/DsqlStatement.h"
#include "tests/db/DbTestSupport.h"

TEST(DsqlStatementTest, ASingleRowIsReadAndNoRowIsNoError) {
    MainWindowConnection c;
    c.db.exec(std::vector<std::string>{"CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, V INTEGER)",
                                       "INSERT INTO T VALUES (1, 10)"});
    c.connection.Open();
    c.transaction.Start();
    DsqlStatement statement;
    statement.Prepare(c.connection.Handle(), c.transaction.Handle(), "SELECT V FROM T WHERE ID = ?", 3);
    int id = 1;
    short idNull = 0;
    int value = -1;
    short valueNull = 5;
    statement.Input().sqlvar[0].sqldata = reinterpret_cast<ISC_SCHAR*>(&id);
    statement.Input().sqlvar[0].sqlind = &idNull;
    statement.Output().sqlvar[0].sqldata = reinterpret_cast<ISC_SCHAR*>(&value);
    statement.Output().sqlvar[0].sqlind = &valueNull;

    EXPECT_TRUE(statement.ReadSingleRow(c.transaction.Handle()));
    EXPECT_EQ(value, 10);
    EXPECT_EQ(valueNull, 0);

    id = 2;
    value = -1;
    EXPECT_FALSE(statement.ReadSingleRow(c.transaction.Handle()));
    EXPECT_EQ(value, -1) << "nothing read";

    // No cursor is left open: the statement runs again at once.
    id = 1;
    c.db.exec("UPDATE T SET V = 11");
    EXPECT_TRUE(statement.ReadSingleRow(c.transaction.Handle()));
    EXPECT_EQ(value, 11);
    EXPECT_FALSE(statement.CursorOpen());
}
