// The "Arquivo" page's connection controls on the real window, against the
// private server: connect, disconnect, close, commit and roll back.
#include "app/Startup.h"
#include "app/uFrmCorvelo.h"
#include "db/TIBSQL.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/TestDatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "app/widgets/FlatButton.h"

#include <filesystem>
#include <fstream>

namespace {

QStringList listedTables() {
    QStringList names;
    for (int i = 0; i < frmCorvelo->edtArquivo->count(); ++i)
        names << frmCorvelo->edtArquivo->itemText(i);
    return names;
}

class ConnectionControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec({"CREATE TABLE CLIENTES (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(40))",
                 "CREATE TABLE AGENDA (ID INTEGER)", "CREATE VIEW V_CLIENTES AS SELECT NOME FROM CLIENTES"});
        CreateForms();
    }
    void TearDown() override { DestroyForms(); }

    void connectTo(const TestDatabase& database) {
        frmCorvelo->edtAlias->setText(QString::fromStdString(database.connectString()));
        frmCorvelo->btncon->click();
        ASSERT_EQ(frmCorvelo->btncon->text(), "Desconectar");
    }
    // Work done in the window's transaction, not committed.
    void insertClient(int id) {
        TIBSQL insert(&frmCorvelo->dtbSuporte, &frmCorvelo->ibtSuporte);
        insert.SetSQL("INSERT INTO CLIENTES (ID, NOME) VALUES (" + std::to_string(id) + ", 'Jo\xE3o')");
        insert.ExecQuery();
    }
    std::string clientCount() { return *db.scalar("SELECT COUNT(*) FROM CLIENTES"); }

    TestDatabase db;
    DialogAnswerer dialogs;
};

TEST_F(ConnectionControlsTest, ConnectListsTheUserTablesSortedAndKeepsTheTypedName) {
    frmCorvelo->edtArquivo->setEditText("PEDIDOS");
    connectTo(db);
    EXPECT_TRUE(frmCorvelo->dtbSuporte.Connected());
    EXPECT_TRUE(frmCorvelo->ibtSuporte.InTransaction());
    EXPECT_EQ(listedTables(), (QStringList{"AGENDA", "CLIENTES"})) << "no views, no system tables, no blanks";
    EXPECT_EQ(frmCorvelo->edtArquivo->currentText(), "PEDIDOS");
    EXPECT_TRUE(dialogs.seen().isEmpty());
}

TEST_F(ConnectionControlsTest, AnotherDatabaseListsItsOwnTablesAfterReconnecting) {
    TestDatabase other;
    other.exec("CREATE TABLE PRODUTOS (CODIGO CHAR(6))");
    connectTo(db);
    frmCorvelo->btncon->click();
    EXPECT_EQ(frmCorvelo->btncon->text(), "Conectar");
    EXPECT_FALSE(frmCorvelo->dtbSuporte.Connected());
    EXPECT_EQ(listedTables(), (QStringList{"AGENDA", "CLIENTES"}))
        << "the old names stay until the next connect";
    connectTo(other);
    EXPECT_EQ(listedTables(), QStringList{"PRODUTOS"});
}

TEST_F(ConnectionControlsTest, FailedConnectsShowTheErrorAndStayDetached) {
    std::filesystem::path missing = std::filesystem::path(db.path()).parent_path() / "NAO_EXISTE.FDB";
    const struct {
        std::string alias;
        QString expected;
    } cases[] = {
        {"", "Database name is missing"},
        {TestDatabase::server() + ":" + missing.string(), QString::fromStdString(missing.string())},
        {"127.0.0.1/1:" + db.path(), "Unable to complete network request"},
    };
    int shown = 0;
    for (const auto& c : cases) {
        dialogs.press(QMessageBox::Ok);
        frmCorvelo->edtAlias->setText(QString::fromStdString(c.alias));
        frmCorvelo->btncon->click();
        ASSERT_EQ(dialogs.seen().size(), ++shown) << c.alias;
        const SeenDialog& box = dialogs.seen().back();
        EXPECT_EQ(box.title, "Erro de sistema");
        EXPECT_TRUE(box.text.contains(c.expected)) << box.text.toStdString();
        EXPECT_FALSE(box.text.endsWith('.')) << "the final period is removed";
        EXPECT_EQ(frmCorvelo->btncon->text(), "Conectar");
        EXPECT_FALSE(frmCorvelo->dtbSuporte.Connected());
    }
}

TEST_F(ConnectionControlsTest, AWrongPasswordIsTheServersRefusal) {
    frmCorvelo->dtbSuporte.SetParams({"user_name=Sysdba", "password=errada", "lc_ctype=WIN1252"});
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->edtAlias->setText(QString::fromStdString(db.connectString()));
    frmCorvelo->btncon->click();
    ASSERT_EQ(dialogs.seen().size(), 1);
    EXPECT_TRUE(dialogs.seen()[0].text.contains("user name and password"))
        << dialogs.seen()[0].text.toStdString();
    EXPECT_EQ(frmCorvelo->btncon->text(), "Conectar");
}

TEST_F(ConnectionControlsTest, AWrongPasswordFromTheEnvironmentGivesTheServersTextAlone) {
    ScopedEnvironment environment;
    environment.unset("ISC_USER").set("ISC_PASSWORD", "senha-do-ambiente");
    DestroyForms();
    CreateForms(); // the window takes the account when it is made
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->edtAlias->setText(QString::fromStdString(db.connectString()));
    frmCorvelo->btncon->click();
    ASSERT_EQ(dialogs.seen().size(), 1);
    EXPECT_EQ(dialogs.seen()[0].title, "Erro de sistema");
    EXPECT_EQ(dialogs.seen()[0].text, "Your user name and password are not defined. Ask your database "
                                      "administrator to set up a Firebird login");
    EXPECT_EQ(frmCorvelo->btncon->text(), "Conectar");
}

TEST_F(ConnectionControlsTest, DisconnectingRollsBackWhatWasNotCommitted) {
    connectTo(db);
    insertClient(1);
    frmCorvelo->btncon->click();
    EXPECT_EQ(clientCount(), "0");
    EXPECT_TRUE(dialogs.seen().isEmpty());
}

TEST_F(ConnectionControlsTest, FecharArquivoWithCommitCheckedCommitsFirstAndKeepsTheCaption) {
    connectTo(db);
    insertClient(1);
    frmCorvelo->chkcommit->setChecked(true);
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->btnFechar->click();
    EXPECT_EQ(clientCount(), "1");
    ASSERT_EQ(dialogs.seen().size(), 1);
    EXPECT_EQ(dialogs.seen()[0].text, "Commit Executado");
    EXPECT_FALSE(frmCorvelo->dtbSuporte.Connected());
    EXPECT_EQ(frmCorvelo->btncon->text(), "Desconectar");

    // The next click finds nothing to end and only shows "Conectar"; the one after connects.
    frmCorvelo->btncon->click();
    EXPECT_EQ(frmCorvelo->btncon->text(), "Conectar");
    connectTo(db);
    EXPECT_EQ(dialogs.seen().size(), 1);
}

TEST_F(ConnectionControlsTest, FecharArquivoWithoutCommitLosesTheWork) {
    connectTo(db);
    insertClient(1);
    frmCorvelo->btnFechar->click();
    EXPECT_EQ(clientCount(), "0");
}

TEST_F(ConnectionControlsTest, ClosingTheProgramWhileConnectedCommits) {
    connectTo(db);
    insertClient(1);
    DestroyForms();
    CreateForms(); // for TearDown
    EXPECT_EQ(clientCount(), "1");
}

TEST_F(ConnectionControlsTest, CommitAndRollbackButtonsKeepTheTransactionStarted) {
    connectTo(db);
    insertClient(1);
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton10->click();
    EXPECT_EQ(clientCount(), "1");
    insertClient(2);
    frmCorvelo->SpeedButton11->click();
    EXPECT_EQ(clientCount(), "1");
    EXPECT_TRUE(frmCorvelo->ibtSuporte.InTransaction());
    // Right after connecting, with no table ever opened, there is nothing to
    // apply and the commit goes through.
    insertClient(3);
    frmCorvelo->SpeedButton9->click();
    EXPECT_EQ(clientCount(), "2");
    ASSERT_EQ(dialogs.seen().size(), 3);
    EXPECT_EQ(dialogs.seen()[0].text, "Commit Executado");
    EXPECT_EQ(dialogs.seen()[1].text, "Rollback Executado");
    EXPECT_EQ(dialogs.seen()[2].text, "Commit Executado");
    EXPECT_EQ(dialogs.seen()[2].title, "Corvelo");
    EXPECT_EQ(dialogs.seen()[2].icon, QMessageBox::NoIcon);
    EXPECT_TRUE(frmCorvelo->ibtSuporte.InTransaction());
}

TEST_F(ConnectionControlsTest, AFailedCommitRollsBackAndSaysSoWithoutCommitExecutado) {
    db.exec("INSERT INTO CLIENTES VALUES (1, 'Ana')");
    db.exec("ALTER TABLE CLIENTES ADD CONSTRAINT NOME_PREENCHIDO CHECK (NOME IS NOT NULL)");
    connectTo(db);
    frmCorvelo->table.SetTableName("CLIENTES");
    frmCorvelo->table.Open();
    insertClient(2);
    // A pending edit the server refuses: the apply posts it and fails.
    frmCorvelo->table.Edit();
    frmCorvelo->table.FieldNamed("NOME")->SetAsString("");
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->SpeedButton9->click();
    ASSERT_EQ(dialogs.seen().size(), 1);
    EXPECT_EQ(dialogs.seen()[0].text,
              QStringLiteral("Transação não efetuada, será revertida, favor tentar novamente."));
    EXPECT_EQ(clientCount(), "1") << "the uncommitted insert was rolled back";
    EXPECT_TRUE(frmCorvelo->ibtSuporte.InTransaction());
}

TEST_F(ConnectionControlsTest, CommitAndRollbackWhileDetachedReportTheInactiveTransaction) {
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton9->click();
    frmCorvelo->SpeedButton10->click();
    frmCorvelo->SpeedButton11->click();
    ASSERT_EQ(dialogs.seen().size(), 3) << "no \"Commit Executado\" after a failed commit";
    for (const SeenDialog& seen : dialogs.seen()) {
        EXPECT_EQ(seen.title, "Erro de sistema");
        EXPECT_EQ(seen.text, "Transaction is not active");
    }
}

TEST_F(ConnectionControlsTest, FourDotsComposesTheConnectStringFromTheServerPrefix) {
    frmCorvelo->edtServer->setText("127.0.0.1/3057:");
    dialogs.handle(
        [](QWidget* dialog) { QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection); });
    frmCorvelo->SpeedButton6->click();
    EXPECT_EQ(frmCorvelo->edtAlias->text(), "127.0.0.1/3057:") << "cancelled on first use";

    const std::string file = std::filesystem::path(db.path()).parent_path() / "BANCO.FDB";
    std::ofstream(file) << "x";
    dialogs.handle([&](QWidget* dialog) {
        auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
        EXPECT_EQ(fileDialog->nameFilters().size(), 3);
        EXPECT_TRUE(fileDialog->nameFilters().value(0).startsWith("Banco VKT"));
        EXPECT_TRUE(fileDialog->selectedNameFilter().startsWith("Banco VKT"));
        // Typed into the name box, as a user would.
        fileDialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(file));
        QMetaObject::invokeMethod(fileDialog, "accept");
    });
    frmCorvelo->SpeedButton6->click();
    EXPECT_EQ(frmCorvelo->edtAlias->text().toStdString(), "127.0.0.1/3057:" + file);

    // A later cancel keeps the file chosen before.
    frmCorvelo->edtServer->setText("10.0.0.2:");
    dialogs.handle(
        [](QWidget* dialog) { QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection); });
    frmCorvelo->SpeedButton6->click();
    EXPECT_EQ(frmCorvelo->edtAlias->text().toStdString(), "10.0.0.2:" + file);
    std::filesystem::remove(file);
}

} // namespace
