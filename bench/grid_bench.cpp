// The data grid over a table of a million rows, in a view of normal size on
// the offscreen platform: how many rows the grid reads to show a freshly
// opened table and how long that takes; then scrolling to the very end a
// batch at a time, with the total time and the longest pause between two
// turns of the event loop (what the user would feel as a stall); last, a jump
// from the first row to the last.
//
// Run against the private server, like the tests:
//   CORVELO_TEST_SERVER=127.0.0.1/<port> CORVELO_TEST_DATA=<dir> grid_bench [rows]
#include "app/DataGridModel.h"
#include "app/grid/GridController.h"
#include "db/MainConnectionSettings.h"
#include "db/TDataSource.h"
#include "db/TIBDatabase.h"
#include "db/TIBTable.h"
#include "db/TIBTransaction.h"
#include "tests/support/TestDatabase.h"

#include <QApplication>
#include <QTableView>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

void fillTable(TestDatabase& db, long rows) {
    db.exec("CREATE TABLE BENCH (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(60), AMOUNT NUMERIC(15,2), "
            "DUE DATE, CODE CHAR(6))");
    db.exec("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= " + std::to_string(rows) +
            ") DO BEGIN INSERT INTO BENCH VALUES (:I, 'Customer name number ' || :I, :I * 1.25, "
            "DATEADD(MOD(:I, 3650) DAY TO DATE '2000-01-01'), 'C' || MOD(:I, 10000)); I = I + 1; END END");
}

// Lets the view finish what the last change started (layout, fetches on its timer).
void drainEvents() {
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const long rows = argc > 1 ? std::atol(argv[1]) : 1'000'000;
    try {
        TestDatabase db;
        std::printf("filling %ld rows ...\n", rows);
        fillTable(db, rows);

        TIBDatabase connection;
        TIBTransaction transaction;
        ConfigureMainConnection(connection, transaction);
        connection.SetDatabaseName(db.connectString());
        connection.SetConnected(true);
        transaction.Start();
        TIBTable table("table", &connection, &transaction);
        table.SetTableName("BENCH");
        TDataSource source("dtstable", &table);

        QTableView view;
        view.resize(1280, 720);
        DataGridModel model;
        view.setModel(&model);
        GridController::attach(&view);
        model.setDataSource(&source);
        view.show();
        drainEvents();

        // The catalogue facts of the table are read at its first open; that is not the grid's time.
        table.Open();
        table.Close();
        drainEvents();

        const auto openStart = Clock::now();
        table.Open();
        drainEvents();
        const auto opened = Clock::now();
        std::printf("open: %d rows read for a view of %dx%d, %.1f ms\n", model.rowCount(), view.width(),
                    view.height(), millisecondsBetween(openStart, opened));

        long turns = 0;
        double longestPause = 0;
        auto lastTurn = Clock::now();
        const auto scrollStart = lastTurn;
        while (model.canFetchMore(QModelIndex())) {
            view.scrollToBottom();
            QApplication::processEvents();
            const auto now = Clock::now();
            longestPause = std::max(longestPause, millisecondsBetween(lastTurn, now));
            lastTurn = now;
            ++turns;
        }
        const double total = millisecondsBetween(scrollStart, Clock::now());
        std::printf(
            "scroll to the end: %d rows in %.2f s, %ld turns of the event loop, longest pause %.1f ms\n",
            model.rowCount(), total / 1000.0, turns, longestPause);
        if (model.rowCount() != rows) {
            std::printf("  (expected %ld rows)\n", rows);
            return 1;
        }

        // A jump to the last row reads everything at once; the grid takes it up in one step.
        table.Close();
        table.Open();
        drainEvents();
        const auto jumpStart = Clock::now();
        table.MoveTo(static_cast<int>(rows) - 1);
        const auto moved = Clock::now();
        drainEvents();
        std::printf("jump to the last row: %.2f s reading, %.1f ms for the grid to follow (%d rows)\n",
                    millisecondsBetween(jumpStart, moved) / 1000.0, millisecondsBetween(moved, Clock::now()),
                    model.rowCount());
        table.Close();
        transaction.Commit();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "grid_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
