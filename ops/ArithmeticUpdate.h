#pragma once
// The "+  -  * / " page: one UPDATE that applies an operation with a constant
// to a column, restricted by the table's filter when it is on.
#include <string>
#include <vector>

class OperationHost;
class TIBQuery;
class TIBTable;

enum class ArithmeticOperator { Add, Subtract, Multiply, Divide };

struct ArithmeticRequest {
    std::string tableName; // the table-name box, as typed
    std::string column;    // as typed, used twice
    ArithmeticOperator op = ArithmeticOperator::Add;
    std::string value;      // as typed; must read as a floating-point number
    bool filtered = false;  // the table's Filtered flag
    std::string filterText; // the filter box, as typed
};

// The statement's lines. Raises "'%s' is not a valid floating point value"
// for a value that is not a number, before anything else.
std::vector<std::string> ArithmeticUpdateLines(const ArithmeticRequest& request);

// Builds the statement into `sql`, prepares and executes it, runs the commit
// step for the table, then closes and reopens the table. Errors end it at
// once; nothing after the failing step runs.
void RunArithmeticUpdate(const ArithmeticRequest& request, TIBQuery& sql, TIBTable& table,
                         OperationHost& host);
