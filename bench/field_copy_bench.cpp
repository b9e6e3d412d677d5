// Time per row of "Cruzar Campo" (a text column copied into an integer column,
// committed row by row) through the real operation over the table dataset, on
// a small and a large table: the per-row cost must not grow with the table.
// Beside it, a plain client-library loop over the same rows with the same
// round trips per row (update by key, re-read by key, commit retaining). Every
// measurement gets a database of its own; each side's time runs from its first
// prepare (the operation's: the table's open) to its last commit. It exits
// with 1 when a side leaves a row uncopied.
//
// Run against the private server, like the tests:
//   CORVELO_TEST_SERVER=127.0.0.1/<port> CORVELO_TEST_DATA=<dir> field_copy_bench [small [large [sync]]]
#include "bench/BenchSupport.h"
#include "ops/FieldCopy.h"
#include "tests/support/TestDatabase.h"

#include "bench/PlainClient.h"
#include "bench/PlainRowLoop.h"

#include <ibase.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Forced writes make every commit wait for the disk, on both sides alike; the
// figures of the program's own cost are taken without them unless asked for.
void setForcedWrites(const std::string& connectString, bool on) {
    isc_db_handle db = 0;
    attach(connectString,
           sysdbaParams({static_cast<char>(isc_dpb_force_write), 1, static_cast<char>(on ? 1 : 0)}), db);
    ISC_STATUS_ARRAY status{};
    isc_detach_database(status, &db);
}

void fillTable(TestDatabase& db, const std::string& name, long rows) {
    db.exec("CREATE TABLE " + name + " (ID INTEGER NOT NULL PRIMARY KEY, S VARCHAR(20), I INTEGER)");
    db.exec("EXECUTE BLOCK AS DECLARE N INTEGER = 1; BEGIN WHILE (N <= " + std::to_string(rows) +
            ") DO BEGIN INSERT INTO " + name + " VALUES (:N, :N * 7, NULL); N = N + 1; END END");
}

// Every row must hold its copied value, committed.
void verifyCopied(TestDatabase& db, const std::string& name, long rows) {
    const std::string copied = *db.scalar("SELECT COUNT(*) FROM " + name + " WHERE I = ID * 7");
    if (copied != std::to_string(rows))
        throw std::runtime_error(name + ": " + copied + " of " + std::to_string(rows) + " rows copied");
}

// A fresh database for every measurement: each commit starts a new server
// transaction, and a database that has seen many of them commits more slowly.
std::unique_ptr<TestDatabase> freshDatabase(bool forcedWrites) {
    auto db = std::make_unique<TestDatabase>();
    setForcedWrites(db->connectString(), forcedWrites);
    return db;
}

// Seconds per row of the real operation on a table of its own, its open included.
double operationPerRow(TestDatabase& db, const std::string& name, long rows) {
    fillTable(db, name, rows);
    WindowTable window(db.connectString(), name);
    const auto start = Clock::now();
    window.table.Open();
    CopyField(window.table, {"S", CopySource::String, "I", CopyTarget::Integer}, window.host);
    const double seconds = secondsSince(start);
    const long walked = window.table.RecordCount();
    verifyCopied(db, name, rows);
    return seconds / static_cast<double>(walked);
}

// The same copy by hand, with the same round trips per row: update by key,
// re-read by key, commit retaining.
double plainPerRow(TestDatabase& db, const std::string& name, long rows) {
    fillTable(db, name, rows);
    PlainRowLoop plain(db.connectString());
    const PlainLoopResult result = plain.Update(
        name, "ID", [](PlainRow& row) { row.SetInteger(2, std::atoi(row.Text(1).c_str())); }, true);
    verifyCopied(db, name, rows);
    return result.seconds / static_cast<double>(result.rows);
}

} // namespace

int main(int argc, char** argv) {
    const long small = argc > 1 ? std::atol(argv[1]) : 1'000;
    const long large = argc > 2 ? std::atol(argv[2]) : 100'000;
    const bool forcedWrites = argc > 3 && std::string(argv[3]) == "sync";
    try {
        std::printf("copying a column over %ld and %ld rows (forced writes %s) ...\n", small, large,
                    forcedWrites ? "on" : "off");
        auto measure = [&](auto perRow) { return perRow(*freshDatabase(forcedWrites)); };
        const double smallRow = measure([&](TestDatabase& db) { return operationPerRow(db, "T", small); });
        const double largeRow = measure([&](TestDatabase& db) { return operationPerRow(db, "T", large); });
        const double plainSmall = measure([&](TestDatabase& db) { return plainPerRow(db, "T", small); });
        const double plainLarge = measure([&](TestDatabase& db) { return plainPerRow(db, "T", large); });

        std::printf("\ntime per row (us)                %10ld %10ld   large/small\n", small, large);
        auto line = [](const char* what, double a, double b) {
            std::printf("%-32s %10.1f %10.1f   %5.2fx\n", what, a * 1e6, b * 1e6, b / a);
        };
        line("operation", smallRow, largeRow);
        line("plain loop", plainSmall, plainLarge);
        std::printf("operation / plain loop:           %10.2fx %9.2fx\n", smallRow / plainSmall,
                    largeRow / plainLarge);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
}
