#include "db/DsqlStatement.h"

#include "db/CancelGate.h"
#include "db/StatusVector.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace {

constexpr int kColumnsAtPrepare = 32;

} // namespace

void SqldaDeleter::operator()(XSQLDA* sqlda) const {
    std::free(sqlda);
}

Sqlda AllocateSqlda(int columns) {
    const int n = columns < 1 ? 1 : columns;
    Sqlda sqlda(static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(n))));
    if (!sqlda)
        throw std::bad_alloc();
    sqlda->version = SQLDA_VERSION1;
    sqlda->sqln = static_cast<ISC_SHORT>(n);
    return sqlda;
}

int ReadStatementType(const ClientLibrary& lib, ISC_STATUS* status, ClientHandle* statement) {
    const char typeItem[] = {isc_info_sql_stmt_type};
    char reply[16] = {};
    lib.dsql_sql_info(status, statement, sizeof typeItem, typeItem, sizeof reply, reply);
    if (Failed(status) || reply[0] != isc_info_sql_stmt_type)
        return 0;
    const auto length = static_cast<short>(lib.vax_integer(reply + 1, 2));
    return length > 0 && length <= 4 ? static_cast<int>(lib.vax_integer(reply + 3, length)) : 0;
}

void ExecuteImmediate(ClientHandle* database, ClientHandle* transaction, const std::string& sql,
                      int dialect) {
    const ClientLibrary& lib = Client();
    StatusVector status;
    CancelGate::Call call(database);
    // Length 0: the text ends at its NUL, as for Prepare (a 16-bit length
    // would cut a long text short).
    lib.dsql_execute_immediate(status.get(), database, transaction, 0, sql.c_str(),
                               static_cast<unsigned short>(dialect), nullptr);
    Check(lib, status.get());
}

std::string ExecuteImmediateForText(ClientHandle* database, ClientHandle* transaction, const std::string& sql,
                                    int dialect, short maxLength) {
    const ClientLibrary& lib = Client();
    StatusVector status;
    Sqlda out = AllocateSqlda(1);
    out->sqld = 1;
    std::vector<char> value(static_cast<std::size_t>(maxLength) + sizeof(short), 0);
    short isNull = 0;
    XSQLVAR& var = out->sqlvar[0];
    var.sqltype = SQL_VARYING | 1;
    var.sqllen = maxLength;
    var.sqldata = value.data();
    var.sqlind = &isNull;
    CancelGate::Call call(database);
    lib.dsql_exec_immed2(status.get(), database, transaction, 0, sql.c_str(),
                         static_cast<unsigned short>(dialect), nullptr, out.get());
    Check(lib, status.get());
    if (isNull < 0)
        return {};
    short length = 0;
    std::memcpy(&length, value.data(), sizeof length);
    return std::string(value.data() + sizeof length, static_cast<std::size_t>(length));
}

DsqlStatement::DsqlStatement() : lib_(Client()), out_(AllocateSqlda(1)), in_(AllocateSqlda(1)) {}

DsqlStatement::~DsqlStatement() {
    Free();
}

void DsqlStatement::Prepare(ClientHandle* database, ClientHandle* transaction, const std::string& sql,
                            int dialect) {
    Free();
    database_ = database;
    dialect_ = static_cast<unsigned short>(dialect);
    StatusVector status;
    lib_.dsql_allocate_statement(status.get(), database, &handle_);
    Check(lib_, status.get());
    // Whatever fails from here drops the half-made statement first.
    auto fail = [&] {
        Free();
        RaiseDatabaseError(lib_, status.get());
    };

    // Room for most results, so the prepare describes them at once.
    out_ = AllocateSqlda(kColumnsAtPrepare);
    lib_.dsql_prepare(status.get(), transaction, &handle_, 0, sql.c_str(), dialect_, out_.get());
    if (Failed(status.get()))
        fail();

    type_ = ReadStatementType(lib_, status.get(), &handle_);
    if (Failed(status.get()))
        fail();

    if (out_->sqld > out_->sqln) {
        out_ = AllocateSqlda(out_->sqld);
        lib_.dsql_describe(status.get(), &handle_, dialect_, out_.get());
        if (Failed(status.get()))
            fail();
    }
    in_ = AllocateSqlda(1);
    lib_.dsql_describe_bind(status.get(), &handle_, dialect_, in_.get());
    if (Failed(status.get()))
        fail();
    if (in_->sqld > in_->sqln) {
        in_ = AllocateSqlda(in_->sqld);
        lib_.dsql_describe_bind(status.get(), &handle_, dialect_, in_.get());
        if (Failed(status.get()))
            fail();
    }
}

void DsqlStatement::Execute(ClientHandle* transaction) {
    StatusVector status;
    CancelGate::Call call(database_);
    lib_.dsql_execute(status.get(), transaction, &handle_, dialect_, inputOrNull());
    Check(lib_, status.get());
}

void DsqlStatement::ExecuteWithOutput(ClientHandle* transaction) {
    StatusVector status;
    CancelGate::Call call(database_);
    lib_.dsql_execute2(status.get(), transaction, &handle_, dialect_, inputOrNull(), out_.get());
    Check(lib_, status.get());
}

bool DsqlStatement::ReadSingleRow(ClientHandle* transaction) {
    StatusVector status;
    CancelGate::Call call(database_);
    lib_.dsql_execute2(status.get(), transaction, &handle_, dialect_, inputOrNull(), out_.get());
    // The server answers a select without rows with "end of stream".
    if (status.get()[0] == 1 && status.get()[1] == isc_stream_eof)
        return false;
    Check(lib_, status.get());
    return true;
}

void DsqlStatement::OpenCursor(ClientHandle* transaction) {
    StatusVector status;
    CancelGate::Call call(database_);
    lib_.dsql_execute(status.get(), transaction, &handle_, dialect_, inputOrNull());
    Check(lib_, status.get());
    cursorOpen_ = true;
}

bool DsqlStatement::Fetch() {
    StatusVector status;
    CancelGate::Call call(database_);
    const ISC_STATUS result = lib_.dsql_fetch(status.get(), &handle_, dialect_, out_.get());
    if (result == 100)
        return false;
    Check(lib_, status.get());
    return true;
}

void DsqlStatement::CloseCursor() {
    if (!cursorOpen_)
        return;
    cursorOpen_ = false;
    StatusVector status;
    lib_.dsql_free_statement(status.get(), &handle_, DSQL_close);
    Check(lib_, status.get());
}

void DsqlStatement::Free() noexcept {
    cursorOpen_ = false;
    type_ = 0;
    if (handle_ == 0)
        return;
    // Dropping also closes an open cursor.
    StatusVector ignored;
    lib_.dsql_free_statement(ignored.get(), &handle_, DSQL_drop);
    handle_ = 0;
}

void DsqlStatement::Forget() noexcept {
    cursorOpen_ = false;
    type_ = 0;
    handle_ = 0;
}
