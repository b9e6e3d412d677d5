// The export over real datasets, read back with a spreadsheet reader.
#include "export/SpreadsheetExport.h"
#include "db/DatabaseErrors.h"
#include "db/TIBQuery.h"
#include "db/TIBTable.h"
#include "tests/db/DataSetTestSupport.h"
#include "tests/support/SpreadsheetReader.h"
#include "util/Exceptions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using Row = std::vector<std::string>;

namespace {

class SpreadsheetExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        main.db.exec(
            {"CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(30), CODIGO CHAR(6), "
             "PRECO NUMERIC(15,2), TAXA DOUBLE PRECISION, QTD SMALLINT, GRANDE BIGINT, "
             "NASC DATE, CRIADO TIMESTAMP, HORA TIME, OBS BLOB SUB_TYPE 1, BIN BLOB SUB_TYPE 0)",
             "INSERT INTO T VALUES (1, 'S\xE3o Jo\xE3o \x80 \xC7', 'AB', 12.5, 0.1, -7, 1234567890123, "
             "'2024-03-15', '2024-03-15 14:30:45', '08:05:09', 'linha1' || ASCII_CHAR(10) || "
             "'linha2 \xE7', x'00410142')",
             "INSERT INTO T (ID) VALUES (2)",
             "INSERT INTO T (ID, NASC, CRIADO) VALUES (3, '1900-01-01', '1900-02-28 12:00:00')"});
        const std::string testName = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        target = (fs::path(main.db.path()).parent_path() / ("export_" + testName + ".xlsx")).string();
        fs::remove(target);
    }
    void TearDown() override { fs::remove(target); }

    void openQuery(const std::string& sql) {
        query.SetSQLText(sql);
        query.Open();
    }
    void writeExisting() { std::ofstream(target, std::ios::binary) << "earlier content"; }
    std::string contentOfTarget() {
        std::ifstream in(target, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }
    // Files beside the target that the export may have left.
    std::vector<std::string> leftovers() {
        std::vector<std::string> found;
        const std::string prefix = "." + fs::path(target).filename().string();
        for (const auto& entry : fs::directory_iterator(fs::path(target).parent_path()))
            if (entry.path().filename().string().starts_with(prefix))
                found.push_back(entry.path().filename().string());
        return found;
    }

    MainWindowConnection main;
    TIBQuery query{"qryScript", &main.connection, &main.transaction};
    TIBTable table{"table", &main.connection, &main.transaction};
    std::string target;
};

TEST_F(SpreadsheetExportTest, EveryRecordBecomesARowWithCellsOfTheFieldsKind) {
    openQuery("SELECT * FROM T ORDER BY ID");
    query.FieldNamed("TAXA")->SetDisplayLabel("Taxa %");
    ExportToSpreadsheet(query, target);

    const SheetContents sheet = ReadSpreadsheet(target);
    EXPECT_EQ(sheet.sheetCount, 1);
    ASSERT_EQ(sheet.rows.size(), 4u);
    EXPECT_EQ(sheet.rows[0], (Row{"s:ID", "s:NOME", "s:CODIGO", "s:PRECO", "s:Taxa %", "s:QTD", "s:GRANDE",
                                  "s:NASC", "s:CRIADO", "s:HORA", "s:OBS", "s:BIN"}));
    EXPECT_EQ(sheet.rows[1],
              (Row{"n:1.0", "s:S\u00e3o Jo\u00e3o \u20ac \u00c7", "s:AB    ", "n:12.5", "n:0.1", "n:-7.0",
                   "n:1234567890123.0", "d:2024-03-15T00:00:00|45366.0|dd/mm/yyyy",
                   "d:2024-03-15T14:30:45|45366.6046875|dd/mm/yyyy hh:mm:ss",
                   // Times and blobs are text; control characters carry the format's escape.
                   "s:08:05:09", "s:linha1\\nlinha2 \u00e7", "s:_x0000_A_x0001_B"}));
    // Nulls: the number 0, the zero date, empty text.
    EXPECT_EQ(sheet.rows[2],
              (Row{"n:2.0", "", "", "n:0.0", "n:0.0", "n:0.0", "n:0.0", "d:00:00:00|0.0|dd/mm/yyyy",
                   "d:00:00:00|0.0|dd/mm/yyyy hh:mm:ss", "", "", ""}));
    // Before March 1900 the sheet's day numbers are one behind the program's.
    EXPECT_EQ(sheet.rows[3][7], "d:1900-01-01T00:00:00|1.0|dd/mm/yyyy");
    EXPECT_EQ(sheet.rows[3][8], "d:1900-02-28T12:00:00|59.5|dd/mm/yyyy hh:mm:ss");

    EXPECT_TRUE(query.Eof()) << "the walk leaves the dataset after its last record";
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(SpreadsheetExportTest, TheTableIsExportedWithItsFilterAndOrder) {
    table.SetTableName("T");
    table.SetFilter("ID <> 2");
    table.SetFiltered(true);
    table.SetIndexFieldNames("NASC");
    table.Open();
    table.Next(); // the walk starts from the first record wherever the cursor is
    ExportToSpreadsheet(table, target);

    const SheetContents sheet = ReadSpreadsheet(target);
    ASSERT_EQ(sheet.rows.size(), 3u);
    EXPECT_EQ(sheet.rows[1][0], "n:3.0");
    EXPECT_EQ(sheet.rows[2][0], "n:1.0");
}

TEST_F(SpreadsheetExportTest, ADatasetWithoutRecordsGivesTheHeaderAlone) {
    openQuery("SELECT ID, NOME FROM T WHERE ID < 0");
    ExportToSpreadsheet(query, target);
    const SheetContents sheet = ReadSpreadsheet(target);
    EXPECT_EQ(sheet.rows, (std::vector<Row>{{"s:ID", "s:NOME"}}));
}

TEST_F(SpreadsheetExportTest, AnExistingFileIsReplacedOnlyByACompleteExport) {
    writeExisting();
    openQuery("SELECT ID FROM T ORDER BY ID");
    ExportToSpreadsheet(query, target);
    EXPECT_EQ(ReadSpreadsheet(target).rows.size(), 4u);
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(SpreadsheetExportTest, AClosedDatasetFailsWithItsOwnErrorAndTouchesNoFile) {
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { ExportToSpreadsheet(query, target); }),
              "qryScript: Cannot perform this operation on a closed dataset");
    EXPECT_FALSE(fs::exists(target));

    writeExisting();
    EXPECT_EQ(ErrorOf<EDatabaseError>([&] { ExportToSpreadsheet(table, target); }),
              "table: Cannot perform this operation on a closed dataset");
    EXPECT_EQ(contentOfTarget(), "earlier content");
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(SpreadsheetExportTest, AFailureHalfwayLeavesTheExistingFileAsItWas) {
    // A text over the 32767 characters of a cell stops the export at record 2.
    main.db.exec("UPDATE T SET OBS = LPAD('', 32768, 'x') WHERE ID = 3");
    writeExisting();
    openQuery("SELECT ID, OBS FROM T ORDER BY ID");
    EXPECT_EQ(ErrorOf<Exception>([&] { ExportToSpreadsheet(query, target); }),
              "O campo 'OBS' do registro 3 tem mais de 32767 caracteres, o m\xE1ximo de uma c\xE9lula. "
              "O arquivo '" +
                  target + "' n\xE3o foi gravado.");
    EXPECT_EQ(contentOfTarget(), "earlier content");
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(SpreadsheetExportTest, AFolderThatCannotBeWrittenGivesAClearMessage) {
    openQuery("SELECT ID FROM T");
    const std::string missing = fs::path(target).parent_path() / "no-such-folder" / "a.xlsx";
    EXPECT_EQ(ErrorOf<EInOutError>([&] { ExportToSpreadsheet(query, missing); }),
              "N\xE3o foi poss\xEDvel gravar o arquivo '" + missing + "': a pasta n\xE3o existe.");
}

TEST_F(SpreadsheetExportTest, AnAccentedFileNameReachesTheFileSystemAsUtf8) {
    openQuery("SELECT ID FROM T");
    const std::string ansi = (fs::path(target).parent_path() / "export_a\xE7\xE3o.xlsx").string();
    const fs::path onDisk = fs::path(target).parent_path() / "export_a\u00e7\u00e3o.xlsx";
    ExportToSpreadsheet(query, ansi);
    EXPECT_TRUE(fs::exists(onDisk));
    fs::remove(onDisk);
}

} // namespace

TEST(SpreadsheetFileNameTest, OnlyALowerCaseXlsxEndingIsAccepted) {
    EXPECT_TRUE(IsSpreadsheetFileName("/home/ana/vendas.xlsx"));
    EXPECT_TRUE(IsSpreadsheetFileName(".xlsx"));
    EXPECT_FALSE(IsSpreadsheetFileName("vendas.XLSX"));
    EXPECT_FALSE(IsSpreadsheetFileName("vendas.Xlsx"));
    EXPECT_FALSE(IsSpreadsheetFileName("vendas.xls"));
    EXPECT_FALSE(IsSpreadsheetFileName("vendas"));
    EXPECT_FALSE(IsSpreadsheetFileName("xlsx"));
    EXPECT_FALSE(IsSpreadsheetFileName("vendas.xlsx "));
    EXPECT_FALSE(IsSpreadsheetFileName(""));
}
