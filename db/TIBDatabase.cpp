#include "db/TIBDatabase.h"

#include "db/DatabaseErrors.h"
#include "db/ParameterBuffers.h"
#include "db/RelationFieldCache.h"
#include "db/StatusVector.h"
#include "db/TIBBase.h"
#include "db/TIBDataSetBase.h"
#include "db/TIBTransaction.h"

namespace {

TTransactionAction hardForm(TTransactionAction action) {
    return action == TACommit || action == TACommitRetaining ? TACommit : TARollback;
}

} // namespace

TIBDatabase::TIBDatabase()
    : lib_(Client()), internalTransaction_(std::make_unique<TIBTransaction>()),
      relationFields_(std::make_unique<RelationFieldCache>()) {
    internalTransaction_->SetDefaultDatabase(this);
}

TIBDatabase::~TIBDatabase() {
    if (Connected())
        detach(true);
    internalTransaction_.reset();
    for (TIBTransaction* transaction : transactions_.Items()) {
        transaction->databases_.Remove(this);
        if (transaction->defaultDatabase_ == this)
            transaction->defaultDatabase_ = nullptr;
    }
    for (TIBBase* object : statementObjects_.Items())
        object->forgetDatabase();
}

void TIBDatabase::SetDatabaseName(const std::string& name) {
    if (name == databaseName_)
        return;
    if (Connected())
        RaiseClientError(IBClientErrorCode::DatabaseOpen);
    databaseName_ = name;
    relationFields_->Clear();
}

void TIBDatabase::SetParams(std::vector<std::string> params) {
    if (params == params_)
        return;
    if (Connected())
        RaiseClientError(IBClientErrorCode::DatabaseOpen);
    params_ = std::move(params);
    attachBufferStale_ = true;
}

void TIBDatabase::SetDefaultTransaction(TIBTransaction* transaction) {
    if (transaction && !transactions_.Contains(transaction))
        transaction->AddDatabase(this);
    defaultTransaction_ = transaction;
}

void TIBDatabase::SetIdleTimer(int milliseconds) {
    if (milliseconds < 0)
        RaiseClientError(IBClientErrorCode::TimeoutNegative);
    idleTimer_ = milliseconds;
}

void TIBDatabase::SetSQLDialect(int dialect) {
    if (dialect < 1 || (Connected() && dialect > dbSqlDialect_))
        RaiseClientError(IBClientErrorCode::SQLDialectInvalid);
    sqlDialect_ = dialect;
}

void TIBDatabase::SetConnected(bool connected) {
    if (connected == Connected())
        return;
    if (connected)
        attach();
    else
        detach(false);
}

void TIBDatabase::attach() {
    if (Connected())
        RaiseClientError(IBClientErrorCode::DatabaseOpen);
    if (databaseName_.empty())
        RaiseClientError(IBClientErrorCode::DatabaseNameMissing);
    if (attachBufferStale_) {
        attachBuffer_ = BuildAttachParameterBuffer(params_);
        attachBufferStale_ = false;
    }
    StatusVector status;
    lib_.attach_database(status.get(), static_cast<short>(databaseName_.size()), databaseName_.data(),
                         &handle_, static_cast<short>(attachBuffer_.size()), attachBuffer_.data());
    if (Failed(status.get())) {
        handle_ = 0;
        RaiseDatabaseError(lib_, status.get());
    }
    try {
        readDialect();
    } catch (...) {
        // Without its dialect the attachment is of no use; leave detached.
        StatusVector ignored;
        lib_.detach_database(ignored.get(), &handle_);
        handle_ = 0;
        throw;
    }
    if (dbSqlDialect_ < sqlDialect_)
        sqlDialect_ = dbSqlDialect_;
}

void TIBDatabase::readDialect() {
    const char items[] = {isc_info_db_sql_dialect};
    char reply[512] = {};
    StatusVector status;
    lib_.database_info(status.get(), &handle_, sizeof items, items, sizeof reply, reply);
    Check(lib_, status.get());
    if (reply[0] != isc_info_db_sql_dialect) {
        dbSqlDialect_ = 1;
        return;
    }
    const auto length = static_cast<short>(lib_.vax_integer(reply + 1, 2));
    dbSqlDialect_ = length > 0 && length <= 4 ? static_cast<int>(lib_.vax_integer(reply + 3, length)) : 1;
}

void TIBDatabase::detach(bool force) {
    for (TIBTransaction* transaction : transactions_.Items())
        if (transaction->IsStarted())
            transaction->Finish(hardForm(transaction->DefaultAction()), true);

    statementObjects_.ForEach([force](TIBBase* object) {
        try {
            object->DatabaseDisconnecting();
        } catch (...) {
            if (!force)
                throw;
        }
    });

    StatusVector status;
    lib_.detach_database(status.get(), &handle_);
    if (Failed(status.get())) {
        if (!force)
            RaiseDatabaseError(lib_, status.get());
    }
    handle_ = 0;
    // What the catalogue said may have changed by the next attach.
    relationFields_->Clear();

    statementObjects_.ForEach([](TIBBase* object) {
        try {
            object->DatabaseDisconnected();
        } catch (...) {
            // Detached already; what a listener fails to tidy up stays its own.
        }
    });
    dbSqlDialect_ = 1;
}

void TIBDatabase::ForgetCatalogue() {
    relationFields_->Clear();
    statementObjects_.ForEach([](TIBBase* object) { object->CatalogueChanged(); });
}

void TIBDatabase::CloseAttachedDataSets() {
    statementObjects_.ForEach([](TIBBase* object) {
        if (auto* dataSet = dynamic_cast<TIBDataSetBase*>(object); dataSet && dataSet->Active())
            dataSet->Close();
    });
}

void TIBDatabase::ApplyUpdatesAndCommit(const std::vector<TIBDataSetBase*>& dataSets) {
    TIBTransaction* common = nullptr;
    for (std::size_t i = 0; i < dataSets.size(); ++i) {
        if (dataSets[i]->Database() != this)
            RaiseClientError(IBClientErrorCode::UpdateWrongDatabase);
        if (i == 0)
            common = dataSets[i]->Transaction();
        if (!common || dataSets[i]->Transaction() != common)
            RaiseClientError(IBClientErrorCode::UpdateWrongTransaction);
    }
    if (!common || !common->IsStarted())
        RaiseClientError(IBClientErrorCode::NotInTransaction);
    for (TIBDataSetBase* dataSet : dataSets)
        dataSet->ApplyCachedUpdates();
    common->CommitRetaining();
}
