// The "+  -  * / " page on the real window against the private server.
#include "app/Startup.h"
#include "app/uFrmCorvelo.h"
#include "app/widgets/FlatButton.h"
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

class ArithmeticTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec({"CREATE TABLE PRODUTOS (CODIGO INTEGER NOT NULL PRIMARY KEY, GRUPO INTEGER, PRECO "
                 "NUMERIC(15,2))",
                 "INSERT INTO PRODUTOS VALUES (1, 3, 10)", "INSERT INTO PRODUTOS VALUES (2, 3, 20)",
                 "INSERT INTO PRODUTOS VALUES (3, 4, 30)"});
        CreateForms();
        frmCorvelo->edtAlias->setText(QString::fromStdString(db.connectString()));
        frmCorvelo->btncon->click();
        frmCorvelo->edtArquivo->setEditText("PRODUTOS");
        frmCorvelo->btnAbrir->click();
        ASSERT_TRUE(frmCorvelo->table.Active());
        frmCorvelo->Edit1->setText("PRECO");
    }
    void TearDown() override { DestroyForms(); }

    void run(QRadioButton* operation, const QString& value) {
        operation->setChecked(true);
        frmCorvelo->Edit2->setText(value);
        frmCorvelo->SpeedButton5->click();
    }
    void filter(const QString& condition) {
        frmCorvelo->edtFiltro->setText(condition);
        frmCorvelo->btnAtiva->click();
    }
    // Committed prices, by code.
    std::vector<std::string> prices() {
        std::vector<std::string> values;
        for (const TestRow& row : db.query("SELECT PRECO FROM PRODUTOS ORDER BY CODIGO"))
            values.push_back(*row[0]);
        return values;
    }

    TestDatabase db;
    DialogAnswerer dialogs;
};

using Values = std::vector<std::string>;

TEST_F(ArithmeticTest, EveryOperatorChangesAllRowsOrTheFilteredOnes) {
    run(frmCorvelo->opMais, "5");
    EXPECT_EQ(prices(), (Values{"15.00", "25.00", "35.00"}));
    filter("GRUPO = 3");
    run(frmCorvelo->OpVez, "2");
    EXPECT_EQ(prices(), (Values{"30.00", "50.00", "35.00"}));
    EXPECT_EQ(frmCorvelo->sql.SQL(),
              (Values{"Update PRODUTOS Set", "PRECO= PRECO*2", "WHERE", "(GRUPO = 3)"}));
    run(frmCorvelo->OpDiv, "10");
    EXPECT_EQ(prices(), (Values{"3.00", "5.00", "35.00"}));
    frmCorvelo->btnDesativa->click();
    run(frmCorvelo->OpMenos, "1");
    EXPECT_EQ(prices(), (Values{"2.00", "4.00", "34.00"}));
    EXPECT_TRUE(dialogs.seen().isEmpty());
    // Reopened on its first row, showing the new values.
    EXPECT_EQ(frmCorvelo->table.RecNo(), 0);
    EXPECT_EQ(frmCorvelo->table.FieldNamed("PRECO")->AsString(), "2");
}

TEST_F(ArithmeticTest, TypedNumbersGoAsTypedAndSubtractingANegativeAdds) {
    run(frmCorvelo->OpVez, " 2");
    EXPECT_EQ(frmCorvelo->sql.SQL()[1], "PRECO= PRECO* 2");
    run(frmCorvelo->OpDiv, "1e1");
    EXPECT_EQ(frmCorvelo->sql.SQL()[1], "PRECO= PRECO/1e1");
    EXPECT_EQ(prices(), (Values{"2.00", "4.00", "6.00"}));
    run(frmCorvelo->OpMenos, "-5");
    EXPECT_EQ(prices(), (Values{"7.00", "9.00", "11.00"}));
}

TEST_F(ArithmeticTest, ANonNumberIsRejectedBeforeAnythingIsSent) {
    run(frmCorvelo->opMais, "1");
    const Values before = frmCorvelo->sql.SQL();
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok);
    run(frmCorvelo->opMais, "1,5");
    run(frmCorvelo->opMais, "Edit2");
    ASSERT_EQ(dialogs.seen().size(), 2);
    EXPECT_EQ(dialogs.seen()[0].title, "Erro de sistema");
    EXPECT_EQ(dialogs.seen()[0].text, "'1,5' is not a valid floating point value");
    EXPECT_EQ(dialogs.seen()[1].text, "'Edit2' is not a valid floating point value");
    EXPECT_EQ(frmCorvelo->sql.SQL(), before);
    EXPECT_EQ(prices(), (Values{"11.00", "21.00", "31.00"}));
}

TEST_F(ArithmeticTest, AServerErrorCommitsNothingAndLeavesTheTableAsItWas) {
    frmCorvelo->table.Next();
    frmCorvelo->Edit1->setText("CUSTO");
    dialogs.press(QMessageBox::Ok);
    run(frmCorvelo->opMais, "1");
    ASSERT_EQ(dialogs.seen().size(), 1);
    EXPECT_TRUE(dialogs.seen()[0].text.contains("CUSTO")) << dialogs.seen()[0].text.toStdString();
    EXPECT_EQ(prices(), (Values{"10.00", "20.00", "30.00"}));
    EXPECT_EQ(frmCorvelo->table.RecNo(), 1) << "not reopened";
}

} // namespace
