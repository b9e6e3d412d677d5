// The row cache on its own: records in chunks, the visible order, and the
// parts of a record.
#include "db/TRowCache.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// A record of two columns with an 8-byte value area, the value area holding `value`.
std::vector<std::byte> recordWith(const TRecordFormat& format, long long value) {
    std::vector<std::byte> record(format.Size());
    format.InitBlank(record.data());
    std::memcpy(format.Values(record.data()), &value, sizeof value);
    return record;
}

long long valueOf(const TRecordFormat& format, const std::byte* record) {
    long long value;
    std::memcpy(&value, format.Values(record), sizeof value);
    return value;
}

std::vector<long long> visibleValues(const TRowCache& cache) {
    std::vector<long long> values;
    for (int row = 0; row < cache.Count(); ++row)
        values.push_back(valueOf(cache.Format(), cache.Record(row)));
    return values;
}

} // namespace

TEST(RowRecord, KeyStatusesAndNullBitsDoNotOverlap) {
    const TRecordFormat format(11, 8);
    EXPECT_EQ(format.ValueOffset(), kDBKeySize + 2 + 2); // eleven null bits take two bytes
    std::vector<std::byte> record(format.Size());
    format.InitBlank(record.data());
    for (int column = 0; column < 11; ++column)
        EXPECT_TRUE(TRecordFormat::IsNull(record.data(), column));

    std::memset(TRecordFormat::DBKey(record.data()), 0xFF, kDBKeySize);
    TRecordFormat::SetUpdateStatus(record.data(), TUpdateStatus::Modified);
    TRecordFormat::SetCachedUpdateStatus(record.data(), TCachedUpdateStatus::Uninserted);
    TRecordFormat::SetNull(record.data(), 9, false);
    EXPECT_EQ(TRecordFormat::UpdateStatus(record.data()), TUpdateStatus::Modified);
    EXPECT_EQ(TRecordFormat::CachedUpdateStatus(record.data()), TCachedUpdateStatus::Uninserted);
    EXPECT_FALSE(TRecordFormat::IsNull(record.data(), 9));
    EXPECT_TRUE(TRecordFormat::IsNull(record.data(), 8));
    EXPECT_TRUE(TRecordFormat::IsNull(record.data(), 10));
    EXPECT_EQ(valueOf(format, record.data()), 0);
}

TEST(RowCache, GrowsOneChunkAtATimeAndKeepsEveryRow) {
    const TRecordFormat format(2, 8);
    TRowCache cache(format, 1000);
    EXPECT_EQ(cache.Capacity(), 0);
    for (int i = 0; i < 1000; ++i)
        cache.Append(recordWith(format, i).data());
    EXPECT_EQ(cache.Capacity(), 1000);
    cache.Append(recordWith(format, 1000).data());
    EXPECT_EQ(cache.Capacity(), 2000);
    EXPECT_EQ(cache.Count(), 1001);
    // Records stay where they are while the cache grows.
    EXPECT_EQ(valueOf(format, cache.Record(0)), 0);
    EXPECT_EQ(valueOf(format, cache.Record(999)), 999);
    EXPECT_EQ(valueOf(format, cache.Record(1000)), 1000);
    EXPECT_EQ(cache.MemoryUsed(), 2000 * format.Size());
}

TEST(RowCache, InsertAndRemoveChangeOnlyTheVisibleOrder) {
    const TRecordFormat format(2, 8);
    TRowCache cache(format, 2);
    for (int i = 1; i <= 3; ++i)
        cache.Append(recordWith(format, i * 10).data());

    std::byte* inserted = cache.InsertAt(1);
    EXPECT_TRUE(TRecordFormat::IsNull(inserted, 0));
    const long long fifteen = 15;
    std::memcpy(format.Values(inserted), &fifteen, sizeof fifteen);
    EXPECT_EQ(visibleValues(cache), (std::vector<long long>{10, 15, 20, 30}));
    EXPECT_EQ(cache.RecordNumber(1), 3); // added last, shown second

    const std::byte* removed = cache.Record(2);
    cache.Remove(2);
    EXPECT_EQ(TRecordFormat::UpdateStatus(removed), TUpdateStatus::Deleted);
    EXPECT_EQ(visibleValues(cache), (std::vector<long long>{10, 15, 30}));

    // Rows read after that come last.
    cache.Append(recordWith(format, 40).data());
    EXPECT_EQ(visibleValues(cache), (std::vector<long long>{10, 15, 30, 40}));
    EXPECT_EQ(cache.Capacity(), 6);

    cache.InsertAt(cache.Count());
    EXPECT_EQ(cache.Count(), 5);
    EXPECT_THROW(cache.InsertAt(7), std::out_of_range);
    EXPECT_THROW(cache.Record(5), std::out_of_range);
}

TEST(RowCache, RemovalsUndoneInReverseOrderGiveBackTheRowsAsTheyWere) {
    const TRecordFormat format(1, 8);
    TRowCache cache(format, 2);
    for (int i = 1; i <= 5; ++i)
        cache.Append(recordWith(format, i).data());
    TRecordFormat::SetUpdateStatus(cache.Record(1), TUpdateStatus::Modified);
    // Remove the second row twice over (2, then 3), then the last (5).
    struct Removal {
        int row, number;
        TUpdateStatus status;
    };
    std::vector<Removal> removals;
    for (int row : {1, 1, 2}) {
        removals.push_back({row, cache.RecordNumber(row), TRecordFormat::UpdateStatus(cache.Record(row))});
        cache.Remove(row);
    }
    EXPECT_EQ(visibleValues(cache), (std::vector<long long>{1, 4}));
    for (auto it = removals.rbegin(); it != removals.rend(); ++it)
        cache.Restore(it->row, it->number, it->status);
    EXPECT_EQ(visibleValues(cache), (std::vector<long long>{1, 2, 3, 4, 5}));
    EXPECT_EQ(TRecordFormat::UpdateStatus(cache.Record(1)), TUpdateStatus::Modified);
    EXPECT_EQ(TRecordFormat::UpdateStatus(cache.Record(2)), TUpdateStatus::Unmodified);
    EXPECT_THROW(cache.Restore(9, 0, TUpdateStatus::Unmodified), std::out_of_range);
}

TEST(RowCache, RemovingEveryRowAndClearingLeaveItEmpty) {
    const TRecordFormat format(1, 8);
    TRowCache cache(format, 1000);
    cache.Append(recordWith(format, 1).data());
    cache.Remove(0);
    EXPECT_EQ(cache.Count(), 0);
    cache.Append(recordWith(format, 2).data());
    EXPECT_EQ(visibleValues(cache), (std::vector<long long>{2}));
    cache.Clear();
    EXPECT_EQ(cache.Count(), 0);
    EXPECT_EQ(cache.Capacity(), 0);
    cache.Append(recordWith(format, 3).data());
    EXPECT_EQ(visibleValues(cache), (std::vector<long long>{3}));
}
