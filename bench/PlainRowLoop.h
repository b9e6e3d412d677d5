#pragma once
// The row loop a hand-written program would run with the client library, the
// limit the program's row walks are measured against. It sends, for every
// row, the same statements the program's row-by-row path sends: the update of
// every column by the row's key and the re-read of the row by its key (or the
// delete by key), plus a commit retaining per row when asked, and one at the
// end. The rows come from "select T.*, RDB$DB_KEY from T order by <order>".
#include <functional>
#include <string>
#include <vector>

#include <ibase.h>

struct PlainLoopResult {
    long rows = 0;
    double seconds = 0; // from the first prepare to the last commit
};

// One fetched row: its values as the select described them, changed in place.
class PlainRow {
public:
    explicit PlainRow(XSQLDA& row) : row_(row) {}
    int Integer(int column) const;
    void SetInteger(int column, int value);
    std::string Text(int column) const; // VARCHAR and CHAR
    void SetText(int column, const std::string& value);

private:
    XSQLDA& row_;
};

class PlainRowLoop {
public:
    // Attached and started as the program does (Sysdba, WIN1252, read
    // committed, no wait), through `connectString`.
    explicit PlainRowLoop(const std::string& connectString);
    ~PlainRowLoop();
    PlainRowLoop(const PlainRowLoop&) = delete;
    PlainRowLoop& operator=(const PlainRowLoop&) = delete;

    // Every row: `change`, update by key, re-read by key [, commit retaining].
    PlainLoopResult Update(const std::string& table, const std::string& order,
                           const std::function<void(PlainRow&)>& change, bool commitEachRow);
    // Every row: delete by key [, commit retaining].
    PlainLoopResult Delete(const std::string& table, const std::string& order, bool commitEachRow);

private:
    PlainLoopResult run(const std::string& table, const std::string& order,
                        const std::function<void(PlainRow&)>* change, bool commitEachRow);

    isc_db_handle db_ = 0;
    isc_tr_handle tr_ = 0;
};
