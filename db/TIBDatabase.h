#pragma once
// The connection: one attachment to a database through the client library.
#include "db/ClientHandle.h"
#include "db/SlotList.h"

#include <memory>
#include <string>
#include <vector>

struct ClientLibrary;
class RelationFieldCache;
class TIBBase;
class TIBDataSetBase;
class TIBTransaction;

class TIBDatabase {
public:
    // Loads the client library on first use (error of code 1 when it is missing).
    TIBDatabase();
    // Detaches when attached, ending started transactions by their DefaultAction
    // reduced to a hard commit or rollback; errors are ignored.
    ~TIBDatabase();
    TIBDatabase(const TIBDatabase&) = delete;
    TIBDatabase& operator=(const TIBDatabase&) = delete;

    const std::string& DatabaseName() const { return databaseName_; }
    void SetDatabaseName(const std::string& name);

    const std::vector<std::string>& Params() const { return params_; }
    void SetParams(std::vector<std::string> params);

    // No login dialog exists; the flag is only kept.
    bool LoginPrompt() const { return loginPrompt_; }
    void SetLoginPrompt(bool value) { loginPrompt_ = value; }

    TIBTransaction* DefaultTransaction() const { return defaultTransaction_; }
    void SetDefaultTransaction(TIBTransaction* transaction);

    // Milliseconds; 0 is off. Idle disconnection itself is not implemented.
    int IdleTimer() const { return idleTimer_; }
    void SetIdleTimer(int milliseconds);

    int SQLDialect() const { return sqlDialect_; }
    void SetSQLDialect(int dialect);
    int DBSQLDialect() const { return dbSqlDialect_; }

    bool Connected() const { return handle_ != 0; }
    void SetConnected(bool connected);
    void Open() { SetConnected(true); }
    void Close() { SetConnected(false); }

    void CloseAttachedDataSets();
    void ListTableNames(std::vector<std::string>& list, bool includeSystem);
    // Applies each dataset's cached changes, then commits their one transaction retaining.
    void ApplyUpdatesAndCommit(const std::vector<TIBDataSetBase*>& dataSets);

    // The transaction used for the layer's own catalogue queries.
    TIBTransaction& InternalTransaction() { return *internalTransaction_; }

    // Column facts of tables read from the catalogue, until DatabaseName changes.
    RelationFieldCache& RelationFields() { return *relationFields_; }
    // Free SQL may have changed the schema (a key added, an index dropped):
    // what was read from the catalogue is read again when next needed.
    void ForgetCatalogue();

    // The attachment handle for client-library calls (0 when detached).
    ClientHandle* Handle() { return &handle_; }

    // Transactions that include this connection.
    std::vector<TIBTransaction*> Transactions() const { return transactions_.Items(); }

private:
    friend class TIBBase;
    friend class TIBTransaction;

    void attach();
    void detach(bool force);
    void readDialect();

    const ClientLibrary& lib_;
    std::string databaseName_;
    std::vector<std::string> params_;
    std::string attachBuffer_;
    bool attachBufferStale_ = true;
    bool loginPrompt_ = true;
    TIBTransaction* defaultTransaction_ = nullptr;
    int idleTimer_ = 0;
    int sqlDialect_ = 3;
    int dbSqlDialect_ = 3;
    ClientHandle handle_ = 0;
    SlotList<TIBTransaction> transactions_;
    SlotList<TIBBase> statementObjects_;
    std::unique_ptr<TIBTransaction> internalTransaction_;
    std::unique_ptr<RelationFieldCache> relationFields_;
};
