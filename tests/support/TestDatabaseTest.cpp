// The database fixture itself: every test gets its own empty database on the
// private server, and text travels as code page 1252 bytes both ways.
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(TestDatabase, EachTestGetsItsOwnEmptyDatabase) {
    TestDatabase first;
    TestDatabase second;
    EXPECT_NE(first.path(), second.path());
    first.exec("CREATE TABLE CLIENTES (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(40))");
    EXPECT_EQ(first.scalar("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'CLIENTES'"), "1");
    EXPECT_EQ(second.scalar("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'CLIENTES'"), "0");
    EXPECT_EQ(first.connectString(), TestDatabase::server() + ":" + first.path());
}

TEST(TestDatabase, TextNullsNumbersAndBlobsComeBackAsStored) {
    TestDatabase db;
    db.exec({
        "CREATE TABLE T (ID INTEGER, NOME VARCHAR(40), PRECO NUMERIC(15,2), DATA DATE, OBS BLOB SUB_TYPE 0)",
        "INSERT INTO T VALUES (1, 'Jo\xE3o D''\xC1vila', 12.5, '2020-02-05', x'00FF41')",
        "INSERT INTO T (ID) VALUES (2)",
    });
    const auto rows = db.query("SELECT ID, NOME, PRECO, DATA, OBS FROM T ORDER BY ID");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (TestRow{"1", "Jo\xE3o D'\xC1vila", "12.50", "2020-02-05",
                                std::string("\0\xFF"
                                            "A",
                                            3)}));
    EXPECT_EQ(rows[1], (TestRow{"2", std::nullopt, std::nullopt, std::nullopt, std::nullopt}));
}

TEST(TestDatabase, ServerErrorsNameTheStatement) {
    TestDatabase db;
    try {
        db.exec("SELECT * FROM NAO_EXISTE");
        FAIL() << "the statement should fail";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("NAO_EXISTE"), std::string::npos) << e.what();
    }
}

TEST(TestDatabase, TheFileIsRemovedWithTheFixture) {
    std::string path;
    {
        TestDatabase db;
        path = db.path();
        EXPECT_TRUE(std::filesystem::exists(path));
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}
