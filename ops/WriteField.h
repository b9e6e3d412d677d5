#pragma once
// The "Grava Campo" page: row walks over the open table that rewrite, sum or
// count one column, and one UPDATE that sets the column to a constant.
//
// The walks see exactly the rows the table shows (its filter and order). The
// column is looked up by name at every access, never kept, so each access
// fails alike when the name is unknown. Errors end an operation at once;
// rows already posted stay in the open transaction, uncommitted.
#include <cstdint>
#include <string>
#include <vector>

class OperationHost;
class TIBQuery;
class TIBTable;

// Every row: its text without accents (TiraAcento), then the commit step.
void StripAccents(TIBTable& table, const std::string& column, OperationHost& host);

// Every row, in shown order, gets the next number from `startText` on, then
// the commit step. A start text that is not an integer fails before any row
// is touched.
void Renumber(TIBTable& table, const std::string& column, const std::string& startText, OperationHost& host);

struct ConstantUpdateRequest {
    std::string tableName;  // the table-name box, as typed
    std::string column;     // as typed
    std::string value;      // as typed; its apostrophes are doubled in the literal
    bool filtered = false;  // the table's Filtered flag
    std::string filterText; // the filter box, as typed
};

// The statement's lines.
std::vector<std::string> ConstantUpdateLines(const ConstantUpdateRequest& request);

// Builds the statement into `sql`, prepares and executes it, runs the commit
// step for the table, then closes and reopens the table.
void RunConstantUpdate(const ConstantUpdateRequest& request, TIBQuery& sql, TIBTable& table,
                       OperationHost& host);

// What "Soma Campo" adds up; Other visits every row and reads nothing.
enum class SumKind { Integer, Currency, Float, Other };

// The total as the page shows it: the integer total (32-bit, wrapping) for
// Integer, else the real total as number text.
std::string SumColumn(TIBTable& table, const std::string& column, SumKind kind, OperationHost& host);

// One currency step of the real total: (total * 10000 + scaled) / 10000 in
// extended precision.
double AddCurrency(double total, std::int64_t scaled);

// Rows the table shows.
std::int32_t CountRows(TIBTable& table, OperationHost& host);

// Every row's value as a number, left-filled with zeros to the width in
// `widthText` (converted anew for each row), then the commit step.
void FillWithZeros(TIBTable& table, const std::string& column, const std::string& widthText,
                   OperationHost& host);
