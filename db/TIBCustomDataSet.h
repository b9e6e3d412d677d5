#pragma once
// What the table and query datasets have in common: opening a cursor over a
// statement, the row cache and navigation, the fields, editing, posting and
// deleting rows through the statements a derived class supplies, and the
// notifications to the data sources bound to the dataset.
//
// Dataset errors carry the component name as a prefix ("table: ...").
#include "db/TDataSource.h"
#include "db/TField.h"
#include "db/TIBDataSetBase.h"
#include "db/TParamValue.h"
#include "db/TRowCache.h"

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

struct ResultColumn;
struct ModifyingStatement;
class DsqlStatement;

class TIBCustomDataSet : public TIBDataSetBase {
public:
    ~TIBCustomDataSet() override;

    std::string Name() const override { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }

    bool Active() const override { return state_ != dsInactive; }
    void SetActive(bool active);
    void Open();
    // Drops a pending edit without posting it. Fields are destroyed.
    void Close() override;
    TDataSetState State() const { return state_; }

    // Navigation settles a pending edit first: posted when a field was
    // assigned, cancelled otherwise.
    void First();
    void Next();
    // True after a move past the last row, or when there is no row.
    bool Eof() const { return eof_; }

    // On an empty dataset Edit starts an insert.
    void Edit();
    // A new row before the current one.
    void Insert();
    // A new row after the last one (reads the rest of the result first).
    void Append();
    void Post();
    void Cancel();
    void Delete();
    // A field was assigned since Edit or Insert.
    bool Modified() const { return modified_; }
    virtual bool CanModify() const { return false; }

    int FieldCount() const { return static_cast<int>(fields_.size()); }
    TField* FieldAt(int index) const;
    // Ignoring letter case; "<name>: Field '<field>' not found" when missing.
    TField* FieldNamed(const std::string& name) const;
    // The same, nullptr when missing.
    TField* FindField(const std::string& name) const;
    // The result columns of the prepared statement (empty before one is prepared).
    virtual std::vector<TFieldDef> FieldDefs();

    // Posts a pending edit and reads every row of the result not read yet; the
    // current row stays current.
    void ApplyCachedUpdates() override;

    // Row walks gather the rows they post or delete and send them many per
    // round trip, as blocks that run each row's own statements in order.
    // `rowsWritten` hears of every group of rows that reached the server (a
    // block, or one row sent the row-by-row way), in order, before any later
    // row is sent: a walk that commits per row commits there.
    void BeginBatchedWrites(std::function<void(int rows)> rowsWritten);
    // Sends what is gathered. The server undoes a block it refuses as a
    // whole; its rows then go again in halves, down to single rows sent the
    // row-by-row way, so the failing row, its message and the state the
    // dataset is left in are the row-by-row path's, and the rows after it are
    // as they were. A row in edit state that is not among them (the one a
    // walk failed on) stays in edit state on success.
    void FlushBatchedWrites();
    // Leaves the mode. Rows still gathered are dropped, as Close drops an
    // unposted edit: the normal path flushes first.
    void EndBatchedWrites() noexcept;
    // Off: a walk's rows go one by one, each the moment it is posted (the
    // row-by-row path, for comparing the two).
    void SetWriteBlocks(bool enabled) { writeBlocks_ = enabled; }
    bool WriteBlocks() const { return writeBlocks_; }
    // Blocks sent since the dataset was made (for tests and measurements).
    int WriteBlocksSent() const { return blocksSent_; }

    int BufferChunks() const { return bufferChunks_; }
    void SetBufferChunks(int rows);
    // Kept for the settings; rows are always written at once.
    bool CachedUpdates() const { return cachedUpdates_; }
    void SetCachedUpdates(bool value) { cachedUpdates_ = value; }

    // For the grid. Rows are counted in visible order from 0.
    // Rows read so far and not deleted (a pending insert included).
    int RecordCount() const;
    bool AllFetched() const { return allFetched_; }
    // Reads up to maxRows more rows; returns how many came.
    int FetchMore(int maxRows);
    // The current row, -1 without one.
    int RecNo() const;
    // Settles a pending edit like Next, then makes `row` current (reading rows
    // as needed); past the end the last row stays current and Eof is true.
    void MoveTo(int row);
    // The grid's text of a field in any row read so far (the edited values for
    // the row in edit or insert); "" outside the rows or fields.
    std::string DisplayText(int row, int fieldIndex) const;

    // While disabled no data source hears anything; the last enable reports
    // one change, and raises what a listener raised on hearing it (a query
    // that follows the dataset and cannot run again, say).
    void DisableControls();
    void EnableControls();
    // The same for paths where an error is already on its way: the sources
    // hear the change, and what they raise is dropped, never the earlier error.
    void EnableControlsQuietly() noexcept;
    bool ControlsDisabled() const { return disableCount_ > 0; }

protected:
    TIBCustomDataSet(std::string name, TIBDatabase* database, TIBTransaction* transaction);

    // The steps of Open: checks before anything is attached, then setting up
    // and preparing the cursor's statement (PrepareStatement), with the
    // connection attached and the transaction started.
    virtual void CheckOpenable() {}
    virtual void PrepareCursor() = 0;
    // After the rows and fields are gone.
    virtual void AfterClose() {}

    // The dataset's statement: the text may use ":NAME" parameters. Describes
    // the result and builds the field definitions; reads the catalogue for
    // computed columns of the tables the columns come from.
    void PrepareStatement(const std::string& sql);
    bool StatementPrepared() const;
    // The server's statement type (1 select, 12 select for update, ...), 0 when not prepared.
    int StatementType() const;
    // The parameter names, one per marker.
    const std::vector<std::string>& StatementParamNames() const;
    void SetStatementParam(int index, const TParamValue& value);
    // Runs a prepared statement that opens no cursor.
    void ExecuteStatement();

    // The statements that write rows (":NAME" parameters: IBX_INTERNAL_DBKEY is
    // the row's key, other names are fields). Empty text: no such statement.
    void SetModifyingSQL(std::string refresh, std::string modify, std::string insert, std::string remove);
    // Prepares every non-empty one not prepared yet; raises the server's error.
    void PrepareModifyingStatements();
    // Run before the first write of a row (Edit, Insert, Delete, Post), so an
    // open that only reads prepares nothing more. False when the dataset turns
    // out to be read only.
    virtual bool PrepareWriting();
    bool HasModifySQL() const;
    bool HasInsertSQL() const;
    bool HasDeleteSQL() const;

    // Every statement handle goes; the next Open prepares again.
    void FreeStatements() noexcept override;

    [[noreturn]] void DataSetError(const std::string& message) const;
    void CheckActive() const;
    // Posts a pending edit when a field was assigned, else cancels it.
    void SettleEdit();
    void DataEvent(TDataEvent event, TField* field = nullptr);

    // The current row's key; nothing without a current row.
    std::optional<std::array<std::byte, kDBKeySize>> CurrentDBKey() const;
    // Walks from the first row to the one with this key; false (and the first
    // row current) when none has it.
    bool LocateDBKey(const std::array<std::byte, kDBKeySize>& key);
    // Forgets the rows read and stops reading (the result is known to be empty).
    void DropRows();

    void TransactionEnding() override;
    void DatabaseFreed() noexcept override;

private:
    friend class TField;
    friend class TBlobField;
    friend class TDataSource;
    struct Statements;
    struct WriteBatch;

    // For the fields.
    const std::byte* activeRecord() const;
    const TRecordFormat& recordFormat() const { return format_; }
    std::byte* recordToWrite(const TField& field);
    void fieldWritten(TField& field);
    std::string blobContent(const TField& field) const;
    void setBlobContent(TField& field, const std::string& content);

    void describeResult();
    void openCursor();
    void closeCursorQuietly() noexcept;
    void createFields();
    bool fetchRow();
    bool fetchTo(int row);
    // Drops the current row from the cache; the next row becomes current, or
    // the last one when it was the last.
    void removeCurrentRow();
    void refreshRow(std::byte* record);
    void bindRecordParams(ModifyingStatement& statement, std::byte* record, std::vector<short>& nulls);
    void prepareModifying(ModifyingStatement& statement, const std::string& suffix);
    void beginInsert(bool append);
    void internalCancel();
    void closeDataSet(bool autoStop);
    bool isEditing() const { return state_ == dsEdit || state_ == dsInsert; }
    void setCurrent(int row, bool notify);

    // Batched writes (DataSetBatching.cpp).
    bool batchesPost() const;
    bool batchesDelete() const;
    void gatherPost();
    void gatherDelete();
    void sendRange(std::size_t first, std::size_t last);
    // Rows written before the one the server refused (all: none refused).
    std::size_t sendBlock(std::size_t first, std::size_t last);
    void replayRow(std::size_t index);
    void restoreUnsent(std::size_t from) noexcept;
    bool prepareBlocks();
    DsqlStatement* blockStatement(int rows);

    std::string name_;
    TDataSetState state_ = dsInactive;
    std::unique_ptr<Statements> statements_;
    std::unique_ptr<WriteBatch> batch_;
    std::vector<ResultColumn> columns_;
    std::vector<TFieldDef> fieldDefs_;
    TRecordFormat format_;
    bool needsRefresh_ = false;
    bool hasDBKey_ = false;

    std::vector<std::unique_ptr<TField>> fields_;
    std::unique_ptr<TRowCache> cache_;
    std::vector<std::byte> staging_;
    std::vector<short> stagingNulls_;
    int cur_ = 0;
    bool eof_ = true;
    bool allFetched_ = true;

    std::vector<std::byte> editRecord_;
    std::vector<std::optional<std::string>> pendingBlobs_;
    bool modified_ = false;

    int bufferChunks_ = 1000;
    bool writeBlocks_ = true;
    int blocksSent_ = 0;
    bool cachedUpdates_ = false;
    bool endingTransaction_ = false;

    SlotList<TDataSource> sources_;
    int disableCount_ = 0;
    bool activeWhenDisabled_ = false;
};
