// SQL text the layer writes or reads without a server: parameter markers,
// identifier quoting, the table's generated statements, and how column types
// become field types.
#include "db/FieldTypeCode.h"
#include "db/Identifiers.h"
#include "db/SqlParams.h"
#include "db/TableStatements.h"

#include <gtest/gtest.h>

using Names = std::vector<std::string>;

TEST(SqlParams, NamesOutsideQuotesAndCommentsBecomeMarkers) {
    const TParsedSql parsed = ParseSqlParams(
        "update T set A = ':NOT', \"B:C\" = :B_1 where X = :x$ -- :gone\n and Y = /* :no */ :X$");
    EXPECT_EQ(parsed.Text, "update T set A = ':NOT', \"B:C\" = ? where X = ? -- :gone\n and Y = /* :no */ ?");
    EXPECT_EQ(parsed.Names, (Names{"B_1", "x$", "X$"}));
    EXPECT_EQ(DistinctParamNames(ParseSqlParams(":A + :B + :A")), (Names{"A", "B"}));
}

TEST(SqlParams, QuotedNamesLoseTheirQuotesAndAnApostropheIsNoEnd) {
    const TParsedSql parsed =
        ParseSqlParams("set \"Nome\" = :\"Nome\", \"A\"\"B\" = :\"A\"\"B\" where K = 'D''Avila:X'");
    EXPECT_EQ(parsed.Text, "set \"Nome\" = ?, \"A\"\"B\" = ? where K = 'D''Avila:X'");
    EXPECT_EQ(parsed.Names, (Names{"Nome", "A\"B"}));
    // A colon not followed by a name stays, as does an unterminated literal.
    EXPECT_EQ(ParseSqlParams("a : b :: 'x:y").Text, "a : b :: 'x:y");
}

// Found by fuzzing: the open quote used to give the cut-off name "unterminate"
// and a statement the server would run.
TEST(SqlParams, AnUnterminatedQuotedNameIsNoParameter) {
    for (const char* sql : {":\"unterminated", "where A = :\"A\"\"", "where A = :\""}) {
        const TParsedSql parsed = ParseSqlParams(sql);
        EXPECT_EQ(parsed.Text, sql);
        EXPECT_EQ(parsed.Names, Names{}) << sql;
    }
    EXPECT_EQ(ParseSqlParams(":\"A\" = :\"B").Names, Names{"A"});
}

TEST(Identifiers, Dialect3QuotesKeepingCaseAndBlanksDialect1UpperCases) {
    EXPECT_EQ(QuoteIdentifier(3, "clientes"), "\"clientes\"");
    EXPECT_EQ(QuoteIdentifier(3, " A\"B "), "\" A\"\"B \"");
    EXPECT_EQ(QuoteIdentifier(1, "  cliente\xE7\xE3o "), "CLIENTE\xC7\xC3O");
}

TEST(Identifiers, StoredFormUndoesTheQuoting) {
    EXPECT_EQ(StoredIdentifier("\"clientes\""), "clientes");
    EXPECT_EQ(StoredIdentifier(" \"A\"\"B\" "), "A\"B");
    EXPECT_EQ(StoredIdentifier(" clientes "), "CLIENTES");
    EXPECT_EQ(StoredIdentifier(QuoteIdentifier(3, "Tab'ela")), "Tab'ela");
}

TEST(Identifiers, OrderListsPerDialect) {
    EXPECT_EQ(OrderByList(3, "A;B"), "\"A\", \"B\"");
    EXPECT_EQ(OrderByList(3, " NOME ; CODIGO"), "\"NOME\", \"CODIGO\"");
    // A direction is part of the name under dialect 3 (and the server refuses it).
    EXPECT_EQ(OrderByList(3, "NOME DESC"), "\"NOME DESC\"");
    EXPECT_EQ(OrderByList(1, " nome;codigo desc "), "NOME, CODIGO DESC");
}

TEST(TableStatements, SelectLinesEachEndWithCrLf) {
    EXPECT_EQ(TableSelectSQL("\"T\"", "", ""),
              "select \"T\".*, RDB$DB_KEY as IBX_INTERNAL_DBKEY from \"T\"\r\n");
    EXPECT_EQ(
        TableSelectSQL("T", "ID > 1", "ID, NOME"),
        "select T.*, RDB$DB_KEY as IBX_INTERNAL_DBKEY from T\r\n where ID > 1\r\n order by ID, NOME\r\n");
}

TEST(TableStatements, RowStatementsByteForByte) {
    const Names fields{"\"ID\"", "\"NOME\""};
    EXPECT_EQ(
        TableRefreshSQL("\"T\""),
        "select \"T\".*, RDB$DB_KEY as IBX_INTERNAL_DBKEY from \"T\" where RDB$DB_KEY = :IBX_INTERNAL_DBKEY");
    EXPECT_EQ(TableDeleteSQL("\"T\""), "delete from \"T\" where RDB$DB_KEY = :IBX_INTERNAL_DBKEY");
    EXPECT_EQ(
        TableModifySQL("\"T\"", fields),
        "update \"T\" set \"ID\" = :\"ID\", \"NOME\" = :\"NOME\" where RDB$DB_KEY = :IBX_INTERNAL_DBKEY");
    EXPECT_EQ(TableInsertSQL("\"T\"", fields),
              "insert into \"T\" (\"ID\", \"NOME\") values (:\"ID\", :\"NOME\")");
}

TEST(TableStatements, CatalogueQueriesKeepTheirTextsAndDoubleApostrophes) {
    EXPECT_EQ(TableUpdatableSQL("T"),
              "Select RDB$SYSTEM_FLAG, RDB$DBKEY_LENGTH from RDB$RELATIONS where RDB$RELATION_NAME = 'T'");
    EXPECT_EQ(IndexSegmentsSQL("IX"), "Select RDB$FIELD_NAME from RDB$INDEX_SEGMENTS where RDB$INDEX_NAME = "
                                      "'IX'ORDER BY RDB$FIELD_POSITION");
    EXPECT_EQ(
        TableIndexesSQL("D'AVILA"),
        "Select I.RDB$INDEX_NAME, I.RDB$UNIQUE_FLAG, I.RDB$INDEX_TYPE, I.RDB$SEGMENT_COUNT, S.RDB$FIELD_NAME "
        "from RDB$INDICES I, RDB$INDEX_SEGMENTS S where I.RDB$INDEX_NAME = S.RDB$INDEX_NAME and "
        "I.RDB$RELATION_NAME = 'D''AVILA'");
    EXPECT_EQ(TableFieldsSQL("T").substr(TableFieldsSQL("T").find(" where ")),
              " where R.RDB$RELATION_NAME = 'T' and R.RDB$FIELD_SOURCE = F.RDB$FIELD_NAME order by "
              "R.RDB$FIELD_POSITION");
}

TEST(FieldTypeCode, FixedNumbersAndNames) {
    EXPECT_EQ(ftSmallint, 2);
    EXPECT_EQ(ftFloat, 6);
    EXPECT_EQ(ftBCD, 8);
    EXPECT_EQ(ftDateTime, 11);
    EXPECT_EQ(ftBlob, 15);
    EXPECT_EQ(ftMemo, 16);
    EXPECT_EQ(ftLargeint, 25);
    EXPECT_EQ(ftFMTBcd, 37);
    EXPECT_STREQ(FieldTypeName(ftTimeStamp), "ftTimeStamp");
    EXPECT_STREQ(FieldTypeName(static_cast<TFieldType>(38)), "");
}

TEST(FieldTypeCode, ColumnMapping) {
    struct Case {
        int type, scale, subType, length;
        TFieldType expected;
        int size, precision;
    };
    const Case cases[] = {
        {448, 0, 0, 60, ftString, 60, 0}, {452, 0, 0, 6, ftString, 6, 0},   {480, -2, 0, 8, ftFloat, 0, 0},
        {482, 0, 0, 4, ftFloat, 0, 0},    {496, 0, 0, 4, ftInteger, 0, 0},  {496, -4, 0, 4, ftBCD, 4, 9},
        {496, -5, 0, 4, ftFloat, 0, 0},   {500, 0, 0, 2, ftSmallint, 0, 0}, {500, -1, 0, 2, ftBCD, 1, 4},
        {510, 0, 0, 8, ftDateTime, 0, 0}, {520, 0, 1, 8, ftMemo, 8, 0},     {520, 0, 0, 8, ftBlob, 8, 0},
        {520, 0, 2, 8, ftBlob, 8, 0},     {560, 0, 0, 4, ftTime, 0, 0},     {570, 0, 0, 4, ftDate, 0, 0},
        {580, 0, 0, 8, ftLargeint, 0, 0}, {580, -2, 0, 8, ftBCD, 2, 18},    {580, -6, 0, 8, ftFloat, 0, 0},
        {449, 0, 0, 10, ftString, 10, 0}, // with the null flag bit
    };
    for (const Case& c : cases) {
        const auto mapped = MapColumn(c.type, c.scale, c.subType, c.length);
        ASSERT_TRUE(mapped) << c.type;
        EXPECT_EQ(mapped->DataType, c.expected) << c.type << " " << c.scale;
        EXPECT_EQ(mapped->Size, c.size) << c.type << " " << c.scale;
        EXPECT_EQ(mapped->Precision, c.precision) << c.type << " " << c.scale;
    }
    EXPECT_TRUE(MapColumn(452, 0, 0, 6)->FixedLength);
    EXPECT_FALSE(MapColumn(448, 0, 0, 6)->FixedLength);
    for (int noField : {540, 550, 530, 32764})
        EXPECT_FALSE(MapColumn(noField, 0, 0, 8)) << noField;
}
