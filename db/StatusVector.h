#pragma once
// Checking the status vector of a client-library call. Every call is checked
// right after it returns; a caller that must clean up first tests Failed(),
// cleans up, then calls RaiseDatabaseError(). Only db/*.cpp include this.
#include "db/ClientLibrary.h"

#include <string>

struct StatusVector {
    ISC_STATUS_ARRAY values{};
    ISC_STATUS* get() { return values; }
    const ISC_STATUS* get() const { return values; }
};

inline bool Failed(const ISC_STATUS* status) {
    return status[0] == 1 && status[1] > 0;
}

// The texts of the status vector as the layer shows them: one after another,
// CR LF between them unless the text so far ends with a line feed, no final ".".
std::string DatabaseErrorMessage(const ClientLibrary& lib, const ISC_STATUS* status);

// Raises EIBInterBaseRoleError for SQLCODE -551, EIBInterBaseError otherwise.
[[noreturn]] void RaiseDatabaseError(const ClientLibrary& lib, const ISC_STATUS* status);

inline void Check(const ClientLibrary& lib, const ISC_STATUS* status) {
    if (Failed(status))
        RaiseDatabaseError(lib, status);
}
