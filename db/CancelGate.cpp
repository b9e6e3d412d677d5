#include "db/CancelGate.h"

#include "db/ClientLibrary.h"
#include "db/DatabaseErrors.h"
#include "db/StatusVector.h"
#include "util/Exceptions.h"

#include <atomic>
#include <mutex>

namespace {

// The gate's state is guarded by one mutex: a cancel is sent only while a
// call is under way, and that call cannot end (nor another begin) until the
// server has answered the cancel, so a cancel never reaches a later call.
std::mutex gateMutex;
// Read without the lock first: outside long work (the grid's fetches, say)
// a call passes the gate without taking the mutex. Arming happens before the
// work's thread starts, so that thread sees it.
std::atomic<bool> armed{false};
bool cancelAsked = false;          // stays until disarmed: no later call starts
ClientHandle* runningOn = nullptr; // the attachment of the call under way
bool cancelSent = false;           // to the call under way
thread_local int heldOpen = 0;

} // namespace

namespace CancelGate {

void Arm() {
    std::lock_guard lock(gateMutex);
    armed.store(true);
    cancelAsked = false;
}

void Disarm() noexcept {
    std::lock_guard lock(gateMutex);
    armed.store(false);
    cancelAsked = false;
    runningOn = nullptr;
    cancelSent = false;
}

bool CancelRunningCall() {
    const ClientLibrary& lib = Client();
    if (!lib.fb_cancel_operation)
        return false;
    std::lock_guard lock(gateMutex);
    cancelAsked = armed.load();
    if (!runningOn)
        return true;
    // "Nothing to cancel" when the call has just ended: nothing to do either.
    StatusVector ignored;
    lib.fb_cancel_operation(ignored.get(), runningOn, fb_cancel_raise);
    cancelSent = true;
    return true;
}

Call::Call(ClientHandle* database) {
    if (heldOpen > 0 || !armed.load())
        return;
    std::lock_guard lock(gateMutex);
    if (!armed.load())
        return;
    if (cancelAsked)
        throw OperationCancelled();
    runningOn = database;
    entered_ = true;
}

Call::~Call() {
    if (!entered_)
        return;
    std::lock_guard lock(gateMutex);
    if (cancelSent) {
        // A cancel that reached the server as the call was ending stays
        // pending there and would stop the next thing that fetches a row:
        // the commit step's reading of the table, which would then roll the
        // user's work back. Turning cancelling off drops it; then it is
        // turned on again for the next call.
        const ClientLibrary& lib = Client();
        StatusVector ignored;
        lib.fb_cancel_operation(ignored.get(), runningOn, fb_cancel_disable);
        lib.fb_cancel_operation(ignored.get(), runningOn, fb_cancel_enable);
        cancelSent = false;
    }
    runningOn = nullptr;
}

HeldOpen::HeldOpen() {
    ++heldOpen;
}

HeldOpen::~HeldOpen() {
    --heldOpen;
}

bool IsCancelled(const std::exception& error) {
    if (dynamic_cast<const OperationCancelled*>(&error))
        return true;
    const auto* server = dynamic_cast<const EIBInterBaseError*>(&error);
    return server && server->IBErrorCode() == isc_cancelled;
}

} // namespace CancelGate
