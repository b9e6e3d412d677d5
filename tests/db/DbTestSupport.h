#pragma once
// A connection and a transaction set up as the main window sets up its own,
// on a fresh database of the test server.
#include "db/DatabaseErrors.h"
#include "db/MainConnectionSettings.h"
#include "db/TIBDatabase.h"
#include "db/TIBTransaction.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

inline const std::vector<std::string> kMainWindowParams = {"user_name=Sysdba", "password=lanternix",
                                                           "lc_ctype=WIN1252"};
inline const std::vector<std::string> kMainWindowTransactionParams = {"read_committed", "rec_version",
                                                                      "nowait"};

inline void ConfigureLikeMainWindow(TIBDatabase& connection, TIBTransaction& transaction,
                                    const std::string& databaseName) {
    ConfigureMainConnection(connection, transaction);
    connection.SetDatabaseName(databaseName);
}

// Member order matters: the transaction goes first, then the connection, then the file.
struct MainWindowConnection {
    explicit MainWindowConnection(int sqlDialect = 3) : db(sqlDialect) {
        ConfigureLikeMainWindow(connection, transaction, db.connectString());
    }
    TestDatabase db;
    TIBDatabase connection;
    TIBTransaction transaction;
};

// Runs a statement and expects the layer's own error with this code and message.
#define EXPECT_CLIENT_ERROR(statement, code, message)                                                        \
    do {                                                                                                     \
        try {                                                                                                \
            statement;                                                                                       \
            ADD_FAILURE() << "no error from " #statement;                                                    \
        } catch (const EIBClientError& e) {                                                                  \
            EXPECT_EQ(e.SQLCode(), code);                                                                    \
            EXPECT_EQ(e.Message(), message);                                                                 \
        }                                                                                                    \
    } while (0)
