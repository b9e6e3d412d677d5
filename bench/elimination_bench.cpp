// Time per row of "Eliminar Registros Filtrados" (delete the shown row, commit
// retaining, next row) at 1,000 and 10,000 rows, against the least the same
// work can cost: one prepared delete by key and a commit retaining per row.
//
// Run against the private server, like the tests:
//   CORVELO_TEST_SERVER=127.0.0.1/<port> CORVELO_TEST_DATA=<dir> elimination_bench
#include "bench/BenchSupport.h"
#include "db/MainConnectionSettings.h"
#include "db/TIBDatabase.h"
#include "db/TIBSQL.h"
#include "db/TIBTable.h"
#include "db/TIBTransaction.h"
#include "ops/CommitStep.h"
#include "ops/OperationHost.h"
#include "ops/RecordElimination.h"
#include "tests/support/TestDatabase.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

namespace {

void fill(TestDatabase& db, int rows) {
    db.exec("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= " + std::to_string(rows) +
            ") DO BEGIN INSERT INTO BENCH VALUES (:I, 'linha ' || :I); I = I + 1; END END");
}

// Seconds per row of the operation itself.
double eliminationPerRow(TestDatabase& db, int rows) {
    fill(db, rows);
    TIBDatabase connection;
    TIBTransaction transaction;
    ConfigureMainConnection(connection, transaction);
    connection.SetDatabaseName(db.connectString());
    connection.SetConnected(true);
    transaction.Start();
    TIBTable table("table", &connection, &transaction);
    table.SetTableName("BENCH");
    table.Open();
    CommitHost host(connection, transaction);
    const Clock::time_point start = Clock::now();
    const int deleted = DeleteShownRows(table, host);
    const double seconds = secondsSince(start);
    if (deleted != rows)
        std::fprintf(stderr, "deleted %d of %d rows\n", deleted, rows);
    return seconds / rows;
}

// Seconds per row of a prepared delete by key plus a commit retaining.
double plainLoopPerRow(TestDatabase& db, int rows) {
    fill(db, rows);
    TIBDatabase connection;
    TIBTransaction transaction;
    ConfigureMainConnection(connection, transaction);
    connection.SetDatabaseName(db.connectString());
    connection.SetConnected(true);
    transaction.Start();
    TIBSQL statement(&connection, &transaction);
    statement.SetSQL("delete from BENCH where ID = ?");
    statement.Prepare();
    const Clock::time_point start = Clock::now();
    for (int id = 1; id <= rows; ++id) {
        statement.SetParam(0, std::to_string(id));
        statement.ExecQuery();
        transaction.CommitRetaining();
    }
    return secondsSince(start) / rows;
}

} // namespace

int main() {
    std::printf("%8s %16s %16s %8s\n", "rows", "operation us/row", "plain us/row", "ratio");
    for (int rows : {1000, 10000}) {
        TestDatabase db;
        db.exec("CREATE TABLE BENCH (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(40))");
        // Alternated and the best of two, so a busy moment does not decide.
        double operation = 1e9;
        double plain = 1e9;
        for (int round = 0; round < 2; ++round) {
            operation = std::min(operation, eliminationPerRow(db, rows));
            plain = std::min(plain, plainLoopPerRow(db, rows));
        }
        std::printf("%8d %16.1f %16.1f %8.2f\n", rows, operation * 1e6, plain * 1e6, operation / plain);
    }
    return 0;
}
