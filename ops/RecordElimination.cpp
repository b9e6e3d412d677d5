#include "ops/RecordElimination.h"

#include "db/TIBTable.h"
#include "ops/ControlsHeldBack.h"
#include "ops/OperationHost.h"

int DeleteShownRows(TIBTable& table, OperationHost& host) {
    ControlsHeldBack heldBack(table);
    int deleted = 0;
    table.First();
    while (!table.Eof()) {
        // Delete makes the next row current, so the loop always takes the first one left.
        table.Delete();
        ++deleted;
        host.CommitStep(&table);
        host.ShowRowsDone(deleted);
    }
    heldBack.Release();
    return deleted;
}

void EmptyTable(TIBTable& table, OperationHost& host) {
    table.DeleteAllRows();
    host.CommitStep(&table);
    table.Close();
}

void EmptyTables(const std::vector<std::string>& tableNames, TIBTable& table, OperationHost& host) {
    table.Close();
    for (const std::string& name : tableNames) {
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
