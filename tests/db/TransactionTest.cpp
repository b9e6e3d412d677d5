// The transaction against the test server: starting, the four ways of ending,
// forced ends, and what destruction does with a started transaction. What was
// committed is checked through a second attachment (TestDatabase::query).
#include "DbTestSupport.h"
#include "db/TIBSQL.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct StartedTransaction : MainWindowConnection {
    StartedTransaction() {
        db.exec("CREATE TABLE T (ID INTEGER)");
        connection.SetConnected(true);
        transaction.Start();
    }
    void insert(int id) {
        TIBSQL sql(&connection, &transaction);
        sql.SetSQL("INSERT INTO T VALUES (" + std::to_string(id) + ")");
        sql.ExecQuery();
    }
    // Rows visible to another attachment, i.e. committed.
    std::string committedRows() { return *db.scalar("SELECT COUNT(*) FROM T"); }
};

} // namespace

TEST(Transaction, StartRefusals) {
    TIBTransaction lonely;
    EXPECT_CLIENT_ERROR(lonely.Start(), 21, "No databases are listed in transaction component");
    EXPECT_CLIENT_ERROR(lonely.Commit(), 18, "Transaction is not active");

    MainWindowConnection c;
    EXPECT_CLIENT_ERROR(c.transaction.Start(), 15, "Cannot perform operation -- DB is not open");
    c.connection.SetConnected(true);
    c.transaction.Start();
    EXPECT_CLIENT_ERROR(c.transaction.Start(), 19, "Transaction is active");
    EXPECT_CLIENT_ERROR(c.transaction.SetParams({"concurrency"}), 19, "Transaction is active");
    EXPECT_CLIENT_ERROR(c.transaction.SetIdleTimer(-5), 20, "Timeout values cannot be negative");
}

TEST(Transaction, BadParameterLineLeavesItNotStarted) {
    MainWindowConnection c;
    c.connection.SetConnected(true);
    c.transaction.SetParams({"read_committed", "rec_versions"});
    EXPECT_CLIENT_ERROR(c.transaction.Start(), 115, "TPB Constant (rec_versions) is unknown");
    EXPECT_FALSE(c.transaction.IsStarted());
    c.transaction.SetParams(kMainWindowTransactionParams);
    c.transaction.Start();
    EXPECT_TRUE(c.transaction.IsStarted());
}

TEST(Transaction, RetainingEndsKeepItStarted) {
    StartedTransaction t;
    t.insert(1);
    t.transaction.CommitRetaining();
    EXPECT_TRUE(t.transaction.InTransaction());
    EXPECT_EQ(t.committedRows(), "1");

    t.insert(2);
    t.transaction.RollbackRetaining();
    EXPECT_TRUE(t.transaction.InTransaction());
    t.transaction.CommitRetaining();
    EXPECT_EQ(t.committedRows(), "1");
}

TEST(Transaction, HardEndsFinishIt) {
    StartedTransaction t;
    t.insert(1);
    t.transaction.Commit();
    EXPECT_FALSE(t.transaction.InTransaction());
    EXPECT_EQ(t.committedRows(), "1");

    t.transaction.Start();
    t.insert(2);
    t.transaction.Rollback();
    EXPECT_FALSE(t.transaction.InTransaction());
    EXPECT_EQ(t.committedRows(), "1");
}

TEST(Transaction, ForcedHardEnds) {
    StartedTransaction t;
    t.insert(1);
    t.transaction.Finish(TACommit, true);
    EXPECT_FALSE(t.transaction.IsStarted());
    EXPECT_EQ(t.committedRows(), "1");

    t.transaction.Start();
    t.insert(2);
    t.transaction.Finish(TARollback, true);
    EXPECT_FALSE(t.transaction.IsStarted());
    EXPECT_EQ(t.committedRows(), "1");
}

TEST(Transaction, SetActiveFalseRollsBackWhateverTheDefaultAction) {
    StartedTransaction t;
    ASSERT_EQ(t.transaction.DefaultAction(), TACommitRetaining);
    t.insert(1);
    t.transaction.SetActive(false);
    EXPECT_FALSE(t.transaction.Active());
    EXPECT_EQ(t.committedRows(), "0");
    t.transaction.SetActive(true);
    EXPECT_TRUE(t.transaction.Active());
}

TEST(Transaction, DestructionEndsByTheHardFormOfTheDefaultAction) {
    for (auto [action, expected] : {std::pair{TACommitRetaining, "1"}, std::pair{TACommit, "1"},
                                    std::pair{TARollbackRetaining, "0"}, std::pair{TARollback, "0"}}) {
        SCOPED_TRACE(action);
        TestDatabase db;
        db.exec("CREATE TABLE T (ID INTEGER)");
        TIBDatabase connection;
        {
            TIBTransaction transaction;
            ConfigureLikeMainWindow(connection, transaction, db.connectString());
            transaction.SetDefaultAction(action);
            connection.SetConnected(true);
            transaction.Start();
            TIBSQL sql(&connection, &transaction);
            sql.SetSQL("INSERT INTO T VALUES (1)");
            sql.ExecQuery();
        }
        EXPECT_EQ(connection.DefaultTransaction(), nullptr);
        EXPECT_EQ(*db.scalar("SELECT COUNT(*) FROM T"), expected);
    }
}

TEST(Transaction, ClosingTheProgramWithAStartedTransactionCommitsIt) {
    TestDatabase db;
    db.exec("CREATE TABLE T (ID INTEGER)");
    {
        // The main window's order: the connection is released with a started transaction.
        auto transaction = std::make_unique<TIBTransaction>();
        auto connection = std::make_unique<TIBDatabase>();
        ConfigureLikeMainWindow(*connection, *transaction, db.connectString());
        connection->SetConnected(true);
        transaction->Start();
        TIBSQL sql(connection.get(), transaction.get());
        sql.SetSQL("INSERT INTO T VALUES (1)");
        sql.ExecQuery();
        connection.reset();
        EXPECT_FALSE(transaction->IsStarted());
        EXPECT_EQ(transaction->DefaultDatabase(), nullptr);
    }
    EXPECT_EQ(*db.scalar("SELECT COUNT(*) FROM T"), "1");
}

TEST(Transaction, DetachEndsTheStartedTransactionByItsDefaultAction) {
    StartedTransaction t;
    t.transaction.SetParams(kMainWindowTransactionParams);
    t.insert(1);
    t.connection.SetConnected(false);
    EXPECT_FALSE(t.transaction.IsStarted());
    EXPECT_EQ(t.committedRows(), "1");
}

TEST(Transaction, LockConflictUnderNowaitIsAServerError) {
    StartedTransaction t;
    t.db.exec("INSERT INTO T VALUES (1)");
    TIBTransaction other;
    other.SetDefaultDatabase(&t.connection);
    other.SetParams(kMainWindowTransactionParams);
    other.Start();
    TIBSQL first(&t.connection, &t.transaction);
    first.SetSQL("UPDATE T SET ID = 2");
    first.ExecQuery();
    TIBSQL second(&t.connection, &other);
    second.SetSQL("UPDATE T SET ID = 3");
    try {
        second.ExecQuery();
        ADD_FAILURE() << "no conflict";
    } catch (const EIBInterBaseError& e) {
        EXPECT_EQ(e.SQLCode(), -913);
        EXPECT_EQ(e.Message().rfind("deadlock\r\nupdate conflicts with concurrent update", 0), 0u)
            << e.Message();
    }
    EXPECT_TRUE(other.IsStarted());
}
