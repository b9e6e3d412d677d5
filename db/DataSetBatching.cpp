// TIBCustomDataSet: the posts and deletes of a row walk, gathered and sent
// many rows per round trip.
//
// A block runs, row after row, the very statements the row-by-row path sends
// (the update by row key and the re-read, or the delete), so triggers, checks
// and constraints see the same work in the same order. The server undoes a
// block it refuses as a whole; its rows then go again in halves, and a single
// row goes the row-by-row way, which gives the exact failing row, its message
// and the state the dataset is left in.
#include "db/DataSetBatch.h"
#include "db/DataSetInternals.h"
#include "db/DatabaseErrors.h"
#include "db/Identifiers.h"
#include "db/SqlParams.h"
#include "db/TIBDatabase.h"
#include "db/TIBTransaction.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kFirstBlockRows = 16;
constexpr int kBlockGrowth = 4;
constexpr int kMaxBlockRows = 256;
// Fewer rows than this go the row-by-row way.
constexpr std::size_t kSmallestBlockRows = 4;
// What one block may take, well inside the descriptors' and the server's limits.
constexpr std::size_t kMaxVariables = 30000;
constexpr std::size_t kMaxMessageBytes = 1024 * 1024;
constexpr std::size_t kMaxTextBytes = 512 * 1024;

// Bytes a value takes in a message, its null indicator and alignment included.
std::size_t messageBytes(const TFieldStorage& storage) {
    return storage.Length + (storage.SqlType == SQL_VARYING ? 2 : 0) + 8;
}

std::string typeOfColumn(int dialect, const std::string& relation, const std::string& column) {
    return "TYPE OF COLUMN " + QuoteIdentifier(dialect, relation) + "." + QuoteIdentifier(dialect, column);
}

} // namespace

void TIBCustomDataSet::BeginBatchedWrites(std::function<void(int rows)> rowsWritten) {
    batch_ = std::make_unique<WriteBatch>();
    batch_->RowsWritten = std::move(rowsWritten);
}

void TIBCustomDataSet::EndBatchedWrites() noexcept {
    if (!batch_)
        return;
    if (!batch_->Pending.empty() && Active())
        restoreUnsent(0);
    batch_.reset();
}

bool TIBCustomDataSet::batchesPost() const {
    if (!batch_ || !writeBlocks_ || batch_->Replaying || state_ != dsEdit)
        return false;
    // A replaced blob content becomes a new blob at the post: such rows go the
    // row-by-row way.
    return std::none_of(pendingBlobs_.begin(), pendingBlobs_.end(),
                        [](const auto& blob) { return blob.has_value(); });
}

bool TIBCustomDataSet::batchesDelete() const {
    return batch_ && writeBlocks_ && !batch_->Replaying && state_ == dsBrowse;
}

// What the blocks are built from; false when this dataset cannot write in blocks.
bool TIBCustomDataSet::prepareBlocks() {
    WriteBatch& batch = *batch_;
    if (batch.ShapeKnown)
        return batch.Available && batch.MaxRows >= static_cast<int>(kSmallestBlockRows);
    batch.ShapeKnown = true;
    const int dialect = Database()->SQLDialect();
    const ModifyingStatement& modify = statements_->Modify;
    const ModifyingStatement& refresh = statements_->Refresh;
    batch.Key = {kDBKeyAlias, kBatchKeyType};
    ModifyBatchShape& shape = batch.Shape;
    shape.ModifySQL = modify.Text;
    std::size_t inBytes = 0;
    for (const std::string& name : DistinctParamNames(ParseSqlParams(modify.Text))) {
        if (IsBatchReservedName(name))
            return false;
        if (name == kDBKeyAlias) {
            shape.Params.push_back(batch.Key);
            batch.Slots.push_back({true, {}});
            inBytes += kDBKeySize + 8;
            continue;
        }
        const auto column = std::find_if(columns_.begin(), columns_.end(),
                                         [&name](const ResultColumn& c) { return c.Name == name; });
        if (column == columns_.end() || column->Relation.empty() || column->Source.empty())
            return false;
        shape.Params.push_back(
            {QuoteIdentifier(dialect, name), typeOfColumn(dialect, column->Relation, column->Source)});
        batch.Slots.push_back({false, column->Storage});
        inBytes += messageBytes(column->Storage);
    }
    // Rows are read again as the row-by-row post does; rows with new blobs,
    // which are read again for their ids, never come here.
    batch.Rereads = needsRefresh_ && refresh.Statement.Prepared() && refresh.GivesSelectRows;
    std::size_t outBytes = 0;
    if (batch.Rereads) {
        shape.RefreshSQL = refresh.Text;
        for (const ResultColumn& column : columns_) {
            if (column.IsDBKey) {
                shape.RefreshTypes.push_back(kBatchKeyType);
            } else if (column.Relation.empty() || column.Source.empty()) {
                return false;
            } else {
                shape.RefreshTypes.push_back(typeOfColumn(dialect, column.Relation, column.Source));
            }
            outBytes += messageBytes(column.Storage);
        }
    }

    // As many rows as the descriptors, the messages and the text allow.
    const std::size_t inVariables = batch.Slots.size() + 1;
    const std::size_t outVariables = batch.Rereads ? columns_.size() + 1 : 1;
    const std::size_t textPerRow = ModifyBatchSQL(shape, 2).size() - ModifyBatchSQL(shape, 1).size();
    const std::size_t rows =
        std::min({static_cast<std::size_t>(kMaxBlockRows), kMaxVariables / inVariables,
                  kMaxVariables / outVariables, kMaxMessageBytes / std::max<std::size_t>(inBytes, 1),
                  kMaxMessageBytes / std::max<std::size_t>(outBytes, 1), kMaxTextBytes / textPerRow});
    batch.MaxRows = std::min(static_cast<int>(rows), statements_->BlockLimit);
    batch.Capacity = std::min(kFirstBlockRows, batch.MaxRows);
    batch.Available = true;
    return batch.MaxRows >= static_cast<int>(kSmallestBlockRows);
}

// A prepared block for at least `rows` rows: one prepared before if there is
// one, else one of the walk's present capacity. Null when the server refuses
// blocks (of any size, or of this one: the next walk tries a smaller one).
DsqlStatement* TIBCustomDataSet::blockStatement(int rows) {
    WriteBatch& batch = *batch_;
    auto& blocks =
        batch.PendingKind == WriteBatch::Kind::Post ? statements_->PostBlocks : statements_->DeleteBlocks;
    if (const auto found = blocks.lower_bound(rows); found != blocks.end())
        return found->second.get();
    const int size = std::max(rows, batch.Capacity);
    const std::string text = batch.PendingKind == WriteBatch::Kind::Post
                                 ? ModifyBatchSQL(batch.Shape, size)
                                 : DeleteBatchSQL(statements_->Delete.Text, batch.Key, size);
    auto block = std::make_unique<DsqlStatement>();
    try {
        block->Prepare(Database()->Handle(), Transaction()->Handle(), text, Database()->SQLDialect());
    } catch (const EIBInterBaseError& error) {
        if (IsLostConnection(error))
            throw;
        // A server without such blocks, or past one of its limits at this size.
        statements_->BlockLimit = size > kFirstBlockRows ? size / kBlockGrowth : 0;
        batch.MaxRows = std::min(batch.MaxRows, statements_->BlockLimit);
        batch.Capacity = std::min(batch.Capacity, batch.MaxRows);
        return nullptr;
    }
    return blocks.emplace(size, std::move(block)).first->second.get();
}

void TIBCustomDataSet::gatherPost() {
    WriteBatch& batch = *batch_;
    if (batch.PendingKind == WriteBatch::Kind::Delete)
        FlushBatchedWrites();
    PendingRow row;
    row.Row = cur_;
    std::byte* stored = cache_->Record(cur_);
    row.Original.assign(stored, stored + format_.Size());
    row.Edited = editRecord_;
    // The row shows what was posted, as after a row-by-row post.
    const bool wasInserted = TRecordFormat::UpdateStatus(stored) == TUpdateStatus::Inserted;
    std::memcpy(stored, editRecord_.data(), format_.Size());
    TRecordFormat::SetUpdateStatus(stored, wasInserted ? TUpdateStatus::Inserted : TUpdateStatus::Modified);
    state_ = dsBrowse;
    modified_ = false;
    editRecord_.clear();
    pendingBlobs_.clear();
    batch.PendingKind = WriteBatch::Kind::Post;
    batch.Pending.push_back(std::move(row));
    DataEvent(deEditingChanged);
    DataEvent(deDataSetChanged);
    if (!prepareBlocks() || batch.Pending.size() >= static_cast<std::size_t>(batch.Capacity))
        FlushBatchedWrites();
}

void TIBCustomDataSet::gatherDelete() {
    WriteBatch& batch = *batch_;
    if (batch.PendingKind == WriteBatch::Kind::Post)
        FlushBatchedWrites();
    PendingRow row;
    row.Row = cur_;
    const std::byte* shown = cache_->Record(cur_);
    row.Original.assign(shown, shown + format_.Size());
    row.RecordNumber = cache_->RecordNumber(cur_);
    row.Status = TRecordFormat::UpdateStatus(shown);
    batch.PendingKind = WriteBatch::Kind::Delete;
    batch.Pending.push_back(std::move(row));
    // The rest as after a row-by-row delete: the row goes, the next is current.
    removeCurrentRow();
    DataEvent(deDataSetChanged);
    if (!prepareBlocks() || batch.Pending.size() >= static_cast<std::size_t>(batch.Capacity))
        FlushBatchedWrites();
}

void TIBCustomDataSet::FlushBatchedWrites() {
    if (!batch_ || batch_->Pending.empty())
        return;
    WriteBatch& batch = *batch_;
    // A row in edit state outside the gathered ones (the row a walk failed
    // on) waits until they are sent: had they gone one by one, they would
    // have been sent before it was reached.
    const bool editing = state_ == dsEdit;
    const int current = cur_;
    const bool atEnd = eof_;
    std::vector<std::byte> edited = std::move(editRecord_);
    std::vector<std::optional<std::string>> blobs = std::move(pendingBlobs_);
    const bool wasModified = modified_;
    if (editing) {
        state_ = dsBrowse;
        modified_ = false;
    }
    editRecord_.clear();
    pendingBlobs_.clear();

    batch.FailedAt = std::numeric_limits<std::size_t>::max();
    try {
        sendRange(0, batch.Pending.size());
    } catch (...) {
        restoreUnsent(batch.FailedAt == std::numeric_limits<std::size_t>::max() ? 0 : batch.FailedAt + 1);
        batch.Pending.clear();
        batch.PendingKind = WriteBatch::Kind::None;
        throw;
    }
    batch.Pending.clear();
    batch.PendingKind = WriteBatch::Kind::None;
    cur_ = current;
    eof_ = atEnd;
    if (editing) {
        state_ = dsEdit;
        editRecord_ = std::move(edited);
        pendingBlobs_ = std::move(blobs);
        modified_ = wasModified;
    }
    DataEvent(deDataSetChanged);
}

void TIBCustomDataSet::sendRange(std::size_t first, std::size_t last) {
    WriteBatch& batch = *batch_;
    DsqlStatement* block = nullptr;
    try {
        if (last - first >= kSmallestBlockRows && prepareBlocks())
            block = blockStatement(static_cast<int>(last - first));
    } catch (const std::exception&) {
        // The link broke while preparing: the first row meets it the row-by-row way.
        block = nullptr;
    }
    if (!block) {
        for (std::size_t i = first; i < last; ++i)
            replayRow(i);
        return;
    }
    std::size_t written = 0;
    try {
        written = sendBlock(first, last);
    } catch (const std::exception& error) {
        // The server ran none of it (a block it would not take) or undid it
        // all (the link broke). Halves narrow the first case down; the
        // second ends at the first row, sent the row-by-row way.
        if (dynamic_cast<const EIBInterBaseError*>(&error) && !IsLostConnection(error) && last - first > 1) {
            const std::size_t middle = first + (last - first) / 2;
            sendRange(first, middle);
            sendRange(middle, last);
        } else {
            for (std::size_t i = first; i < last; ++i)
                replayRow(i);
        }
        return;
    }
    if (written > 0 && batch.RowsWritten)
        batch.RowsWritten(static_cast<int>(written));
    if (written == last - first) {
        if (static_cast<int>(written) >= batch.Capacity)
            batch.Capacity = std::min(batch.Capacity * kBlockGrowth, batch.MaxRows);
        return;
    }
    // The row the server refused goes again the row-by-row way, which fails
    // with its own message and leaves it as that path does.
    replayRow(first + written);
    sendRange(first + written + 1, last);
}

std::size_t TIBCustomDataSet::sendBlock(std::size_t first, std::size_t last) {
    WriteBatch& batch = *batch_;
    const bool posts = batch.PendingKind == WriteBatch::Kind::Post;
    DsqlStatement& block = *blockStatement(static_cast<int>(last - first));
    XSQLDA& in = block.Input();
    const std::size_t perRowIn = posts ? batch.Slots.size() + 1 : 1;
    const std::size_t size = (static_cast<std::size_t>(in.sqld) - 1) / perRowIn;
    const std::size_t count = last - first;

    std::vector<short> inNulls(static_cast<std::size_t>(in.sqld), 0);
    ISC_LONG rows = static_cast<ISC_LONG>(count);
    const ISC_SHORT reread = batch.Rereads ? 1 : 0;
    auto bind = [&](std::size_t at, short type, short length, const void* data, bool isNull) {
        XSQLVAR& var = in.sqlvar[at];
        var.sqltype = static_cast<ISC_SHORT>(type | 1);
        var.sqlscale = 0;
        var.sqllen = length;
        var.sqldata = static_cast<ISC_SCHAR*>(const_cast<void*>(data));
        var.sqlind = &inNulls[at];
        inNulls[at] = isNull ? -1 : 0;
    };
    bind(0, SQL_LONG, sizeof rows, &rows, false);
    for (std::size_t r = 0; r < size; ++r) {
        // Places beyond the rows sent repeat the last one; N keeps them out.
        PendingRow& row = batch.Pending[first + std::min(r, count - 1)];
        std::byte* record = posts ? row.Edited.data() : row.Original.data();
        std::size_t at = 1 + r * perRowIn;
        if (!posts) {
            bind(at, SQL_TEXT, kDBKeySize, TRecordFormat::DBKey(record), false);
            continue;
        }
        bind(at++, SQL_SHORT, sizeof reread, &reread, false);
        for (const BatchParamSlot& slot : batch.Slots) {
            if (slot.IsKey) {
                bind(at++, SQL_TEXT, kDBKeySize, TRecordFormat::DBKey(record), false);
                continue;
            }
            bind(at, slot.Storage.SqlType, static_cast<short>(slot.Storage.Length),
                 format_.Values(record) + slot.Storage.Offset,
                 TRecordFormat::IsNull(record, slot.Storage.Column));
            in.sqlvar[at++].sqlscale = slot.Storage.Scale;
        }
    }

    // One output row: which row failed, then with a re-read per row the
    // re-read's row count and the row as read.
    XSQLDA& out = block.Output();
    std::vector<short> outNulls(static_cast<std::size_t>(out.sqld), 0);
    ISC_LONG failed = 0;
    auto bindCount = [&](std::size_t at, ISC_LONG* value) {
        XSQLVAR& var = out.sqlvar[at];
        var.sqltype = SQL_LONG | 1;
        var.sqlscale = 0;
        var.sqllen = sizeof(ISC_LONG);
        var.sqldata = reinterpret_cast<ISC_SCHAR*>(value);
        var.sqlind = &outNulls[at];
    };
    bindCount(0, &failed);
    const bool rereads = posts && batch.Rereads;
    const std::size_t perRowOut = columns_.size() + 1;
    std::vector<std::vector<std::byte>> fresh(rereads ? size : 0, std::vector<std::byte>(format_.Size()));
    std::vector<ISC_LONG> found(rereads ? size : 0, 0);
    for (std::size_t r = 0; rereads && r < size; ++r) {
        bindCount(1 + r * perRowOut, &found[r]);
        BindOutput(out, columns_, format_, fresh[r].data(), &outNulls[2 + r * perRowOut],
                   static_cast<int>(2 + r * perRowOut));
    }
    block.ReadSingleRow(Transaction()->Handle());
    ++blocksSent_;

    const std::size_t written = failed > 0 ? static_cast<std::size_t>(failed) - 1 : count;
    for (std::size_t r = 0; rereads && r < written; ++r) {
        if (found[r] <= 0)
            continue; // no row by that key: the posted values stay, as after a row-by-row post
        std::byte* stored = cache_->Record(batch.Pending[first + r].Row);
        for (std::size_t i = 0; i < columns_.size(); ++i)
            TRecordFormat::SetNull(stored, static_cast<int>(i), outNulls[2 + r * perRowOut + i] < 0);
        std::memcpy(format_.Values(stored), format_.Values(fresh[r].data()),
                    format_.Size() - format_.ValueOffset());
    }
    return written;
}

// One gathered row sent the row-by-row way, from the state the walk left it
// in: the failing row then fails exactly as it would have.
void TIBCustomDataSet::replayRow(std::size_t index) {
    WriteBatch& batch = *batch_;
    PendingRow& row = batch.Pending[index];
    batch.Replaying = true;
    try {
        if (batch.PendingKind == WriteBatch::Kind::Post) {
            std::memcpy(cache_->Record(row.Row), row.Original.data(), format_.Size());
            cur_ = row.Row;
            eof_ = false;
            editRecord_ = row.Edited;
            pendingBlobs_.assign(fields_.size(), std::nullopt);
            modified_ = true;
            state_ = dsEdit;
            Post();
        } else {
            cache_->Restore(row.Row, row.RecordNumber, row.Status);
            cur_ = row.Row;
            eof_ = false;
            Delete();
        }
    } catch (...) {
        batch.Replaying = false;
        batch.FailedAt = index;
        throw;
    }
    batch.Replaying = false;
    if (batch.RowsWritten)
        batch.RowsWritten(1);
}

// The gathered rows from `from` on never reached the server: they are shown
// as they were.
void TIBCustomDataSet::restoreUnsent(std::size_t from) noexcept {
    WriteBatch& batch = *batch_;
    std::vector<PendingRow>& pending = batch.Pending;
    if (from >= pending.size() || !cache_)
        return;
    if (batch.PendingKind == WriteBatch::Kind::Post) {
        for (std::size_t i = from; i < pending.size(); ++i)
            std::memcpy(cache_->Record(pending[i].Row), pending[i].Original.data(), format_.Size());
        return;
    }
    // Deletes are undone in reverse order. A row whose row-by-row delete just
    // failed is shown already; it is taken away first so every removal after
    // it is undone at the place it was made.
    const std::size_t failed = from - 1;
    const bool failedShown = from > 0 && batch.FailedAt == failed;
    std::size_t last = from;
    if (failedShown) {
        cache_->Remove(pending[failed].Row);
        last = failed;
    }
    for (std::size_t i = pending.size(); i-- > last;)
        cache_->Restore(pending[i].Row, pending[i].RecordNumber, pending[i].Status);
    if (failedShown) {
        cur_ = pending[failed].Row;
        eof_ = false;
    }
}
