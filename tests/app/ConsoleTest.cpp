// The "Scripst Sql" page on the real window against the private server: query,
// command with its commit question, the script file dialog and the script run.
#include "app/Startup.h"
#include "app/uFrmCorvelo.h"
#include "app/widgets/AutoSizeLabel.h"
#include "app/widgets/FlatButton.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

class ConsoleTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec({"CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(20))",
                 "INSERT INTO T VALUES (1, 'Ana')", "INSERT INTO T VALUES (2, 'Bia')"});
        CreateForms();
        frmCorvelo->edtAlias->setText(QString::fromStdString(db.connectString()));
        frmCorvelo->btncon->click();
        // The console's query follows the table: without a table name nothing runs.
        frmCorvelo->edtArquivo->setEditText("T");
        frmCorvelo->btnAbrir->click();
        ASSERT_TRUE(frmCorvelo->table.Active());
        frmCorvelo->PageControl1->setCurrentWidget(frmCorvelo->TabSheet4);
    }
    void TearDown() override {
        DestroyForms();
        if (!scriptPath.empty())
            std::filesystem::remove(scriptPath);
    }

    void type(const QString& sqlText) { frmCorvelo->memoscript->setPlainText(sqlText); }
    std::string committedCount() { return *db.scalar("SELECT COUNT(*) FROM T"); }
    std::string writeScript(const std::string& content) {
        // One file per test: the tests run in parallel against one data folder.
        const std::string testName = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        scriptPath = std::filesystem::path(db.path()).parent_path() / ("script_" + testName + ".sql");
        std::ofstream(scriptPath, std::ios::binary) << content;
        return scriptPath;
    }
    static void cancel(QWidget* dialog) { QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection); }

    TestDatabase db;
    DialogAnswerer dialogs;
    std::string scriptPath;
};

TEST_F(ConsoleTest, AQueryShowsItsRowsAndAnUpdateOpenedAsQueryRunsUncommitted) {
    type("SELECT ID, NOME\nFROM T ORDER BY ID");
    frmCorvelo->Button1->click();
    EXPECT_TRUE(frmCorvelo->qryScript.Active());
    EXPECT_EQ(frmCorvelo->GridDataSource(), &frmCorvelo->dtsScript);
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents(); // the grid takes its rows as it is shown
    EXPECT_EQ(frmCorvelo->DBDados->model()->rowCount(), 2);
    EXPECT_EQ(frmCorvelo->DBDados->model()->index(1, 1).data().toString(), "Bia");
    EXPECT_EQ(frmCorvelo->qryScript.SQL(),
              (std::vector<std::string>{"SELECT ID, NOME", "FROM T ORDER BY ID"}));

    type("UPDATE T SET NOME = 'Zoe'");
    frmCorvelo->Button1->click();
    EXPECT_TRUE(dialogs.seen().isEmpty()) << "no question, no message";
    EXPECT_EQ(frmCorvelo->DBDados->model()->rowCount(), 0);
    EXPECT_EQ(*db.scalar("SELECT COUNT(*) FROM T WHERE NOME = 'Zoe'"), "0") << "not committed";
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->SpeedButton10->click();
    EXPECT_EQ(*db.scalar("SELECT COUNT(*) FROM T WHERE NOME = 'Zoe'"), "2");
}

TEST_F(ConsoleTest, ACommandAsksToCommitAndNoLeavesItForARollback) {
    type("INSERT INTO T VALUES (3, 'Caio')");
    dialogs.press(QMessageBox::No);
    frmCorvelo->Button2->click();
    ASSERT_EQ(dialogs.seen().size(), 1);
    EXPECT_EQ(dialogs.seen()[0].title, "Confirma\u00e7\u00e3o");
    EXPECT_EQ(dialogs.seen()[0].text, "dar Commit na Transacao ? ");
    EXPECT_EQ(committedCount(), "2");

    dialogs.press(QMessageBox::Ok);
    frmCorvelo->SpeedButton11->click();
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->SpeedButton10->click();
    EXPECT_EQ(committedCount(), "2") << "rolled back, so nothing left to commit";

    dialogs.press(QMessageBox::Yes).press(QMessageBox::Ok);
    frmCorvelo->Button2->click();
    ASSERT_EQ(dialogs.seen().size(), 5);
    EXPECT_EQ(dialogs.seen()[4].text, "Commit Executado");
    EXPECT_EQ(committedCount(), "3");
}

TEST_F(ConsoleTest, ACommandSendsTheTypedTextByteForByte) {
    // A no-break space inside a literal stays one.
    type(QString::fromUtf8("UPDATE T SET NOME = 'R$\u00a010' WHERE ID = 1"));
    dialogs.press(QMessageBox::Yes).press(QMessageBox::Ok);
    frmCorvelo->Button2->click();
    ASSERT_EQ(dialogs.seen().size(), 2);
    EXPECT_EQ(*db.scalar("SELECT NOME FROM T WHERE ID = 1"), "R$\xA0"
                                                             "10");
}

TEST_F(ConsoleTest, ATableReopenedAfterACommandReadsTheSchemaAgain) {
    db.exec({"CREATE TABLE SEMCHAVE (ID INTEGER NOT NULL, NOME VARCHAR(10))",
             "INSERT INTO SEMCHAVE VALUES (3, 'c')", "INSERT INTO SEMCHAVE VALUES (1, 'a')",
             "INSERT INTO SEMCHAVE VALUES (2, 'b')"});
    auto shownIds = [] {
        std::string ids;
        TIBTable& table = frmCorvelo->table;
        for (table.First(); !table.Eof(); table.Next())
            ids += table.FieldNamed("ID")->AsString();
        return ids;
    };
    frmCorvelo->edtArquivo->setEditText("SEMCHAVE");
    frmCorvelo->btnAbrir->click();
    ASSERT_EQ(shownIds(), "312") << "stored order, no key to order by";

    type("ALTER TABLE SEMCHAVE ADD PRIMARY KEY (ID)");
    dialogs.press(QMessageBox::Yes).press(QMessageBox::Ok);
    frmCorvelo->Button2->click();
    ASSERT_EQ(dialogs.seen().size(), 2);
    frmCorvelo->btnAbrir->click();
    EXPECT_EQ(shownIds(), "123") << "ordered by the new primary key";
    EXPECT_EQ(frmCorvelo->table.PrimaryKeyFields(), "ID");

    // An index in use by the open table's statements cannot go: another table first.
    frmCorvelo->edtArquivo->setEditText("T");
    frmCorvelo->btnAbrir->click();
    const std::string key =
        *db.scalar("SELECT TRIM(RDB$CONSTRAINT_NAME) FROM RDB$RELATION_CONSTRAINTS "
                   "WHERE RDB$RELATION_NAME = 'SEMCHAVE' AND RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'");
    type(QString::fromStdString("ALTER TABLE SEMCHAVE DROP CONSTRAINT " + key));
    dialogs.press(QMessageBox::Yes).press(QMessageBox::Ok);
    frmCorvelo->Button2->click();
    ASSERT_EQ(dialogs.seen().size(), 4);
    EXPECT_EQ(dialogs.seen()[3].text, "Commit Executado") << dialogs.seen()[2].text.toStdString();
    frmCorvelo->edtArquivo->setEditText("SEMCHAVE");
    frmCorvelo->btnAbrir->click();
    EXPECT_EQ(frmCorvelo->table.PrimaryKeyFields(), "") << "the key is gone";
}

TEST_F(ConsoleTest, AFailingCommandAsksNothing) {
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok);
    type("SELECT * FROM T");
    frmCorvelo->Button2->click();
    type("");
    frmCorvelo->Button2->click();
    ASSERT_EQ(dialogs.seen().size(), 2);
    EXPECT_EQ(dialogs.seen()[0].title, "Erro de sistema");
    EXPECT_EQ(dialogs.seen()[0].text, "use Open for a Select Statement");
    EXPECT_EQ(dialogs.seen()[1].text, "Empty SQL Statement");
}

TEST_F(ConsoleTest, TheFileDialogShowsTheLastAcceptedChoiceEvenAfterACancel) {
    frmCorvelo->edtEnd->setText("/typed/by/hand.sql");
    dialogs.handle(cancel);
    frmCorvelo->btnExecut->click();
    EXPECT_EQ(frmCorvelo->edtEnd->text(), "") << "cancelled before any choice";

    const std::string file = writeScript("");
    dialogs.handle([&](QWidget* dialog) {
        auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(fileDialog, nullptr);
        EXPECT_EQ(fileDialog->objectName(), "AbrirArq");
        EXPECT_TRUE(fileDialog->testOption(QFileDialog::DontUseNativeDialog));
        fileDialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(file));
        QMetaObject::invokeMethod(fileDialog, "accept");
    });
    frmCorvelo->btnExecut->click();
    EXPECT_EQ(frmCorvelo->edtEnd->text().toStdString(), file);

    frmCorvelo->edtEnd->setText("/typed/again.sql");
    dialogs.handle(cancel);
    frmCorvelo->btnExecut->click();
    EXPECT_EQ(frmCorvelo->edtEnd->text().toStdString(), file);
}

TEST_F(ConsoleTest, AScriptRunShowsProgressListsFailuresAndCommits) {
    frmCorvelo->lblerro->setText("erros: 7"); // from an earlier run
    // The editor panel may have left the box read-only.
    frmCorvelo->memo->setPlainText("old");
    frmCorvelo->memo->setReadOnly(true);
    frmCorvelo->edtEnd->setText(
        QString::fromStdString(writeScript("INSERT INTO T VALUES (3, 'S\xC3O')\r\n"
                                           "INSERT INTO T VALUES (1, 'dup')\r\n"
                                           "update T set NOME = 'x' where ID = 2\r\n")));
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->Button3->click();
    ASSERT_EQ(dialogs.seen().size(), 1);
    EXPECT_EQ(dialogs.seen()[0].text, "Processo Concluido");
    EXPECT_EQ(frmCorvelo->lbltot->text(), "Total de Linhas: 3");
    EXPECT_EQ(frmCorvelo->lblatual->text(), "Linha Atual: 3");
    EXPECT_EQ(frmCorvelo->lblerro->text(), "erros: 7");
    EXPECT_EQ(frmCorvelo->Label15->text(), "update T set NOME = 'x' where ID = 2");
    EXPECT_EQ(frmCorvelo->memo->toPlainText(), "INSERT INTO T VALUES (1, 'dup')");
    EXPECT_FALSE(frmCorvelo->memo->isReadOnly());
    EXPECT_EQ(committedCount(), "3");
    EXPECT_EQ(*db.scalar("SELECT NOME FROM T WHERE ID = 3"), "S\xC3O");
    EXPECT_EQ(*db.scalar("SELECT NOME FROM T WHERE ID = 2"), "x");
}

TEST_F(ConsoleTest, AScriptThatCannotBeOpenedChangesNothingOnThePage) {
    frmCorvelo->memo->setPlainText("earlier errors");
    frmCorvelo->edtEnd->setText("/no/such/script.sql");
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->Button3->click();
    ASSERT_EQ(dialogs.seen().size(), 1);
    EXPECT_EQ(dialogs.seen()[0].title, "Erro de sistema");
    EXPECT_TRUE(dialogs.seen()[0].text.contains("/no/such/script.sql"))
        << dialogs.seen()[0].text.toStdString();
    EXPECT_EQ(frmCorvelo->lbltot->text(), "Total de Linhas:");
    EXPECT_EQ(frmCorvelo->lblatual->text(), "Linha Atual:");
    EXPECT_EQ(frmCorvelo->memo->toPlainText(), "earlier errors");
}

} // namespace
