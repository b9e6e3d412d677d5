#pragma once
// A table dataset set up as the main window's `table`, over a fresh database.
#include "DbTestSupport.h"
#include "db/TIBTable.h"

#include <gtest/gtest.h>

#include <exception>
#include <string>

// A table of every column type the layer maps, and two that it does not.
inline const char* const kAllTypesTable =
    "CREATE TABLE ALLTYPES (ID INTEGER NOT NULL PRIMARY KEY, VC VARCHAR(10), CH CHAR(6), "
    "DP DOUBLE PRECISION, FL FLOAT, NI NUMERIC(9,2), NS NUMERIC(4,1), NB NUMERIC(15,2), NF NUMERIC(18,6), "
    "SI SMALLINT, BI BIGINT, TS TIMESTAMP, DT DATE, TM TIME, MEMO BLOB SUB_TYPE 1, BIN BLOB SUB_TYPE 0, "
    "ARR INTEGER[3], CC COMPUTED BY (ID * 2))";

struct TableFixture : MainWindowConnection {
    explicit TableFixture(int sqlDialect = 3) : MainWindowConnection(sqlDialect) {}

    void open(const std::string& tableName) {
        table.SetTableName(tableName);
        table.Open();
    }
    TField& field(const std::string& name) { return *table.FieldNamed(name); }
    // What another attachment sees once the work so far is committed (retaining).
    std::optional<std::string> committed(const std::string& sql) {
        transaction.CommitRetaining();
        return db.scalar(sql);
    }

    TIBTable table{"table", &connection, &transaction};
};

// The message of what `action` raises, "(no error)" when it raises nothing.
template <class Error = std::exception, class F> std::string ErrorOf(F&& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "(no error)";
}
