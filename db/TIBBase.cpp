#include "db/TIBBase.h"

#include "db/DatabaseErrors.h"
#include "db/TIBDatabase.h"
#include "db/TIBTransaction.h"

TIBBase::TIBBase(TIBDatabase* database, TIBTransaction* transaction) {
    SetDatabase(database);
    if (transaction)
        SetTransaction(transaction);
}

TIBBase::~TIBBase() {
    if (database_)
        database_->statementObjects_.Remove(this);
    if (transaction_)
        transaction_->statementObjects_.Remove(this);
}

void TIBBase::SetDatabase(TIBDatabase* database) {
    if (database == database_)
        return;
    if (database_)
        database_->statementObjects_.Remove(this);
    database_ = database;
    if (database_) {
        database_->statementObjects_.Add(this);
        if (!transaction_ && database_->DefaultTransaction())
            SetTransaction(database_->DefaultTransaction());
    }
}

void TIBBase::SetTransaction(TIBTransaction* transaction) {
    if (transaction == transaction_)
        return;
    if (transaction_)
        transaction_->statementObjects_.Remove(this);
    transaction_ = transaction;
    if (transaction_)
        transaction_->statementObjects_.Add(this);
}

void TIBBase::CheckDatabase() const {
    if (!database_)
        RaiseClientError(IBClientErrorCode::DatabaseNotAssigned);
}

void TIBBase::CheckTransaction() const {
    if (!transaction_)
        RaiseClientError(IBClientErrorCode::TransactionNotAssigned);
}

void TIBBase::forgetDatabase() noexcept {
    database_ = nullptr;
    DatabaseFreed();
}

void TIBBase::forgetTransaction() noexcept {
    transaction_ = nullptr;
    TransactionFreed();
}
