#include "db/TIBSQL.h"

#include "db/BlobIO.h"
#include "db/CancelGate.h"
#include "db/DatabaseErrors.h"
#include "db/DsqlStatement.h"
#include "db/StatusVector.h"
#include "db/TIBDatabase.h"
#include "db/TIBTransaction.h"
#include "util/NumberText.h"

#include <cstdlib>
#include <cstring>

namespace {

// Room for the text of any number, date or time the server converts for us.
constexpr short kNonTextLength = 64;

bool isText(short type) {
    return type == SQL_TEXT || type == SQL_VARYING;
}

} // namespace

struct TIBSQL::Descriptors {
    Sqlda out = AllocateSqlda(1);
    Sqlda in = AllocateSqlda(1);
    std::vector<std::vector<char>> outData;
    std::vector<ISC_SHORT> outNull;
    std::vector<short> outType; // the described type, before our coercion to text
    std::vector<std::optional<std::string>> params;
    std::vector<ISC_SHORT> paramNull;
};

TIBSQL::TIBSQL(TIBDatabase* database, TIBTransaction* transaction) : TIBBase(database, transaction) {
    Client();
}

TIBSQL::~TIBSQL() {
    release();
}

void TIBSQL::SetSQL(std::string text) {
    if (text == sql_)
        return;
    release();
    sql_ = std::move(text);
}

void TIBSQL::checkReady() const {
    CheckDatabase();
    CheckTransaction();
    if (!Database()->Connected())
        RaiseClientError(IBClientErrorCode::DatabaseClosed);
    if (!Transaction()->IsStarted())
        RaiseClientError(IBClientErrorCode::NotInTransaction);
}

void TIBSQL::Prepare() {
    if (Prepared())
        return;
    checkReady();
    const ClientLibrary& lib = Client();
    const auto dialect = static_cast<unsigned short>(Database()->SQLDialect());
    auto d = std::make_unique<Descriptors>();
    StatusVector status;

    lib.dsql_allocate_statement(status.get(), Database()->Handle(), &handle_);
    Check(lib, status.get());
    // Whatever fails from here drops the half-made statement first.
    auto fail = [&] {
        StatusVector ignored;
        lib.dsql_free_statement(ignored.get(), &handle_, DSQL_drop);
        handle_ = 0;
        RaiseDatabaseError(lib, status.get());
    };

    lib.dsql_prepare(status.get(), Transaction()->Handle(), &handle_, 0, sql_.c_str(), dialect, d->out.get());
    if (Failed(status.get()))
        fail();

    sqlType_ = ReadStatementType(lib, status.get(), &handle_);
    if (Failed(status.get()))
        fail();

    if (d->out->sqld > d->out->sqln) {
        d->out = AllocateSqlda(d->out->sqld);
        lib.dsql_describe(status.get(), &handle_, dialect, d->out.get());
        if (Failed(status.get()))
            fail();
    }
    const int columns = d->out->sqld;
    d->outData.resize(columns);
    d->outNull.resize(columns);
    d->outType.resize(columns);
    for (int i = 0; i < columns; ++i) {
        XSQLVAR& var = d->out->sqlvar[i];
        const short type = static_cast<short>(var.sqltype & ~1);
        d->outType[i] = type;
        if (type == SQL_BLOB) {
            d->outData[i].resize(sizeof(ISC_QUAD));
        } else {
            if (!isText(type)) {
                var.sqllen = kNonTextLength;
                var.sqlsubtype = 0;
            }
            var.sqltype = SQL_VARYING;
            var.sqlscale = 0;
            d->outData[i].resize(static_cast<size_t>(var.sqllen) + sizeof(short));
        }
        var.sqltype |= 1;
        var.sqldata = d->outData[i].data();
        var.sqlind = &d->outNull[i];
    }

    lib.dsql_describe_bind(status.get(), &handle_, dialect, d->in.get());
    if (Failed(status.get()))
        fail();
    if (d->in->sqld > d->in->sqln) {
        d->in = AllocateSqlda(d->in->sqld);
        lib.dsql_describe_bind(status.get(), &handle_, dialect, d->in.get());
        if (Failed(status.get()))
            fail();
    }
    d->params.resize(d->in->sqld);
    d->paramNull.resize(d->in->sqld);
    descriptors_ = std::move(d);
}

int TIBSQL::ParamCount() const {
    return descriptors_ ? static_cast<int>(descriptors_->params.size()) : 0;
}

void TIBSQL::SetParam(int index, std::optional<std::string> value) {
    if (index < 0 || index >= ParamCount())
        throw EDatabaseError("Parameter index out of range (" + IntToStr(index) + ")");
    // The client library's length field is a signed 16-bit number.
    if (value && value->size() > 32767)
        throw EDatabaseError("Parameter value too long (" + IntToStr(index) + ")");
    descriptors_->params[index] = std::move(value);
}

void TIBSQL::ExecQuery() {
    Prepare();
    checkReady();
    Close();
    const ClientLibrary& lib = Client();
    const auto dialect = static_cast<unsigned short>(Database()->SQLDialect());
    Descriptors& d = *descriptors_;

    // Parameters travel as text; the server converts them to the column types.
    for (int i = 0; i < d.in->sqld; ++i) {
        XSQLVAR& var = d.in->sqlvar[i];
        const auto& value = d.params[i];
        if (!isText(static_cast<short>(var.sqltype & ~1)))
            var.sqlsubtype = 0;
        var.sqltype = SQL_TEXT | 1;
        var.sqlscale = 0;
        var.sqllen = static_cast<ISC_SHORT>(value ? value->size() : 0);
        var.sqldata = value ? const_cast<char*>(value->data()) : nullptr;
        d.paramNull[i] = value ? 0 : -1;
        var.sqlind = &d.paramNull[i];
    }
    const XSQLDA* in = d.in->sqld > 0 ? d.in.get() : nullptr;

    StatusVector status;
    CancelGate::Call call(Database()->Handle());
    if (sqlType_ == isc_info_sql_stmt_select || sqlType_ == isc_info_sql_stmt_select_for_upd) {
        lib.dsql_execute(status.get(), Transaction()->Handle(), &handle_, dialect, in);
        Check(lib, status.get());
        cursorOpen_ = true;
        eof_ = false;
        fetch();
    } else if (sqlType_ == isc_info_sql_stmt_exec_procedure && d.out->sqld > 0) {
        // A procedure's one row of output arrives with the execution.
        lib.dsql_execute2(status.get(), Transaction()->Handle(), &handle_, dialect, in, d.out.get());
        Check(lib, status.get());
        eof_ = false;
    } else {
        lib.dsql_execute(status.get(), Transaction()->Handle(), &handle_, dialect, in);
        Check(lib, status.get());
        eof_ = true;
    }
}

void TIBSQL::fetch() {
    const ClientLibrary& lib = Client();
    StatusVector status;
    CancelGate::Call call(Database()->Handle());
    const ISC_STATUS result =
        lib.dsql_fetch(status.get(), &handle_, static_cast<unsigned short>(Database()->SQLDialect()),
                       descriptors_->out.get());
    if (result == 100) {
        eof_ = true;
        return;
    }
    Check(lib, status.get());
}

void TIBSQL::Next() {
    if (eof_)
        return;
    if (!cursorOpen_) {
        eof_ = true;
        return;
    }
    fetch();
}

int TIBSQL::FieldCount() const {
    return descriptors_ ? static_cast<int>(descriptors_->outType.size()) : 0;
}

void TIBSQL::checkField(int index) const {
    if (index < 0 || index >= FieldCount())
        throw EDatabaseError("Column index out of range (" + IntToStr(index) + ")");
}

std::string TIBSQL::FieldName(int index) const {
    checkField(index);
    const XSQLVAR& var = descriptors_->out->sqlvar[index];
    return std::string(var.aliasname, static_cast<size_t>(var.aliasname_length));
}

bool TIBSQL::FieldIsNull(int index) const {
    checkField(index);
    return eof_ || descriptors_->outNull[index] < 0;
}

std::string TIBSQL::FieldAsString(int index) const {
    if (FieldIsNull(index))
        return {};
    const XSQLVAR& var = descriptors_->out->sqlvar[index];
    if (descriptors_->outType[index] != SQL_BLOB) {
        short length;
        std::memcpy(&length, var.sqldata, sizeof length);
        return std::string(var.sqldata + sizeof length, static_cast<size_t>(length));
    }

    ISC_QUAD id;
    std::memcpy(&id, var.sqldata, sizeof id);
    return ReadBlob(Database()->Handle(), Transaction()->Handle(), id);
}

int TIBSQL::FieldAsInteger(int index) const {
    return FieldIsNull(index) ? 0 : StrToInt(FieldAsString(index));
}

void TIBSQL::Close() {
    if (!cursorOpen_)
        return;
    cursorOpen_ = false;
    eof_ = true;
    const ClientLibrary& lib = Client();
    StatusVector status;
    lib.dsql_free_statement(status.get(), &handle_, DSQL_close);
    Check(lib, status.get());
}

void TIBSQL::FreeHandle() {
    if (!Prepared())
        return;
    const ClientLibrary& lib = Client();
    StatusVector status;
    cursorOpen_ = false;
    eof_ = true;
    descriptors_.reset();
    sqlType_ = 0;
    // Dropping also closes an open cursor.
    lib.dsql_free_statement(status.get(), &handle_, DSQL_drop);
    handle_ = 0;
    Check(lib, status.get());
}

void TIBSQL::release() noexcept {
    try {
        FreeHandle();
    } catch (...) {
        // The handle is forgotten either way; its attachment or transaction is going.
    }
}
