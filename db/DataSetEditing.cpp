// TIBCustomDataSet: editing, inserting, posting, cancelling and deleting rows,
// blob contents, and ApplyCachedUpdates.
#include "db/BlobIO.h"
#include "db/DataSetBatch.h"
#include "db/DataSetInternals.h"
#include "db/DatabaseErrors.h"
#include "db/TIBDatabase.h"
#include "db/TIBTransaction.h"

#include <cstring>

void TIBCustomDataSet::SettleEdit() {
    if (!isEditing())
        return;
    if (modified_)
        Post();
    else
        Cancel();
}

void TIBCustomDataSet::Edit() {
    if (isEditing())
        return;
    CheckActive();
    if (RecordCount() == 0) {
        Insert();
        return;
    }
    if (!CanModify())
        DataSetError("Cannot modify a read-only dataset");
    if (!HasModifySQL())
        throw EDatabaseError("Cannot update. (No update query)");
    if (!PrepareWriting())
        DataSetError("Cannot modify a read-only dataset");
    const std::byte* record = cache_->Record(cur_);
    editRecord_.assign(record, record + format_.Size());
    pendingBlobs_.assign(fields_.size(), std::nullopt);
    modified_ = false;
    state_ = dsEdit;
    DataEvent(deEditingChanged);
}

void TIBCustomDataSet::Insert() {
    beginInsert(false);
}

void TIBCustomDataSet::Append() {
    beginInsert(true);
}

void TIBCustomDataSet::beginInsert(bool append) {
    CheckActive();
    SettleEdit();
    if (!CanModify())
        DataSetError("Cannot modify a read-only dataset");
    if (!HasInsertSQL())
        throw EDatabaseError("Cannot insert into dataset. (No insert query)");
    if (!PrepareWriting())
        DataSetError("Cannot modify a read-only dataset");
    if (append)
        while (fetchRow()) {
        }
    const int row = append || RecordCount() == 0 ? RecordCount() : cur_;
    std::byte* record = cache_->InsertAt(row);
    TRecordFormat::SetUpdateStatus(record, TUpdateStatus::Inserted);
    editRecord_.assign(record, record + format_.Size());
    pendingBlobs_.assign(fields_.size(), std::nullopt);
    modified_ = false;
    cur_ = row;
    eof_ = false;
    state_ = dsInsert;
    DataEvent(deEditingChanged);
    DataEvent(deDataSetChanged);
}

void TIBCustomDataSet::Post() {
    if (!isEditing())
        DataSetError("Dataset not in edit or insert mode");
    const bool inserting = state_ == dsInsert;
    ModifyingStatement& statement = inserting ? statements_->Insert : statements_->Modify;
    if (statement.Text.empty())
        throw EDatabaseError(inserting ? "Cannot insert into dataset. (No insert query)"
                                       : "Cannot update. (No update query)");
    if (!PrepareWriting())
        DataSetError("Cannot modify a read-only dataset");
    if (!inserting && batchesPost()) {
        gatherPost();
        return;
    }
    // A row that cannot wait goes after the rows a walk gathered before it.
    const bool walkRow = batch_ && !batch_->Replaying;
    if (walkRow)
        FlushBatchedWrites();

    // The row as it goes to the server: replaced blob contents become new blobs.
    std::vector<std::byte> row = editRecord_;
    bool blobsWritten = false;
    for (std::size_t i = 0; i < pendingBlobs_.size(); ++i) {
        if (!pendingBlobs_[i])
            continue;
        const TFieldStorage& storage = fields_[i]->Storage();
        if (pendingBlobs_[i]->empty()) {
            TRecordFormat::SetNull(row.data(), storage.Column, true);
            continue;
        }
        const ISC_QUAD id = CreateBlob(Database()->Handle(), Transaction()->Handle(), *pendingBlobs_[i]);
        std::memcpy(format_.Values(row.data()) + storage.Offset, &id, sizeof id);
        TRecordFormat::SetNull(row.data(), storage.Column, false);
        blobsWritten = true;
    }

    std::vector<short> nulls;
    bindRecordParams(statement, row.data(), nulls);
    XSQLDA& out = statement.Statement.Output();
    if (inserting && out.sqld == 1) {
        short keyNull = 0;
        XSQLVAR& key = out.sqlvar[0];
        key.sqltype = SQL_TEXT | 1;
        key.sqllen = static_cast<ISC_SHORT>(kDBKeySize);
        key.sqldata = reinterpret_cast<ISC_SCHAR*>(TRecordFormat::DBKey(row.data()));
        key.sqlind = &keyNull;
        statement.Statement.ExecuteWithOutput(Transaction()->Handle());
    } else {
        statement.Statement.Execute(Transaction()->Handle());
    }

    std::byte* stored = cache_->Record(cur_);
    const bool wasInserted = TRecordFormat::UpdateStatus(stored) == TUpdateStatus::Inserted;
    std::memcpy(stored, row.data(), format_.Size());
    TRecordFormat::SetUpdateStatus(stored, inserting || wasInserted ? TUpdateStatus::Inserted
                                                                    : TUpdateStatus::Modified);
    state_ = dsBrowse;
    modified_ = false;
    editRecord_.clear();
    pendingBlobs_.clear();
    // New blobs get their final ids only in the stored row, so it is read again too.
    if (needsRefresh_ || blobsWritten)
        refreshRow(stored);
    DataEvent(deEditingChanged);
    DataEvent(deDataSetChanged);
    if (walkRow && batch_->RowsWritten)
        batch_->RowsWritten(1);
}

void TIBCustomDataSet::internalCancel() {
    const bool inserting = state_ == dsInsert;
    editRecord_.clear();
    pendingBlobs_.clear();
    modified_ = false;
    state_ = dsBrowse;
    if (inserting) {
        cache_->Remove(cur_);
        if (cur_ >= RecordCount())
            cur_ = std::max(RecordCount() - 1, 0);
        eof_ = RecordCount() == 0;
    }
}

void TIBCustomDataSet::Cancel() {
    if (!isEditing())
        return;
    internalCancel();
    DataEvent(deEditingChanged);
    DataEvent(deDataSetChanged);
}

void TIBCustomDataSet::Delete() {
    CheckActive();
    if (state_ == dsInsert) {
        Cancel();
        return;
    }
    if (RecordCount() == 0)
        DataSetError("Cannot perform this operation on an empty dataset");
    if (!CanModify() || !HasDeleteSQL())
        throw EDatabaseError("Cannot delete from dataset. (No delete query)");
    if (!PrepareWriting())
        throw EDatabaseError("Cannot delete from dataset. (No delete query)");
    if (batchesDelete()) {
        gatherDelete();
        return;
    }
    const bool walkRow = batch_ && !batch_->Replaying;
    if (walkRow)
        FlushBatchedWrites();
    const bool wasEditing = isEditing();
    if (wasEditing)
        internalCancel();

    std::vector<short> nulls;
    bindRecordParams(statements_->Delete, cache_->Record(cur_), nulls);
    statements_->Delete.Statement.Execute(Transaction()->Handle());

    removeCurrentRow();
    if (wasEditing)
        DataEvent(deEditingChanged);
    DataEvent(deDataSetChanged);
    if (walkRow && batch_->RowsWritten)
        batch_->RowsWritten(1);
}

std::byte* TIBCustomDataSet::recordToWrite(const TField& field) {
    if (!isEditing())
        throw EDatabaseError("Not in edit mode");
    if (field.ReadOnly())
        throw EDatabaseError("Field '" + field.HeaderName() + "' cannot be modified");
    return editRecord_.data();
}

void TIBCustomDataSet::fieldWritten(TField& field) {
    modified_ = true;
    DataEvent(deRecordChanged, &field);
}

std::string TIBCustomDataSet::blobContent(const TField& field) const {
    const std::byte* record = activeRecord();
    if (!record)
        return {};
    if (isEditing()) {
        const auto& pending = pendingBlobs_[static_cast<std::size_t>(field.Index())];
        if (pending)
            return *pending;
    }
    const std::byte* value = field.valueIn(record);
    if (!value)
        return {};
    ISC_QUAD id;
    std::memcpy(&id, value, sizeof id);
    return ReadBlob(Database()->Handle(), Transaction()->Handle(), id);
}

void TIBCustomDataSet::setBlobContent(TField& field, const std::string& content) {
    std::byte* record = recordToWrite(field);
    pendingBlobs_[static_cast<std::size_t>(field.Index())] = content;
    TRecordFormat::SetNull(record, field.Storage().Column, content.empty());
    fieldWritten(field);
}

void TIBCustomDataSet::ApplyCachedUpdates() {
    SettleEdit();
    CheckDatabase();
    if (!Database()->Connected())
        RaiseClientError(IBClientErrorCode::DatabaseClosed);
    CheckTransaction();
    if (!Transaction()->IsStarted())
        RaiseClientError(IBClientErrorCode::NotInTransaction);

    DisableControls();
    try {
        CheckActive();
        // Rows are never held back, so there is nothing to write; what the walk
        // does is read the rest of the result.
        const int remembered = cur_;
        while (fetchRow()) {
        }
        cur_ = remembered < RecordCount() ? remembered : 0;
        eof_ = RecordCount() == 0;
    } catch (...) {
        EnableControlsQuietly();
        throw;
    }
    EnableControls();
}

void TIBCustomDataSet::removeCurrentRow() {
    cache_->Remove(cur_);
    if (fetchTo(cur_)) {
        eof_ = false;
    } else if (RecordCount() > 0) {
        cur_ = RecordCount() - 1;
        eof_ = false;
    } else {
        cur_ = 0;
        eof_ = true;
    }
}
