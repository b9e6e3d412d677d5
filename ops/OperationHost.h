#pragma once
// What a bulk operation needs from the window that runs it. Kept small: the
// operations stay plain code, the window keeps the dialogs.
#include <cstdint>
#include <string>

#include "util/Exceptions.h"

class TIBDataSetBase;

class OperationHost {
public:
    virtual ~OperationHost() = default;
    // The shared commit step; false when the commit failed and the work was
    // rolled back (the user has been told).
    virtual bool CommitStep(TIBDataSetBase* dataSet) = 0;
    // Shows a line of progress and repaints it at once: long loops process no
    // window events. Hosts without a progress line ignore it.
    virtual void ShowProgress(const std::string& /*text*/) {}
    // Told after every row of a row walk; the host decides how often to show it.
    virtual void ShowRowsDone(std::int64_t /*rowsDone*/) {}
    // The user asked long work to stop: it stops at its next row (or step)
    // with OperationCancelled, as a failure there would stop it.
    virtual bool CancelRequested() const { return false; }
    // Raises OperationCancelled when the user asked to stop.
    void StopIfCancelled() const;
};

inline void OperationHost::StopIfCancelled() const {
    if (CancelRequested())
        throw OperationCancelled();
}
