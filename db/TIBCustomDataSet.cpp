// TIBCustomDataSet: opening and closing, fetching into the row cache,
// navigation, the fields and the notifications.
#include "db/TIBCustomDataSet.h"

#include "db/DataSetBatch.h"
#include "db/DataSetInternals.h"
#include "db/DatabaseErrors.h"
#include "db/TBlobField.h"
#include "db/TDateTimeField.h"
#include "db/TFloatField.h"
#include "db/TIBBCDField.h"
#include "db/TIBDatabase.h"
#include "db/TIBStringField.h"
#include "db/TIBTransaction.h"
#include "db/TIntegerField.h"
#include "util/AnsiText.h"
#include "util/NumberText.h"

#include <algorithm>
#include <cstring>
#include <exception>

namespace {

std::unique_ptr<TField> createField(TIBCustomDataSet& dataSet, const TFieldDef& def,
                                    const TFieldStorage& storage, int index) {
    switch (def.DataType) {
    case ftString:
        return std::make_unique<TIBStringField>(dataSet, def, storage, index);
    case ftSmallint:
        return std::make_unique<TSmallintField>(dataSet, def, storage, index);
    case ftInteger:
        return std::make_unique<TIntegerField>(dataSet, def, storage, index);
    case ftLargeint:
        return std::make_unique<TLargeintField>(dataSet, def, storage, index);
    case ftFloat:
        return std::make_unique<TFloatField>(dataSet, def, storage, index);
    case ftBCD:
        return std::make_unique<TIBBCDField>(dataSet, def, storage, index);
    case ftDate:
        return std::make_unique<TDateField>(dataSet, def, storage, index);
    case ftTime:
        return std::make_unique<TTimeField>(dataSet, def, storage, index);
    case ftDateTime:
        return std::make_unique<TDateTimeField>(dataSet, def, storage, index);
    case ftMemo:
        return std::make_unique<TMemoField>(dataSet, def, storage, index);
    case ftBlob:
        return std::make_unique<TBlobField>(dataSet, def, storage, index);
    default:
        return nullptr;
    }
}

bool opensCursor(int statementType) {
    return statementType == isc_info_sql_stmt_select || statementType == isc_info_sql_stmt_select_for_upd;
}

} // namespace

TIBCustomDataSet::TIBCustomDataSet(std::string name, TIBDatabase* database, TIBTransaction* transaction)
    : TIBDataSetBase(database, transaction), name_(std::move(name)),
      statements_(std::make_unique<Statements>()) {}

TIBCustomDataSet::~TIBCustomDataSet() {
    // The data sources hear that the dataset is gone before it goes.
    for (TDataSource* source : sources_.Items())
        source->dataSetDestroyed();
    disableCount_ = 1;
    try {
        closeDataSet(false);
    } catch (...) {
        // A destructor has no one to tell.
    }
    FreeStatements();
}

void TIBCustomDataSet::SetActive(bool active) {
    if (active)
        Open();
    else
        Close();
}

void TIBCustomDataSet::Open() {
    if (Active())
        return;
    CheckOpenable();
    ConnectAndStart();
    PrepareCursor();
    if (!opensCursor(StatementType())) {
        // A statement without rows runs at once; the dataset stays closed.
        ExecuteStatement();
        return;
    }
    openCursor();
    try {
        createFields();
        cache_ = std::make_unique<TRowCache>(format_, bufferChunks_);
        allFetched_ = false;
        cur_ = 0;
        modified_ = false;
        state_ = dsBrowse;
        eof_ = !fetchRow();
    } catch (...) {
        closeCursorQuietly();
        fields_.clear();
        cache_.reset();
        state_ = dsInactive;
        allFetched_ = true;
        eof_ = true;
        throw;
    }
    DataEvent(deActiveChanged);
}

void TIBCustomDataSet::Close() {
    closeDataSet(!endingTransaction_);
}

void TIBCustomDataSet::closeDataSet(bool autoStop) {
    if (!Active())
        return;
    // Rows a walk gathered and did not send go with the rows read, like an
    // unposted edit.
    if (batch_)
        batch_->Pending.clear();
    editRecord_.clear();
    pendingBlobs_.clear();
    modified_ = false;
    closeCursorQuietly();
    fields_.clear();
    cache_.reset();
    state_ = dsInactive;
    eof_ = true;
    allFetched_ = true;
    cur_ = 0;
    AfterClose();
    DataEvent(deActiveChanged);
    if (autoStop && Transaction())
        Transaction()->CheckAutoStop();
}

void TIBCustomDataSet::TransactionEnding() {
    // Closing for the transaction's end must not try to end it again.
    endingTransaction_ = true;
    try {
        TIBDataSetBase::TransactionEnding();
    } catch (...) {
        endingTransaction_ = false;
        throw;
    }
    endingTransaction_ = false;
}

void TIBCustomDataSet::DatabaseFreed() noexcept {
    // The attachment is gone and its statements with it.
    statements_->Main.Forget();
    statements_->Refresh.Statement.Forget();
    statements_->Modify.Statement.Forget();
    statements_->Insert.Statement.Forget();
    statements_->Delete.Statement.Forget();
    statements_->ForgetBlocks();
    try {
        closeDataSet(false);
    } catch (...) {
    }
}

void TIBCustomDataSet::createFields() {
    fields_.clear();
    for (const ResultColumn& column : columns_) {
        if (column.FieldIndex < 0)
            continue;
        const TFieldDef& def = fieldDefs_[static_cast<std::size_t>(column.FieldIndex)];
        auto field = createField(*this, def, column.Storage, static_cast<int>(fields_.size()));
        if (field)
            fields_.push_back(std::move(field));
    }
}

std::vector<TFieldDef> TIBCustomDataSet::FieldDefs() {
    return fieldDefs_;
}

bool TIBCustomDataSet::fetchRow() {
    if (allFetched_ || !statements_->Main.CursorOpen()) {
        allFetched_ = true;
        return false;
    }
    if (!statements_->Main.Fetch()) {
        allFetched_ = true;
        // Every row is here; the server may let the cursor go.
        closeCursorQuietly();
        return false;
    }
    std::byte* staged = staging_.data();
    for (std::size_t i = 0; i < stagingNulls_.size(); ++i)
        TRecordFormat::SetNull(staged, static_cast<int>(i), stagingNulls_[i] < 0);
    cache_->Append(staged);
    return true;
}

bool TIBCustomDataSet::fetchTo(int row) {
    while (row >= RecordCount())
        if (!fetchRow())
            return false;
    return true;
}

void TIBCustomDataSet::setCurrent(int row, bool notify) {
    const bool moved = row != cur_ || eof_;
    cur_ = row;
    eof_ = false;
    if (notify && moved)
        DataEvent(deDataSetScrolled);
}

void TIBCustomDataSet::First() {
    CheckActive();
    SettleEdit();
    if (fetchTo(0)) {
        setCurrent(0, true);
    } else {
        cur_ = 0;
        eof_ = true;
    }
}

void TIBCustomDataSet::Next() {
    CheckActive();
    SettleEdit();
    const int target = RecordCount() == 0 ? 0 : cur_ + 1;
    if (fetchTo(target))
        setCurrent(target, true);
    else
        eof_ = true;
}

void TIBCustomDataSet::MoveTo(int row) {
    CheckActive();
    const int rowsBefore = RecordCount();
    const int settledRow = cur_;
    SettleEdit();
    // A new row given up moves the rows after it one up, the target among them.
    if (RecordCount() < rowsBefore && row > settledRow)
        --row;
    row = std::max(row, 0);
    if (fetchTo(row)) {
        setCurrent(row, true);
    } else {
        if (RecordCount() > 0)
            setCurrent(RecordCount() - 1, true);
        eof_ = true;
    }
}

int TIBCustomDataSet::RecordCount() const {
    return cache_ ? cache_->Count() : 0;
}

int TIBCustomDataSet::FetchMore(int maxRows) {
    if (!Active())
        return 0;
    int fetched = 0;
    while (fetched < maxRows && fetchRow())
        ++fetched;
    return fetched;
}

int TIBCustomDataSet::RecNo() const {
    return Active() && RecordCount() > 0 ? cur_ : -1;
}

std::string TIBCustomDataSet::DisplayText(int row, int fieldIndex) const {
    if (!Active() || row < 0 || row >= RecordCount() || fieldIndex < 0 || fieldIndex >= FieldCount())
        return {};
    const std::byte* record = isEditing() && row == cur_ ? editRecord_.data() : cache_->Record(row);
    return fields_[static_cast<std::size_t>(fieldIndex)]->displayTextIn(record);
}

const std::byte* TIBCustomDataSet::activeRecord() const {
    if (isEditing())
        return editRecord_.data();
    if (Active() && RecordCount() > 0)
        return cache_->Record(cur_);
    return nullptr;
}

TField* TIBCustomDataSet::FieldAt(int index) const {
    if (index < 0 || index >= FieldCount())
        throw EDatabaseError("List index out of bounds (" + IntToStr(index) + ")");
    return fields_[static_cast<std::size_t>(index)].get();
}

TField* TIBCustomDataSet::FindField(const std::string& name) const {
    for (const auto& field : fields_)
        if (AnsiSameText(field->FieldName(), name))
            return field.get();
    return nullptr;
}

TField* TIBCustomDataSet::FieldNamed(const std::string& name) const {
    TField* field = FindField(name);
    if (!field)
        DataSetError("Field '" + name + "' not found");
    return field;
}

void TIBCustomDataSet::SetBufferChunks(int rows) {
    bufferChunks_ = std::max(rows, 1);
}

void TIBCustomDataSet::DataSetError(const std::string& message) const {
    throw EDatabaseError(name_.empty() ? message : name_ + ": " + message);
}

void TIBCustomDataSet::CheckActive() const {
    if (!Active())
        DataSetError("Cannot perform this operation on a closed dataset");
}

void TIBCustomDataSet::DisableControls() {
    if (disableCount_++ == 0)
        activeWhenDisabled_ = Active();
}

void TIBCustomDataSet::EnableControls() {
    if (disableCount_ == 0 || --disableCount_ > 0)
        return;
    if (Active() != activeWhenDisabled_)
        DataEvent(deActiveChanged);
    else if (Active())
        DataEvent(deDataSetChanged);
}

void TIBCustomDataSet::EnableControlsQuietly() noexcept {
    try {
        EnableControls();
    } catch (...) {
        // An earlier error is on its way to the user; it is the one to show.
    }
}

void TIBCustomDataSet::DataEvent(TDataEvent event, TField* field) {
    if (disableCount_ > 0)
        return;
    // Every source hears it; the first failure is raised afterwards.
    std::exception_ptr firstFailure;
    sources_.ForEach([event, field, &firstFailure](TDataSource* source) {
        try {
            source->notify(event, field);
        } catch (...) {
            if (!firstFailure)
                firstFailure = std::current_exception();
        }
    });
    if (firstFailure)
        std::rethrow_exception(firstFailure);
}

std::optional<std::array<std::byte, kDBKeySize>> TIBCustomDataSet::CurrentDBKey() const {
    if (!Active() || RecordCount() == 0 || state_ == dsInsert)
        return std::nullopt;
    std::array<std::byte, kDBKeySize> key;
    std::memcpy(key.data(), TRecordFormat::DBKey(cache_->Record(cur_)), kDBKeySize);
    return key;
}

bool TIBCustomDataSet::LocateDBKey(const std::array<std::byte, kDBKeySize>& key) {
    for (int row = 0; fetchTo(row); ++row) {
        if (std::memcmp(TRecordFormat::DBKey(cache_->Record(row)), key.data(), kDBKeySize) == 0) {
            cur_ = row;
            eof_ = false;
            return true;
        }
    }
    cur_ = 0;
    eof_ = RecordCount() == 0;
    return false;
}

void TIBCustomDataSet::DropRows() {
    closeCursorQuietly();
    allFetched_ = true;
    if (cache_)
        cache_->Clear();
    cur_ = 0;
    eof_ = true;
    DataEvent(deDataSetChanged);
}
