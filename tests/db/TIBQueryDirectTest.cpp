// ExecuteDirect against Execute: for every kind of line the script runner
// sends, the same rows change and the same error (class, codes, text) comes
// back, with and without the master table.
#include "DataSetTestSupport.h"
#include "db/TIBQuery.h"
#include "db/TIBSQL.h"

#include <gtest/gtest.h>

#include <typeinfo>

namespace {

struct Outcome {
    std::string error; // class, SQLCODE, error code and text; empty when none
    std::string rows;  // the table as the transaction sees it afterwards

    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& outcome, std::ostream* out) {
    *out << "error: [" << outcome.error << "] rows: [" << outcome.rows << "]";
}

struct DirectFixture : TableFixture {
    DirectFixture() {
        db.exec({"CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY CHECK (ID < 1000), NOME VARCHAR(10))",
                 "CREATE TABLE CHILD (ID INTEGER REFERENCES T (ID))", "INSERT INTO T VALUES (1, 'Ana')",
                 "INSERT INTO T VALUES (2, 'Bia')"});
        connection.SetConnected(true);
        transaction.Start();
        query.SetDataSource(&source);
    }

    std::string rows() {
        TIBSQL read(&connection, &transaction);
        read.SetSQL("SELECT ID, COALESCE(NOME, '<null>') FROM T ORDER BY ID");
        std::string text;
        for (read.ExecQuery(); !read.Eof(); read.Next())
            text += read.FieldAsString(0) + "=" + read.FieldAsString(1) + ";";
        return text;
    }

    // Runs the line one way, notes what happened, then undoes it.
    template <class Run> Outcome outcomeOf(const std::string& line, Run run) {
        Outcome outcome;
        query.SetSQLText(line);
        try {
            run();
        } catch (const EIBError& e) {
            outcome.error = std::string(typeid(e).name()) + " " + std::to_string(e.SQLCode()) + " " +
                            std::to_string(e.IBErrorCode()) + " " + e.what();
        } catch (const std::exception& e) {
            outcome.error = std::string(typeid(e).name()) + " " + e.what();
        }
        outcome.rows = rows();
        transaction.RollbackRetaining();
        return outcome;
    }

    void expectSameOutcome(const std::string& line) {
        SCOPED_TRACE(line);
        const Outcome prepared = outcomeOf(line, [&] { query.Execute(); });
        const Outcome direct = outcomeOf(line, [&] { query.ExecuteDirect(); });
        EXPECT_EQ(direct, prepared);
        EXPECT_EQ(query.SQL(), std::vector<std::string>{line});
    }

    TDataSource source{"dtstable", &table};
    TIBQuery query{"qryScript", &connection, &transaction};
};

// Lines that succeed, and every way the server can refuse one.
const char* const kLines[] = {
    "INSERT INTO T VALUES (3, 'Caio')",
    "insert into T values (3, 'S\xC3O \xE0s 10:30');",
    "INSERT INTO T VALUES (4, 'x')   ",
    "UPDATE T SET NOME = 'Zoe' WHERE ID = 2",
    "UPDATE T SET NOME = 'none' WHERE ID = 99",
    "UPDATE OR INSERT INTO T VALUES (5, 'u') MATCHING (ID)",
    "DELETE FROM T WHERE ID = 1",
    "INSERT INTO T VALUES (1, 'dup')",
    "INSERT INTO T VALUES (NULL, 'x')",
    "INSERT INTO T VALUES (6, 'much too long for it')",
    "INSERT INTO T VALUES ('six', 'x')",
    "INSERT INTO T VALUES (5000, 'x')",
    "INSERT INTO CHILD VALUES (77)",
    "UPDATE T SET ID = ID / 0",
    "INSERT INTO NOPE VALUES (1)",
    "INSERT INTO T (NOPE) VALUES (1)",
    "UPDATEX T SET ID = 0",
    "INSERT INTO T",
    "INSERT INTO T VALUES (7, 'a'); INSERT INTO T VALUES (8, 'b')",
    "INSERT INTO T VALUES (9, 'r') RETURNING ID",
    "INSERT INTO T VALUES (?, 'q')",
    "INSERT INTO T VALUES (10, 'what?')",
    "UPDATE T SET NOME = :NOME || '!' WHERE ID = :ID",
};

} // namespace

TEST(TIBQueryDirect, SameOutcomeAsExecuteWithTheMasterOpen) {
    DirectFixture f;
    f.open("T");
    f.table.Next(); // the master's current row gives :NOME and :ID
    for (const char* line : kLines)
        f.expectSameOutcome(line);
}

TEST(TIBQueryDirect, SameOutcomeAsExecuteWithTheMasterClosedOrNameless) {
    DirectFixture f;
    // Before any table was opened the master has no name: valid lines fail
    // with its error, lines the server rejects with the server's.
    for (const char* line : kLines)
        f.expectSameOutcome(line);
    EXPECT_EQ(f.outcomeOf(kLines[0], [&] { f.query.ExecuteDirect(); }).error,
              typeid(EDatabaseError).name() + std::string(" No Table Name assigned"));

    f.table.SetTableName("T"); // closed, with its columns read from the catalogue
    for (const char* line : kLines)
        f.expectSameOutcome(line);

    f.query.SetDataSource(nullptr);
    for (const char* line : kLines)
        f.expectSameOutcome(line);
}

TEST(TIBQueryDirect, PlainLinesAreNotPreparedOthersAre) {
    DirectFixture f;
    f.open("T");
    // Proves the comparisons above went through the one-round-trip path.
    f.query.SetSQLText("INSERT INTO T VALUES (3, 'Caio')");
    f.query.ExecuteDirect();
    EXPECT_FALSE(f.query.Prepared());
    f.query.SetSQLText("update T set NOME = :NOME where ID = 3");
    f.query.ExecuteDirect();
    EXPECT_TRUE(f.query.Prepared());
    f.query.SetSQLText("INSERT INTO T VALUES (4, 'D') returning ID");
    f.query.ExecuteDirect();
    EXPECT_TRUE(f.query.Prepared());
    EXPECT_EQ(f.rows(), "1=Ana;2=Bia;3=Ana;4=D;");
}

TEST(TIBQueryDirect, RefusalsBeforeTheServerAreThoseOfExecute) {
    DirectFixture f;
    f.open("T");
    f.query.ClearSQL();
    EXPECT_EQ(ErrorOf([&] { f.query.ExecuteDirect(); }), "Empty SQL Statement");
    f.query.SetSQLText("select ID from T");
    EXPECT_EQ(ErrorOf([&] { f.query.ExecuteDirect(); }), "use Open for a Select Statement");
    f.query.Open();
    EXPECT_EQ(ErrorOf([&] { f.query.ExecuteDirect(); }),
              "qryScript: Cannot perform this operation on an open dataset");
    f.query.SetSQLText("SET TRANSACTION");
    EXPECT_EQ(ErrorOf([&] { f.query.ExecuteDirect(); }), "Not permitted");
}
