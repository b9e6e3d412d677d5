#include "tests/support/TestDatabase.h"

#include <ibase.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr const char* kUser = "SYSDBA";
constexpr const char* kPassword = "lanternix";

std::string statusText(const ISC_STATUS* status) {
    std::string text;
    char buffer[1024];
    const ISC_STATUS* vector = status;
    while (fb_interpret(buffer, sizeof buffer, &vector)) {
        if (!text.empty())
            text += " / ";
        text += buffer;
    }
    return text;
}

void check(const ISC_STATUS* status, const std::string& what) {
    if (status[0] == 1 && status[1] != 0)
        throw std::runtime_error(what + ": " + statusText(status));
}

std::string requiredEnvironment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value)
        throw std::runtime_error(std::string(name) +
                                 " is not set: run the tests with ./scripts/test, which starts the private "
                                 "database server and sets it");
    return value;
}

// Creating a database takes a while; a copy of one empty database is much
// quicker and just as fresh. The template of each dialect is made once per test
// run and shared by every test process, under a file lock.
std::string makeTemplate(unsigned short dialect) {
    const std::string path = TestDatabase::dataDirectory() +
                             (dialect == SQL_DIALECT_V6 ? "/template.fdb" : "/template-dialect1.fdb");
    const std::string lockPath = path + ".lock";
    const int lock = ::open(lockPath.c_str(), O_CREAT | O_RDWR, 0644);
    if (lock < 0 || ::flock(lock, LOCK_EX) != 0)
        throw std::runtime_error("cannot lock " + lockPath);
    struct Unlock {
        int fd;
        ~Unlock() { ::close(fd); }
    } unlock{lock};
    if (std::filesystem::exists(path))
        return path;
    const std::string building = path + ".new";
    std::filesystem::remove(building);
    ISC_STATUS_ARRAY status{};
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    // The dialect of the creating statement becomes the database's dialect.
    const std::string sql = "CREATE DATABASE '" + TestDatabase::server() + ":" + building + "' USER '" +
                            kUser + "' PASSWORD '" + kPassword +
                            "' PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1252";
    isc_dsql_execute_immediate(status, &db, &tr, 0, sql.c_str(), dialect, nullptr);
    check(status, "creating the template database");
    isc_detach_database(status, &db);
    check(status, "detaching the template database");
    std::filesystem::rename(building, path);
    return path;
}

std::string templatePath(unsigned short dialect) {
    static std::once_flag once1, once3;
    static std::string path1, path3;
    if (dialect == SQL_DIALECT_V5) {
        std::call_once(once1, [] { path1 = makeTemplate(SQL_DIALECT_V5); });
        return path1;
    }
    std::call_once(once3, [] { path3 = makeTemplate(SQL_DIALECT_V6); });
    return path3;
}

struct Statement {
    isc_stmt_handle handle = 0;
    ~Statement() {
        ISC_STATUS_ARRAY status{};
        if (handle)
            isc_dsql_free_statement(status, &handle, DSQL_drop);
    }
};

struct Transaction {
    isc_tr_handle handle = 0;
    ~Transaction() {
        ISC_STATUS_ARRAY status{};
        if (handle)
            isc_rollback_transaction(status, &handle);
    }
    void start(isc_db_handle* db) {
        ISC_STATUS_ARRAY status{};
        static char tpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version,
                             isc_tpb_nowait};
        isc_start_transaction(status, &handle, 1, db, static_cast<unsigned short>(sizeof tpb), tpb);
        check(status, "starting a transaction");
    }
    void commit() {
        ISC_STATUS_ARRAY status{};
        isc_commit_transaction(status, &handle);
        check(status, "committing");
    }
};

XSQLDA* allocateSqlda(int columns) {
    auto* sqlda = static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(columns)));
    sqlda->version = SQLDA_VERSION1;
    sqlda->sqln = static_cast<ISC_SHORT>(columns);
    return sqlda;
}

std::string readBlob(isc_db_handle* db, isc_tr_handle* tr, ISC_QUAD id) {
    ISC_STATUS_ARRAY status{};
    isc_blob_handle blob = 0;
    isc_open_blob2(status, db, tr, &blob, &id, 0, nullptr);
    check(status, "opening a blob");
    std::string content;
    char segment[8192];
    for (;;) {
        unsigned short length = 0;
        ISC_STATUS result = isc_get_segment(status, &blob, &length, sizeof segment, segment);
        if (result != 0 && result != isc_segment)
            break;
        content.append(segment, length);
    }
    isc_close_blob(status, &blob);
    return content;
}

} // namespace

std::string TestDatabase::server() {
    return requiredEnvironment("CORVELO_TEST_SERVER");
}

std::string TestDatabase::dataDirectory() {
    return requiredEnvironment("CORVELO_TEST_DATA");
}

TestDatabase::TestDatabase() : TestDatabase(SQL_DIALECT_V6) {}

TestDatabase::TestDatabase(int sqlDialect) {
    if (sqlDialect != SQL_DIALECT_V5 && sqlDialect != SQL_DIALECT_V6)
        throw std::invalid_argument("a test database has SQL dialect 1 or 3");
    dialect_ = static_cast<unsigned short>(sqlDialect);
    static std::atomic<int> counter{0};
    path_ = dataDirectory() + "/test-" + std::to_string(getpid()) + "-" + std::to_string(++counter) + ".fdb";
    std::filesystem::copy_file(templatePath(dialect_), path_,
                               std::filesystem::copy_options::overwrite_existing);
    connectString_ = server() + ":" + path_;
    attach();
}

TestDatabase::~TestDatabase() {
    detach();
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}

void TestDatabase::attach() {
    std::string dpb;
    dpb += static_cast<char>(isc_dpb_version1);
    auto add = [&dpb](char tag, const std::string& value) {
        dpb += tag;
        dpb += static_cast<char>(value.size());
        dpb += value;
    };
    add(isc_dpb_user_name, kUser);
    add(isc_dpb_password, kPassword);
    add(isc_dpb_lc_ctype, "WIN1252");
    ISC_STATUS_ARRAY status{};
    isc_db_handle db = 0;
    isc_attach_database(status, 0, connectString_.c_str(), &db, static_cast<short>(dpb.size()), dpb.data());
    check(status, "attaching " + connectString_);
    db_ = db;
}

void TestDatabase::detach() {
    if (!db_)
        return;
    ISC_STATUS_ARRAY status{};
    isc_db_handle db = db_;
    isc_detach_database(status, &db);
    db_ = 0;
}

void TestDatabase::exec(const std::string& sql) {
    isc_db_handle db = db_;
    Transaction tr;
    tr.start(&db);
    ISC_STATUS_ARRAY status{};
    isc_dsql_execute_immediate(status, &db, &tr.handle, 0, sql.c_str(), dialect_, nullptr);
    check(status, "executing " + sql);
    tr.commit();
}

void TestDatabase::exec(const std::vector<std::string>& statements) {
    for (const auto& sql : statements)
        exec(sql);
}

std::vector<TestRow> TestDatabase::query(const std::string& sql) {
    isc_db_handle db = db_;
    Transaction tr;
    tr.start(&db);
    Statement st;
    ISC_STATUS_ARRAY status{};
    isc_dsql_allocate_statement(status, &db, &st.handle);
    check(status, "allocating a statement");

    std::unique_ptr<XSQLDA, decltype(&std::free)> out(allocateSqlda(1), &std::free);
    isc_dsql_prepare(status, &tr.handle, &st.handle, 0, sql.c_str(), dialect_, out.get());
    check(status, "preparing " + sql);
    if (out->sqld > out->sqln) {
        out.reset(allocateSqlda(out->sqld));
        isc_dsql_describe(status, &st.handle, dialect_, out.get());
        check(status, "describing " + sql);
    }

    // Every column except blobs is fetched as text; the server does the conversion.
    const int columns = out->sqld;
    std::vector<std::vector<char>> buffers(columns);
    std::vector<ISC_SHORT> nulls(columns);
    for (int i = 0; i < columns; ++i) {
        XSQLVAR& var = out->sqlvar[i];
        if ((var.sqltype & ~1) == SQL_BLOB) {
            buffers[i].resize(sizeof(ISC_QUAD));
        } else {
            var.sqltype = SQL_VARYING | 1;
            var.sqllen = 32000;
            buffers[i].resize(32000 + sizeof(short));
        }
        var.sqltype |= 1;
        var.sqldata = buffers[i].data();
        var.sqlind = &nulls[i];
    }

    isc_dsql_execute(status, &tr.handle, &st.handle, dialect_, nullptr);
    check(status, "executing " + sql);

    std::vector<TestRow> rows;
    for (;;) {
        ISC_STATUS result = isc_dsql_fetch(status, &st.handle, dialect_, out.get());
        if (result == 100)
            break;
        check(status, "fetching " + sql);
        TestRow row;
        for (int i = 0; i < columns; ++i) {
            XSQLVAR& var = out->sqlvar[i];
            if (nulls[i] < 0) {
                row.emplace_back(std::nullopt);
            } else if ((var.sqltype & ~1) == SQL_BLOB) {
                ISC_QUAD id;
                std::memcpy(&id, var.sqldata, sizeof id);
                row.emplace_back(readBlob(&db, &tr.handle, id));
            } else {
                short length;
                std::memcpy(&length, var.sqldata, sizeof length);
                row.emplace_back(std::string(var.sqldata + sizeof length, static_cast<size_t>(length)));
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<std::string> TestDatabase::scalar(const std::string& sql) {
    auto rows = query(sql);
    if (rows.size() != 1 || rows[0].size() != 1)
        throw std::runtime_error("expected one value from " + sql + ", got " + std::to_string(rows.size()) +
                                 " rows");
    return rows[0][0];
}
