#include "ops/CommitStep.h"

#include "db/TIBDataSetBase.h"
#include "db/TIBDatabase.h"
#include "db/TIBTransaction.h"

const char* const CommitFailedMessage =
    "Transa\xE7\xE3o n\xE3o efetuada, ser\xE1 revertida, favor tentar novamente.";

bool RunCommitStep(TIBDatabase& database, TIBTransaction& transaction, TIBDataSetBase* dataSet) {
    try {
        if (dataSet && dataSet->Active())
            database.ApplyUpdatesAndCommit({dataSet});
        transaction.CommitRetaining();
        return true;
    } catch (const std::exception&) {
        transaction.RollbackRetaining();
        return false;
    }
}
