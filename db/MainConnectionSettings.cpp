#include "db/MainConnectionSettings.h"

#include "db/TIBDatabase.h"
#include "db/TIBTransaction.h"

#include <cstdlib>

namespace {

const char* givenOr(const char* given, const char* builtIn) {
    return given && *given ? given : builtIn;
}

} // namespace

std::vector<std::string> MainConnectionParams(const char* userName, const char* password) {
    return {std::string("user_name=") + givenOr(userName, "Sysdba"),
            std::string("password=") + givenOr(password, "lanternix"), "lc_ctype=WIN1252"};
}

void ConfigureMainConnection(TIBDatabase& connection, TIBTransaction& transaction) {
    // Replaced by the user's connect string before every connect.
    connection.SetDatabaseName("10.0.0.1:d:\\VKTWin\\BancoIB\\BancoVKT\\SuporteVKT\\SUPORTEVKT.GDB");
    // The servers visited do not all keep the built-in password.
    connection.SetParams(MainConnectionParams(std::getenv("ISC_USER"), std::getenv("ISC_PASSWORD")));
    connection.SetLoginPrompt(false);
    connection.SetDefaultTransaction(&transaction);
    connection.SetIdleTimer(0);
    connection.SetSQLDialect(3);
    transaction.SetDefaultDatabase(&connection);
    transaction.SetDefaultAction(TACommitRetaining);
    transaction.SetParams({"read_committed", "rec_version", "nowait"});
    transaction.SetAutoStopAction(saNone);
    transaction.SetIdleTimer(0);
}
