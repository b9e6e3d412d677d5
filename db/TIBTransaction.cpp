#include "db/TIBTransaction.h"

#include "db/DatabaseErrors.h"
#include "db/ParameterBuffers.h"
#include "db/StatusVector.h"
#include "db/TIBBase.h"
#include "db/TIBDataSetBase.h"
#include "db/TIBDatabase.h"

namespace {

// One entry of the multi-database start, laid out as the client library reads it.
struct TransactionEntry {
    ClientHandle* database;
    int parameterLength;
    const char* parameters;
};

} // namespace

TIBTransaction::TIBTransaction() : lib_(Client()) {}

TIBTransaction::~TIBTransaction() {
    if (IsStarted()) {
        try {
            Finish(DefaultAction() == TACommit || DefaultAction() == TACommitRetaining ? TACommit
                                                                                       : TARollback,
                   true);
        } catch (...) {
            // A destructor has no one to tell.
        }
    }
    for (TIBDatabase* database : databases_.Items()) {
        database->transactions_.Remove(this);
        if (database->defaultTransaction_ == this)
            database->defaultTransaction_ = nullptr;
    }
    for (TIBBase* object : statementObjects_.Items())
        object->forgetTransaction();
}

void TIBTransaction::SetDefaultDatabase(TIBDatabase* database) {
    if (database == defaultDatabase_)
        return;
    if (defaultDatabase_)
        RemoveDatabase(defaultDatabase_);
    if (database)
        AddDatabase(database);
    defaultDatabase_ = database;
}

void TIBTransaction::AddDatabase(TIBDatabase* database) {
    if (!database || databases_.Contains(database))
        return;
    // The running transaction was started without it.
    if (IsStarted())
        RaiseClientError(IBClientErrorCode::InTransaction);
    databases_.Add(database);
    database->transactions_.Add(this);
    if (!defaultDatabase_)
        defaultDatabase_ = database;
}

void TIBTransaction::RemoveDatabase(TIBDatabase* database) {
    if (!database || !databases_.Contains(database))
        return;
    if (IsStarted())
        RaiseClientError(IBClientErrorCode::InTransaction);
    databases_.Remove(database);
    database->transactions_.Remove(this);
    if (database->defaultTransaction_ == this)
        database->defaultTransaction_ = nullptr;
    if (defaultDatabase_ == database)
        defaultDatabase_ = nullptr;
}

void TIBTransaction::SetParams(std::vector<std::string> params) {
    if (params == params_)
        return;
    if (IsStarted())
        RaiseClientError(IBClientErrorCode::InTransaction);
    params_ = std::move(params);
    parameterBufferStale_ = true;
}

void TIBTransaction::SetIdleTimer(int milliseconds) {
    if (milliseconds < 0)
        RaiseClientError(IBClientErrorCode::TimeoutNegative);
    idleTimer_ = milliseconds;
}

void TIBTransaction::SetActive(bool active) {
    if (active && !IsStarted())
        Start();
    else if (!active && IsStarted())
        Rollback();
}

const std::string& TIBTransaction::ParameterBuffer() {
    if (parameterBufferStale_) {
        parameterBuffer_ = BuildTransactionParameterBuffer(params_);
        parameterBufferStale_ = false;
    }
    return parameterBuffer_;
}

void TIBTransaction::Start() {
    if (IsStarted())
        RaiseClientError(IBClientErrorCode::InTransaction);
    const std::vector<TIBDatabase*> databases = databases_.Items();
    if (databases.empty())
        RaiseClientError(IBClientErrorCode::NoDatabasesInTransaction);
    for (TIBDatabase* database : databases)
        if (!database->Connected())
            RaiseClientError(IBClientErrorCode::DatabaseClosed);

    const std::string& buffer = ParameterBuffer();
    std::vector<TransactionEntry> entries;
    for (TIBDatabase* database : databases)
        entries.push_back({database->Handle(), static_cast<int>(buffer.size()), buffer.data()});
    StatusVector status;
    lib_.start_multiple(status.get(), &handle_, static_cast<short>(entries.size()), entries.data());
    if (Failed(status.get())) {
        handle_ = 0;
        RaiseDatabaseError(lib_, status.get());
    }
    autoStarted_ = false;
}

void TIBTransaction::Finish(TTransactionAction action, bool force) {
    if (!IsStarted())
        RaiseClientError(IBClientErrorCode::NotInTransaction);
    StatusVector status;
    switch (action) {
    case TACommitRetaining:
        lib_.commit_retaining(status.get(), &handle_);
        Check(lib_, status.get());
        return;
    case TARollbackRetaining:
        if (!lib_.rollback_retaining)
            RaiseClientError(IBClientErrorCode::RetainingFunctionMissing, "isc_rollback_retaining");
        lib_.rollback_retaining(status.get(), &handle_);
        Check(lib_, status.get());
        return;
    case TACommit:
    case TARollback:
        endHard(action, force);
        return;
    }
}

void TIBTransaction::endHard(TTransactionAction action, bool force) {
    notifyEnding(force);
    StatusVector status;
    if (action == TACommit) {
        lib_.commit_transaction(status.get(), &handle_);
        if (force && Failed(status.get())) {
            StatusVector ignored;
            lib_.rollback_transaction(ignored.get(), &handle_);
        }
    } else {
        lib_.rollback_transaction(status.get(), &handle_);
    }
    if (!force && Failed(status.get()))
        RaiseDatabaseError(lib_, status.get());
    handle_ = 0;
    autoStarted_ = false;
    notifyEnded();
}

void TIBTransaction::notifyEnding(bool force) {
    statementObjects_.ForEach([force](TIBBase* object) {
        try {
            object->TransactionEnding();
        } catch (...) {
            if (!force)
                throw;
        }
    });
}

void TIBTransaction::notifyEnded() noexcept {
    statementObjects_.ForEach([](TIBBase* object) {
        try {
            object->TransactionEnded();
        } catch (...) {
            // The transaction has ended; what a listener fails to tidy up stays its own.
        }
    });
}

void TIBTransaction::AutoStart() {
    if (IsStarted())
        return;
    Start();
    autoStarted_ = true;
}

void TIBTransaction::CheckAutoStop() {
    if (!autoStarted_ || autoStopAction_ == saNone || !IsStarted())
        return;
    bool anyOpen = false;
    statementObjects_.ForEach([&anyOpen](TIBBase* object) {
        if (auto* dataSet = dynamic_cast<TIBDataSetBase*>(object); dataSet && dataSet->Active())
            anyOpen = true;
    });
    if (anyOpen)
        return;
    // The auto-stop values follow the transaction actions one place later.
    Finish(static_cast<TTransactionAction>(autoStopAction_ - 1), false);
}
