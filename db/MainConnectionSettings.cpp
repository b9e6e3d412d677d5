#include "db/MainConnectionSettings.h"

#include "db/TIBDatabase.h"
#include "db/TIBTransaction.h"

void ConfigureMainConnection(TIBDatabase& connection, TIBTransaction& transaction) {
    // Replaced by the user's connect string before every connect.
    connection.SetDatabaseName("10.0.0.1:d:\\VKTWin\\BancoIB\\BancoVKT\\SuporteVKT\\SUPORTEVKT.GDB");
    connection.SetParams({"user_name=Sysdba", "password=lanternix", "lc_ctype=WIN1252"});
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
