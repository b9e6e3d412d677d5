#include "ops/WriteField.h"

#include <limits>

#include "db/TIBQuery.h"
#include "db/TIBTable.h"
#include "ops/OperationHost.h"
#include "ops/RowWalk.h"
#include "util/Exceptions.h"
#include "util/NumberText.h"
#include "util/TextUtils.h"

namespace {

// First, then the body and Next until Eof, telling the host how far it got;
// the rows a walk writes are committed at its end by the caller.
template <typename Body> void walkRows(TIBTable& table, OperationHost& host, Body body) {
    RowWalk walk(table, host, RowWalk::Commit::AtEnd);
    walk.ForEachRow(body);
    walk.Finish();
}

// 32-bit arithmetic that wraps instead of overflowing.
std::int32_t wrappingAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

std::string quotedLiteral(const std::string& value) {
    std::string quoted = "'";
    for (char c : value) {
        quoted += c;
        if (c == '\'')
            quoted += '\'';
    }
    return quoted + "'";
}

} // namespace

void StripAccents(TIBTable& table, const std::string& column, OperationHost& host) {
    walkRows(table, host, [&] {
        table.Edit();
        const std::string text = TiraAcento(table.FieldNamed(column)->AsString());
        table.FieldNamed(column)->SetAsString(text);
        table.Post();
    });
    host.CommitStep(&table);
}

void Renumber(TIBTable& table, const std::string& column, const std::string& startText, OperationHost& host) {
    std::int64_t counter = StrToInt(startText);
    walkRows(table, host, [&] {
        // A number past the largest integer would wrap to the most negative
        // one; the walk stops there instead of writing it.
        if (counter > std::numeric_limits<std::int32_t>::max())
            throw Exception("Integer overflow");
        table.Edit();
        table.FieldNamed(column)->SetAsInteger(static_cast<std::int32_t>(counter));
        table.Post();
        ++counter;
    });
    host.CommitStep(&table);
}

std::vector<std::string> ConstantUpdateLines(const ConstantUpdateRequest& request) {
    // Doubled apostrophes: the column gets exactly the typed text, and a typed
    // quote cannot end the literal and write other columns.
    std::vector<std::string> lines{
        "Update " + request.tableName + " Set",
        request.column + "= " + quotedLiteral(request.value),
    };
    if (request.filtered) {
        lines.push_back("WHERE");
        lines.push_back("(" + request.filterText + ")");
    }
    return lines;
}

void RunConstantUpdate(const ConstantUpdateRequest& request, TIBQuery& sql, TIBTable& table,
                       OperationHost& host) {
    sql.ClearSQL();
    for (const std::string& line : ConstantUpdateLines(request))
        sql.AddSQL(line);
    sql.Prepare();
    sql.Execute();
    host.CommitStep(&table);
    // Reopened also after a failed commit, so the grid shows what the database holds.
    table.Close();
    table.Open();
}

double AddCurrency(double total, std::int64_t scaled) {
    return static_cast<double>((static_cast<long double>(total) * 10000 + scaled) / 10000);
}

std::string SumColumn(TIBTable& table, const std::string& column, SumKind kind, OperationHost& host) {
    std::int32_t integerTotal = 0;
    double realTotal = 0;
    walkRows(table, host, [&] {
        switch (kind) {
        case SumKind::Integer:
            integerTotal = wrappingAdd(integerTotal, table.FieldNamed(column)->AsInteger());
            break;
        case SumKind::Currency:
            realTotal = AddCurrency(realTotal, table.FieldNamed(column)->AsCurrency());
            break;
        case SumKind::Float:
            realTotal += table.FieldNamed(column)->AsFloat();
            break;
        case SumKind::Other:
            break;
        }
    });
    return kind == SumKind::Integer ? IntToStr(integerTotal) : FloatToStr(realTotal);
}

std::int32_t CountRows(TIBTable& table, OperationHost& host) {
    std::int32_t count = 0;
    walkRows(table, host, [&] { count = wrappingAdd(count, 1); });
    return count;
}

void FillWithZeros(TIBTable& table, const std::string& column, const std::string& widthText,
                   OperationHost& host) {
    walkRows(table, host, [&] {
        const std::int32_t number = StrToInt("0" + table.FieldNamed(column)->AsString());
        table.Edit();
        const std::int32_t width = StrToInt(widthText);
        table.FieldNamed(column)->SetAsString(StrZeros(number, width));
        table.Post();
    });
    host.CommitStep(&table);
}
