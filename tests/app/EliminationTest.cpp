// Record elimination on the "Arquivo" page and the table-choice dialog, on the
// real window against the private server.
#include "app/Startup.h"
#include "app/uFrmCorvelo.h"
#include "app/ufrmEmpty.h"
#include "app/widgets/AutoSizeLabel.h"
#include "app/widgets/CheckListBox.h"
#include "app/widgets/FlatButton.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using Values = std::vector<std::string>;

const QString Blanks(36, u' ');

// Records the text of a label each time it is painted.
class PaintedTexts : public QObject {
public:
    explicit PaintedTexts(QLabel* label) : label_(label) { label->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && (texts.isEmpty() || texts.last() != label_->text()))
            texts << label_->text();
        return false;
    }
    QStringList texts;

private:
    QLabel* label_;
};

class EliminationTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Every deletion leaves a line in ELIM_LOG, so the order of the work shows.
        db.exec({"CREATE TABLE ELIM_LOG (SEQ INTEGER, NOME VARCHAR(31))", "CREATE GENERATOR G_LOG",
                 "CREATE TABLE CLIENTES (ID INTEGER NOT NULL PRIMARY KEY)",
                 "CREATE TABLE FORNECEDORES (ID INTEGER NOT NULL PRIMARY KEY)",
                 "CREATE TABLE PEDIDOS (ID INTEGER NOT NULL PRIMARY KEY)",
                 "CREATE TABLE ITENS (ID INTEGER NOT NULL PRIMARY KEY, PEDIDO INTEGER REFERENCES "
                 "PEDIDOS)",
                 "CREATE TABLE PRODUTOS (CODIGO INTEGER NOT NULL PRIMARY KEY, GRUPO INTEGER)"});
        for (const char* name : {"CLIENTES", "FORNECEDORES", "PEDIDOS", "ITENS", "PRODUTOS"})
            db.exec(std::string("CREATE TRIGGER T_") + name + " FOR " + name +
                    " AFTER DELETE AS BEGIN INSERT INTO ELIM_LOG VALUES (GEN_ID(G_LOG, 1), '" + name +
                    "'); END");
        db.exec({"INSERT INTO CLIENTES VALUES (1)", "INSERT INTO CLIENTES VALUES (2)",
                 "INSERT INTO FORNECEDORES VALUES (1)", "INSERT INTO PEDIDOS VALUES (1)",
                 "INSERT INTO PEDIDOS VALUES (2)", "INSERT INTO PEDIDOS VALUES (3)",
                 "INSERT INTO ITENS VALUES (1, 2)"});
        for (int code = 1; code <= 5; ++code)
            db.exec("INSERT INTO PRODUTOS VALUES (" + std::to_string(code) + ", " +
                    std::to_string((code + 1) / 2) + ")");
        CreateForms();
        frmCorvelo->edtAlias->setText(QString::fromStdString(db.connectString()));
        frmCorvelo->btncon->click();
        open("PRODUTOS");
        restingCaption = frmCorvelo->Label13->text();
    }
    void TearDown() override { DestroyForms(); }

    void open(const QString& tableName) {
        frmCorvelo->edtArquivo->setEditText(tableName);
        frmCorvelo->btnAbrir->click();
        ASSERT_TRUE(frmCorvelo->table.Active());
    }
    // Committed keys of a table, seen from a second connection.
    Values keys(const std::string& tableName) {
        Values values;
        for (const TestRow& row : db.query("SELECT * FROM " + tableName + " ORDER BY 1"))
            values.push_back(*row[0]);
        return values;
    }
    // The tables deleted from, in the order of their first deletion.
    Values deletionOrder() {
        Values names;
        for (const TestRow& row : db.query("SELECT NOME FROM ELIM_LOG GROUP BY NOME ORDER BY MIN(SEQ)"))
            names.push_back(*row[0]);
        return names;
    }
    void expectQuestion(int index, const QString& text) {
        ASSERT_GT(dialogs.seen().size(), index);
        const SeenDialog& seen = dialogs.seen()[index];
        EXPECT_EQ(seen.title, "Warning");
        EXPECT_EQ(seen.text, text);
        EXPECT_EQ(seen.icon, QMessageBox::Warning);
        EXPECT_EQ(seen.buttons, (QStringList{"OK", "Cancelar"}));
    }
    // Answers the table-choice dialog: `choose` checks boxes, then `finish`
    // presses a button or closes it; both run inside the dialog.
    void chooseTables(std::function<void(TfrmEmpty*)> choose, std::function<void(TfrmEmpty*)> finish) {
        dialogs.handle([=](QWidget* dialog) {
            auto* form = qobject_cast<TfrmEmpty*>(dialog);
            ASSERT_EQ(form, frmEmpty);
            choose(form);
            // Queued, so the questions it asks run in the dialog's own loop.
            QMetaObject::invokeMethod(
                form, [=] { finish(form); }, Qt::QueuedConnection);
        });
    }
    static void check(TfrmEmpty* form, const QStringList& names) {
        for (int row = 0; row < form->itemLista->count(); ++row)
            if (names.contains(form->itemLista->item(row)->text()))
                form->itemLista->setChecked(row, true);
    }
    static void confirm(TfrmEmpty* form) { form->Button1->click(); }
    static QStringList boxes(TfrmEmpty* form) {
        QStringList states;
        for (int row = 0; row < form->itemLista->count(); ++row)
            states << (form->itemLista->isChecked(row) ? QStringLiteral("x") : QStringLiteral("-"));
        return states;
    }

    TestDatabase db;
    DialogAnswerer dialogs;
    QString restingCaption;
};

const Values AllProducts{"1", "2", "3", "4", "5"};

TEST_F(EliminationTest, ShownRowsNeedTwoOksAndGoWithOrWithoutAFilter) {
    dialogs.press(QMessageBox::Cancel);
    frmCorvelo->SpeedButton1->click();
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Cancel);
    frmCorvelo->SpeedButton1->click();
    ASSERT_EQ(dialogs.seen().size(), 3);
    expectQuestion(0, "Deseja Eliminar estes Registros ? ? ?");
    expectQuestion(1, "Deseja Eliminar estes Registros ? ? ?");
    expectQuestion(2, "Tem Certeza ? ? ?");
    EXPECT_EQ(keys("PRODUTOS"), AllProducts);

    frmCorvelo->edtFiltro->setText("GRUPO = 2");
    frmCorvelo->btnAtiva->click();
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton1->click();
    EXPECT_EQ(keys("PRODUTOS"), (Values{"1", "2", "5"})) << "committed row by row";
    EXPECT_TRUE(frmCorvelo->table.Active());
    EXPECT_TRUE(frmCorvelo->table.Filtered());
    EXPECT_EQ(frmCorvelo->table.Filter(), "GRUPO = 2");
    EXPECT_EQ(frmCorvelo->table.RecordCount(), 0);

    frmCorvelo->btnDesativa->click();
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton1->click();
    EXPECT_EQ(keys("PRODUTOS"), Values{});
    EXPECT_EQ(deletionOrder(), Values{"PRODUTOS"});
    EXPECT_EQ(dialogs.seen().size(), 7) << "no message at the end";

    // Nothing left: nothing happens.
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton1->click();
    EXPECT_EQ(dialogs.seen().size(), 9);
}

TEST_F(EliminationTest, AReferencedRowStopsTheDeletionWithTheRowsBeforeItCommitted) {
    open("PEDIDOS");
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton1->click();
    ASSERT_EQ(dialogs.seen().size(), 3);
    EXPECT_EQ(dialogs.seen()[2].title, "Erro de sistema");
    EXPECT_EQ(keys("PEDIDOS"), (Values{"2", "3"}));
    EXPECT_TRUE(frmCorvelo->table.Active());

    frmCorvelo->table.Close();
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton1->click();
    ASSERT_EQ(dialogs.seen().size(), 6);
    EXPECT_EQ(dialogs.seen()[5].text, "table: Cannot perform this operation on a closed dataset");
}

TEST_F(EliminationTest, EmptyTableNeedsTwoOksCommitsAndClosesAlsoWhenTheTableWasClosed) {
    dialogs.press(QMessageBox::Cancel);
    frmCorvelo->SpeedButton7->click();
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Cancel);
    frmCorvelo->SpeedButton7->click();
    expectQuestion(0, "Deseja Executar Empty na Tabela ? ? ?");
    expectQuestion(2, "Tem Certeza ? ? ?");
    EXPECT_EQ(keys("PRODUTOS"), AllProducts);
    EXPECT_TRUE(frmCorvelo->table.Active());

    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton7->click();
    EXPECT_EQ(keys("PRODUTOS"), Values{});
    EXPECT_FALSE(frmCorvelo->table.Active());
    EXPECT_EQ(frmCorvelo->table.TableName(), "PRODUTOS");

    // Closed but still naming a table: the deletion is committed, not rolled back.
    open("CLIENTES");
    frmCorvelo->table.Close();
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton7->click();
    EXPECT_EQ(keys("CLIENTES"), Values{});
    EXPECT_EQ(dialogs.seen().size(), 7) << "no rollback message";
}

TEST_F(EliminationTest, EmptyingAReferencedTableFailsAndLeavesItOpen) {
    open("PEDIDOS");
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton7->click();
    ASSERT_EQ(dialogs.seen().size(), 3);
    EXPECT_EQ(dialogs.seen()[2].title, "Erro de sistema");
    EXPECT_EQ(keys("PEDIDOS"), (Values{"1", "2", "3"}));
    EXPECT_TRUE(frmCorvelo->table.Active());
}

TEST_F(EliminationTest, ChosenTablesAreEmptiedInNameOrderEachCommitted) {
    frmCorvelo->show();
    PaintedTexts painted(frmCorvelo->Label13);
    QStringList listed;
    chooseTables(
        [&](TfrmEmpty* form) {
            for (int row = 0; row < form->itemLista->count(); ++row)
                listed << form->itemLista->item(row)->text();
            EXPECT_EQ(boxes(form), QStringList(listed.size(), QStringLiteral("-")));
            check(form, {"PRODUTOS", "CLIENTES", "ITENS"});
        },
        confirm);
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton8->click();

    EXPECT_EQ(listed, (QStringList{"CLIENTES", "ELIM_LOG", "FORNECEDORES", "ITENS", "PEDIDOS", "PRODUTOS"}));
    ASSERT_EQ(dialogs.seen().size(), 4);
    EXPECT_EQ(dialogs.seen()[0].title, "Empty em Todas as Tabelas");
    expectQuestion(1, "Deseja Executar Empty em todas as Tabelas ? ? ?");
    expectQuestion(2, "Tem Certeza ? ? ?");
    expectQuestion(3, "Processo Concluido...");
    EXPECT_EQ(deletionOrder(), (Values{"CLIENTES", "ITENS", "PRODUTOS"}));
    EXPECT_EQ(keys("CLIENTES"), Values{});
    EXPECT_EQ(keys("ITENS"), Values{});
    EXPECT_EQ(keys("PRODUTOS"), Values{});
    EXPECT_EQ(keys("PEDIDOS"), (Values{"1", "2", "3"}));
    EXPECT_FALSE(frmCorvelo->table.Active());
    EXPECT_EQ(frmCorvelo->table.TableName(), "PRODUTOS");
    EXPECT_EQ(frmCorvelo->Label13->text(), restingCaption);
    const QStringList progress{"CLIENTES" + Blanks, "ITENS" + Blanks, "PRODUTOS" + Blanks, restingCaption};
    EXPECT_EQ(painted.texts.mid(painted.texts.indexOf(progress[0])), progress);
}

TEST_F(EliminationTest, TheDialogMarksAndClearsAllAndEveryRefusalChangesNothing) {
    // "Marcar Todos", then Cancel on the first question.
    chooseTables([](TfrmEmpty* form) { form->Button2->click(); }, confirm);
    dialogs.press(QMessageBox::Cancel);
    frmCorvelo->SpeedButton8->click();
    EXPECT_EQ(boxes(frmEmpty), QStringList(6, QStringLiteral("x")));
    EXPECT_EQ(frmEmpty->result(), TfrmEmpty::mrCancel);

    // Checked one by one, "Desmarcar Todos", checked again; Cancel on the second question.
    chooseTables(
        [](TfrmEmpty* form) {
            EXPECT_EQ(boxes(form), QStringList(6, QStringLiteral("-"))) << "a new opening starts cleared";
            check(form, {"CLIENTES", "PEDIDOS"});
            form->Button3->click();
            EXPECT_EQ(boxes(form), QStringList(6, QStringLiteral("-")));
            check(form, {"CLIENTES"});
        },
        confirm);
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Cancel);
    frmCorvelo->SpeedButton8->click();

    // Closed by the title bar.
    chooseTables([](TfrmEmpty* form) { check(form, {"CLIENTES"}); }, [](TfrmEmpty* form) { form->close(); });
    frmCorvelo->SpeedButton8->click();
    EXPECT_EQ(frmEmpty->result(), TfrmEmpty::mrCancel);
    EXPECT_FALSE(frmEmpty->isVisible());

    EXPECT_EQ(dialogs.seen().size(), 6) << "no \"Processo Concluido...\"";
    EXPECT_EQ(deletionOrder(), Values{});
    EXPECT_TRUE(frmCorvelo->table.Active());
    EXPECT_EQ(frmCorvelo->table.TableName(), "PRODUTOS");
    EXPECT_EQ(frmCorvelo->Label13->text(), restingCaption);

    // Confirmed with nothing checked: the table is closed, nothing deleted.
    chooseTables([](TfrmEmpty*) {}, confirm);
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok).press(QMessageBox::Cancel);
    frmCorvelo->SpeedButton8->click();
    EXPECT_EQ(frmEmpty->result(), TfrmEmpty::mrOk);
    ASSERT_EQ(dialogs.seen().size(), 10);
    expectQuestion(9, "Processo Concluido...");
    EXPECT_FALSE(frmCorvelo->table.Active());
    EXPECT_EQ(deletionOrder(), Values{});
}

TEST_F(EliminationTest, AReferencedTableStopsTheListWithTheEarlierTablesCommitted) {
    chooseTables([](TfrmEmpty* form) { check(form, {"CLIENTES", "PEDIDOS", "PRODUTOS"}); }, confirm);
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton8->click();
    std::string shown;
    for (const SeenDialog& seen : dialogs.seen())
        shown += seen.title.toStdString() + ": " + seen.text.toStdString() + "\n";
    ASSERT_EQ(dialogs.seen().size(), 4) << shown;
    EXPECT_EQ(dialogs.seen()[3].title, "Erro de sistema");
    EXPECT_EQ(keys("CLIENTES"), Values{});
    EXPECT_EQ(keys("PEDIDOS"), (Values{"1", "2", "3"}));
    EXPECT_EQ(keys("PRODUTOS"), AllProducts);
    EXPECT_EQ(frmCorvelo->Label13->text(), "PEDIDOS" + Blanks);
    EXPECT_TRUE(frmCorvelo->table.Active());
    EXPECT_EQ(frmCorvelo->table.TableName(), "PEDIDOS");
}

TEST_F(EliminationTest, ATableThatCannotBeOpenedStopsTheListLeavingTheTableClosed) {
    chooseTables(
        [&](TfrmEmpty* form) {
            db.exec("DROP TABLE FORNECEDORES"); // gone after it was listed
            check(form, {"CLIENTES", "FORNECEDORES", "PRODUTOS"});
        },
        confirm);
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton8->click();
    std::string shown;
    for (const SeenDialog& seen : dialogs.seen())
        shown += seen.title.toStdString() + ": " + seen.text.toStdString() + "\n";
    ASSERT_EQ(dialogs.seen().size(), 4) << shown;
    EXPECT_EQ(dialogs.seen()[3].title, "Erro de sistema");
    EXPECT_EQ(keys("CLIENTES"), Values{});
    EXPECT_EQ(keys("PRODUTOS"), AllProducts);
    EXPECT_FALSE(frmCorvelo->table.Active());
    EXPECT_EQ(frmCorvelo->Label13->text(), "FORNECEDORES" + Blanks);
}

} // namespace
