// The connection against the test server: attaching, detaching, the dialect,
// the refused changes and the catalogue's table list.
#include "DbTestSupport.h"
#include "db/TIBSQL.h"

#include <ibase.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::string attachmentCount(TestDatabase& db) {
    return *db.scalar("select count(*) from mon$attachments where mon$system_flag = 0");
}

// Attaching the connection to `name` with the main window's parameters must
// fail with a server error; returns it.
EIBInterBaseError attachFailure(const std::string& name,
                                std::vector<std::string> params = kMainWindowParams) {
    TIBDatabase connection;
    connection.SetDatabaseName(name);
    connection.SetParams(std::move(params));
    try {
        connection.SetConnected(true);
    } catch (const EIBInterBaseError& e) {
        EXPECT_FALSE(connection.Connected());
        return e;
    }
    throw std::logic_error("attached to " + name);
}

} // namespace

TEST(Connection, AttachesOnceAndDetachesOnce) {
    MainWindowConnection c;
    EXPECT_FALSE(c.connection.Connected());
    EXPECT_EQ(attachmentCount(c.db), "1");

    c.connection.SetConnected(true);
    c.connection.SetConnected(true);
    EXPECT_TRUE(c.connection.Connected());
    EXPECT_EQ(attachmentCount(c.db), "2");
    EXPECT_EQ(c.connection.DBSQLDialect(), 3);
    EXPECT_EQ(c.connection.SQLDialect(), 3);

    c.connection.SetConnected(false);
    c.connection.SetConnected(false);
    EXPECT_FALSE(c.connection.Connected());
    EXPECT_EQ(attachmentCount(c.db), "1");
    EXPECT_EQ(c.connection.DBSQLDialect(), 1);
}

TEST(Connection, ChangesRefusedWhileAttached) {
    MainWindowConnection c;
    c.connection.SetConnected(true);
    EXPECT_CLIENT_ERROR(c.connection.SetParams({"user_name=Sysdba"}), 16,
                        "Cannot perform operation -- DB is currently open");
    EXPECT_CLIENT_ERROR(c.connection.SetDatabaseName("elsewhere"), 16,
                        "Cannot perform operation -- DB is currently open");
    EXPECT_NO_THROW(c.connection.SetDatabaseName(c.db.connectString()));
    EXPECT_NO_THROW(c.connection.SetParams(kMainWindowParams));
    EXPECT_EQ(c.connection.Params(), kMainWindowParams);
    EXPECT_CLIENT_ERROR(c.connection.SetIdleTimer(-1), 20, "Timeout values cannot be negative");
    EXPECT_CLIENT_ERROR(c.connection.SetSQLDialect(0), 87, "SQL Dialect Invalid");
}

TEST(Connection, ParamsChangedWhileDetachedAreUsedAtTheNextAttach) {
    MainWindowConnection c;
    c.connection.SetParams({"user_name=Sysdba", "password=wrong"});
    EXPECT_THROW(c.connection.SetConnected(true), EIBInterBaseError);
    c.connection.SetParams(kMainWindowParams);
    c.connection.SetConnected(true);
    EXPECT_TRUE(c.connection.Connected());
}

TEST(Connection, DialectOneDatabaseLowersTheClientDialect) {
    MainWindowConnection c(1);
    c.connection.SetConnected(true);
    EXPECT_EQ(c.connection.DBSQLDialect(), 1);
    EXPECT_EQ(c.connection.SQLDialect(), 1);
    EXPECT_CLIENT_ERROR(c.connection.SetSQLDialect(3), 87, "SQL Dialect Invalid");
    c.connection.SetConnected(false);
    // Detached, any dialect from 1 up may be asked for again.
    EXPECT_NO_THROW(c.connection.SetSQLDialect(3));
}

TEST(ConnectionErrors, WrongPassword) {
    TestDatabase db;
    auto e = attachFailure(db.connectString(), {"user_name=Sysdba", "password=errada", "lc_ctype=WIN1252"});
    EXPECT_EQ(e.SQLCode(), -902);
    EXPECT_EQ(e.IBErrorCode(), isc_login);
    EXPECT_EQ(e.Message(),
              "Your user name and password are not defined. Ask your database administrator to set up "
              "a Firebird login");
}

TEST(ConnectionErrors, MissingDatabaseFile) {
    const std::string path = TestDatabase::dataDirectory() + "/no-such-file.fdb";
    auto e = attachFailure(TestDatabase::server() + ":" + path);
    EXPECT_EQ(e.SQLCode(), -902);
    EXPECT_EQ(e.IBErrorCode(), isc_io_error);
    EXPECT_EQ(e.Message(), "I/O error during \"open\" operation for file \"" + path +
                               "\"\r\nError while trying to open file\r\nNo such file or directory");
}

TEST(ConnectionErrors, UnreachableServer) {
    auto e = attachFailure("127.0.0.1/1:/tmp/x.fdb");
    EXPECT_EQ(e.SQLCode(), -902);
    EXPECT_EQ(e.IBErrorCode(), isc_network_error);
    // Inner texts keep their dots; only the last one goes.
    EXPECT_EQ(e.Message(),
              "Unable to complete network request to host \"127.0.0.1\".\r\nFailed to establish a "
              "connection");
}

TEST(ConnectionErrors, EmptyNameAndUnknownParameterLeaveItDetached) {
    TIBDatabase connection;
    EXPECT_CLIENT_ERROR(connection.SetConnected(true), 17, "Database name is missing");
    connection.SetDatabaseName("127.0.0.1:/tmp/x.fdb");
    connection.SetParams({"user_name=Sysdba", " password=lanternix"});
    EXPECT_CLIENT_ERROR(connection.SetConnected(true), 114, "DPB Constant ( password) is unknown");
    EXPECT_FALSE(connection.Connected());
}

TEST(ListTableNames, UserTablesSortedWithoutViewsSystemTablesOrPadding) {
    MainWindowConnection c;
    c.db.exec({"CREATE TABLE PRODUTOS (ID INTEGER)", "CREATE TABLE CLIENTES (ID INTEGER)",
               "CREATE TABLE \"Pedidos Antigos\" (ID INTEGER)",
               "CREATE VIEW V_CLIENTES AS SELECT ID FROM CLIENTES"});
    std::vector<std::string> names{"left over"};
    // Attaches by itself and leaves no catalogue transaction behind.
    c.connection.ListTableNames(names, false);
    EXPECT_EQ(names, (std::vector<std::string>{"CLIENTES", "PRODUTOS", "Pedidos Antigos"}));
    EXPECT_TRUE(c.connection.Connected());
    EXPECT_FALSE(c.connection.InternalTransaction().IsStarted());
    EXPECT_FALSE(c.transaction.IsStarted());

    c.connection.ListTableNames(names, true);
    EXPECT_NE(std::find(names.begin(), names.end(), "RDB$RELATIONS"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "CLIENTES"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "V_CLIENTES"), names.end());
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
}

TEST(ListTableNames, EmptyDatabaseGivesAnEmptyList) {
    MainWindowConnection c;
    std::vector<std::string> names{"left over"};
    c.connection.ListTableNames(names, false);
    EXPECT_TRUE(names.empty());
}

TEST(ListTableNames, RunsBesideTheUsersStartedTransaction) {
    MainWindowConnection c;
    c.connection.SetConnected(true);
    c.transaction.Start();
    TIBSQL create(&c.connection, &c.transaction);
    create.SetSQL("CREATE TABLE NOVA (ID INTEGER)");
    create.ExecQuery();
    c.transaction.CommitRetaining();
    std::vector<std::string> names;
    c.connection.ListTableNames(names, false);
    EXPECT_EQ(names, std::vector<std::string>{"NOVA"});
    EXPECT_TRUE(c.transaction.IsStarted());
}
