#pragma once
// Grid notifications held back for a whole row walk: each post and commit
// would otherwise make the grid go over every row it has read, so a long walk
// would slow down as the table grows. The grid hears one change at the end,
// also when a row fails.
//
// Release() ends the hold on the normal path; what the change makes happen
// (a query that follows the table runs again, and may fail) reaches the
// caller there. Without it the hold ends quietly, since an error is already
// on its way and must not be replaced.
#include "db/TIBTable.h"

class ControlsHeldBack {
public:
    explicit ControlsHeldBack(TIBTable& table) : table_(table) { table_.DisableControls(); }
    ~ControlsHeldBack() {
        if (held_)
            table_.EnableControlsQuietly();
    }
    ControlsHeldBack(const ControlsHeldBack&) = delete;
    ControlsHeldBack& operator=(const ControlsHeldBack&) = delete;

    void Release() {
        held_ = false;
        table_.EnableControls();
    }

private:
    TIBTable& table_;
    bool held_ = true;
};
