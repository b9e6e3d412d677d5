// How the table dataset compares with a plain fetch loop over the client
// library on a table of a million rows: time to the first row after opening,
// rows per second of a full walk, and heap per cached row. The first-row time
// is the median of several opens; the catalogue facts of a table are read at
// its first open on a connection, whose time is shown apart. Walk rates are
// the best of two walks each.
//
// Run against the private server, like the tests:
//   CORVELO_TEST_SERVER=127.0.0.1/<port> CORVELO_TEST_DATA=<dir> dataset_bench [rows]
#include "bench/BenchSupport.h"
#include "db/MainConnectionSettings.h"
#include "db/TIBDatabase.h"
#include "db/TIBTable.h"
#include "db/TIBTransaction.h"
#include "tests/support/TestDatabase.h"

#include "bench/PlainClient.h"

#include <ibase.h>
#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

constexpr int kOpenBlocks = 3;
constexpr int kOpensPerBlock = 7;
// Full walks per side; the best one counts.
constexpr int kWalkRounds = 2;

// The same select the table dataset generates for the table.
const char* const kSelect = "select \"BENCH\".*, RDB$DB_KEY as IBX_INTERNAL_DBKEY from \"BENCH\"\r\n"
                            " order by \"ID\"\r\n";

// The limit: prepare, execute and fetch into buffers of the described types,
// with nothing kept.
class PlainLoop {
public:
    explicit PlainLoop(const std::string& connectString) { attachAndStart(connectString, db_, tr_); }
    ~PlainLoop() {
        ISC_STATUS_ARRAY status{};
        isc_commit_transaction(status, &tr_);
        isc_detach_database(status, &db_);
    }

    // Seconds from the prepare to the first fetched row.
    double openToFirstRow() {
        const auto start = Clock::now();
        prepareAndExecute();
        fetch();
        const double elapsed = secondsSince(start);
        free();
        return elapsed;
    }

    // Rows per second of a full walk after the first row.
    double walk(long& rows) {
        prepareAndExecute();
        rows = 0;
        const auto start = Clock::now();
        while (fetch())
            ++rows;
        const double elapsed = secondsSince(start);
        free();
        return static_cast<double>(rows) / elapsed;
    }

private:
    void prepareAndExecute() {
        ISC_STATUS_ARRAY status{};
        isc_dsql_allocate_statement(status, &db_, &stmt_);
        check(status, "allocate");
        sqlda_.assign(XSQLDA_LENGTH(20), 0);
        auto* out = reinterpret_cast<XSQLDA*>(sqlda_.data());
        out->version = SQLDA_VERSION1;
        out->sqln = 20;
        isc_dsql_prepare(status, &tr_, &stmt_, 0, kSelect, 3, out);
        check(status, "prepare");
        buffers_.assign(static_cast<std::size_t>(out->sqld), {});
        nulls_.assign(static_cast<std::size_t>(out->sqld), 0);
        for (int i = 0; i < out->sqld; ++i) {
            XSQLVAR& var = out->sqlvar[i];
            buffers_[static_cast<std::size_t>(i)].assign(static_cast<std::size_t>(var.sqllen) + 2, 0);
            var.sqldata = buffers_[static_cast<std::size_t>(i)].data();
            var.sqlind = &nulls_[static_cast<std::size_t>(i)];
        }
        isc_dsql_execute(status, &tr_, &stmt_, 3, nullptr);
        check(status, "execute");
    }
    bool fetch() {
        ISC_STATUS_ARRAY status{};
        const ISC_STATUS result = isc_dsql_fetch(status, &stmt_, 3, reinterpret_cast<XSQLDA*>(sqlda_.data()));
        if (result == 100)
            return false;
        check(status, "fetch");
        return true;
    }
    void free() {
        ISC_STATUS_ARRAY status{};
        isc_dsql_free_statement(status, &stmt_, DSQL_drop);
        stmt_ = 0;
    }

    isc_db_handle db_ = 0;
    isc_tr_handle tr_ = 0;
    isc_stmt_handle stmt_ = 0;
    std::vector<char> sqlda_;
    std::vector<std::vector<char>> buffers_;
    std::vector<short> nulls_;
};

void fillTable(TestDatabase& db, long rows) {
    db.exec("CREATE TABLE BENCH (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(60), AMOUNT NUMERIC(15,2), "
            "DUE DATE, CODE CHAR(6))");
    db.exec("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= " + std::to_string(rows) +
            ") DO BEGIN INSERT INTO BENCH VALUES (:I, 'Customer name number ' || :I, :I * 1.25, "
            "DATEADD(MOD(:I, 3650) DAY TO DATE '2000-01-01'), 'C' || MOD(:I, 10000)); I = I + 1; END END");
}

} // namespace

int main(int argc, char** argv) {
    const long rows = argc > 1 ? std::atol(argv[1]) : 1'000'000;
    try {
        TestDatabase db;
        std::printf("filling %ld rows ...\n", rows);
        const auto fillStart = Clock::now();
        fillTable(db, rows);
        std::printf("filled in %.1f s\n\n", secondsSince(fillStart));

        PlainLoop plain(db.connectString());
        TIBDatabase connection;
        TIBTransaction transaction;
        ConfigureMainConnection(connection, transaction);
        connection.SetDatabaseName(db.connectString());
        connection.SetConnected(true);
        transaction.Start();

        long plainRows = 0;
        plain.walk(plainRows); // warms the server's cache for both

        // Blocks of each side in turn: an open right after the other side's
        // work pays for it, so only like follows like inside a block.
        std::vector<double> plainFirst;
        std::vector<double> tableFirst;
        double coldOpen = 0;
        {
            TIBTable table("table", &connection, &transaction);
            table.SetTableName("BENCH");
            for (int block = 0; block < kOpenBlocks; ++block) {
                for (int i = 0; i < kOpensPerBlock; ++i)
                    plainFirst.push_back(plain.openToFirstRow());
                for (int i = 0; i < kOpensPerBlock; ++i) {
                    const auto start = Clock::now();
                    table.Open();
                    const double elapsed = secondsSince(start);
                    table.Close();
                    if (block == 0 && i == 0)
                        coldOpen = elapsed;
                    else
                        tableFirst.push_back(elapsed);
                }
            }
        }

        double plainRate = 0;
        double tableRate = 0;
        long tableRows = 0;
        double perRow = 0;
        int dataSize = 8; // the row key
        for (int round = 0; round < kWalkRounds; ++round) {
            plainRate = std::max(plainRate, plain.walk(plainRows));

            const std::size_t heapBefore = heapInUse();
            TIBTable table("table", &connection, &transaction);
            table.SetTableName("BENCH");
            table.Open();
            const auto walkStart = Clock::now();
            tableRows = 0;
            for (table.First(); !table.Eof(); table.Next())
                ++tableRows;
            tableRate = std::max(tableRate, static_cast<double>(tableRows) / secondsSince(walkStart));
            perRow = static_cast<double>(heapInUse() - heapBefore) / static_cast<double>(tableRows);
            if (round == 0)
                for (int i = 0; i < table.FieldCount(); ++i)
                    dataSize += table.FieldAt(i)->DataSize();
        }

        const double coldMs = coldOpen * 1000;
        const double plainMs = median(plainFirst) * 1000;
        const double tableMs = median(tableFirst) * 1000;
        std::printf("                      plain loop     TIBTable      ratio   goal\n");
        std::printf("first row (ms)        %10.2f   %10.2f   %6.2fx   <= 1.5x\n", plainMs, tableMs,
                    tableMs / plainMs);
        std::printf("  first open after connecting, catalogue read: %.2f ms\n", coldMs);
        std::printf("full walk (rows/s)    %10.0f   %10.0f   %6.2fx   >= 0.7x\n", plainRate, tableRate,
                    tableRate / plainRate);
        std::printf("rows walked           %10ld   %10ld\n", plainRows, tableRows);
        std::printf("heap per cached row   %10s   %10.1f   %6.2fx   <= 2x of %d bytes (fields + row key)\n",
                    "-", perRow, perRow / dataSize, dataSize);
        // Both sides must have read the whole table.
        return plainRows == rows && tableRows == rows ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
}
