// Binary blob values are bytes, not text: NUL and every other byte value
// survive a write and a read exactly, whatever their length.
#include "DataSetTestSupport.h"
#include "db/TIBDatabase.h"
#include "db/TIBTransaction.h"

namespace {

std::string everyByte(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 256) % 256);
    return bytes;
}

TEST(BinaryBlobTest, NulAndEveryByteValueRoundTripExactly) {
    TableFixture t;
    t.db.exec("CREATE TABLE B (ID INTEGER NOT NULL PRIMARY KEY, BIN BLOB SUB_TYPE 0)");
    t.db.exec("INSERT INTO B (ID) VALUES (1)");
    t.connection.SetConnected(true);
    t.transaction.Start();
    t.open("B");
    // Sizes around the segment length, and a value that is only NULs.
    for (const std::string& value : {std::string(1, '\0'), std::string(5, '\0'), everyByte(32767),
                                     everyByte(32768), everyByte(32769), everyByte(300000)}) {
        SCOPED_TRACE(value.size());
        t.table.Edit();
        t.field("BIN").SetAsString(value);
        t.table.Post();
        EXPECT_EQ(t.committed("SELECT BIN FROM B WHERE ID = 1"), value);
        t.table.Close();
        t.open("B");
        EXPECT_TRUE(t.field("BIN").AsString() == value) << "read back through the dataset";
    }
}

} // namespace
