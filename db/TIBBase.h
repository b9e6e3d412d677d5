#pragma once
// Base of every statement object (dataset or executor) bound to a connection
// and a transaction. It registers itself with both, and they tell it when the
// connection goes and when the transaction ends.
class TIBDatabase;
class TIBTransaction;

class TIBBase {
public:
    virtual ~TIBBase();
    TIBBase(const TIBBase&) = delete;
    TIBBase& operator=(const TIBBase&) = delete;

    TIBDatabase* Database() const { return database_; }
    // Without a transaction of its own the object takes the connection's default one.
    void SetDatabase(TIBDatabase* database);
    TIBTransaction* Transaction() const { return transaction_; }
    void SetTransaction(TIBTransaction* transaction);

    // "Database not assigned" / "Transaction not assigned".
    void CheckDatabase() const;
    void CheckTransaction() const;

protected:
    explicit TIBBase(TIBDatabase* database = nullptr, TIBTransaction* transaction = nullptr);

    // The notifications. Connection: before and after the detach. Transaction:
    // before and after a hard commit or rollback (retaining ones are silent).
    // They run inside the connection's and transaction's own operations and
    // destructors, so they must leave the object consistent. What the "before"
    // ones raise stops the operation unless it is forced; what the "after"
    // ones raise is ignored (the operation has happened).
    virtual void DatabaseDisconnecting() {}
    virtual void DatabaseDisconnected() {}
    virtual void TransactionEnding() {}
    virtual void TransactionEnded() {}
    // The connection or transaction object is being destroyed; the pointer is
    // already cleared when these run.
    virtual void DatabaseFreed() noexcept {}
    // The connection forgot what it read from the catalogue.
    virtual void CatalogueChanged() noexcept {}
    virtual void TransactionFreed() noexcept {}

private:
    friend class TIBDatabase;
    friend class TIBTransaction;

    void forgetDatabase() noexcept;
    void forgetTransaction() noexcept;

    TIBDatabase* database_ = nullptr;
    TIBTransaction* transaction_ = nullptr;
};
