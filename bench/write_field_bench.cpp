// Rows per second of the row-by-row modes of "Grava Campo" (renumbering and
// accent stripping) through the real operations over the table dataset, beside
// a plain client-library loop with the same round trips per row (update of all
// columns by row key, re-read by key; one commit at the end). Each side works
// on its own copy of the data; each side's time runs from its first prepare
// (the operation's: the table's open) to its commit.
//
// Run against the private server, like the tests:
//   CORVELO_TEST_SERVER=127.0.0.1/<port> CORVELO_TEST_DATA=<dir> write_field_bench [rows [swap]]
// It exits with 1 when the two sides do not leave the same rows behind.
#include "bench/BenchSupport.h"
#include "bench/PlainRowLoop.h"
#include "ops/WriteField.h"
#include "tests/support/TestDatabase.h"
#include "util/TextUtils.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

void fillTable(TestDatabase& db, const std::string& name, long rows) {
    db.exec("CREATE TABLE " + name + " (ID INTEGER NOT NULL PRIMARY KEY, CODE INTEGER, NAME VARCHAR(60))");
    db.exec("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= " + std::to_string(rows) +
            ") DO BEGIN INSERT INTO " + name +
            " VALUES (:I, 0, 'Jos\xE9 da Concei\xE7\xE3o, S\xE3o Jo\xE3o n\xBA ' || :I); I = I + 1; END END");
}

// Rows per second of a walk over the whole table, its open included.
template <class Operation> double operationRate(WindowTable& window, Operation operation) {
    const auto start = Clock::now();
    window.table.Open();
    operation();
    const double seconds = secondsSince(start);
    const int walked = window.table.RecordCount(); // the walk read every row
    window.table.Close();
    return walked / seconds;
}

} // namespace

int main(int argc, char** argv) {
    const long rows = argc > 1 ? std::atol(argv[1]) : 100'000;
    const bool swap = argc > 2 && std::string(argv[2]) == "swap";
    try {
        TestDatabase db;
        std::printf("filling two tables of %ld rows ...\n", rows);
        fillTable(db, "PLAIN", rows);
        fillTable(db, "BENCH", rows);

        PlainRowLoop plain(db.connectString());
        WindowTable window(db.connectString(), "BENCH");

        auto plainRate = [&](const std::function<void(PlainRow&)>& change) {
            const PlainLoopResult result = plain.Update("\"PLAIN\"", "\"ID\"", change, false);
            if (result.rows != rows)
                throw std::runtime_error("the plain loop saw " + std::to_string(result.rows) + " rows");
            return static_cast<double>(result.rows) / result.seconds;
        };
        int counter = 10;
        auto renumberPlain = [&] { return plainRate([&](PlainRow& row) { row.SetInteger(1, counter++); }); };
        auto renumberTable = [&] {
            return operationRate(window, [&] { Renumber(window.table, "CODE", "10", window.host); });
        };
        auto stripPlain = [&] {
            return plainRate([](PlainRow& row) { row.SetText(2, TiraAcento(row.Text(2))); });
        };
        auto stripTable = [&] {
            return operationRate(window, [&] { StripAccents(window.table, "NAME", window.host); });
        };

        // The side that runs first may pay for a cold server cache: "swap" runs the operation first.
        double plainRenumber = 0, tableRenumber = 0, plainStrip = 0, tableStrip = 0;
        if (swap) {
            tableRenumber = renumberTable();
            plainRenumber = renumberPlain();
            tableStrip = stripTable();
            plainStrip = stripPlain();
        } else {
            plainRenumber = renumberPlain();
            tableRenumber = renumberTable();
            plainStrip = stripPlain();
            tableStrip = stripTable();
        }

        const std::string equal = *db.scalar("SELECT COUNT(*) FROM BENCH B JOIN PLAIN P ON P.ID = B.ID "
                                             "WHERE P.CODE = B.CODE AND P.NAME = B.NAME AND B.CODE >= 10");
        std::printf("\n                      plain loop     operation    ratio   goal\n");
        std::printf("renumber (rows/s)     %10.0f   %10.0f   %6.2fx  >= 0.8x\n", plainRenumber, tableRenumber,
                    tableRenumber / plainRenumber);
        std::printf("strip accents (rows/s)%10.0f   %10.0f   %6.2fx  >= 0.8x\n", plainStrip, tableStrip,
                    tableStrip / plainStrip);
        std::printf("rows equal on both sides afterwards: %s of %ld\n", equal.c_str(), rows);
        return equal == std::to_string(rows) ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
}
