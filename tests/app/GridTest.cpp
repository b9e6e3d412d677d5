// The data grid DBDados on the real window, against the private server: what
// it shows, how it reads rows, and editing, inserting and deleting in place.
#include "app/DataGridModel.h"
#include "app/Startup.h"
#include "app/grid/GridController.h"
#include "app/uFrmCorvelo.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

#include "app/widgets/FlatButton.h"

namespace {

void settle() {
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

void key(QWidget* target, int code, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
         const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, code, modifiers, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, code, modifiers, text);
    QApplication::sendEvent(target, &release);
    settle();
}

void click(QWidget* target, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    const QPointF global = target->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, button, button, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, button, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &release);
    settle();
}

class GridTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec({"CREATE TABLE CLIENTES (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(20), FOTO BLOB, "
                 "OBS BLOB SUB_TYPE 1)",
                 "INSERT INTO CLIENTES (ID, NOME, FOTO) VALUES (1, 'Jo\xE3o', 'abc')",
                 "INSERT INTO CLIENTES (ID, NOME) VALUES (2, 'Maria')",
                 "INSERT INTO CLIENTES (ID, NOME) VALUES (3, 'Pedro')"});
        CreateForms();
        frmCorvelo->show();
        grid = frmCorvelo->findChild<QTableView*>(QStringLiteral("DBDados"));
        ASSERT_NE(grid, nullptr);
        controller = GridController::attach(grid);
        model = controller->model();
        controller->setCellClickHandler([this](int column) {
            clickedColumns.push_back(column);
            clickedRows.push_back(frmCorvelo->table.RecNo());
        });
        frmCorvelo->edtAlias->setText(QString::fromStdString(db.connectString()));
        frmCorvelo->btncon->click();
        ASSERT_TRUE(frmCorvelo->dtbSuporte.Connected());
    }
    void TearDown() override { DestroyForms(); }

    void openTable(const std::string& name) {
        frmCorvelo->table.SetTableName(name);
        frmCorvelo->table.Open();
        settle();
    }
    QString cell(int row, int column) const { return model->index(row, column).data().toString(); }
    QString indicator(int row) const { return model->headerData(row, Qt::Vertical).toString(); }
    void clickCell(int row, int column, Qt::MouseButton button = Qt::LeftButton) {
        click(grid->viewport(), grid->visualRect(model->index(row, column)).center(), button);
    }
    QLineEdit* editor() const {
        for (QLineEdit* edit : grid->viewport()->findChildren<QLineEdit*>())
            if (edit->isVisible())
                return edit;
        return nullptr;
    }
    // F2 on the current cell, the text typed over, Enter.
    void editCurrentCell(const QString& text) {
        key(grid, Qt::Key_F2);
        QLineEdit* edit = editor();
        ASSERT_NE(edit, nullptr);
        edit->setText(text);
        key(edit, Qt::Key_Return);
    }
    void commitWindow() { frmCorvelo->ibtSuporte.CommitRetaining(); }
    std::vector<TestRow> stored() { return db.query("SELECT ID, NOME FROM CLIENTES ORDER BY ID"); }

    TestDatabase db;
    DialogAnswerer dialogs;
    QTableView* grid = nullptr;
    GridController* controller = nullptr;
    DataGridModel* model = nullptr;
    std::vector<int> clickedColumns;
    std::vector<int> clickedRows;
};

TEST_F(GridTest, ShowsOneColumnPerFieldWithDisplayTextsAndMarksTheCurrentRow) {
    openTable("CLIENTES");
    ASSERT_EQ(model->columnCount(), 4);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "ID");
    EXPECT_EQ(model->headerData(3, Qt::Horizontal).toString(), "OBS");
    frmCorvelo->table.FieldAt(1)->SetDisplayLabel("Nome do cliente");
    frmCorvelo->table.Close();
    frmCorvelo->table.Open();
    settle();
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "NOME") << "fields are new at each open";

    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(cell(0, 0), "1");
    EXPECT_EQ(cell(0, 1), QString::fromUtf8("Jo\u00e3o")) << "8-bit text shown as the screen's";
    EXPECT_EQ(cell(0, 2), "(BLOB)");
    EXPECT_EQ(cell(1, 2), "(blob)") << "a NULL large object";
    EXPECT_EQ(cell(0, 3), "(memo)");
    EXPECT_FALSE(model->flags(model->index(0, 2)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model->flags(model->index(0, 1)) & Qt::ItemIsEditable);

    EXPECT_EQ(indicator(0), DataGridModel::BrowseMark);
    EXPECT_EQ(indicator(1), "");
    frmCorvelo->table.Next();
    settle();
    EXPECT_EQ(indicator(0), "");
    EXPECT_EQ(indicator(1), DataGridModel::BrowseMark);
    EXPECT_EQ(grid->currentIndex().row(), 1) << "the view follows the dataset";

    frmCorvelo->table.Close();
    settle();
    EXPECT_EQ(model->rowCount(), 0);
    EXPECT_EQ(model->columnCount(), 0);
}

TEST_F(GridTest, OpeningALargeTableReadsOnlyWhatTheViewShowsAndScrollingReadsTheRest) {
    db.exec("CREATE TABLE MUITOS (ID INTEGER NOT NULL PRIMARY KEY, V VARCHAR(10))");
    db.exec("EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < 3000) DO BEGIN "
            "INSERT INTO MUITOS VALUES (:I, 'v' || :I); I = I + 1; END END");
    openTable("MUITOS");
    const int shown = model->rowCount();
    EXPECT_GT(shown, grid->viewport()->height() / grid->verticalHeader()->defaultSectionSize());
    EXPECT_LE(shown, 2 * DataGridModel::FetchBatch);
    EXPECT_EQ(frmCorvelo->table.RecordCount(), shown) << "nothing read beyond the model's rows";

    // A move far ahead reads rows without fetchMore; the model takes them up.
    frmCorvelo->table.MoveTo(500);
    settle();
    EXPECT_GE(model->rowCount(), 501);
    EXPECT_EQ(model->rowCount(), frmCorvelo->table.RecordCount());
    EXPECT_EQ(cell(500, 1), "v500");
    EXPECT_EQ(grid->currentIndex().row(), 500);

    for (int turns = 0; model->canFetchMore(QModelIndex()) && turns < 1000; ++turns) {
        grid->scrollToBottom();
        settle();
    }
    EXPECT_EQ(model->rowCount(), 3000);
    EXPECT_EQ(cell(2999, 1), "v2999");
}

TEST_F(GridTest, ClickingACellMakesItsRowCurrentBeforeTheClickIsReported) {
    openTable("CLIENTES");
    clickCell(2, 2);
    EXPECT_EQ(frmCorvelo->table.RecNo(), 2);
    EXPECT_EQ(clickedColumns, std::vector<int>{2});
    EXPECT_EQ(clickedRows, std::vector<int>{2});

    // Not reported: the right button, the title row, the indicator column.
    clickCell(1, 1, Qt::RightButton);
    const QHeaderView* titles = grid->horizontalHeader();
    click(grid->horizontalHeader()->viewport(), QPoint(titles->sectionViewportPosition(1) + 5, 5));
    click(grid->verticalHeader()->viewport(),
          QPoint(3, grid->verticalHeader()->sectionViewportPosition(0) + 3));
    EXPECT_EQ(clickedColumns, std::vector<int>{2});
}

TEST_F(GridTest, AnEditedCellIsPostedWhenTheRowIsLeft) {
    openTable("CLIENTES");
    clickCell(1, 1);
    editCurrentCell(QString::fromUtf8("Mar\u00eda Jos\u00e9"));
    EXPECT_EQ(frmCorvelo->table.State(), dsEdit);
    EXPECT_EQ(indicator(1), DataGridModel::EditMark);
    EXPECT_EQ(cell(1, 1), QString::fromUtf8("Mar\u00eda Jos\u00e9"));

    key(grid, Qt::Key_Down);
    EXPECT_EQ(frmCorvelo->table.State(), dsBrowse);
    EXPECT_EQ(frmCorvelo->table.RecNo(), 2);
    EXPECT_EQ(indicator(2), DataGridModel::BrowseMark);
    commitWindow();
    EXPECT_EQ(stored()[1][1], "Mar\xED"
                              "a Jos\xE9");

    // Typing opens the editor with the typed character; a click elsewhere posts.
    key(grid, Qt::Key_P, Qt::NoModifier, QStringLiteral("P"));
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), "P");
    key(editor(), Qt::Key_Return);
    clickCell(0, 0);
    EXPECT_EQ(frmCorvelo->table.RecNo(), 0);
    EXPECT_EQ(clickedColumns, (std::vector<int>{1, 0}));
    commitWindow();
    EXPECT_EQ(stored()[2][1], "P");
    EXPECT_TRUE(dialogs.seen().isEmpty());
}

TEST_F(GridTest, EscapeAbandonsTheChangeAndAnUnchangedEditWritesNothing) {
    openTable("CLIENTES");
    // Escape inside the editor.
    key(grid, Qt::Key_F2);
    ASSERT_NE(editor(), nullptr);
    editor()->setText("Outro");
    key(editor(), Qt::Key_Escape);
    EXPECT_EQ(frmCorvelo->table.State(), dsBrowse);
    EXPECT_EQ(cell(0, 0), "1");

    // Escape on the grid after the editor handed its text to the row.
    grid->setCurrentIndex(model->index(0, 1));
    editCurrentCell("Outro");
    EXPECT_EQ(frmCorvelo->table.State(), dsEdit);
    key(grid, Qt::Key_Escape);
    EXPECT_EQ(frmCorvelo->table.State(), dsBrowse);
    EXPECT_EQ(cell(0, 1), QString::fromUtf8("Jo\u00e3o"));
    EXPECT_EQ(indicator(0), DataGridModel::BrowseMark);

    // The editor closed on the same text leaves the row unmodified: leaving it writes nothing.
    editCurrentCell(QString::fromUtf8("Jo\u00e3o"));
    EXPECT_FALSE(frmCorvelo->table.Modified());
    key(grid, Qt::Key_Down);
    commitWindow();
    EXPECT_EQ(stored()[0][1], "Jo\xE3o");
    EXPECT_TRUE(dialogs.seen().isEmpty());
}

TEST_F(GridTest, InsertStartsANewRowThatIsPostedWhenLeftOrDroppedWhenEmpty) {
    openTable("CLIENTES");
    clickCell(1, 0);
    key(grid, Qt::Key_Insert);
    EXPECT_EQ(frmCorvelo->table.State(), dsInsert);
    EXPECT_EQ(model->rowCount(), 4);
    EXPECT_EQ(frmCorvelo->table.RecNo(), 1) << "the new row comes before the current one";
    EXPECT_EQ(indicator(1), DataGridModel::InsertMark);
    EXPECT_EQ(cell(1, 0), "");

    // Left without a change: gone again, and the click lands on the row it aimed at.
    clickCell(3, 1);
    EXPECT_EQ(model->rowCount(), 3);
    EXPECT_EQ(frmCorvelo->table.State(), dsBrowse);
    EXPECT_EQ(cell(frmCorvelo->table.RecNo(), 0), "3");

    key(grid, Qt::Key_Insert);
    grid->setCurrentIndex(model->index(frmCorvelo->table.RecNo(), 0));
    editCurrentCell("10");
    grid->setCurrentIndex(model->index(frmCorvelo->table.RecNo(), 1));
    editCurrentCell("Novo");
    key(grid, Qt::Key_Up);
    EXPECT_EQ(frmCorvelo->table.State(), dsBrowse);
    EXPECT_EQ(model->rowCount(), 4);
    commitWindow();
    ASSERT_EQ(stored().size(), 4U);
    EXPECT_EQ(stored()[3], (TestRow{"10", "Novo"}));
    EXPECT_TRUE(dialogs.seen().isEmpty());
}

TEST_F(GridTest, CtrlDeleteAsksFirstAndDeletesOnlyOnOk) {
    openTable("CLIENTES");
    clickCell(1, 1);
    dialogs.press(QMessageBox::Cancel);
    key(grid, Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(dialogs.seen().size(), 1);
    EXPECT_EQ(dialogs.seen()[0].text, "Delete record?");
    EXPECT_EQ(dialogs.seen()[0].buttons, (QStringList{"OK", "Cancelar"}));
    EXPECT_EQ(model->rowCount(), 3);

    key(grid, Qt::Key_Delete); // without Ctrl: nothing
    EXPECT_EQ(dialogs.seen().size(), 1);

    dialogs.press(QMessageBox::Ok);
    key(grid, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(dialogs.seen().size(), 2);
    EXPECT_EQ(model->rowCount(), 2);
    EXPECT_EQ(cell(frmCorvelo->table.RecNo(), 1), "Pedro") << "the next row becomes current";
    EXPECT_EQ(indicator(1), DataGridModel::BrowseMark);
    EXPECT_EQ(grid->currentIndex().row(), 1);
    commitWindow();
    EXPECT_EQ(stored().size(), 2U);
    EXPECT_EQ(*stored()[1][1], "Pedro");
}

TEST_F(GridTest, AFailedPostShowsTheErrorAndKeepsTheRowInEditState) {
    openTable("CLIENTES");
    editCurrentCell("2"); // the key of the next row
    dialogs.press(QMessageBox::Ok);
    clickCell(2, 1);
    ASSERT_EQ(dialogs.seen().size(), 1);
    EXPECT_EQ(dialogs.seen()[0].title, "Erro de sistema");
    EXPECT_TRUE(dialogs.seen()[0].text.contains("PRIMARY")) << dialogs.seen()[0].text.toStdString();
    EXPECT_EQ(frmCorvelo->table.State(), dsEdit);
    EXPECT_EQ(frmCorvelo->table.RecNo(), 0);
    EXPECT_EQ(grid->currentIndex().row(), 0) << "the view stays with the edited row";
    EXPECT_EQ(indicator(0), DataGridModel::EditMark);
    EXPECT_TRUE(clickedColumns.empty()) << "the click did not reach its row";

    // Put right, the row goes out on the next move.
    grid->setCurrentIndex(model->index(0, 0));
    editCurrentCell("7");
    key(grid, Qt::Key_Down);
    EXPECT_EQ(frmCorvelo->table.State(), dsBrowse);
    commitWindow();
    EXPECT_EQ(*stored().back()[0], "7");
}

TEST_F(GridTest, ATextTheCodePageCannotHoldIsRefusedAndNothingIsAssigned) {
    openTable("CLIENTES");
    grid->setCurrentIndex(model->index(1, 1));
    settle();
    dialogs.press(QMessageBox::Ok);
    editCurrentCell(QString::fromUtf8("Mar\u0107a"));
    ASSERT_EQ(dialogs.seen().size(), 1);
    EXPECT_EQ(dialogs.seen()[0].title, "Erro de sistema");
    EXPECT_FALSE(frmCorvelo->table.Modified());
    EXPECT_EQ(cell(1, 1), "Maria");
}

} // namespace
