#pragma once
// Stopping a statement the server is still running, from another thread.
//
// While long work runs, the window arms the gate; the calls that may take
// long at the server (executing a statement, fetching its rows) pass through
// it. A cancel asked for while such a call is under way makes the server
// stop it, and the call fails with the server's "operation was cancelled".
// After a cancel no call through the gate starts any more: it raises
// OperationCancelled instead, so a cancel asked for between two calls stops
// the second. Calls made while the gate is held open (the commit step's) are
// never cancelled: a commit stopped half-way would roll the user's work back.
#include "db/ClientHandle.h"

#include <exception>

namespace CancelGate {

// For the duration of long work that may be stopped inside a statement.
void Arm();
void Disarm() noexcept;

// Stops the call under way, if any, and returns false when the client
// library cannot do that (the work then stops at its next step).
bool CancelRunningCall();

// A call through the gate: cancellable while it runs; raises
// OperationCancelled instead of starting once a cancel was asked for.
class Call {
public:
    explicit Call(ClientHandle* database);
    ~Call();
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;

private:
    bool entered_ = false;
};

// While alive on this thread, no call is cancelled.
class HeldOpen {
public:
    HeldOpen();
    ~HeldOpen();
    HeldOpen(const HeldOpen&) = delete;
    HeldOpen& operator=(const HeldOpen&) = delete;
};

// The error of a cancelled call: the server's, or the gate's own.
bool IsCancelled(const std::exception& error);

} // namespace CancelGate
