#include "ops/RowWalk.h"

#include "db/TIBTable.h"

RowWalk::RowWalk(TIBTable& table, OperationHost& host, Commit commit)
    : table_(table), host_(host), heldBack_(table) {
    if (commit == Commit::EachRow)
        // A failed commit has been reported and rolled back; the walk goes on.
        table_.BeginBatchedWrites([this](int) { host_.CommitStep(&table_); });
    else
        table_.BeginBatchedWrites({});
}

RowWalk::~RowWalk() {
    table_.EndBatchedWrites();
}

void RowWalk::Finish() {
    table_.FlushBatchedWrites();
    table_.EndBatchedWrites();
    heldBack_.Release();
}

void RowWalk::sendGatheredThenRethrow(std::exception_ptr failure) {
    // The rows gathered before the failing one were posted before it was
    // reached; a failure among them came first, and is the one to report.
    table_.FlushBatchedWrites();
    std::rethrow_exception(failure);
}

void RowWalk::rowDone() {
    host_.ShowRowsDone(++rowsDone_);
}
