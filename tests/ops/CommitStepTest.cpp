// The shared commit step: commit retaining, or roll back retaining and say so.
#include "ops/CommitStep.h"
#include "db/TIBDataSetBase.h"
#include "db/TIBSQL.h"
#include "tests/db/DbTestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A dataset as the commit step sees it: open or closed, and an apply that
// may fail (as a pending row the server refuses does).
class DataSetDouble : public TIBDataSetBase {
public:
    DataSetDouble(TIBDatabase* database, TIBTransaction* transaction)
        : TIBDataSetBase(database, transaction) {}
    std::string Name() const override { return "table"; }
    bool Active() const override { return active; }
    void Close() override { active = false; }
    void ApplyCachedUpdates() override {
        ++applied;
        if (failApply)
            throw std::runtime_error("violation of PRIMARY or UNIQUE KEY constraint");
    }
    bool active = true;
    bool failApply = false;
    int applied = 0;

protected:
    void FreeStatements() noexcept override {}
};

class CommitStepTest : public ::testing::Test {
protected:
    void SetUp() override {
        main.db.exec("CREATE TABLE T (ID INTEGER)");
        main.connection.SetConnected(true);
        main.transaction.Start();
    }
    void insert(int id) {
        TIBSQL sql(&main.connection, &main.transaction);
        sql.SetSQL("INSERT INTO T VALUES (" + std::to_string(id) + ")");
        sql.ExecQuery();
    }
    std::string committedRows() { return *main.db.scalar("SELECT COUNT(*) FROM T"); }

    MainWindowConnection main;
};

TEST_F(CommitStepTest, CommitsRetainingWithOrWithoutADataSet) {
    DataSetDouble table(&main.connection, &main.transaction);
    insert(1);
    EXPECT_TRUE(RunCommitStep(main.connection, main.transaction, nullptr));
    insert(2);
    EXPECT_TRUE(RunCommitStep(main.connection, main.transaction, &table));
    EXPECT_EQ(table.applied, 1);
    EXPECT_EQ(committedRows(), "2");
    EXPECT_TRUE(main.transaction.InTransaction());
    EXPECT_TRUE(RunCommitStep(main.connection, main.transaction, nullptr)) << "nothing to commit is fine";
}

TEST_F(CommitStepTest, AClosedDataSetIsNotAppliedAndTheWorkIsStillCommitted) {
    DataSetDouble table(&main.connection, &main.transaction);
    table.active = false;
    table.failApply = true; // applying a closed dataset fails
    insert(1);
    EXPECT_TRUE(RunCommitStep(main.connection, main.transaction, &table));
    EXPECT_EQ(table.applied, 0);
    EXPECT_EQ(committedRows(), "1");
}

TEST_F(CommitStepTest, AFailedApplyRollsBackEverythingSinceTheLastCommit) {
    DataSetDouble table(&main.connection, &main.transaction);
    insert(1);
    ASSERT_TRUE(RunCommitStep(main.connection, main.transaction, nullptr));
    insert(2);
    table.failApply = true;
    EXPECT_FALSE(RunCommitStep(main.connection, main.transaction, &table));
    EXPECT_EQ(committedRows(), "1");
    EXPECT_EQ(*main.db.scalar("SELECT COUNT(*) FROM T"), "1");
    EXPECT_TRUE(main.transaction.InTransaction()) << "the rollback is retaining";
    EXPECT_EQ(std::string(CommitFailedMessage),
              "Transa\xE7\xE3o n\xE3o efetuada, ser\xE1 revertida, favor tentar novamente.");
}

TEST_F(CommitStepTest, OnlyAFailedRollbackIsRaised) {
    main.transaction.Rollback();
    EXPECT_CLIENT_ERROR(RunCommitStep(main.connection, main.transaction, nullptr), 18,
                        "Transaction is not active");
}

} // namespace
