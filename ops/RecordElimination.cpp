#include "ops/RecordElimination.h"

#include "db/TIBTable.h"
#include "ops/OperationHost.h"
#include "ops/RowWalk.h"

int DeleteShownRows(TIBTable& table, OperationHost& host) {
    // Delete makes the next row current, so the walk always takes the first
    // one left; every deletion is committed on its own (with rows sent many
    // at a time, every group before any later row is sent).
    RowWalk walk(table, host, RowWalk::Commit::EachRow);
    walk.WhileRowsLeft([&] { table.Delete(); });
    walk.Finish();
    return static_cast<int>(walk.RowsDone());
}

void EmptyTable(TIBTable& table, OperationHost& host) {
    table.DeleteAllRows();
    host.CommitStep(&table);
    table.Close();
}

void EmptyTables(const std::vector<std::string>& tableNames, TIBTable& table, OperationHost& host) {
    table.Close();
    std::int64_t done = 0;
    for (const std::string& name : tableNames) {
        host.StopIfCancelled();
        host.ShowRowsDone(done++);
        host.ShowProgress(EmptyingProgressText(name));
        table.SetTableName(name);
        table.Open();
        table.DeleteAllRows();
        host.CommitStep(&table);
        table.Close();
    }
}

std::string EmptyingProgressText(const std::string& tableName) {
    // Trailing blanks wipe out the longer caption the label had before.
    return tableName + std::string(36, ' ');
}
