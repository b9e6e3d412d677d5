// Every row walk run twice over the same data, once sending many rows per
// round trip and once row by row, against the test server: everything a user
// can see must come out the same. That is the rows in the database (read from
// a second connection), the rows the dataset holds and its state, the error
// that ends the walk, and the commit steps that failed.
#include "db/TField.h"
#include "db/TIBTable.h"
#include "ops/CommitStep.h"
#include "ops/FieldCopy.h"
#include "ops/OperationHost.h"
#include "ops/RecordElimination.h"
#include "ops/WriteField.h"
#include "tests/db/DbTestSupport.h"
#include "tests/support/UncommittedWork.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
#include <typeinfo>

namespace {

class RecordingHost : public OperationHost {
public:
    explicit RecordingHost(MainWindowConnection& main) : main_(main) {}
    bool CommitStep(TIBDataSetBase* dataSet) override {
        const bool committed = RunCommitStep(main_.connection, main_.transaction, dataSet);
        if (!committed)
            ++failedCommits;
        return committed;
    }
    int failedCommits = 0;

private:
    MainWindowConnection& main_;
};

// What a user can see after a walk.
struct Outcome {
    std::string error;                // the exception's class and text, or nothing
    std::vector<TestRow> committed;   // what a second connection reads right after the walk
    std::vector<std::string> shown;   // every row the dataset holds, as the grid shows it
    std::string state;                // current row, state, end flag, modified flag
    std::vector<std::string> current; // the current row's values (the edited ones while editing)
    int failedCommits = 0;
    std::vector<TestRow> afterCommit; // the same once the walk's posted work is committed
    int blocks = 0;                   // blocks the walk sent
};

using Statements = std::vector<std::string>;
using Walk = std::function<void(TIBTable&, OperationHost&)>;

// One run on a database of its own, built from `setup`.
Outcome runWalk(const Statements& setup, const std::string& tableName, const std::string& checkQuery,
                bool blocks, const Walk& walk, int dialect = 3,
                const std::function<void(TIBTable&)>& prepare = {}, const std::string& lockedRow = {}) {
    MainWindowConnection main(dialect);
    main.db.exec(setup);
    std::unique_ptr<UncommittedWork> other;
    if (!lockedRow.empty()) {
        other = std::make_unique<UncommittedWork>(main.db.connectString());
        other->exec(lockedRow);
    }
    main.connection.SetConnected(true);
    main.transaction.Start();
    TIBTable table("table", &main.connection, &main.transaction);
    table.SetWriteBlocks(blocks);
    table.SetTableName(tableName);
    table.Open();
    if (prepare)
        prepare(table);
    RecordingHost host(main);
    Outcome outcome;
    try {
        walk(table, host);
    } catch (const std::exception& e) {
        outcome.error = std::string(typeid(e).name()) + ": " + e.what();
    }
    outcome.committed = main.db.query(checkQuery);
    // The rows read so far may differ (a walk that sends blocks reads ahead);
    // what the grid would show once it has read them all may not.
    table.FetchMore(std::numeric_limits<int>::max());
    for (int row = 0; row < table.RecordCount(); ++row) {
        std::string line;
        for (int field = 0; field < table.FieldCount(); ++field)
            line += table.DisplayText(row, field) + "|";
        outcome.shown.push_back(line);
    }
    outcome.state = "row " + std::to_string(table.RecNo()) + " state " + std::to_string(table.State()) +
                    (table.Eof() ? " eof" : "") + (table.Modified() ? " modified" : "");
    if (table.Active() && table.RecordCount() > 0)
        for (int field = 0; field < table.FieldCount(); ++field)
            outcome.current.push_back(table.FieldAt(field)->IsNull() ? "<null>"
                                                                     : table.FieldAt(field)->AsString());
    outcome.failedCommits = host.failedCommits;
    outcome.blocks = table.WriteBlocksSent();
    if (other)
        other->rollback();
    if (table.State() == dsEdit)
        table.Cancel();
    host.CommitStep(&table);
    outcome.afterCommit = main.db.query(checkQuery);
    return outcome;
}

// Rows that differ, by number, so a failure says where without pages of rows.
template <class Row> std::string differences(const std::vector<Row>& a, const std::vector<Row>& b) {
    std::string where;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i)
        if (i >= a.size() || i >= b.size() || a[i] != b[i])
            where += std::to_string(i) + " ";
    return where.empty()
               ? ""
               : "rows " + where + "of " + std::to_string(a.size()) + "/" + std::to_string(b.size());
}

void expectSame(const Outcome& batched, const Outcome& rowByRow) {
    EXPECT_EQ(batched.error, rowByRow.error);
    EXPECT_EQ(differences(batched.committed, rowByRow.committed), "");
    EXPECT_EQ(differences(batched.shown, rowByRow.shown), "");
    EXPECT_EQ(batched.state, rowByRow.state);
    EXPECT_EQ(batched.current, rowByRow.current);
    EXPECT_EQ(batched.failedCommits, rowByRow.failedCommits);
    EXPECT_EQ(differences(batched.afterCommit, rowByRow.afterCommit), "");
    EXPECT_EQ(rowByRow.blocks, 0);
}

// Both ways; the batched one must really have sent blocks.
Outcome compare(const Statements& setup, const std::string& tableName, const std::string& checkQuery,
                const Walk& walk, int dialect = 3, const std::function<void(TIBTable&)>& prepare = {},
                const std::string& lockedRow = {}) {
    const Outcome batched = runWalk(setup, tableName, checkQuery, true, walk, dialect, prepare, lockedRow);
    const Outcome rowByRow = runWalk(setup, tableName, checkQuery, false, walk, dialect, prepare, lockedRow);
    expectSame(batched, rowByRow);
    EXPECT_GT(batched.blocks, 0) << "no block was sent";
    return batched;
}

// A table of `rows` rows with text holding apostrophes, accents and nulls, a
// computed column, large objects, and a trigger that changes the row it
// writes with the value of a generator and refuses CODE -1000.
Statements richTable(int rows) {
    return {
        "CREATE EXCEPTION E_RECUSA 'linha recusada'", "CREATE GENERATOR G_W",
        "CREATE TABLE W (ID INTEGER NOT NULL PRIMARY KEY, CODE INTEGER CHECK (CODE <> -1), "
        "NOME VARCHAR(40), UF CHAR(4), VALOR NUMERIC(15,2), PESO DOUBLE PRECISION, NASC DATE, REF "
        "VARCHAR(10), "
        "OBS BLOB SUB_TYPE 1, FOTO BLOB SUB_TYPE 0, DOBRO INTEGER, SEQ INTEGER, CALC COMPUTED BY (CODE * "
        "10))",
        "CREATE TRIGGER W_BU FOR W BEFORE UPDATE AS BEGIN "
        "IF (NEW.CODE = -1000) THEN EXCEPTION E_RECUSA; "
        "NEW.DOBRO = NEW.CODE * 2; NEW.SEQ = GEN_ID(G_W, 1); END",
        "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= " + std::to_string(rows) +
            ") DO BEGIN INSERT INTO W (ID, CODE, NOME, UF, VALOR, PESO, NASC, REF, OBS, FOTO) VALUES (:I, "
            ":I, "
            "IIF(MOD(:I, 7) = 0, NULL, 'D''\xC1vila S\xE3o Jo\xE3o ' || :I), 'S' || MOD(:I, 10), :I * 1.25, "
            ":I / 3.0, DATEADD(:I DAY TO DATE '2020-01-01'), IIF(MOD(:I, 5) = 0, NULL, :I), "
            "IIF(MOD(:I, 3) = 0, 'obs\xE9 ' || :I, NULL), IIF(MOD(:I, 4) = 0, x'00FF10', NULL)); "
            "I = I + 1; END END"};
}

const char* const kCheckW =
    "SELECT ID, CODE, NOME, UF, VALOR, PESO, NASC, REF, OBS, FOTO, DOBRO, SEQ FROM W ORDER BY ID";

Walk renumberFrom(int start) {
    return [start](TIBTable& table, OperationHost& host) {
        Renumber(table, "CODE", std::to_string(start), host);
    };
}

TEST(BatchedWalkTest, RenumberingTextAndLargeObjectsComeOutTheSame) {
    const Outcome outcome = compare(richTable(300), "W", kCheckW, renumberFrom(1000));
    EXPECT_EQ(outcome.error, "");
    EXPECT_GE(outcome.blocks, 3) << "blocks of 16, 64, 256 rows";
    ASSERT_EQ(outcome.afterCommit.size(), 300u);
    EXPECT_EQ(outcome.afterCommit[299][10], "2598") << "the trigger's change, read back";
}

TEST(BatchedWalkTest, ARowRefusedAtTheStartMiddleOrEndOfABlockEndsTheWalkThere) {
    // Blocks hold 16 rows, then 64: row 1 and 16 are the first block's
    // first and last, 17 the second's first, 40 its middle, 80 its last.
    for (int failing : {1, 16, 17, 40, 80}) {
        SCOPED_TRACE("a CHECK refuses row " + std::to_string(failing));
        const Outcome outcome = compare(richTable(120), "W", kCheckW, renumberFrom(-failing));
        EXPECT_NE(outcome.error.find("CHECK"), std::string::npos) << outcome.error;
        EXPECT_EQ(outcome.state, "row " + std::to_string(failing - 1) + " state 2 modified");
    }
    for (int failing : {17, 50}) {
        SCOPED_TRACE("the trigger refuses row " + std::to_string(failing));
        const Outcome outcome = compare(richTable(120), "W", kCheckW, renumberFrom(-1000 - (failing - 1)));
        EXPECT_NE(outcome.error.find("linha recusada"), std::string::npos) << outcome.error;
    }
}

TEST(BatchedWalkTest, ARowLockedByAnotherConnectionStopsBothWaysAtIt) {
    const Outcome outcome = compare(richTable(120), "W", kCheckW, renumberFrom(500), 3, {},
                                    "UPDATE W SET PESO = 0 WHERE ID = 30");
    EXPECT_NE(outcome.error.find("update conflicts with concurrent update"), std::string::npos)
        << outcome.error;
    EXPECT_EQ(outcome.state, "row 29 state 2 modified");
}

TEST(BatchedWalkTest, AccentsZerosAndAConversionErrorComeOutTheSame) {
    compare(richTable(150), "W", kCheckW,
            [](TIBTable& table, OperationHost& host) { StripAccents(table, "NOME", host); });
    compare(richTable(150), "W", kCheckW,
            [](TIBTable& table, OperationHost& host) { FillWithZeros(table, "REF", "6", host); });
    // A value the integer conversion rejects, on the client, at row 41.
    Statements setup = richTable(150);
    setup.push_back("UPDATE W SET REF = 'x' WHERE ID = 41");
    const Outcome outcome = compare(setup, "W", kCheckW, [](TIBTable& table, OperationHost& host) {
        FillWithZeros(table, "REF", "6", host);
    });
    EXPECT_NE(outcome.error.find("'0x' is not a valid integer value"), std::string::npos) << outcome.error;
}

TEST(BatchedWalkTest, CruzarCampoCommitsEveryRowBeforeTheOneThatFails) {
    const Walk copyToCode = [](TIBTable& table, OperationHost& host) {
        CopyField(table, {"REF", CopySource::String, "CODE", CopyTarget::Integer}, host);
    };
    Outcome outcome = compare(richTable(4), "W", kCheckW, [](TIBTable& table, OperationHost& host) {
        CopyField(table, {"NOME", CopySource::String, "REF", CopyTarget::DigitsOnly}, host);
    });
    Statements setup = richTable(120);
    setup.push_back("UPDATE W SET REF = ID");
    setup.push_back("UPDATE W SET REF = '-1' WHERE ID = 70"); // the CHECK refuses row 70
    outcome = compare(setup, "W", kCheckW, copyToCode);
    EXPECT_NE(outcome.error.find("CHECK"), std::string::npos) << outcome.error;
    ASSERT_EQ(outcome.committed.size(), 120u);
    EXPECT_EQ(outcome.committed[68][1], "69") << "the rows before it are committed";
    EXPECT_EQ(outcome.committed[69][1], "70");
    setup = richTable(120);
    setup.push_back("UPDATE W SET REF = IIF(ID = 33, NULL, ID)");
    outcome = compare(setup, "W", kCheckW, copyToCode);
    EXPECT_NE(outcome.error.find("'' is not a valid integer value"), std::string::npos) << outcome.error;
    EXPECT_EQ(outcome.committed[31][1], "32");
}

TEST(BatchedWalkTest, DeletingTheShownRowsComesOutTheSameAlsoWhenAChildHoldsARow) {
    const Statements parents = {"CREATE TABLE P (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(20))",
                                "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= 150) DO BEGIN "
                                "INSERT INTO P VALUES (:I, 'p' || :I); I = I + 1; END END"};
    const Walk remove = [](TIBTable& table, OperationHost& host) { DeleteShownRows(table, host); };
    const char* const check = "SELECT ID, NOME FROM P ORDER BY ID";
    Outcome outcome = compare(parents, "P", check, remove);
    EXPECT_TRUE(outcome.committed.empty());

    for (int held : {9, 60}) {
        Statements setup = parents;
        setup.push_back("CREATE TABLE F (ID INTEGER NOT NULL PRIMARY KEY, P INTEGER REFERENCES P (ID))");
        setup.push_back("INSERT INTO F VALUES (1, " + std::to_string(held) + ")");
        outcome = compare(setup, "P", check, remove);
        EXPECT_NE(outcome.error.find("FOREIGN KEY"), std::string::npos) << outcome.error;
        ASSERT_FALSE(outcome.committed.empty());
        EXPECT_EQ(outcome.committed.front()[0], std::to_string(held))
            << "the rows before it are deleted and committed";
        EXPECT_EQ(outcome.shown.size(), 151u - static_cast<unsigned>(held));
    }
    outcome = compare(parents, "P", check, remove, 3, {}, "UPDATE P SET NOME = 'x' WHERE ID = 20");
    EXPECT_NE(outcome.error.find("update conflicts with concurrent update"), std::string::npos)
        << outcome.error;
}

TEST(BatchedWalkTest, AFilteredOrderedTableAndADialectOneDatabaseComeOutTheSame) {
    compare(richTable(120), "W", kCheckW, renumberFrom(1), 3, [](TIBTable& table) {
        table.SetFiltered(true);
        table.SetFilter("MOD(ID, 3) <> 0");
        table.SetIndexFieldNames("NOME;ID");
    });
    const Statements plain = {
        "CREATE TABLE D1 (ID INTEGER NOT NULL PRIMARY KEY, CODE INTEGER, NOME VARCHAR(20), "
        "QUANDO DATE)",
        "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= 100) DO BEGIN "
        "INSERT INTO D1 VALUES (:I, 0, 'Jo\xE3o ' || :I, '2020-01-01'); I = I + 1; END END"};
    compare(plain, "D1", "SELECT ID, CODE, NOME, QUANDO FROM D1 ORDER BY ID", renumberFrom(7), 1);
}

TEST(BatchedWalkTest, ATableOfTwoHundredColumnsComesOutTheSame) {
    std::string columns = "ID INTEGER NOT NULL PRIMARY KEY, CODE INTEGER";
    std::string values = ":I, 0";
    for (int i = 1; i <= 198; ++i) {
        columns += ", C" + std::to_string(i) + (i % 2 ? " VARCHAR(12)" : " NUMERIC(12,3)");
        values += i % 2 ? ", 'v' || :I" : ", :I * 1.5";
    }
    const Statements setup = {"CREATE TABLE LARGA (" + columns + ")",
                              "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= 60) DO BEGIN "
                              "INSERT INTO LARGA VALUES (" +
                                  values + "); I = I + 1; END END"};
    compare(setup, "LARGA", "SELECT * FROM LARGA ORDER BY ID", renumberFrom(1));
}

TEST(BatchedWalkTest, AWalkOverALargeObjectColumnGoesRowByRowAndComesOutTheSame) {
    const Outcome batched =
        runWalk(richTable(60), "W", kCheckW, true,
                [](TIBTable& table, OperationHost& host) { StripAccents(table, "OBS", host); });
    const Outcome rowByRow =
        runWalk(richTable(60), "W", kCheckW, false,
                [](TIBTable& table, OperationHost& host) { StripAccents(table, "OBS", host); });
    expectSame(batched, rowByRow);
}

} // namespace
