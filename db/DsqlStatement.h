#pragma once
// One dynamic SQL statement of the client library with its descriptor areas.
// Internal to db/*.cpp (it pulls in ibase.h through ClientLibrary.h). The owner
// points the descriptors' data and null indicators at its own buffers.
#include "db/ClientLibrary.h"

#include <memory>
#include <string>

struct SqldaDeleter {
    void operator()(XSQLDA* sqlda) const;
};
using Sqlda = std::unique_ptr<XSQLDA, SqldaDeleter>;

// Room for `columns` variables (at least one).
Sqlda AllocateSqlda(int columns);

// Asks the server for a prepared statement's type (isc_info_sql_stmt_*); 0 when
// the reply carries none. Leaves an error in `status` for the caller to check.
int ReadStatementType(const ClientLibrary& lib, ISC_STATUS* status, ClientHandle* statement);

// Prepares and runs a statement in one round trip, leaving nothing prepared.
// Only for a text without "?" markers whose statement returns nothing.
void ExecuteImmediate(ClientHandle* database, ClientHandle* transaction, const std::string& sql, int dialect);

// The same for a statement that returns one row of one text column (up to
// `maxLength` bytes), which it gives back.
std::string ExecuteImmediateForText(ClientHandle* database, ClientHandle* transaction, const std::string& sql,
                                    int dialect, short maxLength);

class DsqlStatement {
public:
    DsqlStatement();
    ~DsqlStatement();
    DsqlStatement(const DsqlStatement&) = delete;
    DsqlStatement& operator=(const DsqlStatement&) = delete;

    // Allocates, prepares (the text uses "?" markers), reads the statement type
    // and describes both the result columns and the parameters.
    void Prepare(ClientHandle* database, ClientHandle* transaction, const std::string& sql, int dialect);
    bool Prepared() const { return handle_ != 0; }
    // The server's statement type (isc_info_sql_stmt_*).
    int Type() const { return type_; }

    XSQLDA& Output() { return *out_; }
    XSQLDA& Input() { return *in_; }

    // Runs a statement that returns no cursor.
    void Execute(ClientHandle* transaction);
    // Runs a statement that returns one row (RETURNING, procedures) into Output.
    void ExecuteWithOutput(ClientHandle* transaction);
    // Runs a select that gives at most one row and reads that row into Output,
    // in one round trip; false when there is no row. Leaves no cursor open.
    bool ReadSingleRow(ClientHandle* transaction);
    // Opens the cursor of a select.
    void OpenCursor(ClientHandle* transaction);
    bool CursorOpen() const { return cursorOpen_; }
    // The next row into Output; false at the end of the cursor.
    bool Fetch();
    void CloseCursor();

    // Drops the statement at the server; errors are ignored.
    void Free() noexcept;
    // Forgets a handle whose attachment is already gone.
    void Forget() noexcept;

private:
    const XSQLDA* inputOrNull() const { return in_->sqld > 0 ? in_.get() : nullptr; }

    const ClientLibrary& lib_;
    ClientHandle* database_ = nullptr; // the attachment it was prepared on
    ClientHandle handle_ = 0;
    int type_ = 0;
    unsigned short dialect_ = 3;
    bool cursorOpen_ = false;
    Sqlda out_;
    Sqlda in_;
};
