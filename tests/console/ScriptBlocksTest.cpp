// Script lines sent many per round trip: which lines may go together, and a
// run of every kind of line both ways (in blocks and one by one) against the
// private server, which must come out the same in everything a user sees.
#include "console/ScriptBlocks.h"
#include "console/ScriptRunner.h"
#include "db/TIBQuery.h"
#include "db/TIBTable.h"
#include "ops/CommitStep.h"
#include "tests/console/ScriptFile.h"
#include "tests/db/DbTestSupport.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

TEST(ScriptBlocksTest, OnlyWholePlainStatementsMayRunTogether) {
    for (const char* line : {"INSERT INTO T VALUES (1, 'a;b -- c')", "insert into T values (1);",
                             "UPDATE T SET N = 'it''s' WHERE ID = 1 -- note; with ';'",
                             "UPDATE T SET N = \"X\" /* a comment */ WHERE ID = 2 ;  -- and one after",
                             "INSERT INTO T (ID) VALUES ((1 + 2) * 3)"})
        EXPECT_TRUE(RunsInBlock(line)) << line;
    for (const char* line : {
             "INSERT INTO T VALUES (1); INSERT INTO T VALUES (2)", // two statements: fails alone
             "INSERT INTO T (A,",                                  // the first line of several
             "INSERT INTO T VALUES ('open",                        // a quote left open
             "UPDATE T SET N = 1 /* open comment",                 // a comment left open
             "INSERT INTO T VALUES ((1)",                          // a parenthesis left open
             "UPDATE T SET N = :N",                                // a parameter
             "UPDATE T SET N = '?'",                               // left to the prepared way
             "INSERT INTO T VALUES (1) RETURNING ID",              // gives a row back
             "UPDATE T SET N = ROW_COUNT",                         // means something only in a block
             "UPDATE T SET N = sqlcode",
             "UPDATE T SET N = CORVELO$FAILED",
         })
        EXPECT_FALSE(RunsInBlock(line)) << line;
    EXPECT_FALSE(RunsInBlock("INSERT INTO T VALUES ('" + std::string(20000, 'x') + "')"))
        << "long lines go alone";
}

TEST(ScriptBlocksTest, TheBlockNamesTheLinesThatFailed) {
    const std::string sql = ScriptBlockSQL({"INSERT INTO T VALUES (1) -- note", "UPDATE T SET N = 2;"});
    EXPECT_NE(sql.find("INSERT INTO T VALUES (1) -- note\n;\n"), std::string::npos) << sql;
    EXPECT_NE(sql.find("UPDATE T SET N = 2;\nWHEN ANY DO"), std::string::npos) << sql;
    EXPECT_EQ(FailedScriptLines("2,17,"), (std::vector<std::size_t>{1, 16}));
    EXPECT_TRUE(FailedScriptLines("").empty());
    EXPECT_GE(ScriptBlockOutputLength(128), static_cast<short>(128 * 4));
}

class RecordingHost : public ScriptHost {
public:
    void SetLabel(ScriptLabel label, const std::string& caption) override {
        events.push_back(std::to_string(static_cast<int>(label)) + " " + caption);
    }
    void ClearErrorList() override { events.push_back("clear"); }
    void AppendError(const std::string& line) override { errors.push_back(line); }
    bool CommitStep() override {
        events.push_back("commit");
        return RunCommitStep(*connection, *transaction, nullptr);
    }

    TIBDatabase* connection = nullptr;
    TIBTransaction* transaction = nullptr;
    Lines events;
    Lines errors;
};

struct RunOutcome {
    ScriptRunSummary summary;
    Lines events;
    Lines errors;
    std::vector<TestRow> rows;
    Lines querySql;
};

// The console's query follows the table: open, or never given a name.
enum class Master { OpenTable, NoTableName };

RunOutcome runOneWay(const std::string& script, bool blocks, Master master) {
    MainWindowConnection main;
    main.db.exec(
        {"CREATE GENERATOR G_T",
         "CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, N VARCHAR(10) CHECK (N <> 'no'), SEQ INTEGER)",
         "CREATE TRIGGER T_BI FOR T BEFORE INSERT AS BEGIN NEW.SEQ = GEN_ID(G_T, 1); END"});
    main.connection.SetConnected(true);
    main.transaction.Start();
    TIBTable table("table", &main.connection, &main.transaction);
    TDataSource source("dtstable", &table);
    TIBQuery query("qryScript", &main.connection, &main.transaction);
    query.SetDataSource(&source);
    if (master == Master::OpenTable) {
        table.SetTableName("T");
        table.Open();
    }
    RecordingHost host;
    host.connection = &main.connection;
    host.transaction = &main.transaction;
    ScriptFile file(script);
    RunOutcome outcome;
    outcome.summary = RunScript(file.path(), query, host, blocks);
    outcome.events = host.events;
    outcome.errors = host.errors;
    outcome.rows = main.db.query("SELECT ID, N, SEQ FROM T ORDER BY ID");
    outcome.querySql = query.SQL();
    return outcome;
}

void expectSameBothWays(const std::string& script, Master master = Master::OpenTable) {
    const RunOutcome blocks = runOneWay(script, true, master);
    const RunOutcome alone = runOneWay(script, false, master);
    EXPECT_EQ(blocks.summary.lines, alone.summary.lines);
    EXPECT_EQ(blocks.summary.executed, alone.summary.executed);
    EXPECT_EQ(blocks.summary.errors, alone.summary.errors);
    EXPECT_EQ(blocks.errors, alone.errors);
    EXPECT_EQ(blocks.events, alone.events);
    EXPECT_EQ(blocks.rows, alone.rows);
    EXPECT_EQ(blocks.querySql, alone.querySql);
}

// 1,200 lines of every kind, failing ones among them, across two commit points.
std::string mixedScript() {
    std::string script;
    for (int i = 1; i <= 1200; ++i) {
        const std::string id = std::to_string(i);
        switch (i % 20) {
        case 3:
            script +=
                "INSERT INTO T (ID, N) VALUES (" + std::to_string(i - 1) + ", 'dup')\r\n"; // duplicate key
            break;
        case 5:
            script += "INSERT INTO T (ID, N) VALUES (" + id + ", 'no')\n"; // the CHECK refuses it
            break;
        case 7:
            script += "INSERT INTO T (ID, N) VALUES (" + id + ", 'longer than ten')\n"; // too long
            break;
        case 9:
            script += "INSERT INTO T (ID, NADA) VALUES (" + id + ", 1)\n"; // no such column
            break;
        case 11:
            script += "INSERT INTO T (ID,\n  N) VALUES (" + id + ", 'x')\n"; // over two lines
            break;
        case 13:
            script +=
                "-- a comment\n\nUPDATE T SET N = 'u' || ID WHERE ID = " + std::to_string(i - 2) + ";\n";
            break;
        case 15:
            script += "UPDATE T SET N = :N WHERE ID = 1\n"; // a parameter: the master's field
            break;
        case 17:
            script += "insert into T (ID, N) values (" + id + ", 'D''\xC1vila') -- with a note\n";
            break;
        default:
            script += "INSERT INTO T (ID, N) VALUES (" + id + ", 'n" + id + "')\n";
        }
    }
    return script;
}

TEST(ScriptBlocksTest, AMixedScriptComesOutTheSameInBlocksAndLineByLine) {
    expectSameBothWays(mixedScript());
}

TEST(ScriptBlocksTest, WithoutATableEveryLineFailsTheSameBothWays) {
    // The console's query follows a table that has no name yet.
    std::string script;
    for (int i = 1; i <= 40; ++i)
        script += "INSERT INTO T (ID) VALUES (" + std::to_string(i) + ")\n";
    const RunOutcome noName = runOneWay(script, true, Master::NoTableName);
    EXPECT_EQ(noName.summary.errors, 40) << "No Table Name assigned, every line";
    expectSameBothWays(script, Master::NoTableName);
}

TEST(ScriptBlocksTest, ManyLinesTheServerCannotCompileStillComeOutTheSame) {
    std::string script;
    for (int i = 1; i <= 300; ++i)
        script += i % 3 ? "INSERT INTO T (ID, NADA) VALUES (" + std::to_string(i) + ", 1)\n"
                        : "INSERT INTO T (ID) VALUES (" + std::to_string(i) + ")\n";
    expectSameBothWays(script);
}

} // namespace
