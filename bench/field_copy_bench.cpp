// Time per row of "Cruzar Campo" (a text column copied into an integer column,
// committed row by row) through the real operation over the table dataset, on
// a small and a large table: the per-row cost must not grow with the table.
// Beside it, plain client-library loops over the same rows that send one
// prepared update per row and one commit retaining, or two as the program's
// commit step does. Every measurement gets a database of its own.
//
// Run against the private server, like the tests:
//   CORVELO_TEST_SERVER=127.0.0.1/<port> CORVELO_TEST_DATA=<dir> field_copy_bench [small [large [sync]]]
#include "bench/BenchSupport.h"
#include "db/MainConnectionSettings.h"
#include "db/TIBDatabase.h"
#include "db/TIBTable.h"
#include "db/TIBTransaction.h"
#include "ops/FieldCopy.h"
#include "tests/support/TestDatabase.h"

#include "bench/PlainClient.h"

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

// Seconds per row of the real operation on a table of its own.
double operationPerRow(TestDatabase& db, const std::string& name, long rows) {
    fillTable(db, name, rows);
    TIBDatabase connection;
    TIBTransaction transaction;
    ConfigureMainConnection(connection, transaction);
    connection.SetDatabaseName(db.connectString());
    connection.SetConnected(true);
    transaction.Start();
    CommitHost host(connection, transaction);
    TIBTable table("table", &connection, &transaction);
    table.SetTableName(name);
    table.Open();
    const auto start = Clock::now();
    CopyField(table, {"S", CopySource::String, "I", CopyTarget::Integer}, host);
    const double perRow = secondsSince(start) / static_cast<double>(rows);
    verifyCopied(db, name, rows);
    return perRow;
}

// The same copy by hand: walk the rows, and for each one update it by its key
// and commit retaining (`commits` times: the program's commit step commits twice).
double plainPerRow(TestDatabase& db, const std::string& name, long rows, int commits) {
    fillTable(db, name, rows);
    isc_db_handle dbh = 0;
    isc_tr_handle tr = 0;
    attachAndStart(db.connectString(), dbh, tr);
    ISC_STATUS_ARRAY status{};
    isc_stmt_handle select = 0, update = 0;
    isc_dsql_allocate_statement(status, &dbh, &select);
    check(status, "allocate");
    isc_dsql_allocate_statement(status, &dbh, &update);
    check(status, "allocate");

    std::vector<char> outArea(XSQLDA_LENGTH(2), 0);
    auto* out = reinterpret_cast<XSQLDA*>(outArea.data());
    out->version = SQLDA_VERSION1;
    out->sqln = 2;
    const std::string list = "select S, RDB$DB_KEY from " + name + " order by ID";
    isc_dsql_prepare(status, &tr, &select, 0, list.c_str(), 3, out);
    check(status, "prepare select");
    char text[24];
    char key[8];
    short textNull = 0, keyNull = 0;
    out->sqlvar[0].sqldata = text;
    out->sqlvar[0].sqlind = &textNull;
    out->sqlvar[1].sqldata = key;
    out->sqlvar[1].sqlind = &keyNull;

    std::vector<char> inArea(XSQLDA_LENGTH(2), 0);
    auto* in = reinterpret_cast<XSQLDA*>(inArea.data());
    in->version = SQLDA_VERSION1;
    in->sqln = in->sqld = 2;
    const std::string change = "update " + name + " set I = ? where RDB$DB_KEY = ?";
    isc_dsql_prepare(status, &tr, &update, 0, change.c_str(), 3, nullptr);
    check(status, "prepare update");
    ISC_LONG value = 0;
    short valueNull = 0;
    in->sqlvar[0].sqltype = SQL_LONG + 1;
    in->sqlvar[0].sqllen = sizeof value;
    in->sqlvar[0].sqldata = reinterpret_cast<char*>(&value);
    in->sqlvar[0].sqlind = &valueNull;
    in->sqlvar[1] = out->sqlvar[1];
    in->sqlvar[1].sqltype = SQL_TEXT + 1;

    const auto start = Clock::now();
    isc_dsql_execute(status, &tr, &select, 3, nullptr);
    check(status, "execute select");
    while (isc_dsql_fetch(status, &select, 3, out) != 100) {
        check(status, "fetch");
        short length = 0;
        std::memcpy(&length, text, sizeof length);
        value = std::atoi(std::string(text + 2, static_cast<std::size_t>(length)).c_str());
        isc_dsql_execute(status, &tr, &update, 3, in);
        check(status, "update");
        for (int i = 0; i < commits; ++i) {
            isc_commit_retaining(status, &tr);
            check(status, "commit");
        }
    }
    const double perRow = secondsSince(start) / static_cast<double>(rows);

    isc_dsql_free_statement(status, &select, DSQL_drop);
    isc_dsql_free_statement(status, &update, DSQL_drop);
    isc_commit_transaction(status, &tr);
    isc_detach_database(status, &dbh);
    verifyCopied(db, name, rows);
    return perRow;
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
        const double plainSmall = measure([&](TestDatabase& db) { return plainPerRow(db, "T", small, 1); });
        const double plainLarge = measure([&](TestDatabase& db) { return plainPerRow(db, "T", large, 1); });
        const double twiceSmall = measure([&](TestDatabase& db) { return plainPerRow(db, "T", small, 2); });
        const double twiceLarge = measure([&](TestDatabase& db) { return plainPerRow(db, "T", large, 2); });

        std::printf("\ntime per row (us)                %10ld %10ld   large/small\n", small, large);
        auto line = [](const char* what, double a, double b) {
            std::printf("%-32s %10.1f %10.1f   %5.2fx\n", what, a * 1e6, b * 1e6, b / a);
        };
        line("operation", smallRow, largeRow);
        line("plain loop, one commit per row", plainSmall, plainLarge);
        line("plain loop, two commits per row", twiceSmall, twiceLarge);
        std::printf("operation / plain loop (one commit):  %5.2fx %5.2fx\n", smallRow / plainSmall,
                    largeRow / plainLarge);
        std::printf("operation / plain loop (two commits): %5.2fx %5.2fx\n", smallRow / twiceSmall,
                    largeRow / twiceLarge);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
}
