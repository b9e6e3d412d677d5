// Rows per second of the row-by-row modes of "Grava Campo" (renumbering and
// accent stripping) through the real operations over the table dataset, beside
// a plain client-library loop that sends the same statements for every row: the
// update of all columns by row key, then the re-read of the row by its key.
// Each side works on its own copy of the data and commits once at the end.
//
// Run against the private server, like the tests:
//   CORVELO_TEST_SERVER=127.0.0.1/<port> CORVELO_TEST_DATA=<dir> write_field_bench [rows [swap]]
#include "bench/BenchSupport.h"
#include "db/MainConnectionSettings.h"
#include "db/TIBDatabase.h"
#include "db/TIBTable.h"
#include "db/TIBTransaction.h"
#include "ops/CommitStep.h"
#include "ops/OperationHost.h"
#include "ops/WriteField.h"
#include "tests/support/TestDatabase.h"
#include "util/TextUtils.h"

#include "bench/PlainClient.h"

#include <ibase.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A prepared statement with buffers for its result columns.
struct Statement {
    isc_stmt_handle handle = 0;
    std::vector<char> sqlda;
    std::vector<std::vector<char>> buffers;
    std::vector<short> nulls;

    XSQLDA* out() { return reinterpret_cast<XSQLDA*>(sqlda.data()); }

    void prepare(isc_db_handle& db, isc_tr_handle& tr, const std::string& text) {
        ISC_STATUS_ARRAY status{};
        isc_dsql_allocate_statement(status, &db, &handle);
        check(status, "allocate");
        sqlda.assign(XSQLDA_LENGTH(10), 0);
        out()->version = SQLDA_VERSION1;
        out()->sqln = 10;
        isc_dsql_prepare(status, &tr, &handle, 0, text.c_str(), 3, out());
        check(status, "prepare");
        buffers.assign(static_cast<std::size_t>(out()->sqld), {});
        nulls.assign(static_cast<std::size_t>(out()->sqld), 0);
        for (int i = 0; i < out()->sqld; ++i) {
            XSQLVAR& var = out()->sqlvar[i];
            buffers[static_cast<std::size_t>(i)].assign(static_cast<std::size_t>(var.sqllen) + 2, 0);
            var.sqldata = buffers[static_cast<std::size_t>(i)].data();
            var.sqlind = &nulls[static_cast<std::size_t>(i)];
        }
    }
    ~Statement() {
        ISC_STATUS_ARRAY status{};
        if (handle)
            isc_dsql_free_statement(status, &handle, DSQL_drop);
    }
};

// The loop a hand-written program would run: walk the table's select, and for
// each row update it by its key with the new value and read it back.
class PlainLoop {
public:
    explicit PlainLoop(const std::string& connectString) { attachAndStart(connectString, db_, tr_); }
    ~PlainLoop() {
        ISC_STATUS_ARRAY status{};
        if (tr_)
            isc_rollback_transaction(status, &tr_);
        isc_detach_database(status, &db_);
    }

    // Column 1 (CODE) renumbered from `start`, or column 2 (NAME) stripped of
    // accents; returns rows per second, the commit included.
    double run(bool renumber, int start) {
        const std::string table = "\"PLAIN\"";
        const std::string list = "select " + table + ".*, RDB$DB_KEY as IBX_INTERNAL_DBKEY from " + table;
        const auto begin = Clock::now();
        Statement select, update, refresh;
        select.prepare(db_, tr_, list + "\r\n order by \"ID\"\r\n");
        update.prepare(
            db_, tr_, "update " + table + " set \"ID\" = ?, \"CODE\" = ?, \"NAME\" = ? where RDB$DB_KEY = ?");
        refresh.prepare(db_, tr_, list + " where RDB$DB_KEY = ?");
        // The fetched row is the update's input as it stands: ID, CODE, NAME, key.
        XSQLDA* row = select.out();
        std::vector<char> keyArea(XSQLDA_LENGTH(1), 0);
        auto* key = reinterpret_cast<XSQLDA*>(keyArea.data());
        key->version = SQLDA_VERSION1;
        key->sqln = key->sqld = 1;
        key->sqlvar[0] = row->sqlvar[3];

        ISC_STATUS_ARRAY status{};
        isc_dsql_execute(status, &tr_, &select.handle, 3, nullptr);
        check(status, "execute select");
        long rows = 0;
        int counter = start;
        while (true) {
            const ISC_STATUS result = isc_dsql_fetch(status, &select.handle, 3, row);
            if (result == 100)
                break;
            check(status, "fetch");
            if (renumber) {
                std::memcpy(row->sqlvar[1].sqldata, &counter, sizeof counter);
                select.nulls[1] = 0;
                ++counter;
            } else {
                char* slot = row->sqlvar[2].sqldata;
                short length = 0;
                std::memcpy(&length, slot, sizeof length);
                const std::string text = TiraAcento(std::string(slot + 2, static_cast<std::size_t>(length)));
                length = static_cast<short>(text.size());
                std::memcpy(slot, &length, sizeof length);
                std::memcpy(slot + 2, text.data(), text.size());
            }
            isc_dsql_execute(status, &tr_, &update.handle, 3, row);
            check(status, "update");
            isc_dsql_execute(status, &tr_, &refresh.handle, 3, key);
            check(status, "refresh");
            isc_dsql_fetch(status, &refresh.handle, 3, refresh.out());
            check(status, "refresh fetch");
            isc_dsql_free_statement(status, &refresh.handle, DSQL_close);
            check(status, "refresh close");
            ++rows;
        }
        isc_commit_retaining(status, &tr_);
        check(status, "commit");
        return static_cast<double>(rows) / secondsSince(begin);
    }

private:
    isc_db_handle db_ = 0;
    isc_tr_handle tr_ = 0;
};

void fillTable(TestDatabase& db, const std::string& name, long rows) {
    db.exec("CREATE TABLE " + name + " (ID INTEGER NOT NULL PRIMARY KEY, CODE INTEGER, NAME VARCHAR(60))");
    db.exec("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= " + std::to_string(rows) +
            ") DO BEGIN INSERT INTO " + name +
            " VALUES (:I, 0, 'Jos\xE9 da Concei\xE7\xE3o, S\xE3o Jo\xE3o n\xBA ' || :I); I = I + 1; END END");
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

        PlainLoop plain(db.connectString());
        TIBDatabase connection;
        TIBTransaction transaction;
        ConfigureMainConnection(connection, transaction);
        connection.SetDatabaseName(db.connectString());
        connection.SetConnected(true);
        transaction.Start();
        CommitHost host(connection, transaction);
        TIBTable table("table", &connection, &transaction);
        table.SetTableName("BENCH");
        table.Open();

        auto timed = [&](auto operation) {
            const auto start = Clock::now();
            operation();
            return static_cast<double>(rows) / secondsSince(start);
        };

        // The side that runs first may pay for a cold server cache: "swap" runs the operation first.
        double plainRenumber = 0, tableRenumber = 0, plainStrip = 0, tableStrip = 0;
        auto renumberPlain = [&] { plainRenumber = plain.run(true, 10); };
        auto renumberTable = [&] { tableRenumber = timed([&] { Renumber(table, "CODE", "10", host); }); };
        auto stripPlain = [&] { plainStrip = plain.run(false, 0); };
        auto stripTable = [&] { tableStrip = timed([&] { StripAccents(table, "NAME", host); }); };
        if (swap) {
            renumberTable();
            renumberPlain();
            stripTable();
            stripPlain();
        } else {
            renumberPlain();
            renumberTable();
            stripPlain();
            stripTable();
        }

        const std::string check = *db.scalar("SELECT COUNT(*) FROM BENCH B JOIN PLAIN P ON P.ID = B.ID "
                                             "WHERE P.CODE = B.CODE AND P.NAME = B.NAME");
        std::printf("\n                      plain loop     operation    ratio\n");
        std::printf("renumber (rows/s)     %10.0f   %10.0f   %6.2fx\n", plainRenumber, tableRenumber,
                    tableRenumber / plainRenumber);
        std::printf("strip accents (rows/s)%10.0f   %10.0f   %6.2fx\n", plainStrip, tableStrip,
                    tableStrip / plainStrip);
        std::printf("rows equal on both sides afterwards: %s of %ld\n", check.c_str(), rows);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
}
