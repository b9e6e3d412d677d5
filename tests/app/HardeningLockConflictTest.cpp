// A row held by another connection's open transaction: the window's
// transaction is "nowait", so the server refuses at once and the user sees
// why, with nothing of the refused work committed.
#include "app/widgets/FlatButton.h"
#include "tests/app/HardeningSupport.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/UncommittedWork.h"

#include <QCheckBox>
#include <QRadioButton>

namespace {

class LockConflictTest : public HardeningTest {
protected:
    void SetUp() override {
        HardeningTest::SetUp();
        db.exec(std::vector<std::string>{
            "CREATE TABLE C (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(60), CODIGO INTEGER)",
            "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= 5) DO BEGIN "
            "INSERT INTO C VALUES (:I, 'Jo\xE3o', 0); I = I + 1; END END"});
        other.exec("UPDATE C SET NOME = 'held' WHERE ID = 3");
        connect();
        open("C");
    }
    static void expectLockConflict(const QString& text) {
        EXPECT_TRUE(text.contains("update conflicts with concurrent update")) << text.toStdString();
    }
    // Nothing of the window's work reached the database.
    void expectUntouched() {
        other.rollback();
        EXPECT_EQ(count("C", "NOME = 'Jo\xE3o' AND CODIGO = 0"), "5");
    }

    UncommittedWork other{db.connectString()};
};

TEST_F(LockConflictTest, ARowWalkStopsAtTheHeldRowAndCommitsNothing) {
    frmCorvelo->chkRepress->setChecked(true);
    frmCorvelo->edtCampo->setText("CODIGO");
    frmCorvelo->edtValor->setText("10");
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->btnProcessar->click();
    expectLockConflict(errorBoxSince(0));
    EXPECT_EQ(frmCorvelo->table.FieldNamed("ID")->AsInteger(), 3) << "the walk ended at the held row";
    expectUntouched();

    // The rows posted before the held one are undone by a rollback; once the
    // lock is gone the same walk goes through.
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->SpeedButton11->click();
    frmCorvelo->btnProcessar->click();
    EXPECT_EQ(dialogs.seen().size(), 2) << shown().toStdString();
    EXPECT_EQ(count("C", "CODIGO BETWEEN 10 AND 14"), "5");
}

TEST_F(LockConflictTest, TheConstantUpdateFailsWholeAndLeavesTheTableAsItWas) {
    frmCorvelo->edtCampo->setText("NOME");
    frmCorvelo->edtValor->setText("Novo");
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->btnProcessar->click();
    expectLockConflict(errorBoxSince(0));
    EXPECT_TRUE(frmCorvelo->table.Active());
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->SpeedButton9->click(); // nothing pending that could sneak in
    EXPECT_EQ(dialogs.seen().back().text, "Commit Executado");
    expectUntouched();
}

TEST_F(LockConflictTest, EmptyingTheTableFailsAndDeletesNothing) {
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton7->click();
    expectLockConflict(errorBoxSince(0));
    EXPECT_TRUE(frmCorvelo->table.Active()) << "the error came before the close";
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->SpeedButton9->click();
    other.rollback();
    EXPECT_EQ(count("C"), "5");
}

} // namespace
