// The "Cruzar Campo" page on the real window against the private server.
#include "app/Startup.h"
#include "app/uFrmCorvelo.h"
#include "app/widgets/FlatButton.h"
#include "app/widgets/UpperCaseLineEdit.h"
#include "db/TField.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

using Values = std::vector<std::string>;

class CruzarCampoTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec(
            {"CREATE TABLE CLIENTES (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(30), VALOR "
             "NUMERIC(15,2), PESO DOUBLE PRECISION, NASC DATE, ATIVO CHAR(1), QTD INTEGER, FONE "
             "VARCHAR(20), PRECO NUMERIC(15,4))",
             "INSERT INTO CLIENTES VALUES (1, 'Jo\xE3o', 12.5, 0.1, '2020-02-05', 'Y', 3, '(11) 4321-0000', "
             "NULL)",
             "INSERT INTO CLIENTES VALUES (2, 'Ana', 7, 2.25, NULL, 'N', 4, 'sem', NULL)"});
        CreateForms();
        frmCorvelo->edtAlias->setText(QString::fromStdString(db.connectString()));
        frmCorvelo->btncon->click();
        frmCorvelo->edtArquivo->setEditText("CLIENTES");
        frmCorvelo->btnAbrir->click();
        ASSERT_TRUE(frmCorvelo->table.Active());
    }
    void TearDown() override { DestroyForms(); }

    void copy(QRadioButton* sourceType, const QString& source, QRadioButton* targetType,
              const QString& target) {
        sourceType->setChecked(true);
        targetType->setChecked(true);
        frmCorvelo->edtdoCampo->setText(source);
        frmCorvelo->pCampo->setText(target);
        frmCorvelo->SpeedButton4->click();
    }
    // Committed values of a column, by ID; NULL as "<null>".
    Values committed(const std::string& column) {
        Values values;
        for (const TestRow& row : db.query("SELECT " + column + " FROM CLIENTES ORDER BY ID"))
            values.push_back(row[0] ? *row[0] : "<null>");
        return values;
    }

    TestDatabase db;
    DialogAnswerer dialogs;
};

TEST_F(CruzarCampoTest, EachTypeButtonChoosesItsReadingAndWriting) {
    TfrmCorvelo& w = *frmCorvelo;
    copy(w.rbdReal, "valor", w.rbpString, "nome");
    EXPECT_EQ(committed("NOME"), (Values{"12.5", "7"}));
    copy(w.rbdFloat, "PESO", w.rbpReal, "PRECO");
    EXPECT_EQ(committed("PRECO"), (Values{"0.1000", "2.2500"}));
    copy(w.rbdString, "FONE", w.rdSoNumro, "FONE");
    EXPECT_EQ(committed("FONE"), (Values{"1143210000", "<null>"}));
    copy(w.rbdData, "NASC", w.rbpString, "NOME");
    EXPECT_EQ(committed("NOME"), (Values{"05/02/2020", "30/12/1899"}));
    copy(w.rbdString, "NOME", w.rbpData, "NASC");
    EXPECT_EQ(committed("NASC"), (Values{"2020-02-05", "1899-12-30"}));
    copy(w.rbdInteger, "QTD", w.rbpFloat, "PESO");
    EXPECT_EQ(committed("PESO"), (Values{"3.000000000000000", "4.000000000000000"}));
    copy(w.rbdBoolean, "ATIVO", w.rbpString, "NOME");
    EXPECT_EQ(committed("NOME"), (Values{"TRUE", "FALSE"}));
    copy(w.rbdString, "NOME", w.rbpBoolean, "ATIVO");
    EXPECT_EQ(committed("ATIVO"), (Values{"T", "F"}));
    copy(w.rbdInteger, "ID", w.rbpInteger, "QTD");
    EXPECT_EQ(committed("QTD"), (Values{"1", "2"}));
    EXPECT_TRUE(dialogs.seen().isEmpty());
    EXPECT_EQ(w.table.RecNo(), 1) << "left on the last row, not reopened";
}

TEST_F(CruzarCampoTest, AFailingRowShowsTheErrorWithTheEarlierRowsCommittedAndTheRowInEdit) {
    TfrmCorvelo& w = *frmCorvelo;
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok).press(QMessageBox::Ok);
    copy(w.rbdReal, "VALOR", w.rbpInteger, "QTD");
    ASSERT_EQ(dialogs.seen().size(), 1);
    EXPECT_EQ(dialogs.seen()[0].title, "Erro de sistema");
    EXPECT_EQ(dialogs.seen()[0].text, "'12.5' is not a valid integer value");
    EXPECT_EQ(w.table.State(), dsEdit);
    EXPECT_EQ(w.table.RecNo(), 0);

    // Ordered by name the failing row comes second.
    w.table.Cancel();
    w.EDToRDEM->setText("NOME");
    w.Ordem->click();
    copy(w.rbdReal, "VALOR", w.rbpInteger, "QTD");
    ASSERT_EQ(dialogs.seen().size(), 2);
    EXPECT_EQ(committed("QTD"), (Values{"3", "7"}));
    EXPECT_EQ(w.table.RecNo(), 1);

    w.table.Cancel();
    copy(w.rbdReal, "VALOR", w.rbpInteger, "NADA");
    ASSERT_EQ(dialogs.seen().size(), 3);
    EXPECT_EQ(dialogs.seen()[2].text, "table: Field 'NADA' not found");
}

} // namespace
