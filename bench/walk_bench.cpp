// The row walks over a link with a real delay: a loopback forwarder adds a
// fixed delay in each direction (by default none, 1 ms and 10 ms, that is
// round trips of about 0, 2 and 20 ms). For each walk of the program
// (renumbering, "Tira acento", "Str Zeros", "Cruzar Campo", "Eliminar
// Registros Filtrados") it measures, through the same forwarder in the same run:
//   - the operation itself, from the click to its last commit, on a table
//     opened before as the user has it (the grid's first rows read);
//   - the plain per-row loop with the row-by-row path's round trips per row
//     (update by key and re-read, or delete; a commit per row where the
//     operation commits per row), on fewer rows where a full run would take
//     minutes, since its rate is the same for every row;
//   - one set-based statement a user would type doing the same work: an
//     EXECUTE BLOCK that changes every row, reads it back and returns it, the
//     rows fetched and the work committed (and, for reference, the same
//     statement without returning rows).
// It exits with 1 when a side leaves the table other than the walk should.
//
// Run against the private server, like the tests:
//   CORVELO_TEST_SERVER=127.0.0.1/<port> CORVELO_TEST_DATA=<dir> walk_bench [rows [one-way delays in us,
//   comma-separated]]
#include "bench/BenchSupport.h"
#include "bench/PlainClient.h"
#include "bench/PlainRowLoop.h"
#include "ops/FieldCopy.h"
#include "ops/RecordElimination.h"
#include "ops/WriteField.h"
#include "tests/support/LinkForwarder.h"
#include "tests/support/TestDatabase.h"
#include "util/TextUtils.h"

#include <ibase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

void fillTable(TestDatabase& db, long rows) {
    db.exec(
        "CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, CODE INTEGER, NAME VARCHAR(60), REF VARCHAR(10), "
        "S VARCHAR(20), I INTEGER)");
    db.exec(
        "EXECUTE BLOCK AS DECLARE N INTEGER = 1; BEGIN WHILE (N <= " + std::to_string(rows) +
        ") DO BEGIN INSERT INTO T VALUES (:N, 0, 'Jos\xE9 da Concei\xE7\xE3o, S\xE3o Jo\xE3o n\xBA ' || :N, "
        "MOD(:N, 9973), :N * 7, NULL); N = N + 1; END END");
}

// A walk and what stands for it on the other two sides.
struct Walk {
    const char* name;
    std::function<void(TIBTable&, OperationHost&)> operation;
    // The plain loop: the change to each fetched row (none: the row is deleted).
    std::function<void(PlainRow&)> change;
    bool commitEachRow;
    // The set-based statement's work for one row; K is the row's key.
    std::string setBasedRow;
    // What every row must look like afterwards.
    std::string check;
};

std::vector<Walk> walks() {
    return {
        {"renumber", [](TIBTable& t, OperationHost& h) { Renumber(t, "CODE", "1", h); },
         [](PlainRow& row) { row.SetInteger(1, row.Integer(0)); }, false,
         "UPDATE T SET CODE = :C WHERE RDB$DB_KEY = :K; C = C + 1;", "CODE = ID"},
        {"strip accents", [](TIBTable& t, OperationHost& h) { StripAccents(t, "NAME", h); },
         [](PlainRow& row) { row.SetText(2, TiraAcento(row.Text(2))); }, false,
         "UPDATE T SET NAME = REPLACE(REPLACE(REPLACE(REPLACE(NAME, '\xE9', 'E'), '\xE7', 'C'), '\xE3', "
         "'A'), "
         "'\xBA', 'o') WHERE RDB$DB_KEY = :K;",
         "NAME = 'JosE da ConceiCAo, SAo JoAo no ' || ID"},
        {"str zeros", [](TIBTable& t, OperationHost& h) { FillWithZeros(t, "REF", "6", h); },
         [](PlainRow& row) { row.SetText(3, StrZeros(std::atoi(row.Text(3).c_str()), 6)); }, false,
         "UPDATE T SET REF = LPAD(REF, 6, '0') WHERE RDB$DB_KEY = :K;", "REF = LPAD(MOD(ID, 9973), 6, '0')"},
        {"cruzar campo",
         [](TIBTable& t, OperationHost& h) {
             CopyField(t, {"S", CopySource::String, "I", CopyTarget::Integer}, h);
         },
         [](PlainRow& row) { row.SetInteger(5, std::atoi(row.Text(4).c_str())); }, true,
         "UPDATE T SET I = CAST(S AS INTEGER) WHERE RDB$DB_KEY = :K;", "I = ID * 7"},
        {"eliminar",
         [](TIBTable& t, OperationHost& h) { DeleteShownRows(t, h); },
         {},
         true,
         "DELETE FROM T WHERE RDB$DB_KEY = :K;",
         "1 = 0"},
    };
}

// Rows that look as the walk leaves them.
long changedRows(TestDatabase& db, const Walk& walk) {
    return std::stol(*db.scalar("SELECT COUNT(*) FROM T WHERE " + walk.check));
}

struct Timed {
    double seconds = 0;
    long rows = 0;
    int blocks = 0;
};

Timed runOperation(LinkForwarder& link, const Walk& walk, long rows) {
    TestDatabase db;
    fillTable(db, rows);
    WindowTable window(link.connectString(db.path()), "T");
    window.table.Open();
    window.table.FetchMore(64);
    const auto start = Clock::now();
    walk.operation(window.table, window.host);
    Timed timed{secondsSince(start), window.table.RecordCount(), window.table.WriteBlocksSent()};
    if (!walk.change && db.scalar("SELECT COUNT(*) FROM T") != "0")
        throw std::runtime_error(std::string(walk.name) + ": the operation left rows behind");
    if (walk.change && changedRows(db, walk) != rows)
        throw std::runtime_error(std::string(walk.name) + ": the operation left rows unchanged");
    return timed;
}

Timed runPlainLoop(LinkForwarder& link, const Walk& walk, long rows) {
    TestDatabase db;
    fillTable(db, rows);
    PlainRowLoop plain(link.connectString(db.path()));
    const PlainLoopResult result = walk.change ? plain.Update("T", "ID", walk.change, walk.commitEachRow)
                                               : plain.Delete("T", "ID", walk.commitEachRow);
    if (walk.change && changedRows(db, walk) != rows)
        throw std::runtime_error(std::string(walk.name) + ": the plain loop left rows unchanged");
    return {result.seconds, result.rows};
}

// The set-based statement, prepared and run as a tool runs it, its rows
// fetched, then committed.
Timed runSetBased(LinkForwarder& link, const Walk& walk, long rows, bool returnRows) {
    TestDatabase db;
    fillTable(db, rows);
    isc_db_handle dbh = 0;
    isc_tr_handle tr = 0;
    attachAndStart(link.connectString(db.path()), dbh, tr);
    const std::string sql =
        std::string("EXECUTE BLOCK ") +
        (returnRows ? "RETURNS (ID INTEGER, CODE INTEGER, NAME VARCHAR(60), REF VARCHAR(10), S VARCHAR(20), "
                      "I INTEGER) "
                    : "") +
        "AS DECLARE K CHAR(8) CHARACTER SET OCTETS; DECLARE C INTEGER = 1; BEGIN "
        "FOR SELECT RDB$DB_KEY FROM T ORDER BY ID INTO :K DO BEGIN " +
        walk.setBasedRow +
        (returnRows ? " FOR SELECT ID, CODE, NAME, REF, S, I FROM T WHERE RDB$DB_KEY = :K "
                      "INTO :ID, :CODE, :NAME, :REF, :S, :I DO SUSPEND;"
                    : "") +
        " END END";
    const auto start = Clock::now();
    ISC_STATUS_ARRAY status{};
    isc_stmt_handle statement = 0;
    isc_dsql_allocate_statement(status, &dbh, &statement);
    check(status, "allocate");
    std::vector<char> area(XSQLDA_LENGTH(6), 0);
    auto* out = reinterpret_cast<XSQLDA*>(area.data());
    out->version = SQLDA_VERSION1;
    out->sqln = 6;
    isc_dsql_prepare(status, &tr, &statement, 0, sql.c_str(), 3, out);
    check(status, "prepare");
    std::vector<std::vector<char>> buffers(static_cast<std::size_t>(out->sqld));
    std::vector<short> nulls(static_cast<std::size_t>(out->sqld));
    for (int i = 0; i < out->sqld; ++i) {
        buffers[static_cast<std::size_t>(i)].resize(static_cast<std::size_t>(out->sqlvar[i].sqllen) + 2);
        out->sqlvar[i].sqldata = buffers[static_cast<std::size_t>(i)].data();
        out->sqlvar[i].sqlind = &nulls[static_cast<std::size_t>(i)];
    }
    isc_dsql_execute(status, &tr, &statement, 3, nullptr);
    check(status, "execute");
    long fetched = 0;
    while (returnRows && isc_dsql_fetch(status, &statement, 3, out) == 0)
        ++fetched;
    isc_dsql_free_statement(status, &statement, DSQL_drop);
    isc_commit_transaction(status, &tr);
    check(status, "commit");
    const double seconds = secondsSince(start);
    isc_detach_database(status, &dbh);
    if (walk.change && changedRows(db, walk) != rows)
        throw std::runtime_error(std::string(walk.name) + ": the set-based statement left rows unchanged");
    return {seconds, returnRows ? fetched : rows};
}

std::vector<long> delaysFrom(const char* text) {
    std::vector<long> delays;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ','))
        delays.push_back(std::stol(part));
    return delays;
}

} // namespace

int main(int argc, char** argv) {
    const long rows = argc > 1 ? std::atol(argv[1]) : 10'000;
    const std::vector<long> delays = delaysFrom(argc > 2 ? argv[2] : "0,1000,10000");
    try {
        for (const long delay : delays) {
            LinkForwarder link{std::chrono::microseconds(delay)};
            std::printf("\n%ld rows, round trip about %.1f ms (one-way delay %ld us)\n", rows,
                        2 * delay / 1000.0, delay);
            std::printf("%-14s %10s %10s %8s   %9s %9s %7s   %9s %6s\n", "walk", "rows/s", "plain/s",
                        "x plain", "walk s", "set s", "x set", "bare s", "blocks");
            for (const Walk& walk : walks()) {
                const Timed operation = runOperation(link, walk, rows);
                // The plain loop's rate on as many rows as take a few seconds at this delay.
                const long plainRows = std::min(rows, delay == 0 ? rows : std::max(100L, 2'000'000L / delay));
                const Timed plain = runPlainLoop(link, walk, plainRows);
                const Timed setBased = runSetBased(link, walk, rows, true);
                const Timed bare = runSetBased(link, walk, rows, false);
                const double walkRate = rows / operation.seconds;
                const double plainRate = plain.rows / plain.seconds;
                std::printf("%-14s %10.0f %10.0f %7.1fx   %9.3f %9.3f %6.2fx   %9.3f %6d\n", walk.name,
                            walkRate, plainRate, walkRate / plainRate, operation.seconds, setBased.seconds,
                            operation.seconds / setBased.seconds, bare.seconds, operation.blocks);
                std::fflush(stdout);
            }
        }
        std::printf(
            "\ngoals: x plain >= 20, x set <= 3 (the set-based statement returning the rows it changed)\n");
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark failed: %s\n", e.what());
        return 1;
    }
}
