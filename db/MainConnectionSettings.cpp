#include "db/MainConnectionSettings.h"

#include "db/TIBDatabase.h"
#include "db/TIBTransaction.h"

#include <cstdlib>
#include <string>

namespace {

// The value of an environment variable, or the built-in one when it is unset or empty.
std::string environmentOr(const char* name, const char* builtIn) {
    const char* value = std::getenv(name);
    return value && *value ? value : builtIn;
}

} // namespace

void ConfigureMainConnection(TIBDatabase& connection, TIBTransaction& transaction) {
    // Replaced by the user's connect string before every connect.
    connection.SetDatabaseName("10.0.0.1:d:\\VKTWin\\BancoIB\\BancoVKT\\SuporteVKT\\SUPORTEVKT.GDB");
    // The servers visited do not all keep the built-in password.
    connection.SetParams({"user_name=" + environmentOr("ISC_USER", "Sysdba"),
                          "password=" + environmentOr("ISC_PASSWORD", "lanternix"), "lc_ctype=WIN1252"});
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
