#include "db/TRowCache.h"

#include <cstring>
#include <numeric>
#include <stdexcept>

TRecordFormat::TRecordFormat(int columns, std::size_t valueBytes)
    : columns_(columns), valueOffset_(kNullOffset + static_cast<std::size_t>(columns + 7) / 8),
      size_(valueOffset_ + valueBytes) {}

void TRecordFormat::InitBlank(std::byte* record) const {
    std::memset(record, 0, size_);
    for (int i = 0; i < columns_; ++i)
        SetNull(record, i, true);
}

TUpdateStatus TRecordFormat::UpdateStatus(const std::byte* record) {
    return static_cast<TUpdateStatus>(record[kStatusOffset]);
}

void TRecordFormat::SetUpdateStatus(std::byte* record, TUpdateStatus status) {
    record[kStatusOffset] = static_cast<std::byte>(status);
}

TCachedUpdateStatus TRecordFormat::CachedUpdateStatus(const std::byte* record) {
    return static_cast<TCachedUpdateStatus>(record[kStatusOffset + 1]);
}

void TRecordFormat::SetCachedUpdateStatus(std::byte* record, TCachedUpdateStatus status) {
    record[kStatusOffset + 1] = static_cast<std::byte>(status);
}

bool TRecordFormat::IsNull(const std::byte* record, int column) {
    const auto bits = static_cast<unsigned>(record[kNullOffset + static_cast<std::size_t>(column) / 8]);
    return (bits >> (column % 8)) & 1u;
}

void TRecordFormat::SetNull(std::byte* record, int column, bool isNull) {
    std::byte& bits = record[kNullOffset + static_cast<std::size_t>(column) / 8];
    const auto mask = static_cast<std::byte>(1u << (column % 8));
    bits = isNull ? (bits | mask) : (bits & ~mask);
}

TRowCache::TRowCache(TRecordFormat format, int chunkRows)
    : format_(format), chunkRows_(chunkRows < 1 ? 1 : chunkRows) {}

int TRowCache::Count() const {
    return identityOrder_ ? records_ : static_cast<int>(order_.size());
}

std::size_t TRowCache::MemoryUsed() const {
    return chunks_.size() * static_cast<std::size_t>(chunkRows_) * format_.Size() +
           order_.capacity() * sizeof(std::int32_t);
}

std::byte* TRowCache::recordAt(int number) const {
    return chunks_[static_cast<std::size_t>(number / chunkRows_)].get() +
           static_cast<std::size_t>(number % chunkRows_) * format_.Size();
}

int TRowCache::RecordNumber(int row) const {
    if (row < 0 || row >= Count())
        throw std::out_of_range("row outside the cache");
    return identityOrder_ ? row : order_[static_cast<std::size_t>(row)];
}

std::byte* TRowCache::Record(int row) {
    return recordAt(RecordNumber(row));
}

const std::byte* TRowCache::Record(int row) const {
    return recordAt(RecordNumber(row));
}

std::byte* TRowCache::newRecord() {
    if (records_ == Capacity())
        chunks_.push_back(
            std::make_unique<std::byte[]>(static_cast<std::size_t>(chunkRows_) * format_.Size()));
    return recordAt(records_++);
}

std::byte* TRowCache::Append(const std::byte* record) {
    std::byte* stored = newRecord();
    std::memcpy(stored, record, format_.Size());
    if (!identityOrder_)
        order_.push_back(records_ - 1);
    return stored;
}

std::byte* TRowCache::InsertAt(int row) {
    if (row < 0 || row > Count())
        throw std::out_of_range("row outside the cache");
    materializeOrder();
    std::byte* stored = newRecord();
    format_.InitBlank(stored);
    order_.insert(order_.begin() + row, records_ - 1);
    return stored;
}

void TRowCache::Remove(int row) {
    std::byte* record = Record(row);
    TRecordFormat::SetUpdateStatus(record, TUpdateStatus::Deleted);
    materializeOrder();
    order_.erase(order_.begin() + row);
}

void TRowCache::Restore(int row, int recordNumber, TUpdateStatus status) {
    if (row < 0 || row > Count() || recordNumber < 0 || recordNumber >= records_)
        throw std::out_of_range("row outside the cache");
    materializeOrder();
    order_.insert(order_.begin() + row, recordNumber);
    TRecordFormat::SetUpdateStatus(recordAt(recordNumber), status);
}

void TRowCache::Clear() {
    chunks_.clear();
    records_ = 0;
    order_.clear();
    order_.shrink_to_fit();
    identityOrder_ = true;
}

void TRowCache::materializeOrder() {
    if (!identityOrder_)
        return;
    order_.resize(static_cast<std::size_t>(records_));
    std::iota(order_.begin(), order_.end(), 0);
    identityOrder_ = false;
}
