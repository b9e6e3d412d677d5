#include "db/TIBTable.h"

#include "db/Catalogue.h"
#include "db/DatabaseErrors.h"
#include "db/Identifiers.h"
#include "db/TIBDatabase.h"
#include "db/TIBSQL.h"
#include "db/TIBTransaction.h"
#include "db/TableStatements.h"
#include "util/AnsiText.h"
#include "util/NumberText.h"

#include <set>

namespace {

// Column types as the catalogue codes them, to the client library's codes.
int columnTypeOfCatalogue(int catalogueType) {
    switch (catalogueType) {
    case 7:
        return sctSmallint;
    case 8:
        return sctInteger;
    case 9:
        return sctQuad;
    case 10:
        return sctFloat;
    case 11:
        return sctDFloat;
    case 12:
        return sctDate;
    case 13:
        return sctTime;
    case 14:
        return sctChar;
    case 16:
        return sctInt64;
    case 27:
        return sctDouble;
    case 35:
        return sctTimestamp;
    case 37:
    case 40:
        return sctVarchar;
    case 261:
        return sctBlob;
    default:
        return 0;
    }
}

int integerOf(const std::optional<std::string>& text) {
    return text ? StrToInt(Trim(*text)) : 0;
}

} // namespace

TIBTable::TIBTable(std::string name, TIBDatabase* database, TIBTransaction* transaction)
    : TIBCustomDataSet(std::move(name), database, transaction) {}

int TIBTable::dialect() const {
    return Database() ? Database()->SQLDialect() : 3;
}

std::string TIBTable::quotedTableName() const {
    return QuoteIdentifier(dialect(), tableName_);
}

void TIBTable::SetTableName(const std::string& name) {
    if (name == tableName_)
        return;
    if (Active())
        DataSetError("Cannot perform this operation on an open dataset");
    // The prepared statements describe the old table.
    FreeStatements();
    SetModifyingSQL({}, {}, {}, {});
    selectSQL_.clear();
    refreshSQL_.clear();
    modifySQL_.clear();
    deleteSQL_.clear();
    insertSQL_.clear();
    regenerate_ = true;
    tableName_ = name;
    indexName_.clear();
    indexFieldNames_.clear();
    primaryKeyFields_.clear();
    indexDefs_.clear();
    indexDefsValid_ = false;
    closedFieldDefsValid_ = false;
}

void TIBTable::SetFiltered(bool filtered) {
    if (filtered == filtered_)
        return;
    filtered_ = filtered;
    regenerate_ = true;
    if (Active())
        Requery();
}

void TIBTable::SetFilter(const std::string& filter) {
    if (filtered_ && filter != filter_) {
        filter_ = filter;
        regenerate_ = true;
        Requery();
        return;
    }
    if (filter != filter_)
        regenerate_ = true;
    filter_ = filter;
}

void TIBTable::SetIndexFieldNames(const std::string& names) {
    if (Active())
        SettleEdit();
    if (names == indexFieldNames_ && indexName_.empty())
        return;
    indexFieldNames_ = names;
    indexName_.clear();
    regenerate_ = true;
    if (Active())
        Requery();
}

void TIBTable::SetIndexName(const std::string& name) {
    if (Active())
        SettleEdit();
    if (name == indexName_ && indexFieldNames_.empty())
        return;
    indexName_ = name;
    indexFieldNames_.clear();
    regenerate_ = true;
    if (Active())
        Requery();
}

void TIBTable::SetDefaultIndex(bool value) {
    if (value == defaultIndex_)
        return;
    defaultIndex_ = value;
    regenerate_ = true;
}

void TIBTable::SetReadOnly(bool value) {
    if (value == readOnly_)
        return;
    readOnly_ = value;
    regenerate_ = true;
}

bool TIBTable::CanModify() const {
    return !readOnly_ && !tableName_.empty() && !systemTable_ && !multiTable_;
}

void TIBTable::CheckOpenable() {
    if (tableName_.empty())
        throw EDatabaseError("No Table Name assigned");
}

void TIBTable::PrepareCursor() {
    if (regenerate_ || !StatementPrepared()) {
        FreeStatements();
        generateStatements();
        regenerate_ = false;
    }
}

void TIBTable::CatalogueChanged() noexcept {
    indexDefsValid_ = false;
    closedFieldDefsValid_ = false;
}

void TIBTable::AfterClose() {
    // Every open generates the statements again and rereads the indexes.
    regenerate_ = true;
    indexDefsValid_ = false;
    closedFieldDefsValid_ = false;
}

std::string TIBTable::orderList() const {
    if (!indexFieldNames_.empty())
        return OrderByList(dialect(), indexFieldNames_);
    if (!indexName_.empty()) {
        for (const TIndexDef& index : indexDefs_) {
            if (index.Name != indexName_)
                continue;
            // Each field quoted on its own, with the direction outside the quotes.
            std::string list;
            std::size_t start = 0;
            for (;;) {
                const std::size_t end = index.Fields.find(';', start);
                if (!list.empty())
                    list += ", ";
                list += QuoteIdentifier(dialect(), Trim(index.Fields.substr(start, end - start)));
                if (index.Descending)
                    list += " DESC";
                if (end == std::string::npos)
                    break;
                start = end + 1;
            }
            return list;
        }
        DataSetError("Index '" + indexName_ + "' not found");
    }
    if (defaultIndex_ && !primaryKeyFields_.empty())
        return OrderByList(dialect(), primaryKeyFields_);
    return {};
}

void TIBTable::generateStatements() {
    if (!Database()->Connected())
        RaiseClientError(IBClientErrorCode::DatabaseClosed);
    if (!Transaction()->IsStarted())
        RaiseClientError(IBClientErrorCode::NotInTransaction);
    // The catalogue reads of one generation share one internal transaction.
    CatalogueSession session(*Database());
    if (!indexDefsValid_)
        readIndexDefs();

    const std::string table = quotedTableName();
    selectSQL_ = TableSelectSQL(table, filtered_ ? filter_ : std::string(), orderList());
    refreshSQL_ = TableRefreshSQL(table);
    modifySQL_.clear();
    deleteSQL_.clear();
    insertSQL_.clear();
    SetModifyingSQL({}, {}, {}, {});
    PrepareStatement(selectSQL_);

    if (readOnly_)
        return;
    if (!readUpdatable()) {
        readOnly_ = true;
        return;
    }
    std::vector<std::string> writable;
    for (const TFieldDef& def : TIBCustomDataSet::FieldDefs())
        if (!def.Calculated && !def.ReadOnly && def.DataType != ftUnknown)
            writable.push_back(QuoteIdentifier(dialect(), def.Name));
    deleteSQL_ = TableDeleteSQL(table);
    insertSQL_ = TableInsertSQL(table, writable);
    modifySQL_ = TableModifySQL(table, writable);
    SetModifyingSQL(refreshSQL_, modifySQL_, insertSQL_, deleteSQL_);
}

bool TIBTable::PrepareWriting() {
    if (readOnly_)
        return false;
    try {
        PrepareModifyingStatements();
    } catch (const EIBInterBaseError& error) {
        // A broken link says nothing about the statements: the user sees the
        // library's text, and the next try (after reconnecting) prepares again.
        if (IsLostConnection(error))
            throw;
        // The server will not take them: the table is read only, quietly.
        readOnly_ = true;
        SetModifyingSQL({}, {}, {}, {});
        return false;
    }
    return true;
}

bool TIBTable::readUpdatable() {
    const std::string stored = StoredIdentifier(quotedTableName());
    TTableFacts& facts = Database()->RelationFields().Table(stored);
    if (!facts.SystemFlag) {
        const auto rows = CatalogueQuery(*Database(), TableUpdatableSQL(stored));
        if (rows.empty())
            return false;
        facts.SystemFlag = integerOf(rows[0][0]);
        facts.DBKeyLength = integerOf(rows[0][1]);
    }
    systemTable_ = *facts.SystemFlag != 0;
    multiTable_ = *facts.DBKeyLength != 8;
    return !systemTable_ && !multiTable_;
}

void TIBTable::readIndexDefs() {
    const std::string stored = StoredIdentifier(quotedTableName());
    TTableFacts& facts = Database()->RelationFields().Table(stored);
    if (!facts.Indexes) {
        // One row per segment. An index of several segments is read with its
        // own query in segment order; its other rows are then skipped by name,
        // so the result does not depend on the order the rows come in.
        std::vector<TIndexDef> indexes;
        std::set<std::string> seen;
        for (const CatalogueRow& row : CatalogueQuery(*Database(), TableIndexesSQL(stored))) {
            TIndexDef index;
            index.Name = TrimRight(row[0].value_or(""));
            if (!seen.insert(index.Name).second)
                continue;
            index.Primary = index.Name.rfind("RDB$PRIMARY", 0) == 0;
            index.Unique = integerOf(row[1]) == 1;
            index.Descending = integerOf(row[2]) == 1;
            if (integerOf(row[3]) > 1) {
                for (const CatalogueRow& segment :
                     CatalogueQuery(*Database(), IndexSegmentsSQL(index.Name))) {
                    if (!index.Fields.empty())
                        index.Fields += ';';
                    index.Fields += TrimRight(segment[0].value_or(""));
                }
            } else {
                index.Fields = TrimRight(row[4].value_or(""));
            }
            indexes.push_back(std::move(index));
        }
        facts.Indexes = std::move(indexes);
    }
    indexDefs_ = *facts.Indexes;
    primaryKeyFields_.clear();
    for (const TIndexDef& index : indexDefs_)
        if (index.Primary)
            primaryKeyFields_ = index.Fields;
    indexDefsValid_ = true;
}

std::vector<TFieldDef> TIBTable::FieldDefs() {
    if (tableName_.empty())
        throw EDatabaseError("No Table Name assigned");
    if (StatementPrepared())
        return TIBCustomDataSet::FieldDefs();
    if (closedFieldDefsValid_)
        return closedFieldDefs_;
    CheckDatabase();
    std::vector<TFieldDef> defs;
    const auto rows = CatalogueQuery(*Database(), TableFieldsSQL(StoredIdentifier(quotedTableName())));
    for (const CatalogueRow& row : rows) {
        const auto mapping = MapColumn(columnTypeOfCatalogue(integerOf(row[7])), integerOf(row[6]),
                                       integerOf(row[8]), integerOf(row[5]));
        if (!mapping)
            continue;
        TFieldDef def;
        def.Name = TrimRight(row[0].value_or(""));
        def.DataType = mapping->DataType;
        def.Size = mapping->Size;
        def.Precision = mapping->Precision;
        def.FixedLength = mapping->FixedLength;
        def.Calculated = row[2].has_value();
        def.ReadOnly = def.Calculated;
        def.Required = integerOf(row[4]) == 1;
        def.FieldNo = static_cast<int>(defs.size()) + 1;
        defs.push_back(std::move(def));
    }
    closedFieldDefs_ = defs;
    closedFieldDefsValid_ = true;
    return defs;
}

void TIBTable::Requery() {
    CheckActive();
    const auto key = CurrentDBKey();
    regenerate_ = true;
    DisableControls();
    try {
        Close();
        Open();
        if (key)
            LocateDBKey(*key);
    } catch (...) {
        EnableControlsQuietly();
        throw;
    }
    EnableControls();
}

void TIBTable::DeleteAllRows() {
    if (Active())
        SettleEdit();
    CheckDatabase();
    TIBSQL statement(Database(), Transaction());
    statement.SetSQL("delete from " + quotedTableName());
    statement.ExecQuery();
    if (Active())
        DropRows();
}
