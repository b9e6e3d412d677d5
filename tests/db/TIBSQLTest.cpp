// The single-statement executor: reading a result as text, parameters,
// commands, and what a hard end of the transaction does to it.
#include "db/TIBSQL.h"
#include "DbTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct Executor : MainWindowConnection {
    Executor() {
        db.exec({"CREATE TABLE T (ID INTEGER, NOME VARCHAR(20), SIGLA CHAR(3), PRECO NUMERIC(15,2), OBS BLOB "
                 "SUB_TYPE 1)",
                 "INSERT INTO T VALUES (1, 'Jo\xE3o', 'AB', 12.5, 'longo texto')",
                 "INSERT INTO T (ID) VALUES (2)"});
        connection.SetConnected(true);
        transaction.Start();
    }
    TIBSQL sql{&connection, &transaction};
};

} // namespace

TEST(TIBSQL, ReadsEveryRowAsTextAndStopsAtTheEnd) {
    Executor e;
    e.sql.SetSQL("SELECT ID, NOME, SIGLA, PRECO, OBS FROM T ORDER BY ID");
    e.sql.ExecQuery();
    ASSERT_EQ(e.sql.FieldCount(), 5);
    EXPECT_EQ(e.sql.FieldName(3), "PRECO");
    ASSERT_FALSE(e.sql.Eof());
    EXPECT_EQ(e.sql.FieldAsInteger(0), 1);
    EXPECT_EQ(e.sql.FieldAsString(1), "Jo\xE3o");
    EXPECT_EQ(e.sql.FieldAsString(2), "AB ");
    EXPECT_EQ(e.sql.FieldAsString(3), "12.50");
    EXPECT_EQ(e.sql.FieldAsString(4), "longo texto");

    e.sql.Next();
    ASSERT_FALSE(e.sql.Eof());
    EXPECT_TRUE(e.sql.FieldIsNull(1));
    EXPECT_EQ(e.sql.FieldAsString(4), "");

    e.sql.Next();
    EXPECT_TRUE(e.sql.Eof());
    e.sql.Next();
    EXPECT_TRUE(e.sql.Eof());

    // Executing again starts over.
    e.sql.ExecQuery();
    EXPECT_EQ(e.sql.FieldAsInteger(0), 1);
}

TEST(TIBSQL, ParametersGoAsTextAndCommandsReturnNoRows) {
    Executor e;
    e.sql.SetSQL("UPDATE T SET NOME = ? WHERE ID = ?");
    e.sql.Prepare();
    ASSERT_EQ(e.sql.ParamCount(), 2);
    e.sql.SetParam(0, std::string("D'\xC1vila"));
    e.sql.SetParam(1, std::string("2"));
    e.sql.ExecQuery();
    EXPECT_TRUE(e.sql.Eof());

    e.sql.SetSQL("SELECT NOME FROM T WHERE ID = ?");
    e.sql.Prepare();
    e.sql.SetParam(0, std::nullopt);
    e.sql.ExecQuery();
    EXPECT_TRUE(e.sql.Eof());
    e.sql.SetParam(0, std::string("2"));
    e.sql.ExecQuery();
    EXPECT_EQ(e.sql.FieldAsString(0), "D'\xC1vila");
}

TEST(TIBSQL, PrepareErrorIsTheServersAndLeavesNothingPrepared) {
    Executor e;
    e.sql.SetSQL("SELECT * FROM NADA");
    try {
        e.sql.Prepare();
        ADD_FAILURE() << "prepared";
    } catch (const EIBInterBaseError& error) {
        EXPECT_EQ(error.SQLCode(), -204);
        EXPECT_EQ(
            error.Message(),
            "Dynamic SQL Error\r\nSQL error code = -204\r\nTable unknown\r\nNADA\r\nAt line 1, column 15");
    }
    EXPECT_FALSE(e.sql.Prepared());
}

TEST(TIBSQL, NeedsAnAttachedConnectionAndAStartedTransaction) {
    MainWindowConnection c;
    TIBSQL sql(&c.connection, &c.transaction);
    sql.SetSQL("SELECT 1 FROM RDB$DATABASE");
    EXPECT_CLIENT_ERROR(sql.ExecQuery(), 15, "Cannot perform operation -- DB is not open");
    c.connection.SetConnected(true);
    EXPECT_CLIENT_ERROR(sql.ExecQuery(), 18, "Transaction is not active");
}

TEST(TIBSQL, HardEndDropsThePreparedStatementRetainingKeepsTheCursor) {
    Executor e;
    e.sql.SetSQL("SELECT ID FROM T ORDER BY ID");
    e.sql.ExecQuery();
    e.transaction.CommitRetaining();
    e.sql.Next();
    EXPECT_EQ(e.sql.FieldAsInteger(0), 2);

    e.transaction.Commit();
    EXPECT_FALSE(e.sql.Prepared());
    EXPECT_TRUE(e.sql.Eof());
    e.transaction.Start();
    e.sql.ExecQuery();
    EXPECT_EQ(e.sql.FieldAsInteger(0), 1);
}
