#pragma once
// What the benchmark programs share: timing, and a host that gives the bulk
// operations the program's own commit step.
#include "db/MainConnectionSettings.h"
#include "db/TIBDatabase.h"
#include "db/TIBTable.h"
#include "db/TIBTransaction.h"
#include "ops/CommitStep.h"
#include "ops/OperationHost.h"

#include <chrono>
#include <string>

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class CommitHost : public OperationHost {
public:
    CommitHost(TIBDatabase& database, TIBTransaction& transaction)
        : database_(database), transaction_(transaction) {}
    bool CommitStep(TIBDataSetBase* dataSet) override {
        return RunCommitStep(database_, transaction_, dataSet);
    }

private:
    TIBDatabase& database_;
    TIBTransaction& transaction_;
};

// The window's connection, transaction and table dataset on one table, set up
// with the window's own settings and connected through `connectString`; the
// table is opened by the operation's timed span, as a user's click finds it
// closed or open alike.
struct WindowTable {
    WindowTable(const std::string& connectString, const std::string& tableName) {
        ConfigureMainConnection(connection, transaction);
        connection.SetDatabaseName(connectString);
        connection.SetConnected(true);
        transaction.Start();
        table.SetTableName(tableName);
    }
    TIBDatabase connection;
    TIBTransaction transaction;
    TIBTable table{"table", &connection, &transaction};
    CommitHost host{connection, transaction};
};
