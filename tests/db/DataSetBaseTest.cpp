// The dataset base under a free statement, as the query dataset builds on it:
// typed parameters, a result of several tables, no writing without row
// statements, and statements without rows run by Open.
#include "DataSetTestSupport.h"
#include "util/DateText.h"

#include <gtest/gtest.h>

namespace {

class SqlDataSet : public TIBCustomDataSet {
public:
    SqlDataSet(TIBDatabase* database, TIBTransaction* transaction)
        : TIBCustomDataSet("qry", database, transaction) {}

    std::string sql;
    std::vector<TParamValue> params;

    using TIBCustomDataSet::StatementParamNames;
    using TIBCustomDataSet::StatementType;

protected:
    void PrepareCursor() override {
        PrepareStatement(sql);
        for (std::size_t i = 0; i < params.size(); ++i)
            SetStatementParam(static_cast<int>(i), params[i]);
    }
};

TParamValue text(std::string value) {
    TParamValue p;
    p.DataType = ftString;
    p.IsNull = false;
    p.Text = std::move(value);
    return p;
}

TParamValue integer(TFieldType type, std::int64_t value) {
    TParamValue p;
    p.DataType = type;
    p.IsNull = false;
    p.Integer = value;
    return p;
}

TParamValue number(TFieldType type, double value) {
    TParamValue p;
    p.DataType = type;
    p.IsNull = false;
    p.Number = value;
    return p;
}

struct Query : MainWindowConnection {
    Query() {
        db.exec("CREATE TABLE ITEMS (ID INTEGER NOT NULL PRIMARY KEY, NAME VARCHAR(10), PRICE NUMERIC(15,2), "
                "WEIGHT DOUBLE PRECISION, BIG BIGINT, SOLD DATE, AT_TIME TIME, STAMP TIMESTAMP, DATA BLOB)");
        db.exec("INSERT INTO ITEMS VALUES (1, 'PEN', 1.25, 0.5, 5000000000, '2024-01-31', '08:30:00', "
                "'2024-01-31 08:30:00', 'bytes')");
        db.exec("CREATE TABLE STOCK (ITEM INTEGER, QTY SMALLINT, DOUBLE_QTY COMPUTED BY (QTY * 2))");
        db.exec("INSERT INTO STOCK VALUES (1, 7)");
    }
    SqlDataSet query{&connection, &transaction};
};

} // namespace

TEST(DataSetBase, ParametersTravelByTheirType) {
    Query q;
    q.query.sql = "select ID from ITEMS where NAME = :NAME and PRICE = :PRICE and WEIGHT = :WEIGHT and "
                  "BIG = :BIG and SOLD = :SOLD and AT_TIME = :T and STAMP = :STAMP and ID = :ID and "
                  "DATA = :DATA";
    TParamValue data;
    data.DataType = ftBlob;
    data.IsNull = false;
    data.Text = "bytes";
    q.query.params = {text("PEN"),
                      integer(ftBCD, 12500),
                      number(ftFloat, 0.5),
                      integer(ftLargeint, 5000000000),
                      number(ftDate, EncodeDate(2024, 1, 31)),
                      number(ftTime, EncodeTime(8, 30, 0, 0)),
                      number(ftDateTime, EncodeDate(2024, 1, 31) + EncodeTime(8, 30, 0, 0)),
                      integer(ftInteger, 1),
                      data};
    q.query.Open();
    EXPECT_EQ(q.query.StatementParamNames(), (std::vector<std::string>{"NAME", "PRICE", "WEIGHT", "BIG",
                                                                       "SOLD", "T", "STAMP", "ID", "DATA"}));
    EXPECT_EQ(q.query.StatementType(), 1);
    ASSERT_FALSE(q.query.Eof());
    EXPECT_EQ(q.query.FieldNamed("ID")->AsInteger(), 1);

    q.query.Close();
    q.query.params[0] = TParamValue{}; // NULL matches nothing
    q.query.Open();
    EXPECT_TRUE(q.query.Eof());

    q.query.Close();
    TParamValue odd;
    odd.DataType = ftVariant;
    odd.IsNull = false;
    q.query.params[0] = odd;
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { q.query.Open(); }), "Unsupported feature");
    EXPECT_FALSE(q.query.Active());
}

TEST(DataSetBase, AResultOfSeveralTablesIsReadOnly) {
    Query q;
    q.query.sql = "select I.NAME, S.QTY, S.DOUBLE_QTY from ITEMS I join STOCK S on S.ITEM = I.ID";
    q.query.Open();
    EXPECT_EQ(q.query.FieldCount(), 3);
    EXPECT_EQ(q.query.FieldNamed("QTY")->DataType(), ftSmallint);
    EXPECT_TRUE(q.query.FieldNamed("DOUBLE_QTY")->ReadOnly());
    EXPECT_EQ(q.query.FieldNamed("DOUBLE_QTY")->AsInteger(), 14);
    EXPECT_FALSE(q.query.CanModify());
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { q.query.Edit(); }), "qry: Cannot modify a read-only dataset");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { q.query.Append(); }), "qry: Cannot modify a read-only dataset");
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { q.query.Delete(); }),
              "Cannot delete from dataset. (No delete query)");
    EXPECT_EQ(q.query.FieldDefs().size(), 3u);
}

TEST(DataSetBase, AStatementWithoutRowsRunsAtOpenAndStaysClosed) {
    Query q;
    q.query.sql = "insert into ITEMS (ID, NAME, DATA) values (:ID, :NAME, :DATA)";
    TParamValue data;
    data.DataType = ftBlob;
    data.IsNull = false;
    data.Text = std::string("\0\x01\x02", 3);
    q.query.params = {integer(ftInteger, 2), text("INK"), data};
    q.query.Open();
    EXPECT_FALSE(q.query.Active());
    EXPECT_EQ(q.query.StatementType(), 2);
    q.transaction.CommitRetaining();
    EXPECT_EQ(q.db.scalar("SELECT DATA FROM ITEMS WHERE ID = 2"), data.Text);
    EXPECT_EQ(q.db.scalar("SELECT NAME FROM ITEMS WHERE ID = 2"), "INK");
}
