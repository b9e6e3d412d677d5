#pragma once
// Grid notifications held back for a whole row walk: each post and commit
// would otherwise make the grid go over every row it has read, so a long walk
// would slow down as the table grows. The grid hears one change at the end,
// also when a row fails.
#include "db/TIBTable.h"

class ControlsHeldBack {
public:
    explicit ControlsHeldBack(TIBTable& table) : table_(table) { table_.DisableControls(); }
    ~ControlsHeldBack() { table_.EnableControls(); }
    ControlsHeldBack(const ControlsHeldBack&) = delete;
    ControlsHeldBack& operator=(const ControlsHeldBack&) = delete;

private:
    TIBTable& table_;
};
