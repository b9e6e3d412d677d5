// Script runs against the private server: which lines run, how failures are
// listed, where the commits and the progress labels fall.
#include "console/ScriptRunner.h"
#include "db/TIBQuery.h"
#include "db/TIBTable.h"
#include "ops/CommitStep.h"
#include "tests/console/ScriptFile.h"
#include "tests/db/DbTestSupport.h"
#include "util/Exceptions.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

// Records what the run shows, in order; a commit also records how many rows
// another connection sees committed right after it.
class RecordingHost : public ScriptHost {
public:
    RecordingHost(MainWindowConnection& main) : main_(main) {}

    void SetLabel(ScriptLabel label, const std::string& caption) override {
        if (label == ScriptLabel::Statement)
            statement = caption;
        else
            events.push_back(caption);
    }
    void ClearErrorList() override {
        events.push_back("clear");
        errorList.clear();
    }
    void AppendError(const std::string& line) override { errorList.push_back(line); }
    bool CommitStep() override {
        const bool done = RunCommitStep(main_.connection, main_.transaction, nullptr);
        events.push_back("commit " + *main_.db.scalar("SELECT COUNT(*) FROM T"));
        return done;
    }

    Lines events;
    Lines errorList;
    std::string statement;

private:
    MainWindowConnection& main_;
};

class ScriptRunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        main.db.exec("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY)");
        main.connection.SetConnected(true);
        main.transaction.Start();
    }
    ScriptRunSummary run(const std::string& content) {
        ScriptFile file(content);
        return RunScript(file.path(), query, host);
    }
    Lines committedIds() {
        Lines ids;
        for (const TestRow& row : main.db.query("SELECT ID FROM T ORDER BY ID"))
            ids.push_back(*row[0]);
        return ids;
    }
    static std::string insert(int id) { return "INSERT INTO T VALUES (" + std::to_string(id) + ")\r\n"; }

    MainWindowConnection main;
    TIBQuery query{"qryScript", &main.connection, &main.transaction};
    RecordingHost host{main};
};

TEST_F(ScriptRunnerTest, OnlyLinesBeginningWithTheTwoWordsRunAndFailuresAreListed) {
    const ScriptRunSummary summary = run("insert into T values (1)\n"
                                         "Insert Into T values (2)\n"
                                         " INSERT INTO T VALUES (3)\n"
                                         "INSERT  INTO T VALUES (4)\n"
                                         "INSERT\tINTO T VALUES (5)\n"
                                         "INSERT\n"
                                         "update T set ID = ID + 10 where ID = 1\n"
                                         "UPDATEX T SET ID = 0\n"
                                         "INSERT INTO T\n"
                                         "VALUES (6)\n"
                                         "DELETE FROM T\n"
                                         "-- INSERT INTO T VALUES (7)\n"
                                         "\n");
    EXPECT_EQ(committedIds(), (Lines{"2", "11"}));
    EXPECT_EQ(host.errorList, (Lines{"UPDATEX T SET ID = 0", "INSERT INTO T"}))
        << "only the first line of a statement spread over lines runs";
    EXPECT_EQ(summary.lines, 13);
    EXPECT_EQ(summary.executed, 5);
    EXPECT_EQ(summary.errors, 2);
    EXPECT_EQ(host.statement, "INSERT INTO T");
}

TEST_F(ScriptRunnerTest, AShortScriptIsCommittedOnceAtTheEndAndLeavesTheErrorCountAlone) {
    std::string script;
    for (int id = 1; id <= 10; ++id)
        script += insert(id);
    run(script);
    EXPECT_EQ(host.events, (Lines{"clear", "Total de Linhas: 10", "commit 10", "Linha Atual: 10"}));
    EXPECT_EQ(host.statement, "INSERT INTO T VALUES (10)") << "the line exactly as read, without CR LF";
}

TEST_F(ScriptRunnerTest, ThreeStatementsWithTheSecondFailing) {
    run("INSERT INTO T VALUES (1);\nINSERT INTO T VALUES (1)\nINSERT INTO T VALUES (3)\n");
    EXPECT_EQ(host.errorList, Lines{"INSERT INTO T VALUES (1)"});
    EXPECT_EQ(committedIds(), (Lines{"1", "3"}));
    EXPECT_EQ(host.events, (Lines{"clear", "Total de Linhas: 3", "commit 2", "Linha Atual: 3"}));
}

TEST_F(ScriptRunnerTest, EveryFiveHundredLinesCommitAndShowProgress) {
    std::string script;
    for (int id = 1; id <= 1000; ++id)
        script += (id == 100 || id == 700 || id == 701) ? insert(1) : insert(id);
    const ScriptRunSummary summary = run(script);
    EXPECT_EQ(host.events,
              (Lines{"clear", "Total de Linhas: 1000", "commit 499", "Linha Atual: 500", "erros: 1",
                     "commit 997", "Linha Atual: 1000", "erros: 3", "commit 997", "Linha Atual: 1000"}));
    EXPECT_EQ(summary.errors, 3);
    EXPECT_EQ(host.errorList.size(), 3u);
}

TEST_F(ScriptRunnerTest, EmptyFileCtrlZAndLoneCarriageReturn) {
    run("");
    EXPECT_EQ(host.events, (Lines{"clear", "Total de Linhas: 0", "commit 0", "Linha Atual: 0"}));

    host.events.clear();
    run(insert(1) + "\x1A" + insert(2) + insert(3));
    EXPECT_EQ(host.events, (Lines{"clear", "Total de Linhas: 1", "commit 1", "Linha Atual: 1"}));

    run("INSERT INTO T VALUES (4\r2)\n");
    EXPECT_EQ(committedIds(), (Lines{"1", "42"}));
    EXPECT_EQ(host.statement, "INSERT INTO T VALUES (42)");
}

TEST_F(ScriptRunnerTest, AnUnreadablePathEndsTheRunBeforeAnythingIsShown) {
    query.SetSQLText("SELECT ID FROM T");
    EXPECT_THROW(RunScript(::testing::TempDir() + "missing_script.sql", query, host), EInOutError);
    EXPECT_TRUE(host.events.empty());
    EXPECT_EQ(query.SQL(), Lines{"SELECT ID FROM T"});
}

TEST_F(ScriptRunnerTest, WithAMasterTableThatHasNoNameEveryExecutedLineFails) {
    TIBTable table("table", &main.connection, &main.transaction);
    TDataSource source("dtstable", &table);
    query.SetDataSource(&source);
    run(insert(1) + "SELECT 1 FROM RDB$DATABASE\n" + "UPDATE T SET ID = 2\n");
    EXPECT_EQ(host.errorList, (Lines{"INSERT INTO T VALUES (1)", "UPDATE T SET ID = 2"}));
    EXPECT_EQ(committedIds(), Lines{});
}

TEST_F(ScriptRunnerTest, PlainParameterAndNeverRunLinesWithTheTableAsMaster) {
    query.SetSQLText("INSERT INTO T VALUES (1)");
    query.Execute();
    main.transaction.CommitRetaining();
    TIBTable table("table", &main.connection, &main.transaction);
    TDataSource source("dtstable", &table);
    query.SetDataSource(&source);
    table.SetTableName("T");
    table.Open(); // current row: ID 1

    const ScriptRunSummary summary = run("SELECT * FROM NOPE\n"
                                         "INSERT INTO T VALUES (5)\n"
                                         "UPDATE T SET ID = :ID + 100 WHERE ID = :ID\n"
                                         "INSERT INTO T VALUES (5)  ;\n"
                                         "update T set ID = :NOPE\n"
                                         "INSERT INTO NOPE VALUES (1)\n"
                                         "INSERT INTO T VALUES (6)\n");
    EXPECT_EQ(summary.executed, 6) << "the SELECT line is passed over";
    EXPECT_EQ(host.errorList, (Lines{"INSERT INTO T VALUES (5)  ;", "update T set ID = :NOPE",
                                     "INSERT INTO NOPE VALUES (1)"}));
    EXPECT_EQ(committedIds(), (Lines{"5", "6", "101"}));
    EXPECT_EQ(query.SQL(), Lines{"INSERT INTO T VALUES (6)"}) << "the last executed line";
    EXPECT_FALSE(query.Active());
    EXPECT_EQ(host.statement, "INSERT INTO T VALUES (6)");
}

} // namespace
