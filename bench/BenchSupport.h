#pragma once
// What the benchmark programs share: timing, and a host that gives the bulk
// operations the program's own commit step.
#include "db/TIBDatabase.h"
#include "db/TIBTransaction.h"
#include "ops/CommitStep.h"
#include "ops/OperationHost.h"

#include <chrono>

using Clock = std::chrono::steady_clock;

inline double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class CommitHost : public OperationHost {
public:
    CommitHost(TIBDatabase& database, TIBTransaction& transaction)
        : database_(database), transaction_(transaction) {}
    bool CommitStep(TIBDataSetBase* dataSet) override {
        return RunCommitStep(database_, transaction_, dataSet);
    }

private:
    TIBDatabase& database_;
    TIBTransaction& transaction_;
};
