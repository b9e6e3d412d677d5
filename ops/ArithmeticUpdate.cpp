#include "ops/ArithmeticUpdate.h"

#include "db/TIBQuery.h"
#include "db/TIBTable.h"
#include "ops/OperationHost.h"
#include "util/NumberText.h"

namespace {
const char* sign(ArithmeticOperator op) {
    switch (op) {
    case ArithmeticOperator::Add:
        return "+";
    case ArithmeticOperator::Subtract:
        return "-";
    case ArithmeticOperator::Multiply:
        return "*";
    case ArithmeticOperator::Divide:
        return "/";
    }
    return "+";
}
} // namespace

std::vector<std::string> ArithmeticUpdateLines(const ArithmeticRequest& request) {
    StrToFloat(request.value); // only checked; the typed text is what the server gets
    std::string value = request.value;
    // "-" right before a negative number would start an SQL comment and
    // silently change nothing: a blank keeps it a subtraction.
    if (request.op == ArithmeticOperator::Subtract && !value.empty() && value[0] == '-')
        value = " " + value;
    std::vector<std::string> lines{
        "Update " + request.tableName + " Set",
        request.column + "= " + request.column + sign(request.op) + value,
    };
    if (request.filtered) {
        lines.push_back("WHERE");
        lines.push_back("(" + request.filterText + ")");
    }
    return lines;
}

void RunArithmeticUpdate(const ArithmeticRequest& request, TIBQuery& sql, TIBTable& table,
                         OperationHost& host) {
    const std::vector<std::string> lines = ArithmeticUpdateLines(request);
    sql.ClearSQL();
    for (const std::string& line : lines)
        sql.AddSQL(line);
    sql.Prepare();
    sql.Execute();
    host.CommitStep(&table);
    // Reopened also after a failed commit, so the grid shows what the database holds.
    table.Close();
    table.Open();
}
