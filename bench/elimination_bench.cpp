// Time per row of "Eliminar Registros Filtrados" (delete the shown row, commit
// retaining, next row) at 1,000 and 10,000 rows, beside a plain client-library
// loop with the same round trips: walk the rows, delete each by its key and
// commit retaining. Each side's time runs from its first prepare (the
// operation's: the table's open) to its last commit. It exits with 1 when a
// side leaves a row behind.
//
// Run against the private server, like the tests:
//   CORVELO_TEST_SERVER=127.0.0.1/<port> CORVELO_TEST_DATA=<dir> elimination_bench
#include "bench/BenchSupport.h"
#include "bench/PlainRowLoop.h"
#include "ops/RecordElimination.h"
#include "tests/support/TestDatabase.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace {

void fill(TestDatabase& db, int rows) {
    db.exec("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= " + std::to_string(rows) +
            ") DO BEGIN INSERT INTO BENCH VALUES (:I, 'linha ' || :I); I = I + 1; END END");
}

void expectEmpty(TestDatabase& db) {
    const std::string left = *db.scalar("SELECT COUNT(*) FROM BENCH");
    if (left != "0")
        throw std::runtime_error(left + " rows left behind");
}

// Seconds per row of the operation itself, the table's open included.
double eliminationPerRow(TestDatabase& db, int rows) {
    fill(db, rows);
    WindowTable window(db.connectString(), "BENCH");
    const Clock::time_point start = Clock::now();
    window.table.Open();
    const int deleted = DeleteShownRows(window.table, window.host);
    const double seconds = secondsSince(start);
    expectEmpty(db);
    return seconds / deleted;
}

// Seconds per row of the same deletions by hand.
double plainLoopPerRow(TestDatabase& db, int rows) {
    fill(db, rows);
    PlainRowLoop plain(db.connectString());
    const PlainLoopResult result = plain.Delete("BENCH", "ID", true);
    expectEmpty(db);
    return result.seconds / static_cast<double>(result.rows);
}

} // namespace

int main() try {
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
} catch (const std::exception& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    return 1;
}
