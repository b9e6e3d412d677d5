#pragma once
// What a dataset provides to its connection and transaction. The dataset
// classes derive from this; the connection closes them (CloseAttachedDataSets,
// detach), applies them (ApplyUpdatesAndCommit), and a hard end of the
// transaction closes them and drops their prepared statements.
#include "db/TIBBase.h"

#include <string>

class TIBDataSetBase : public TIBBase {
public:
    // The component name that prefixes the dataset's messages ("table", "qryScript").
    virtual std::string Name() const = 0;
    virtual bool Active() const = 0;
    // Drops a pending edit without posting it.
    virtual void Close() = 0;
    // Posts a pending edit and writes the cached changes; fails on a closed dataset.
    virtual void ApplyCachedUpdates() = 0;

protected:
    using TIBBase::TIBBase;

    // Forgets every prepared statement and frees its handles; the next open
    // prepares again. Must not raise.
    virtual void FreeStatements() noexcept = 0;

    // The automatic start of Open and Execute: attaches the connection and
    // starts the transaction when needed ("Database not assigned",
    // "Transaction not assigned" without them).
    void ConnectAndStart();

    // An open dataset closes and forgets its prepared statements.
    void DatabaseDisconnecting() override { closeAndFree(); }
    void TransactionEnding() override { closeAndFree(); }

private:
    void closeAndFree();
};
