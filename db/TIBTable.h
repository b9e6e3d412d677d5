#pragma once
// A dataset over one whole table that writes its own SQL: the select with each
// row's key, an optional condition and an order, and the statements that
// refresh, update, delete and insert single rows.
#include "db/RelationFieldCache.h"
#include "db/TIBCustomDataSet.h"

#include <string>
#include <vector>

class TIBTable : public TIBCustomDataSet {
public:
    explicit TIBTable(std::string name = "table", TIBDatabase* database = nullptr,
                      TIBTransaction* transaction = nullptr);

    const std::string& TableName() const { return tableName_; }
    // Refused while open; forgets the order, the primary key and the statements.
    void SetTableName(const std::string& name);

    const std::string& Filter() const { return filter_; }
    // While filtered, a different text re-queries at once (failing on a closed table).
    void SetFilter(const std::string& filter);
    bool Filtered() const { return filtered_; }
    void SetFiltered(bool filtered);

    const std::string& IndexFieldNames() const { return indexFieldNames_; }
    // ";"-separated field names giving the order; clears IndexName.
    void SetIndexFieldNames(const std::string& names);
    const std::string& IndexName() const { return indexName_; }
    // The order of a named index; clears IndexFieldNames.
    void SetIndexName(const std::string& name);
    // Without an order of its own the table is read in primary-key order.
    bool DefaultIndex() const { return defaultIndex_; }
    void SetDefaultIndex(bool value);

    // Set by the table itself when it cannot be updated, and then kept.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool CanModify() const override;

    // From the catalogue (read once per connection) at the last statement generation.
    const std::string& PrimaryKeyFields() const { return primaryKeyFields_; }
    const std::vector<TIndexDef>& IndexDefs() const { return indexDefs_; }
    // The statements will be generated again at the next open.
    bool RegenerateSQL() const { return regenerate_; }

    // The generated statements, as last generated.
    const std::string& SelectSQL() const { return selectSQL_; }
    const std::string& RefreshSQL() const { return refreshSQL_; }
    const std::string& ModifySQL() const { return modifySQL_; }
    const std::string& DeleteSQL() const { return deleteSQL_; }
    const std::string& InsertSQL() const { return insertSQL_; }

    // Reopens with the current filter and order, staying on the same row when
    // it is still there (else on the first).
    void Requery();
    // Deletes every row of the table at the server (nothing committed).
    void DeleteAllRows();
    // Also for a closed table: from the prepared select, or from the catalogue.
    std::vector<TFieldDef> FieldDefs() override;

protected:
    void CheckOpenable() override;
    void PrepareCursor() override;
    void AfterClose() override;
    // The generated row statements are prepared at the first write; when the
    // server refuses them the table becomes read only, without an error.
    bool PrepareWriting() override;
    // The index definitions and a closed table's columns are read again.
    void CatalogueChanged() noexcept override;

private:
    void generateStatements();
    void readIndexDefs();
    bool readUpdatable();
    std::string orderList() const;
    std::string quotedTableName() const;
    int dialect() const;

    std::string tableName_;
    std::string filter_;
    bool filtered_ = false;
    std::string indexFieldNames_;
    std::string indexName_;
    bool defaultIndex_ = true;
    bool readOnly_ = false;
    bool systemTable_ = false;
    bool multiTable_ = false;
    std::string primaryKeyFields_;
    std::vector<TIndexDef> indexDefs_;
    bool indexDefsValid_ = false;
    bool regenerate_ = true;
    std::vector<TFieldDef> closedFieldDefs_;
    bool closedFieldDefsValid_ = false;

    std::string selectSQL_;
    std::string refreshSQL_;
    std::string modifySQL_;
    std::string deleteSQL_;
    std::string insertSQL_;
};
