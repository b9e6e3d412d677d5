#include "db/BatchStatements.h"

#include "util/AnsiText.h"

namespace {

// The procedure's own names; the row's parameters take the names the
// statements use, so these must not be among them.
constexpr const char* kPrefix = "CORVELO$";
constexpr const char* kRefreshFlag = "CORVELO$R";
constexpr const char* kFound = "CORVELO$F";

std::string output(std::size_t column) {
    return "CORVELO$O" + std::to_string(column + 1);
}

std::string rowName(const char* letter, int row) {
    return letter + std::to_string(row);
}

std::string rowName(const char* letter, int row, std::size_t column) {
    return letter + std::to_string(row) + "_" + std::to_string(column + 1);
}

// Row `row`'s call, run only while no row before it failed. A failing row's
// work is undone by the server at the end of its own block, the rows before
// it stay done, and the rows after it are not run: FAILED tells which one.
std::string guardedRow(int row, const std::string& call) {
    const std::string number = std::to_string(row);
    return "IF (FAILED = 0 AND N >= " + number + ") THEN\nBEGIN\n" + call +
           ";\nWHEN ANY DO FAILED = " + number + ";\nEND\n";
}

} // namespace

bool IsBatchReservedName(const std::string& name) {
    return AnsiUpperCase(name).rfind(kPrefix, 0) == 0;
}

std::string ModifyBatchSQL(const ModifyBatchShape& shape, int rows) {
    const bool reread = !shape.RefreshSQL.empty();
    std::string sql = "EXECUTE BLOCK (N INTEGER = ?";
    for (int row = 1; row <= rows; ++row) {
        sql += ", " + rowName("R", row) + " SMALLINT = ?";
        for (std::size_t i = 0; i < shape.Params.size(); ++i)
            sql += ", " + rowName("P", row, i) + " " + shape.Params[i].Type + " = ?";
    }
    sql += ")\nRETURNS (FAILED INTEGER";
    if (reread) {
        for (int row = 1; row <= rows; ++row) {
            sql += ", " + rowName("F", row) + " INTEGER";
            for (std::size_t i = 0; i < shape.RefreshTypes.size(); ++i)
                sql += ", " + rowName("O", row, i) + " " + shape.RefreshTypes[i];
        }
    }
    sql += ")\nAS\nDECLARE PROCEDURE CORVELO$W (" + std::string(kRefreshFlag) + " SMALLINT";
    for (const BatchDeclaration& param : shape.Params)
        sql += ", " + param.Name + " " + param.Type;
    sql += ")\n";
    if (reread) {
        sql += "RETURNS (" + std::string(kFound) + " INTEGER";
        for (std::size_t i = 0; i < shape.RefreshTypes.size(); ++i)
            sql += ", " + output(i) + " " + shape.RefreshTypes[i];
        sql += ")\n";
    }
    sql += "AS\nBEGIN\n" + shape.ModifySQL + ";\n";
    if (reread) {
        sql += std::string(kFound) + " = 0;\nIF (" + kRefreshFlag + " = 1) THEN\nBEGIN\n" + shape.RefreshSQL +
               "\nINTO ";
        for (std::size_t i = 0; i < shape.RefreshTypes.size(); ++i)
            sql += std::string(i ? ", " : "") + ":" + output(i);
        sql += ";\n" + std::string(kFound) + " = ROW_COUNT;\nEND\n";
    }
    sql += "END\nBEGIN\nFAILED = 0;\n";
    for (int row = 1; row <= rows; ++row) {
        std::string call = "EXECUTE PROCEDURE CORVELO$W(:" + rowName("R", row);
        for (std::size_t i = 0; i < shape.Params.size(); ++i)
            call += ", :" + rowName("P", row, i);
        call += ")";
        if (reread) {
            call += " RETURNING_VALUES :" + rowName("F", row);
            for (std::size_t i = 0; i < shape.RefreshTypes.size(); ++i)
                call += ", :" + rowName("O", row, i);
        }
        sql += guardedRow(row, call);
    }
    return sql + "SUSPEND;\nEND";
}

std::string DeleteBatchSQL(const std::string& deleteSQL, const BatchDeclaration& key, int rows) {
    std::string sql = "EXECUTE BLOCK (N INTEGER = ?";
    for (int row = 1; row <= rows; ++row)
        sql += ", " + rowName("K", row) + " " + key.Type + " = ?";
    sql += ")\nRETURNS (FAILED INTEGER)\nAS\nDECLARE PROCEDURE CORVELO$D (" + key.Name + " " + key.Type +
           ")\nAS\nBEGIN\n" + deleteSQL + ";\nEND\nBEGIN\nFAILED = 0;\n";
    for (int row = 1; row <= rows; ++row)
        sql += guardedRow(row, "EXECUTE PROCEDURE CORVELO$D(:" + rowName("K", row) + ")");
    return sql + "SUSPEND;\nEND";
}
