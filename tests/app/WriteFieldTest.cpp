// The "Grava Campo" page on the real window against the private server.
#include "app/Startup.h"
#include "app/uFrmCorvelo.h"
#include "app/widgets/AutoSizeLabel.h"
#include "app/widgets/FlatButton.h"
#include "app/widgets/UpperCaseLineEdit.h"
#include "db/TField.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"
#include "util/Clock.h"
#include "util/DateText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

using Values = std::vector<std::string>;

class WriteFieldTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec({"CREATE TABLE CLIENTES (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(40), CIDADE "
                 "INTEGER, UF CHAR(6), CODIGO INTEGER CHECK (CODIGO < 12), REF VARCHAR(10), SIGLA "
                 "CHAR(4), VALOR NUMERIC(15,2), PESO DOUBLE PRECISION)",
                 "INSERT INTO CLIENTES VALUES (1, 'S\xE3o Jo\xE3o', 1, 'Par\xE1', 1, '7', '7', 0.1, 0.5)",
                 "INSERT INTO CLIENTES VALUES (2, 'A\xE7\xE3o', 2, 'Cear\xE1', 2, NULL, '12', 0.2, 1.5)",
                 "INSERT INTO CLIENTES VALUES (3, '\xC1vila', 1, 'Piau\xED', 3, '123', '1234', 0.3, 2)"});
        CreateForms();
        frmCorvelo->edtAlias->setText(QString::fromStdString(db.connectString()));
        frmCorvelo->btncon->click();
        frmCorvelo->edtArquivo->setEditText("CLIENTES");
        frmCorvelo->btnAbrir->click();
        ASSERT_TRUE(frmCorvelo->table.Active());
    }
    void TearDown() override {
        DestroyForms();
        SetNowSource({});
    }

    void filter(const QString& condition) {
        frmCorvelo->edtFiltro->setText(condition);
        frmCorvelo->btnAtiva->click();
    }
    void order(const QString& fields) {
        frmCorvelo->EDToRDEM->setText(fields);
        frmCorvelo->Ordem->click();
    }
    void process(const QString& column, const QString& value = {}) {
        frmCorvelo->edtCampo->setText(column);
        frmCorvelo->edtValor->setText(value);
        frmCorvelo->btnProcessar->click();
    }
    QString sum(QRadioButton* kind, const QString& column) {
        kind->setChecked(true);
        frmCorvelo->edtCampo->setText(column);
        frmCorvelo->SpeedButton2->click();
        return frmCorvelo->edtSoma->text();
    }
    void zeros(const QString& column, const QString& width) {
        frmCorvelo->edtCampo->setText(column);
        frmCorvelo->edtZeros->setText(width);
        frmCorvelo->Button5->click();
    }
    // Committed values of a column, by ID; NULL as "<null>".
    Values committed(const std::string& column) {
        Values values;
        for (const TestRow& row : db.query("SELECT " + column + " FROM CLIENTES ORDER BY ID"))
            values.push_back(row[0] ? *row[0] : "<null>");
        return values;
    }
    std::string current(const char* column) { return frmCorvelo->table.FieldNamed(column)->AsString(); }
    // The one error box shown, or a failure.
    QString onlyError() {
        if (dialogs.seen().size() != 1) {
            ADD_FAILURE() << dialogs.seen().size() << " dialogs";
            return {};
        }
        EXPECT_EQ(dialogs.seen()[0].title, "Erro de sistema");
        return dialogs.seen()[0].text;
    }

    TestDatabase db;
    DialogAnswerer dialogs;
};

TEST_F(WriteFieldTest, AccentModeStripsTheShownRowsAndCommits) {
    filter("CIDADE = 1");
    order("NOME");
    frmCorvelo->rdACento->setChecked(true);
    frmCorvelo->chkRepress->setChecked(true); // the accent mode wins
    process("NOME", "99");
    EXPECT_EQ(committed("NOME"), (Values{"SAo JoAo", "A\xE7\xE3o", "Avila"}));
    EXPECT_EQ(committed("CODIGO"), (Values{"1", "2", "3"}));
    EXPECT_EQ(frmCorvelo->table.RecNo(), 1);
    EXPECT_EQ(current("NOME"), "Avila") << "on the last row in shown order";

    frmCorvelo->btnDesativa->click();
    process("UF");
    EXPECT_EQ(committed("UF"), (Values{"ParA  ", "CearA ", "PiauI "}));
    EXPECT_TRUE(dialogs.seen().isEmpty());
}

TEST_F(WriteFieldTest, RenumberingFollowsTheShownOrderOfTheShownRows) {
    frmCorvelo->chkRepress->setChecked(true);
    order("NOME");
    process("CODIGO", "9");
    // Shown by name: Ação (2), São João (1), Ávila (3).
    EXPECT_EQ(committed("CODIGO"), (Values{"10", "9", "11"}));
    filter("CIDADE = 1");
    process("CODIGO", " +5");
    EXPECT_EQ(committed("CODIGO"), (Values{"5", "9", "6"}));
    EXPECT_EQ(frmCorvelo->table.RecNo(), 1) << "on the last shown row";
    EXPECT_TRUE(dialogs.seen().isEmpty());
}

TEST_F(WriteFieldTest, RenumberingFromTenWritesTenElevenTwelve) {
    db.exec("ALTER TABLE CLIENTES ADD SEQ INTEGER");
    frmCorvelo->table.Close();
    frmCorvelo->table.Open();
    frmCorvelo->chkRepress->setChecked(true);
    process("SEQ", "10");
    EXPECT_EQ(committed("SEQ"), (Values{"10", "11", "12"}));
}

TEST_F(WriteFieldTest, TheConstantGoesToTheFilteredRowsAsTyped) {
    filter("CIDADE = 1");
    frmCorvelo->table.Next();
    process("NOME", QString::fromLatin1("D'\xC1vila"));
    EXPECT_EQ(committed("NOME"), (Values{"D'\xC1vila", "A\xE7\xE3o", "D'\xC1vila"}));
    EXPECT_EQ(frmCorvelo->sql.SQL(),
              (Values{"Update CLIENTES Set", "NOME= 'D''\xC1vila'", "WHERE", "(CIDADE = 1)"}));
    EXPECT_EQ(frmCorvelo->table.RecNo(), 0) << "reopened on its first row";
    EXPECT_EQ(current("NOME"), "D'\xC1vila");

    // A quote cannot end the literal and write another column.
    process("NOME", "x', CIDADE = 9 --");
    EXPECT_EQ(committed("CIDADE"), (Values{"1", "2", "1"}));
    EXPECT_EQ(committed("NOME")[0], "x', CIDADE = 9 --");

    // The filter box as it is at the click; the value converted by the server.
    frmCorvelo->edtFiltro->setText("ID = 3");
    process("CODIGO", "7");
    EXPECT_EQ(committed("CODIGO"), (Values{"1", "2", "7"}));

    frmCorvelo->btnDesativa->click();
    process("REF", "R");
    EXPECT_EQ(frmCorvelo->sql.SQL(), (Values{"Update CLIENTES Set", "REF= 'R'"}));
    EXPECT_EQ(committed("REF"), (Values{"R", "R", "R"}));
    EXPECT_TRUE(dialogs.seen().isEmpty());
}

TEST_F(WriteFieldTest, SumsByTypeOverTheShownRows) {
    EXPECT_EQ(sum(frmCorvelo->rbInteger, "CODIGO"), "6");
    EXPECT_EQ(sum(frmCorvelo->rbReal, "VALOR"), "0.6");
    EXPECT_EQ(sum(frmCorvelo->rbFloat, "PESO"), "4");
    EXPECT_EQ(sum(frmCorvelo->rbString, "PESO"), "0");
    EXPECT_EQ(sum(frmCorvelo->rdACento, "NAO_EXISTE"), "0") << "nothing is read";
    filter("CIDADE = 1");
    EXPECT_EQ(sum(frmCorvelo->rbFloat, "PESO"), "2.5");
    EXPECT_TRUE(frmCorvelo->table.Eof());
    EXPECT_TRUE(dialogs.seen().isEmpty());
}

TEST_F(WriteFieldTest, AnIntegerSumWrapsAroundPast32Bits) {
    db.exec(Values{"ALTER TABLE CLIENTES ADD GRANDE INTEGER", "UPDATE CLIENTES SET GRANDE = 2147483647"});
    frmCorvelo->table.Close();
    frmCorvelo->table.Open();
    EXPECT_EQ(sum(frmCorvelo->rbInteger, "GRANDE"), "2147483645");
}

TEST_F(WriteFieldTest, CountingShowsTheRowsAndTheTimesAround) {
    EXPECT_EQ(frmCorvelo->Label12->text(), "Label11");
    double clock = EncodeTime(13, 45, 10, 0);
    SetNowSource([&clock] {
        const double now = clock;
        clock += EncodeTime(0, 0, 2, 0);
        return now;
    });
    filter("CIDADE = 1");
    frmCorvelo->SpeedButton3->click();
    EXPECT_EQ(frmCorvelo->edtSoma->text(), "2");
    EXPECT_EQ(frmCorvelo->Label11->text(), "13:45:10");
    EXPECT_EQ(frmCorvelo->Label12->text(), "13:45:12");
}

TEST_F(WriteFieldTest, ZeroFillingReadsTheWidthForEveryRow) {
    zeros("REF", "2");
    EXPECT_EQ(committed("REF"), (Values{"07", "00", "23"}));
    zeros("CODIGO", "2");
    EXPECT_EQ(committed("CODIGO"), (Values{"1", "2", "3"})) << "numbers that fit stay as they were";
    zeros("REF", "0");
    EXPECT_EQ(committed("REF"), (Values{"<null>", "<null>", "<null>"}));
    EXPECT_EQ(frmCorvelo->table.RecNo(), 2);
    EXPECT_TRUE(dialogs.seen().isEmpty());
}

TEST_F(WriteFieldTest, ZeroFillingStopsAtARowThatIsNoInteger) {
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok);
    zeros("SIGLA", "2");
    EXPECT_EQ(onlyError(), "'07   ' is not a valid integer value") << "CHAR values keep their blanks";
    EXPECT_EQ(frmCorvelo->table.RecNo(), 0);
    EXPECT_EQ(frmCorvelo->table.State(), dsBrowse) << "failed before its Edit";

    zeros("REF", "dois");
    ASSERT_EQ(dialogs.seen().size(), 2);
    EXPECT_EQ(dialogs.seen()[1].text, "'dois' is not a valid integer value");
    EXPECT_EQ(frmCorvelo->table.RecNo(), 0);
    EXPECT_EQ(frmCorvelo->table.State(), dsEdit) << "failed after its Edit";
    EXPECT_EQ(committed("REF"), (Values{"7", "<null>", "123"}));
}

TEST_F(WriteFieldTest, AnUnknownColumnFailsOnTheFirstRowBeforeWriting) {
    frmCorvelo->table.Next();
    frmCorvelo->rdACento->setChecked(true);
    dialogs.press(QMessageBox::Ok);
    process("NAO_EXISTE");
    EXPECT_EQ(onlyError(), "table: Field 'NAO_EXISTE' not found");
    EXPECT_EQ(frmCorvelo->table.RecNo(), 0);
    EXPECT_EQ(frmCorvelo->table.State(), dsEdit) << "the first row was put in edit state";
    EXPECT_FALSE(frmCorvelo->table.Modified());
}

TEST_F(WriteFieldTest, RenumberingStopsBeforeTheCounterWouldPassTheLargestInteger) {
    db.exec("ALTER TABLE CLIENTES ADD SEQ INTEGER");
    frmCorvelo->table.Close();
    frmCorvelo->table.Open();
    frmCorvelo->chkRepress->setChecked(true);
    dialogs.press(QMessageBox::Ok);
    process("SEQ", "2147483646");
    EXPECT_EQ(onlyError(), "Integer overflow") << "not -2147483648 on the third row";
    EXPECT_EQ(committed("SEQ"), (Values{"<null>", "<null>", "<null>"})) << "nothing committed";
    EXPECT_EQ(frmCorvelo->table.RecNo(), 2);
}

TEST_F(WriteFieldTest, ABadStartValueTouchesNothing) {
    frmCorvelo->table.Next();
    frmCorvelo->chkRepress->setChecked(true);
    dialogs.press(QMessageBox::Ok);
    process("CODIGO", "10 ");
    EXPECT_EQ(onlyError(), "'10 ' is not a valid integer value");
    EXPECT_EQ(frmCorvelo->table.RecNo(), 1);
    EXPECT_EQ(frmCorvelo->table.State(), dsBrowse);
}

TEST_F(WriteFieldTest, ARowTheServerRefusesEndsTheWalkWithoutCommitting) {
    frmCorvelo->chkRepress->setChecked(true);
    dialogs.press(QMessageBox::Ok);
    process("CODIGO", "10"); // the third row breaks CODIGO < 12
    EXPECT_TRUE(onlyError().contains("CHECK")) << onlyError().toStdString();
    EXPECT_EQ(frmCorvelo->table.RecNo(), 2);
    EXPECT_EQ(frmCorvelo->table.State(), dsEdit) << "the failing row keeps its change unposted";
    EXPECT_EQ(committed("CODIGO"), (Values{"1", "2", "3"})) << "posted rows wait for a commit";
    frmCorvelo->table.Cancel();
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->SpeedButton9->click();
    EXPECT_EQ(dialogs.seen().back().text, "Commit Executado");
    EXPECT_EQ(committed("CODIGO"), (Values{"10", "11", "3"}));
}

TEST_F(WriteFieldTest, AClosedTableFailsTheWalksAndTheStatementStillCommits) {
    frmCorvelo->table.Close();
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton3->click();
    frmCorvelo->rdACento->setChecked(true);
    process("NOME");
    ASSERT_EQ(dialogs.seen().size(), 2);
    EXPECT_EQ(dialogs.seen()[0].text, "table: Cannot perform this operation on a closed dataset");
    EXPECT_EQ(dialogs.seen()[1].text, "table: Cannot perform this operation on a closed dataset");

    frmCorvelo->rbInteger->setChecked(true);
    process("REF", "Z");
    EXPECT_EQ(dialogs.seen().size(), 2) << "nothing to apply; the statement is committed";
    EXPECT_EQ(committed("REF"), (Values{"Z", "Z", "Z"}));
    EXPECT_TRUE(frmCorvelo->table.Active()) << "reopened";
}

TEST_F(WriteFieldTest, AStatementTheServerRefusesCommitsNothing) {
    frmCorvelo->table.Next();
    process("NOME", "X");
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok);
    frmCorvelo->edtCampo->setText("CUSTO");
    frmCorvelo->btnProcessar->click();
    EXPECT_TRUE(onlyError().contains("CUSTO")) << onlyError().toStdString();
    EXPECT_EQ(committed("NOME"), (Values{"X", "X", "X"}));
    process("CIDADE", "muitas");
    ASSERT_EQ(dialogs.seen().size(), 2);
    EXPECT_EQ(committed("CIDADE"), (Values{"1", "2", "1"}));
    frmCorvelo->table.Next();
    process("NOME", "Y");
    EXPECT_EQ(frmCorvelo->table.RecNo(), 0);
    EXPECT_EQ(dialogs.seen().size(), 2);
}

TEST_F(WriteFieldTest, AnEmptyTableStillRunsTheCommitStep) {
    db.exec("DELETE FROM CLIENTES");
    frmCorvelo->table.Close();
    frmCorvelo->table.Open();
    frmCorvelo->chkRepress->setChecked(true);
    process("CODIGO", "1");
    zeros("REF", "2");
    EXPECT_EQ(sum(frmCorvelo->rbFloat, "PESO"), "0");
    frmCorvelo->edtSoma->setText("x");
    frmCorvelo->SpeedButton3->click();
    EXPECT_EQ(frmCorvelo->edtSoma->text(), "0");
    EXPECT_TRUE(dialogs.seen().isEmpty());
    EXPECT_EQ(frmCorvelo->table.RecordCount(), 0);
}

} // namespace
