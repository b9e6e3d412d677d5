#include "bench/PlainRowLoop.h"

#include "bench/BenchSupport.h"
#include "bench/PlainClient.h"

#include <cstring>
#include <stdexcept>

namespace {

// A prepared statement with buffers for its result columns.
struct Statement {
    isc_stmt_handle handle = 0;
    std::vector<char> sqlda;
    std::vector<std::vector<char>> buffers;
    std::vector<short> nulls;

    XSQLDA* out() { return reinterpret_cast<XSQLDA*>(sqlda.data()); }

    void prepare(isc_db_handle& db, isc_tr_handle& tr, const std::string& text) {
        ISC_STATUS_ARRAY status{};
        isc_dsql_allocate_statement(status, &db, &handle);
        check(status, "allocate");
        sqlda.assign(XSQLDA_LENGTH(1), 0);
        out()->version = SQLDA_VERSION1;
        out()->sqln = 1;
        isc_dsql_prepare(status, &tr, &handle, 0, text.c_str(), 3, out());
        check(status, "prepare");
        const short columns = out()->sqld;
        if (columns > 1) {
            sqlda.assign(XSQLDA_LENGTH(columns), 0);
            out()->version = SQLDA_VERSION1;
            out()->sqln = columns;
            isc_dsql_describe(status, &handle, 3, out());
            check(status, "describe");
        }
        buffers.assign(static_cast<std::size_t>(columns), {});
        nulls.assign(static_cast<std::size_t>(columns), 0);
        for (int i = 0; i < columns; ++i) {
            XSQLVAR& var = out()->sqlvar[i];
            buffers[static_cast<std::size_t>(i)].assign(static_cast<std::size_t>(var.sqllen) + 2, 0);
            var.sqldata = buffers[static_cast<std::size_t>(i)].data();
            var.sqlind = &nulls[static_cast<std::size_t>(i)];
        }
    }
    ~Statement() {
        ISC_STATUS_ARRAY status{};
        if (handle)
            isc_dsql_free_statement(status, &handle, DSQL_drop);
    }
};

} // namespace

int PlainRow::Integer(int column) const {
    int value = 0;
    std::memcpy(&value, row_.sqlvar[column].sqldata, sizeof value);
    return value;
}

void PlainRow::SetInteger(int column, int value) {
    std::memcpy(row_.sqlvar[column].sqldata, &value, sizeof value);
    *row_.sqlvar[column].sqlind = 0;
}

std::string PlainRow::Text(int column) const {
    const XSQLVAR& var = row_.sqlvar[column];
    if ((var.sqltype & ~1) == SQL_TEXT)
        return std::string(var.sqldata, static_cast<std::size_t>(var.sqllen));
    short length = 0;
    std::memcpy(&length, var.sqldata, sizeof length);
    return std::string(var.sqldata + 2, static_cast<std::size_t>(length));
}

void PlainRow::SetText(int column, const std::string& value) {
    XSQLVAR& var = row_.sqlvar[column];
    if ((var.sqltype & ~1) == SQL_TEXT) {
        std::memset(var.sqldata, ' ', static_cast<std::size_t>(var.sqllen));
        std::memcpy(var.sqldata, value.data(), std::min<std::size_t>(value.size(), var.sqllen));
    } else {
        const auto length = static_cast<short>(std::min<std::size_t>(value.size(), var.sqllen));
        std::memcpy(var.sqldata, &length, sizeof length);
        std::memcpy(var.sqldata + 2, value.data(), static_cast<std::size_t>(length));
    }
    *var.sqlind = 0;
}

PlainRowLoop::PlainRowLoop(const std::string& connectString) {
    attachAndStart(connectString, db_, tr_);
}

PlainRowLoop::~PlainRowLoop() {
    ISC_STATUS_ARRAY status{};
    if (tr_)
        isc_rollback_transaction(status, &tr_);
    isc_detach_database(status, &db_);
}

PlainLoopResult PlainRowLoop::Update(const std::string& table, const std::string& order,
                                     const std::function<void(PlainRow&)>& change, bool commitEachRow) {
    return run(table, order, &change, commitEachRow);
}

PlainLoopResult PlainRowLoop::Delete(const std::string& table, const std::string& order, bool commitEachRow) {
    return run(table, order, nullptr, commitEachRow);
}

PlainLoopResult PlainRowLoop::run(const std::string& table, const std::string& order,
                                  const std::function<void(PlainRow&)>* change, bool commitEachRow) {
    const std::string rows = "select " + table + ".*, RDB$DB_KEY as IBX_INTERNAL_DBKEY from " + table;
    const auto start = Clock::now();
    Statement select, write, refresh;
    select.prepare(db_, tr_, rows + "\r\n order by " + order + "\r\n");
    XSQLDA* row = select.out();
    const int columns = row->sqld - 1; // the key is last
    if (change) {
        // Every column set from the fetched row, which is the update's input as it stands.
        std::string set;
        for (int i = 0; i < columns; ++i)
            set +=
                std::string(i ? ", " : "") + "\"" +
                std::string(row->sqlvar[i].sqlname, static_cast<std::size_t>(row->sqlvar[i].sqlname_length)) +
                "\" = ?";
        write.prepare(db_, tr_, "update " + table + " set " + set + " where RDB$DB_KEY = ?");
        refresh.prepare(db_, tr_, rows + " where RDB$DB_KEY = ?");
    } else {
        write.prepare(db_, tr_, "delete from " + table + " where RDB$DB_KEY = ?");
    }
    // The key alone, for the delete and the re-read.
    std::vector<char> keyArea(XSQLDA_LENGTH(1), 0);
    auto* key = reinterpret_cast<XSQLDA*>(keyArea.data());
    key->version = SQLDA_VERSION1;
    key->sqln = key->sqld = 1;
    key->sqlvar[0] = row->sqlvar[columns];

    ISC_STATUS_ARRAY status{};
    isc_dsql_execute(status, &tr_, &select.handle, 3, nullptr);
    check(status, "execute select");
    PlainLoopResult result;
    PlainRow values(*row);
    while (true) {
        const ISC_STATUS fetched = isc_dsql_fetch(status, &select.handle, 3, row);
        if (fetched == 100)
            break;
        check(status, "fetch");
        if (change) {
            (*change)(values);
            isc_dsql_execute(status, &tr_, &write.handle, 3, row);
            check(status, "update");
            // By key, one row, read with the execution as the program does.
            isc_dsql_execute2(status, &tr_, &refresh.handle, 3, key, refresh.out());
            check(status, "re-read");
        } else {
            isc_dsql_execute(status, &tr_, &write.handle, 3, key);
            check(status, "delete");
        }
        if (commitEachRow) {
            isc_commit_retaining(status, &tr_);
            check(status, "commit");
        }
        ++result.rows;
    }
    isc_commit_retaining(status, &tr_);
    check(status, "commit");
    result.seconds = secondsSince(start);
    return result;
}
