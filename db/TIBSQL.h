#pragma once
// A single statement run on a connection and a transaction: the layer's
// catalogue queries and one-off commands. Result columns are read as text
// (the server converts them; blobs come whole).
#include "db/ClientHandle.h"
#include "db/TIBBase.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class TIBSQL : public TIBBase {
public:
    explicit TIBSQL(TIBDatabase* database = nullptr, TIBTransaction* transaction = nullptr);
    ~TIBSQL() override;

    const std::string& SQL() const { return sql_; }
    // A new text drops the prepared statement.
    void SetSQL(std::string text);

    // Needs an attached connection and a started transaction.
    void Prepare();
    bool Prepared() const { return handle_ != 0; }
    // The server's statement type (1 select, 2 insert, 3 update, 4 delete, ...).
    int SQLType() const { return sqlType_; }

    // Input parameters ("?") after Prepare, by position; unset ones are NULL.
    int ParamCount() const;
    void SetParam(int index, std::optional<std::string> value);

    // Prepares when needed and executes. A select opens its cursor and makes
    // the first row current (Eof when there is none).
    void ExecQuery();
    bool Eof() const { return eof_; }
    void Next();

    int FieldCount() const;
    std::string FieldName(int index) const;
    bool FieldIsNull(int index) const;
    std::string FieldAsString(int index) const;
    int FieldAsInteger(int index) const;

    // Closes the cursor; the statement stays prepared.
    void Close();
    // Closes and drops the statement.
    void FreeHandle();

protected:
    void DatabaseDisconnecting() override { release(); }
    void TransactionEnding() override { release(); }
    void DatabaseFreed() noexcept override { release(); }
    void TransactionFreed() noexcept override { release(); }

private:
    struct Descriptors;

    void checkReady() const;
    void checkField(int index) const;
    void fetch();
    void release() noexcept;

    std::string sql_;
    ClientHandle handle_ = 0;
    int sqlType_ = 0;
    bool cursorOpen_ = false;
    bool eof_ = true;
    std::unique_ptr<Descriptors> descriptors_;
};
