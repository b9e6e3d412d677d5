#pragma once
// The rows a row walk has posted or deleted and not yet sent, and what the
// blocks that send them are built from. Internal to db/*.cpp.
#include "db/BatchStatements.h"
#include "db/TIBCustomDataSet.h"
#include "db/TRowCache.h"

#include <cstddef>
#include <functional>
#include <limits>
#include <vector>

// Where a row's value for one parameter of the update comes from.
struct BatchParamSlot {
    bool IsKey = false;
    TFieldStorage Storage;
};

struct PendingRow {
    int Row = 0;                     // its place among the rows shown when it was gathered
    std::vector<std::byte> Original; // the record as it was (deletes: as it was shown)
    std::vector<std::byte> Edited;   // posts: the record as posted
    int RecordNumber = 0;            // deletes: the record shown at Row
    TUpdateStatus Status = TUpdateStatus::Unmodified;
};

struct TIBCustomDataSet::WriteBatch {
    enum class Kind { None, Post, Delete };

    std::function<void(int rows)> RowsWritten;
    // Rows sent again one by one go through Post and Delete themselves.
    bool Replaying = false;
    Kind PendingKind = Kind::None;
    std::vector<PendingRow> Pending;
    std::size_t FailedAt = std::numeric_limits<std::size_t>::max();

    // What the blocks are built from, found at the first write of the walk.
    bool ShapeKnown = false;
    bool Available = false;
    ModifyBatchShape Shape;
    std::vector<BatchParamSlot> Slots;
    BatchDeclaration Key;
    bool Rereads = false;
    // Rows per block: small at first, so a short walk prepares a small
    // block, then larger up to what the row's size allows.
    int Capacity = 0;
    int MaxRows = 0;
};
