// The spreadsheet export of a 100,000-row, 10-column table against a plain
// walk of the same dataset (First/Next to the end, every field's AsString),
// both from a fresh open and over the rows already cached, with the export's
// own memory: the growth of the peak resident size and of the heap while it
// runs over a dataset whose rows are all cached already.
//
// Run against the private server, like the tests:
//   CORVELO_TEST_SERVER=127.0.0.1/<port> CORVELO_TEST_DATA=<dir> export_bench [rows]
#include "bench/BenchSupport.h"
#include "db/MainConnectionSettings.h"
#include "db/TIBTable.h"
#include "export/SpreadsheetExport.h"
#include "tests/support/TestDatabase.h"

#include <malloc.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

long maxResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double mib(double bytes) {
    return bytes / (1024.0 * 1024.0);
}

// Seconds of a walk that reads every field of every row as text.
double plainWalk(TIBTable& table, long& rows) {
    const auto start = Clock::now();
    std::size_t bytes = 0;
    rows = 0;
    for (table.First(); !table.Eof(); table.Next(), ++rows)
        for (int j = 0; j < table.FieldCount(); ++j)
            bytes += table.FieldAt(j)->AsString().size();
    const double elapsed = secondsSince(start);
    if (bytes == 0)
        std::puts("(no text read)");
    return elapsed;
}

double exportOnce(TIBTable& table, const std::string& file) {
    const auto start = Clock::now();
    ExportToSpreadsheet(table, file);
    return secondsSince(start);
}

} // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    TestDatabase db;
    db.exec("CREATE TABLE BENCH (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(40), CODIGO CHAR(8), "
            "PRECO NUMERIC(15,2), TAXA DOUBLE PRECISION, QTD SMALLINT, GRANDE BIGINT, NASC DATE, "
            "CRIADO TIMESTAMP, OBS VARCHAR(60))");
    db.exec("EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < " + std::to_string(rows) +
            ") DO BEGIN INSERT INTO BENCH VALUES (:I, 'Jo\xE3o da Silva ' || :I, 'C' || MOD(:I, 1000), "
            ":I * 1.25, :I / 7.0, MOD(:I, 30000), :I * 1000003, DATEADD(MOD(:I, 20000) DAY TO DATE "
            "'1970-01-01'), DATEADD(:I SECOND TO TIMESTAMP '2020-01-01 00:00:00'), "
            "'Observa\xE7\xE3o n\xFAmero ' || :I); I = I + 1; END END");

    TIBDatabase connection;
    TIBTransaction transaction;
    ConfigureMainConnection(connection, transaction);
    connection.SetDatabaseName(db.connectString());
    TIBTable table{"table", &connection, &transaction};
    table.SetTableName("BENCH");
    table.SetIndexFieldNames("ID");
    const std::string file = (std::filesystem::temp_directory_path() / "export_bench.xlsx").string();

    // Best of two, each from a fresh open (the rows are fetched on the way).
    double walkFresh = 1e9, exportFresh = 1e9;
    long walked = 0;
    for (int round = 0; round < 2; ++round) {
        table.Close();
        table.Open();
        walkFresh = std::min(walkFresh, plainWalk(table, walked));
        table.Close();
        table.Open();
        exportFresh = std::min(exportFresh, exportOnce(table, file));
    }

    // Over the cached rows: the dataset no longer grows, so what grows is the export's.
    table.Close();
    table.Open();
    double walkCached = 1e9;
    for (int round = 0; round < 2; ++round)
        walkCached = std::min(walkCached, plainWalk(table, walked));
    const long rssBefore = maxResidentKiB();
    const std::size_t heapBefore = heapInUse();
    const double exportCached = exportOnce(table, file);
    const long rssGrowth = maxResidentKiB() - rssBefore;
    const std::size_t heapAfter = heapInUse();

    std::printf("rows %ld, columns %d, file %.1f MiB\n", walked, table.FieldCount(),
                mib(static_cast<double>(std::filesystem::file_size(file))));
    std::printf("from a fresh open:  plain walk %.3f s, export %.3f s (%.2fx)\n", walkFresh, exportFresh,
                exportFresh / walkFresh);
    std::printf("over cached rows:   plain walk %.3f s, export %.3f s (%.2fx)\n", walkCached, exportCached,
                exportCached / walkCached);
    std::printf("dataset heap with every row cached: %.1f MiB\n", mib(static_cast<double>(heapBefore)));
    std::printf("export over cached rows: peak resident growth %.1f MiB, heap left behind %.3f MiB\n",
                rssGrowth / 1024.0, mib(static_cast<double>(heapAfter) - static_cast<double>(heapBefore)));
    std::filesystem::remove(file);
    // Every row went through both sides.
    return walked == rows ? 0 : 1;
}
