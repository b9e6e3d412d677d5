#pragma once
// The settings of the program's one connection and one transaction.
class TIBDatabase;
class TIBTransaction;

// Sysdba with its password and the WIN1252 character set, no login dialog,
// dialect 3; the transaction reads committed record versions without waiting
// and commits when it is ended by force (closing the program). ISC_USER and
// ISC_PASSWORD, the client library's own convention for another account,
// each replace the built-in value when set and not empty; nothing else changes.
void ConfigureMainConnection(TIBDatabase& connection, TIBTransaction& transaction);
