// A row walk whose end makes the console's open query run again, and that run
// fails: the failure is shown like any other error, the program goes on, and
// the rows the walk posted stay as the walk left them.
#include "app/widgets/FlatButton.h"
#include "tests/app/HardeningSupport.h"
#include "tests/support/LinkForwarder.h"
#include "tests/support/QtPrinters.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>

namespace {

class WalkEndingTest : public HardeningTest {
protected:
    void SetUp() override {
        HardeningTest::SetUp();
        db.exec(std::vector<std::string>{
            "CREATE TABLE ITENS (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(20), QTD INTEGER, REF "
            "VARCHAR(10), ALVO INTEGER)",
            "INSERT INTO ITENS VALUES (1, 'Jo\xE3o', 1, '7', NULL)",
            "INSERT INTO ITENS VALUES (2, 'Jo\xE3o', 2, '8', NULL)",
            "INSERT INTO ITENS VALUES (3, 'Jo\xE3o', 3, '9', NULL)"});
    }

    void openItens(const std::string& connectString = {}) {
        connect(connectString);
        open("ITENS");
    }
    // The console's query, left open while the walk runs.
    void openQuery(const QString& sqlText) {
        frmCorvelo->PageControl1->setCurrentWidget(frmCorvelo->TabSheet4);
        frmCorvelo->memoscript->setPlainText(sqlText);
        frmCorvelo->Button1->click();
        ASSERT_TRUE(frmCorvelo->qryScript.Active()) << shown().toStdString();
        frmCorvelo->PageControl1->setCurrentWidget(frmCorvelo->TabArquivo);
    }
    // The one error box of the walk says the query could not run again, and
    // the window still works: a commit goes through.
    void expectQueryFailureShownAndWindowAlive() {
        ASSERT_EQ(dialogs.seen().size(), 1) << shown().toStdString();
        EXPECT_EQ(dialogs.seen()[0].title, "Erro de sistema");
        EXPECT_TRUE(dialogs.seen()[0].text.contains("divide by zero")) << shown().toStdString();
        EXPECT_FALSE(frmCorvelo->qryScript.Active()) << "a query that failed to run again is closed";
        EXPECT_TRUE(frmCorvelo->table.Active());
        dialogs.press(QMessageBox::Ok);
        frmCorvelo->SpeedButton9->click();
        ASSERT_EQ(dialogs.seen().size(), 2) << shown().toStdString();
        EXPECT_EQ(dialogs.seen()[1].text, "Commit Executado");
    }
    std::string committed(const std::string& column) {
        std::string values;
        for (const TestRow& row : db.query("SELECT " + column + " FROM ITENS ORDER BY ID"))
            values += (row[0] ? *row[0] : "<null>") + " ";
        return values;
    }
};

TEST_F(WalkEndingTest, RenumberingThatBreaksTheOpenQueryShowsTheErrorAndKeepsThePostedRows) {
    openItens();
    openQuery("select 100 / QTD from ITENS");
    frmCorvelo->chkRepress->setChecked(true);
    frmCorvelo->edtCampo->setText("QTD");
    frmCorvelo->edtValor->setText("0");
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->btnProcessar->click();

    // The walk ended, so its rows are posted; the failure came before the commit step.
    EXPECT_EQ(committed("QTD"), "1 2 3 ") << "posted, not committed";
    EXPECT_EQ(frmCorvelo->table.FieldNamed("QTD")->AsString(), "2") << "on the last row";
    expectQueryFailureShownAndWindowAlive();
    EXPECT_EQ(committed("QTD"), "0 1 2 ");
}

TEST_F(WalkEndingTest, AccentAndZeroWalksThatBreakTheOpenQueryShowTheErrorAndKeepThePostedRows) {
    openItens();
    openQuery("select 1 / (select count(*) from ITENS where NOME <> 'JoAo') from RDB$DATABASE");
    frmCorvelo->rdACento->setChecked(true);
    frmCorvelo->edtCampo->setText("NOME");
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->btnProcessar->click();
    EXPECT_EQ(committed("NOME"), "Jo\xE3o Jo\xE3o Jo\xE3o ");
    expectQueryFailureShownAndWindowAlive();
    EXPECT_EQ(committed("NOME"), "JoAo JoAo JoAo ");

    openQuery("select 1 / (select count(*) from ITENS where char_length(REF) = 1) from RDB$DATABASE");
    frmCorvelo->edtCampo->setText("REF");
    frmCorvelo->edtZeros->setText("2");
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->Button5->click();
    ASSERT_EQ(dialogs.seen().size(), 3) << shown().toStdString();
    EXPECT_TRUE(dialogs.seen()[2].text.contains("divide by zero")) << shown().toStdString();
    EXPECT_EQ(committed("REF"), "7 8 9 ") << "posted, not committed";
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->SpeedButton9->click();
    EXPECT_EQ(committed("REF"), "07 08 09 ");
}

TEST_F(WalkEndingTest, CruzarCampoThatBreaksTheOpenQueryHasCommittedEveryRow) {
    openItens();
    openQuery("select 1 / (select count(*) from ITENS where ALVO is null) from RDB$DATABASE");
    frmCorvelo->edtdoCampo->setText("QTD");
    frmCorvelo->pCampo->setText("ALVO");
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->SpeedButton4->click();
    EXPECT_EQ(committed("ALVO"), "1 2 3 ") << "every row is committed on its own";
    expectQueryFailureShownAndWindowAlive();
}

TEST_F(WalkEndingTest, DeletingTheShownRowsThatBreaksTheOpenQueryHasCommittedEveryDeletion) {
    openItens();
    openQuery("select 1 / (select count(*) from ITENS) from RDB$DATABASE");
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton1->click();
    ASSERT_EQ(dialogs.seen().size(), 3) << shown().toStdString();
    EXPECT_EQ(dialogs.seen()[2].title, "Erro de sistema");
    EXPECT_TRUE(dialogs.seen()[2].text.contains("divide by zero")) << shown().toStdString();
    EXPECT_EQ(count("ITENS"), "0");
    EXPECT_TRUE(frmCorvelo->table.Active());
    EXPECT_TRUE(frmCorvelo->table.Eof());
}

TEST_F(WalkEndingTest, ALinkLostDuringAWalkWithTheQueryOpenShowsTheWalksErrorOnce) {
    LinkForwarder link;
    db.exec("EXECUTE BLOCK AS DECLARE I INTEGER = 4; BEGIN WHILE (I <= 800) DO BEGIN "
            "INSERT INTO ITENS VALUES (:I, 'Jo\xE3o', :I, '1', NULL); I = I + 1; END END");
    openItens(link.connectString(db.path()));
    openQuery("select count(*) from ITENS where QTD > 0");
    frmCorvelo->chkRepress->setChecked(true);
    frmCorvelo->edtCampo->setText("QTD");
    frmCorvelo->edtValor->setText("1000");
    link.cutAfterClientBytes(30000);
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->btnProcessar->click();

    ASSERT_EQ(dialogs.seen().size(), 1) << shown().toStdString();
    EXPECT_EQ(dialogs.seen()[0].title, "Erro de sistema");
    EXPECT_TRUE(dialogs.seen()[0].text.startsWith("Error reading data from the connection") ||
                dialogs.seen()[0].text.startsWith("Error writing data to the connection"))
        << shown().toStdString();
    // The rows posted before the cut are still what the table shows.
    ASSERT_TRUE(frmCorvelo->table.Active());
    EXPECT_GT(frmCorvelo->table.RecNo(), 0);
    EXPECT_EQ(frmCorvelo->table.DisplayText(0, frmCorvelo->table.FieldNamed("QTD")->Index()), "1000");
    EXPECT_EQ(count("ITENS", "QTD >= 1000"), "0") << "nothing of the broken walk reached the database";
}

} // namespace
