#pragma once
// The transaction: one server transaction over the connections it lists.
#include "db/ClientHandle.h"
#include "db/SlotList.h"

#include <string>
#include <vector>

struct ClientLibrary;
class TIBBase;
class TIBDatabase;

enum TTransactionAction { TARollback = 0, TACommit = 1, TARollbackRetaining = 2, TACommitRetaining = 3 };

enum TAutoStopAction {
    saNone = 0,
    saRollback = 1,
    saCommit = 2,
    saRollbackRetaining = 3,
    saCommitRetaining = 4
};

class TIBTransaction {
public:
    // Loads the client library on first use (error of code 1 when it is missing).
    TIBTransaction();
    // A started transaction ends by DefaultAction reduced to a hard commit or
    // rollback; errors are ignored.
    ~TIBTransaction();
    TIBTransaction(const TIBTransaction&) = delete;
    TIBTransaction& operator=(const TIBTransaction&) = delete;

    TIBDatabase* DefaultDatabase() const { return defaultDatabase_; }
    void SetDefaultDatabase(TIBDatabase* database);
    // The connections the transaction spans when it starts.
    void AddDatabase(TIBDatabase* database);
    void RemoveDatabase(TIBDatabase* database);
    std::vector<TIBDatabase*> Databases() const { return databases_.Items(); }

    const std::vector<std::string>& Params() const { return params_; }
    void SetParams(std::vector<std::string> params);

    TTransactionAction DefaultAction() const { return defaultAction_; }
    void SetDefaultAction(TTransactionAction action) { defaultAction_ = action; }

    TAutoStopAction AutoStopAction() const { return autoStopAction_; }
    void SetAutoStopAction(TAutoStopAction action) { autoStopAction_ = action; }

    // Milliseconds; 0 is off. Idle ending itself is not implemented.
    int IdleTimer() const { return idleTimer_; }
    void SetIdleTimer(int milliseconds);

    bool InTransaction() const { return handle_ != 0; }
    bool IsStarted() const { return handle_ != 0; }
    bool Active() const { return handle_ != 0; }
    // true starts when not started; false rolls back when started.
    void SetActive(bool active);

    void Start();
    void Commit() { Finish(TACommit, false); }
    void Rollback() { Finish(TARollback, false); }
    void CommitRetaining() { Finish(TACommitRetaining, false); }
    void RollbackRetaining() { Finish(TARollbackRetaining, false); }
    // A hard action first closes every dataset on the transaction. With force
    // the transaction ends whatever the server says and nothing is raised.
    void Finish(TTransactionAction action, bool force);

    // For a dataset that opens or executes: starts the transaction when it is
    // not started, so that a later CheckAutoStop may end it.
    void AutoStart();
    // For a dataset that closed: applies AutoStopAction when the transaction
    // was started by AutoStart and no dataset on it is open any more.
    void CheckAutoStop();

    // The transaction parameter buffer as the next Start will send it.
    const std::string& ParameterBuffer();

    // The transaction handle for client-library calls (0 when not started).
    ClientHandle* Handle() { return &handle_; }

private:
    friend class TIBBase;
    friend class TIBDatabase;

    void endHard(TTransactionAction action, bool force);
    void notifyEnding(bool force);
    void notifyEnded() noexcept;

    const ClientLibrary& lib_;
    TIBDatabase* defaultDatabase_ = nullptr;
    SlotList<TIBDatabase> databases_;
    SlotList<TIBBase> statementObjects_;
    std::vector<std::string> params_;
    std::string parameterBuffer_;
    bool parameterBufferStale_ = true;
    TTransactionAction defaultAction_ = TACommit;
    TAutoStopAction autoStopAction_ = saNone;
    int idleTimer_ = 0;
    bool autoStarted_ = false;
    ClientHandle handle_ = 0;
};
