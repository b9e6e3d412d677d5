#pragma once
// The settings of the program's one connection and one transaction.
#include <string>
#include <vector>

class TIBDatabase;
class TIBTransaction;

// The attach parameter lines: Sysdba with its password and the WIN1252
// character set. A user name or password given (not null, not empty) takes
// the place of the built-in one; nothing else changes.
std::vector<std::string> MainConnectionParams(const char* userName, const char* password);

// The parameter lines above, with ISC_USER and ISC_PASSWORD from the
// environment (the client library's own convention for another account), no
// login dialog, dialect 3; the transaction reads committed record versions
// without waiting and commits when it is ended by force (closing the program).
void ConfigureMainConnection(TIBDatabase& connection, TIBTransaction& transaction);
