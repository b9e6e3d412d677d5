// How datasets plug into the connection and the transaction: what closes them,
// what leaves them open, and the checks of ApplyUpdatesAndCommit.
#include "DbTestSupport.h"
#include "db/TIBDataSetBase.h"
#include "db/TIBSQL.h"

#include <gtest/gtest.h>

namespace {

// Records what the layer asks of it.
class FakeDataSet : public TIBDataSetBase {
public:
    FakeDataSet(std::string name, std::vector<std::string>& log, TIBDatabase* database = nullptr,
                TIBTransaction* transaction = nullptr)
        : TIBDataSetBase(database, transaction), name_(std::move(name)), log_(log) {}

    void Open() {
        ConnectAndStart();
        active_ = true;
        prepared_ = true;
    }
    bool Prepared() const { return prepared_; }

    std::string Name() const override { return name_; }
    bool Active() const override { return active_; }
    void Close() override {
        active_ = false;
        log_.push_back("close " + name_);
    }
    void ApplyCachedUpdates() override {
        if (!active_)
            throw EDatabaseError(name_ + ": Cannot perform this operation on a closed dataset");
        log_.push_back("apply " + name_);
    }

protected:
    void FreeStatements() noexcept override { prepared_ = false; }

private:
    std::string name_;
    std::vector<std::string>& log_;
    bool active_ = false;
    bool prepared_ = false;
};

using Log = std::vector<std::string>;

} // namespace

TEST(StatementObjects, OpeningAttachesAndStartsTheTransaction) {
    MainWindowConnection c;
    Log log;
    FakeDataSet table("table", log, &c.connection);
    // Without a transaction of its own it takes the connection's default one.
    EXPECT_EQ(table.Transaction(), &c.transaction);
    table.Open();
    EXPECT_TRUE(c.connection.Connected());
    EXPECT_TRUE(c.transaction.IsStarted());

    FakeDataSet orphan("orphan", log);
    EXPECT_CLIENT_ERROR(orphan.Open(), 24, "Database not assigned");
    TIBDatabase other;
    orphan.SetDatabase(&other);
    EXPECT_CLIENT_ERROR(orphan.Open(), 25, "Transaction not assigned");
}

TEST(StatementObjects, HardEndClosesAndUnpreparesRetainingEndLeavesOpen) {
    MainWindowConnection c;
    Log log;
    FakeDataSet table("table", log, &c.connection, &c.transaction);
    table.Open();

    c.transaction.CommitRetaining();
    c.transaction.RollbackRetaining();
    EXPECT_TRUE(table.Active());
    EXPECT_TRUE(table.Prepared());

    c.transaction.Commit();
    EXPECT_FALSE(table.Active());
    EXPECT_FALSE(table.Prepared());

    table.Open();
    c.transaction.SetActive(false);
    EXPECT_FALSE(table.Active());
    EXPECT_FALSE(table.Prepared());
}

TEST(StatementObjects, DetachClosesAndUnprepares) {
    MainWindowConnection c;
    Log log;
    FakeDataSet table("table", log, &c.connection, &c.transaction);
    table.Open();
    c.connection.SetConnected(false);
    EXPECT_FALSE(table.Active());
    EXPECT_FALSE(table.Prepared());
    EXPECT_FALSE(c.transaction.IsStarted());
}

TEST(StatementObjects, CloseAttachedDataSetsInRegistrationOrderSkippingGoneOnes) {
    MainWindowConnection c;
    Log log;
    FakeDataSet table("table", log, &c.connection);
    auto sql = std::make_unique<FakeDataSet>("sql", log, &c.connection);
    FakeDataSet qryScript("qryScript", log, &c.connection);
    TIBSQL executor(&c.connection);
    table.Open();
    sql->Open();
    qryScript.Open();
    sql.reset();
    log.clear();
    c.connection.CloseAttachedDataSets();
    EXPECT_EQ(log, (Log{"close table", "close qryScript"}));
    EXPECT_TRUE(c.transaction.IsStarted());
}

TEST(StatementObjects, ObjectsForgetADestroyedConnectionOrTransaction) {
    Log log;
    FakeDataSet table("table", log);
    {
        TIBDatabase connection;
        TIBTransaction transaction;
        table.SetDatabase(&connection);
        table.SetTransaction(&transaction);
    }
    EXPECT_EQ(table.Database(), nullptr);
    EXPECT_EQ(table.Transaction(), nullptr);
}

TEST(ApplyUpdatesAndCommit, AppliesInOrderThenCommitsRetaining) {
    MainWindowConnection c;
    c.db.exec("CREATE TABLE T (ID INTEGER)");
    Log log;
    FakeDataSet table("table", log, &c.connection, &c.transaction);
    FakeDataSet sql("sql", log, &c.connection, &c.transaction);
    table.Open();
    sql.Open();
    TIBSQL insert(&c.connection, &c.transaction);
    insert.SetSQL("INSERT INTO T VALUES (1)");
    insert.ExecQuery();

    c.connection.ApplyUpdatesAndCommit({&sql, &table});
    EXPECT_EQ(log, (Log{"apply sql", "apply table"}));
    EXPECT_TRUE(c.transaction.IsStarted());
    EXPECT_TRUE(table.Active());
    EXPECT_EQ(*c.db.scalar("SELECT COUNT(*) FROM T"), "1");
}

TEST(ApplyUpdatesAndCommit, FailedApplyCommitsNothing) {
    MainWindowConnection c;
    c.db.exec("CREATE TABLE T (ID INTEGER)");
    Log log;
    FakeDataSet table("table", log, &c.connection, &c.transaction);
    c.connection.SetConnected(true);
    c.transaction.Start();
    TIBSQL insert(&c.connection, &c.transaction);
    insert.SetSQL("INSERT INTO T VALUES (1)");
    insert.ExecQuery();
    EXPECT_THROW(c.connection.ApplyUpdatesAndCommit({&table}), EDatabaseError);
    EXPECT_EQ(*c.db.scalar("SELECT COUNT(*) FROM T"), "0");
}

TEST(ApplyUpdatesAndCommit, RefusesForeignOrMixedDataSetsAndAnInactiveTransaction) {
    MainWindowConnection c;
    Log log;
    TIBDatabase otherConnection;
    TIBTransaction otherTransaction;
    FakeDataSet table("table", log, &c.connection, &c.transaction);
    FakeDataSet foreign("foreign", log, &otherConnection, &c.transaction);
    FakeDataSet mixed("mixed", log, &c.connection, &otherTransaction);
    FakeDataSet noTransaction("none", log, &c.connection);
    noTransaction.SetTransaction(nullptr);

    EXPECT_CLIENT_ERROR(c.connection.ApplyUpdatesAndCommit({&table, &foreign}), 22,
                        "Updating wrong database");
    EXPECT_CLIENT_ERROR(c.connection.ApplyUpdatesAndCommit({&table, &mixed}), 23,
                        "Updating wrong transaction. Unique transaction expected in set");
    EXPECT_CLIENT_ERROR(c.connection.ApplyUpdatesAndCommit({&noTransaction}), 23,
                        "Updating wrong transaction. Unique transaction expected in set");
    EXPECT_CLIENT_ERROR(c.connection.ApplyUpdatesAndCommit({&table}), 18, "Transaction is not active");
    EXPECT_CLIENT_ERROR(c.connection.ApplyUpdatesAndCommit({}), 18, "Transaction is not active");
    EXPECT_TRUE(log.empty());
}

TEST(AutoStop, LastDataSetClosingEndsAnAutomaticallyStartedTransaction) {
    MainWindowConnection c;
    c.transaction.SetAutoStopAction(saCommit);
    Log log;
    FakeDataSet table("table", log, &c.connection);
    FakeDataSet sql("sql", log, &c.connection);
    table.Open();
    sql.Open();
    table.Close();
    c.transaction.CheckAutoStop();
    EXPECT_TRUE(c.transaction.IsStarted());
    sql.Close();
    c.transaction.CheckAutoStop();
    EXPECT_FALSE(c.transaction.IsStarted());

    // Started by hand, it is left alone; with saNone nothing ends it either.
    c.transaction.Start();
    c.transaction.CheckAutoStop();
    EXPECT_TRUE(c.transaction.IsStarted());
    c.transaction.Commit();
    c.transaction.SetAutoStopAction(saNone);
    table.Open();
    table.Close();
    c.transaction.CheckAutoStop();
    EXPECT_TRUE(c.transaction.IsStarted());
}
