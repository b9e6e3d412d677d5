#include "ops/CommitStep.h"

#include "db/CancelGate.h"
#include "db/TIBDataSetBase.h"
#include "db/TIBDatabase.h"
#include "db/TIBTransaction.h"

const char* const CommitFailedMessage =
    "Transa\xE7\xE3o n\xE3o efetuada, ser\xE1 revertida, favor tentar novamente.";

bool RunCommitStep(TIBDatabase& database, TIBTransaction& transaction, TIBDataSetBase* dataSet) {
    // Stopped half-way, a commit step would roll the user's work back.
    CancelGate::HeldOpen notCancellable;
    try {
        // The apply ends in a commit retaining of the same transaction; a
        // second one straight after it would commit nothing more and only
        // cost a round trip per row in the row walks.
        const bool applied = dataSet && dataSet->Active();
        if (applied)
            database.ApplyUpdatesAndCommit({dataSet});
        if (!applied || dataSet->Transaction() != &transaction)
            transaction.CommitRetaining();
        return true;
    } catch (const std::exception&) {
        transaction.RollbackRetaining();
        return false;
    }
}
