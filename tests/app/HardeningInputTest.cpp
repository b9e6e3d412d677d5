// Whatever a user types or points the window at: each input ends in a defined
// result (written exactly, or refused with a message and nothing written),
// never a crash.
#include "app/widgets/FlatButton.h"
#include "db/TField.h"
#include "tests/app/HardeningSupport.h"
#include "tests/support/QtPrinters.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <cstdio>

namespace {

class InputTest : public HardeningTest {
protected:
    void SetUp() override {
        HardeningTest::SetUp();
        db.exec(std::vector<std::string>{
            "CREATE TABLE N (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(60), I INTEGER, B BIGINT, "
            "M NUMERIC(18,4), D DOUBLE PRECISION, FOTO BLOB SUB_TYPE 0)",
            "INSERT INTO N (ID, NOME, I, B, M, D) VALUES (1, 'Ana', 0, 0, 0, 0)"});
        connect();
        open("N");
    }
    void TearDown() override {
        HardeningTest::TearDown();
        if (!scriptPath.empty())
            std::remove(scriptPath.c_str());
    }
    // Grava Campo's constant UPDATE of one column.
    void setConstant(const QString& column, const QString& value) {
        frmCorvelo->edtArquivo->setEditText("N");
        frmCorvelo->edtCampo->setText(column);
        frmCorvelo->edtValor->setText(value);
        frmCorvelo->btnProcessar->click();
    }
    std::string stored(const std::string& column) {
        return db.scalar("SELECT " + column + " FROM N WHERE ID = 1").value_or("<null>");
    }
    void runScript(const std::string& content) {
        scriptPath = db.path() + ".sql";
        std::FILE* file = std::fopen(scriptPath.c_str(), "wb");
        std::fwrite(content.data(), 1, content.size(), file);
        std::fclose(file);
        frmCorvelo->PageControl1->setCurrentWidget(frmCorvelo->TabSheet4);
        frmCorvelo->edtEnd->setText(QString::fromStdString(scriptPath));
        dialogs.press(QMessageBox::Ok);
        frmCorvelo->Button3->click();
    }

    std::string scriptPath;
};

TEST_F(InputTest, TextOutsideTheCodePageIsRefusedAtEveryWritingHandler) {
    const QString foreign = QStringLiteral("Jo\u00e3o \u65e5\u672c");
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok).press(QMessageBox::Ok);
    setConstant("NOME", foreign);
    EXPECT_TRUE(errorBoxSince(0).contains("U+65E5")) << shown().toStdString();

    frmCorvelo->chkRepress->setChecked(true);
    setConstant("I", QStringLiteral("1\u2212"));
    EXPECT_TRUE(errorBoxSince(1).contains("U+2212")) << shown().toStdString();
    frmCorvelo->chkRepress->setChecked(false);

    frmCorvelo->PageControl1->setCurrentWidget(frmCorvelo->TabSheet4);
    frmCorvelo->memoscript->setPlainText("UPDATE N SET NOME = '" + foreign + "'");
    frmCorvelo->Button2->click();
    EXPECT_TRUE(errorBoxSince(2).contains("U+65E5")) << shown().toStdString();

    dialogs.press(QMessageBox::Ok);
    frmCorvelo->SpeedButton10->click();
    EXPECT_EQ(stored("NOME"), "Ana");
    EXPECT_EQ(stored("I"), "0");
}

TEST_F(InputTest, AHundredThousandCharactersIntoSixtyEndInTheServersTruncationError) {
    dialogs.press(QMessageBox::Ok);
    setConstant("NOME", QString(100000, u'x'));
    EXPECT_TRUE(errorBoxSince(0).contains("string right truncation")) << shown().toStdString();
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->SpeedButton9->click();
    EXPECT_EQ(stored("NOME"), "Ana");
}

TEST_F(InputTest, NumbersAtTheLimitsOfEachTypeAreWrittenExactlyAndOneBeyondIsRefused) {
    struct Case {
        const char* column;
        const char* atLimit;
        const char* stored;
        const char* beyond;
    };
    const Case cases[] = {
        {"I", "2147483647", "2147483647", "2147483648"},
        {"I", "-2147483648", "-2147483648", "-2147483649"},
        {"B", "9223372036854775807", "9223372036854775807", "9223372036854775808"},
        {"B", "-9223372036854775808", "-9223372036854775808", "-9223372036854775809"},
        {"M", "922337203685477.5807", "922337203685477.5807", "922337203685477.5808"},
        {"M", "-922337203685477.5808", "-922337203685477.5808", "-922337203685477.5809"},
        {"D", "1.7976931348623157e308", "1.797693134862316e+308", "1e309"},
        {"D", "-1.7976931348623157e308", "-1.797693134862316e+308", "-1e309"},
    };
    int seen = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.column) + " " + c.atLimit);
        setConstant(c.column, c.atLimit);
        ASSERT_EQ(dialogs.seen().size(), seen) << shown().toStdString();
        EXPECT_EQ(stored(c.column), c.stored);
        dialogs.press(QMessageBox::Ok);
        setConstant(c.column, c.beyond);
        ASSERT_EQ(dialogs.seen().size(), ++seen);
        EXPECT_EQ(dialogs.seen().back().title, "Erro de sistema");
        EXPECT_EQ(stored(c.column), c.stored) << "the refused value wrote nothing";
    }

    // The renumbering start value is converted before any row is touched.
    frmCorvelo->chkRepress->setChecked(true);
    dialogs.press(QMessageBox::Ok);
    setConstant("I", "2147483648");
    EXPECT_EQ(dialogs.seen().back().text, "'2147483648' is not a valid integer value");
    setConstant("I", "-2147483648");
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->SpeedButton9->click();
    EXPECT_EQ(stored("I"), "-2147483648");
}

TEST_F(InputTest, QuotedNamesWithBlanksAndQuotesAreOpenedWalkedAndEmptied) {
    db.exec(std::vector<std::string>{"CREATE TABLE \"Minha \"\"Tabela\"\"\" (\"C\xF3"
                                     "d igo\" INTEGER)",
                                     "INSERT INTO \"Minha \"\"Tabela\"\"\" VALUES (5)",
                                     "INSERT INTO \"Minha \"\"Tabela\"\"\" VALUES (6)"});
    open("Minha \"Tabela\"");
    frmCorvelo->chkRepress->setChecked(true);
    frmCorvelo->edtCampo->setText(QStringLiteral("C\u00f3d igo"));
    frmCorvelo->edtValor->setText("1");
    frmCorvelo->btnProcessar->click();
    ASSERT_TRUE(dialogs.seen().isEmpty()) << shown().toStdString();
    EXPECT_EQ(count("\"Minha \"\"Tabela\"\"\"", "\"C\xF3"
                                                "d igo\" IN (1, 2)"),
              "2");

    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton7->click();
    EXPECT_EQ(dialogs.seen().size(), 2) << shown().toStdString();
    EXPECT_EQ(count("\"Minha \"\"Tabela\"\"\""), "0");
}

TEST_F(InputTest, TenMegabytesThroughTheBlobPanelComeBackEqual) {
    std::string text;
    text.reserve(10 * 1024 * 1024 + 200);
    while (text.size() < 10 * 1024 * 1024)
        text += "Linha " + std::to_string(text.size()) + " com acentua\xE7\xE3o e um pouco de texto\r\n";
    frmCorvelo->DBDadosCellClick(frmCorvelo->table.FieldNamed("FOTO")->Index());
    ASSERT_TRUE(frmCorvelo->pnlMemo->isVisibleTo(frmCorvelo));
    frmCorvelo->memo->setPlainText(QString::fromLatin1(text.c_str()).remove('\r'));
    frmCorvelo->btnConfMemo->click();
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->SpeedButton9->click();
    ASSERT_EQ(dialogs.seen().size(), 1) << shown().toStdString();
    EXPECT_TRUE(stored("FOTO") == text) << "10 MB written and read back";
}

TEST_F(InputTest, AScriptWithMegabyteLinesAndBinaryGarbageRunsToItsEnd) {
    std::string script = "-- " + std::string(1024 * 1024, 'a') + "\n";
    script += "INSERT INTO N (ID, NOME) VALUES (2, '" + std::string(1024 * 1024, 'b') + "')\n";
    for (int i = 0; i < 4096; ++i) // every byte but Ctrl+Z, which ends the text
        script += static_cast<char>(i % 256 == 26 ? 27 : i % 256);
    script += "\nupdate N SET NOME = 'depois' WHERE ID = 1\n";
    runScript(script);
    ASSERT_EQ(dialogs.seen().size(), 1) << shown().toStdString();
    EXPECT_EQ(dialogs.seen()[0].text, "Processo Concluido");
    EXPECT_EQ(frmCorvelo->memo->toPlainText(),
              QString::fromStdString("INSERT INTO N (ID, NOME) VALUES (2, '" + std::string(1024 * 1024, 'b') +
                                     "')"))
        << "only the oversized INSERT failed and is listed";
    EXPECT_EQ(stored("NOME"), "depois");
    EXPECT_EQ(count("N"), "1");
}

} // namespace
