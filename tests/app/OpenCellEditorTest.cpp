// A value typed into a grid cell whose editor is still open when a button of
// the window is clicked counts as if the user had left the cell: flat buttons
// take no focus, so the window must close the editor itself.
#include "app/widgets/FlatButton.h"
#include "tests/app/HardeningSupport.h"
#include "tests/support/QtPrinters.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QRadioButton>
#include <QTableView>

namespace {

class OpenCellEditorTest : public HardeningTest {
protected:
    void SetUp() override {
        HardeningTest::SetUp();
        db.exec(std::vector<std::string>{"CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(20), "
                                         "QTD INTEGER)",
                                         "INSERT INTO T VALUES (1, 'Ana', 1)",
                                         "INSERT INTO T VALUES (2, 'Bia', 2)"});
        frmCorvelo->show();
        connect();
        open("T");
        grid = frmCorvelo->DBDados;
    }

    static void settle() {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }
    // F2 on the cell, the text typed over; the editor stays open.
    void typeInto(int row, int column, const QString& text) {
        // Moving to another row re-reads the view's rows; the column is set
        // again once the row is current.
        grid->setCurrentIndex(grid->model()->index(row, column));
        settle();
        grid->setCurrentIndex(grid->model()->index(row, column));
        settle();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
        QApplication::sendEvent(grid, &press);
        settle();
        QLineEdit* editor = openEditor();
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
    }
    QLineEdit* openEditor() const {
        for (QLineEdit* edit : grid->viewport()->findChildren<QLineEdit*>())
            if (edit->isVisible())
                return edit;
        return nullptr;
    }

    QTableView* grid = nullptr;
};

TEST_F(OpenCellEditorTest, TheCommitButtonCommitsWhatWasTypedIntoTheOpenCell) {
    typeInto(0, 1, "Carla");
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->SpeedButton9->click();
    settle();
    ASSERT_EQ(dialogs.seen().size(), 1) << shown().toStdString();
    EXPECT_EQ(dialogs.seen()[0].text, "Commit Executado");
    EXPECT_EQ(openEditor(), nullptr) << "the editor is closed";
    EXPECT_EQ(*db.scalar("SELECT NOME FROM T WHERE ID = 1"), "Carla");
    EXPECT_EQ(frmCorvelo->table.State(), dsBrowse);
}

TEST_F(OpenCellEditorTest, CloseWithCommitAndTheSumSeeTheTypedValue) {
    typeInto(1, 2, "40");
    frmCorvelo->rbInteger->setChecked(true);
    frmCorvelo->edtCampo->setText("QTD");
    frmCorvelo->SpeedButton2->click(); // "Soma Campo": the walk posts the typed row first
    EXPECT_EQ(frmCorvelo->edtSoma->text(), "41");
    EXPECT_TRUE(dialogs.seen().isEmpty()) << shown().toStdString();

    typeInto(0, 1, "Dora");
    frmCorvelo->chkcommit->setChecked(true);
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->btnFechar->click();
    ASSERT_EQ(dialogs.seen().size(), 1) << shown().toStdString();
    EXPECT_EQ(dialogs.seen()[0].text, "Commit Executado");
    EXPECT_EQ(*db.scalar("SELECT NOME FROM T WHERE ID = 1"), "Dora");
    EXPECT_EQ(*db.scalar("SELECT QTD FROM T WHERE ID = 2"), "40");
}

TEST_F(OpenCellEditorTest, AFlatButtonHandsTheTextToTheRowAsLeavingTheCellDoes) {
    // Leaving the cell puts the row in edit state with the typed value; a
    // flat button does exactly that before its handler runs.
    typeInto(0, 1, "Eva");
    frmCorvelo->btnCancMemo->click(); // a handler that touches no data
    EXPECT_EQ(openEditor(), nullptr);
    EXPECT_EQ(frmCorvelo->table.State(), dsEdit);
    EXPECT_EQ(frmCorvelo->table.FieldNamed("NOME")->AsString(), "Eva");
    EXPECT_TRUE(dialogs.seen().isEmpty()) << shown().toStdString();
}

} // namespace
