// Stopping a statement from another thread: a cancel reaches the call under
// way, stops every later call before it starts, and never a held-open one.
#include "db/CancelGate.h"
#include "DbTestSupport.h"
#include "db/TIBSQL.h"
#include "util/Exceptions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

// About three seconds of server work, with nothing to change.
const char* const kLongStatement = "EXECUTE BLOCK RETURNS (N INTEGER) AS DECLARE I INTEGER = 0; BEGIN "
                                   "WHILE (I < 30000000) DO I = I + 1; N = I; SUSPEND; END";

struct Gate : MainWindowConnection {
    Gate() {
        connection.SetConnected(true);
        transaction.Start();
        CancelGate::Arm();
    }
    ~Gate() { CancelGate::Disarm(); }
    TIBSQL sql{&connection, &transaction};
};

} // namespace

TEST(CancelGate, ACancelStopsTheRunningStatementAndEveryLaterCallUntilDisarmed) {
    Gate g;
    g.sql.SetSQL(kLongStatement);
    std::thread canceller([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        CancelGate::CancelRunningCall();
    });
    const auto started = std::chrono::steady_clock::now();
    try {
        g.sql.ExecQuery();
        ADD_FAILURE() << "the statement ran to its end";
    } catch (const std::exception& error) {
        EXPECT_TRUE(CancelGate::IsCancelled(error)) << error.what();
    }
    canceller.join();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(2))
        << "stopped, not waited for";

    g.sql.SetSQL("SELECT 1 FROM RDB$DATABASE");
    EXPECT_THROW(g.sql.ExecQuery(), OperationCancelled) << "a later call does not start";
    {
        const CancelGate::HeldOpen commitStep;
        EXPECT_NO_THROW(g.sql.ExecQuery()) << "held open, the call goes through";
    }
    CancelGate::Disarm();
    EXPECT_NO_THROW(g.sql.ExecQuery());
    EXPECT_EQ(g.sql.FieldAsInteger(0), 1);
}

TEST(CancelGate, ACancelAskedForBetweenCallsStopsTheNextOne) {
    Gate g;
    EXPECT_TRUE(CancelGate::CancelRunningCall());
    g.sql.SetSQL("SELECT 1 FROM RDB$DATABASE");
    try {
        g.sql.ExecQuery();
        ADD_FAILURE() << "the call started after the cancel";
    } catch (const OperationCancelled& cancelled) {
        EXPECT_TRUE(CancelGate::IsCancelled(cancelled));
    }
    CancelGate::Arm(); // the next long work starts afresh
    EXPECT_NO_THROW(g.sql.ExecQuery());
}

TEST(CancelGate, UnarmedCallsAreNeverCancelled) {
    MainWindowConnection c;
    c.connection.SetConnected(true);
    c.transaction.Start();
    CancelGate::CancelRunningCall();
    TIBSQL sql{&c.connection, &c.transaction};
    sql.SetSQL("SELECT 1 FROM RDB$DATABASE");
    EXPECT_NO_THROW(sql.ExecQuery());
}
