#pragma once
// Removing data from the "Arquivo" page: the rows the table shows, one by one;
// the whole open table; or a chosen list of tables. Every deletion is
// committed right after it, so an error part-way leaves the earlier work done.
#include <string>
#include <vector>

class OperationHost;
class TIBTable;

// Deletes every row the table holds (those passing its filter, when one is
// on) from the first on, one at a time, with a commit step after each row.
// The table stays open, empty. Returns the number of rows deleted.
int DeleteShownRows(TIBTable& table, OperationHost& host);

// Deletes all rows of the table it names with one statement, runs the commit
// step, then closes the table.
void EmptyTable(TIBTable& table, OperationHost& host);

// Closes the table, then empties each named table in turn: shows its name as
// progress, points the table at it, opens it, deletes all rows, commits and
// closes. The first error ends it, leaving the rest untouched.
void EmptyTables(const std::vector<std::string>& tableNames, TIBTable& table, OperationHost& host);

// The progress line shown while a table is being emptied.
std::string EmptyingProgressText(const std::string& tableName);
