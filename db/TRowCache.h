#pragma once
// The rows a dataset has fetched. Each row record is a fixed-size block:
//   the 8-byte row key (DBKey), the update status, the cached-update status,
//   one null bit per column, then the column values packed by the result's layout.
// Records live in chunks of `chunkRows` records, so the cache grows by that
// many rows at a time and costs no allocation per row. Rows keep the order in
// which they were added; inserted and removed rows change only the visible order.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

enum class TUpdateStatus : std::uint8_t { Unmodified, Modified, Inserted, Deleted };
enum class TCachedUpdateStatus : std::uint8_t { Unmodified, Modified, Inserted, Deleted, Uninserted };

inline constexpr std::size_t kDBKeySize = 8;

// Where things are inside a record of a given result layout.
class TRecordFormat {
public:
    TRecordFormat() = default;
    TRecordFormat(int columns, std::size_t valueBytes);

    int Columns() const { return columns_; }
    std::size_t ValueOffset() const { return valueOffset_; }
    std::size_t Size() const { return size_; }

    // A zeroed record with every column NULL.
    void InitBlank(std::byte* record) const;

    static std::byte* DBKey(std::byte* record) { return record; }
    static const std::byte* DBKey(const std::byte* record) { return record; }
    static TUpdateStatus UpdateStatus(const std::byte* record);
    static void SetUpdateStatus(std::byte* record, TUpdateStatus status);
    static TCachedUpdateStatus CachedUpdateStatus(const std::byte* record);
    static void SetCachedUpdateStatus(std::byte* record, TCachedUpdateStatus status);
    static bool IsNull(const std::byte* record, int column);
    static void SetNull(std::byte* record, int column, bool isNull);

    std::byte* Values(std::byte* record) const { return record + valueOffset_; }
    const std::byte* Values(const std::byte* record) const { return record + valueOffset_; }

private:
    static constexpr std::size_t kStatusOffset = kDBKeySize;
    static constexpr std::size_t kNullOffset = kDBKeySize + 2;

    int columns_ = 0;
    std::size_t valueOffset_ = kNullOffset;
    std::size_t size_ = kNullOffset;
};

class TRowCache {
public:
    TRowCache(TRecordFormat format, int chunkRows);
    TRowCache(const TRowCache&) = delete;
    TRowCache& operator=(const TRowCache&) = delete;

    const TRecordFormat& Format() const { return format_; }
    // Visible rows.
    int Count() const;
    // Records allocated, visible or not (a multiple of the chunk size).
    int Capacity() const { return static_cast<int>(chunks_.size()) * chunkRows_; }
    // Bytes held by the records and the row order.
    std::size_t MemoryUsed() const;

    // The record of a visible row (0-based, in visible order).
    std::byte* Record(int row);
    const std::byte* Record(int row) const;
    // Its position among all records ever added: the row's number in the cache.
    int RecordNumber(int row) const;

    // A new record, copied from `record`, as the last visible row.
    std::byte* Append(const std::byte* record);
    // A new blank record (every column NULL) shown at `row`; later rows move down.
    std::byte* InsertAt(int row);
    // Hides a row; its record stays allocated, marked deleted.
    void Remove(int row);
    // Shows a removed record again at `row`, with the status it had: undoes a
    // Remove whose deletion never reached the server.
    void Restore(int row, int recordNumber, TUpdateStatus status);
    // Forgets every row and frees the records.
    void Clear();

private:
    std::byte* newRecord();
    std::byte* recordAt(int number) const;
    void materializeOrder();

    TRecordFormat format_;
    int chunkRows_;
    std::vector<std::unique_ptr<std::byte[]>> chunks_;
    int records_ = 0;
    // Visible order as record numbers; left empty while it is simply 0..records-1,
    // which is the case until the first insert or removal.
    std::vector<std::int32_t> order_;
    bool identityOrder_ = true;
};
