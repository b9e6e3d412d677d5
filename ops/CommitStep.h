#pragma once
// The one commit path every operation takes: apply the given dataset, commit
// retaining, and on any failure roll back retaining so that nothing half-done
// stays pending.
class TIBDatabase;
class TIBTransaction;
class TIBDataSetBase;

// The message shown when the commit failed and the work was rolled back.
extern const char* const CommitFailedMessage;

// Returns true when the work is committed. Returns false when the commit
// failed and everything since the last commit was rolled back (retaining).
// Raises only when that rollback fails too.
//
// A closed dataset has nothing to apply: it is skipped and the transaction is
// still committed, so the user's work is not thrown away for a table that
// happens to be closed.
bool RunCommitStep(TIBDatabase& database, TIBTransaction& transaction, TIBDataSetBase* dataSet);
