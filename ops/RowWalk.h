#pragma once
// A walk over the rows the table shows, as every bulk operation makes it: the
// grid's notifications held back (it hears one change at the end), the rows
// posted or deleted gathered and sent many per round trip, and the host told
// how many rows are done.
//
// The outcome is the row-by-row one. When a row fails, the rows gathered
// before it are sent first, as they would have been; if one of them fails,
// that earlier failure is the one that ends the walk. A cancel stops the walk
// before the next row the same way: the rows before it are sent, none after.
#include "ops/ControlsHeldBack.h"
#include "ops/OperationHost.h"

#include <cstdint>
#include <exception>

class TIBTable;

class RowWalk {
public:
    // When the walk's rows are committed: all at the end (by the caller), or
    // every row on its own, which with batches means every group of rows
    // written, before any later row is sent.
    enum class Commit { AtEnd, EachRow };

    RowWalk(TIBTable& table, OperationHost& host, Commit commit);
    // On an error path: rows still gathered never reached the server and are
    // shown as they were; the grid hears of the change, quietly.
    ~RowWalk();
    RowWalk(const RowWalk&) = delete;
    RowWalk& operator=(const RowWalk&) = delete;

    // `step` for the current row from the first on, then Next, until Eof.
    template <class Step> void ForEachRow(Step step) {
        run([&] {
            table_.First();
            while (!table_.Eof()) {
                host_.StopIfCancelled();
                step();
                rowDone();
                table_.Next();
            }
        });
    }
    // `step` for the first row until none is left (each step deletes it).
    template <class Step> void WhileRowsLeft(Step step) {
        run([&] {
            table_.First();
            while (!table_.Eof()) {
                host_.StopIfCancelled();
                step();
                rowDone();
            }
        });
    }

    // Sends what is gathered and ends the hold on the grid; what either
    // raises (a row refused, a query that follows the table) reaches the caller.
    void Finish();

    std::int64_t RowsDone() const { return rowsDone_; }

private:
    template <class Loop> void run(Loop loop) {
        try {
            loop();
        } catch (...) {
            sendGatheredThenRethrow(std::current_exception());
        }
    }
    [[noreturn]] void sendGatheredThenRethrow(std::exception_ptr failure);
    void rowDone();

    TIBTable& table_;
    OperationHost& host_;
    ControlsHeldBack heldBack_;
    std::int64_t rowsDone_ = 0;
};
