// Opening, filtering and ordering the table from the "Arquivo" page, and the
// large-object editor panel, on the real window against the private server.
#include "app/Startup.h"
#include "app/uFrmCorvelo.h"
#include "app/widgets/FlatButton.h"
#include "app/widgets/UpperCaseLineEdit.h"
#include "db/TField.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace {

class BrowsingTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec(
            {"CREATE TABLE CLIENTES (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(40), CIDADE VARCHAR(30), "
             "OBS BLOB SUB_TYPE TEXT, FOTO BLOB SUB_TYPE 0)",
             "INSERT INTO CLIENTES (ID, NOME, CIDADE) VALUES (3, 'Carla', 'Recife')",
             "INSERT INTO CLIENTES (ID, NOME, CIDADE) VALUES (1, 'Ana', 'Natal')",
             "INSERT INTO CLIENTES (ID, NOME, CIDADE) VALUES (2, 'Bruno', 'Natal')",
             "CREATE TABLE VAZIA (ID INTEGER, FOTO BLOB SUB_TYPE 0)"});
        CreateForms();
        frmCorvelo->edtAlias->setText(QString::fromStdString(db.connectString()));
        frmCorvelo->btncon->click();
        ASSERT_TRUE(frmCorvelo->dtbSuporte.Connected());
    }
    void TearDown() override { DestroyForms(); }

    void open(const QString& name) {
        frmCorvelo->edtArquivo->setEditText(name);
        frmCorvelo->btnAbrir->click();
    }
    // The values of one column of the table as it is shown, in order.
    std::vector<std::string> column(const std::string& name) {
        std::vector<std::string> values;
        TIBTable& table = frmCorvelo->table;
        for (table.First(); !table.Eof(); table.Next())
            values.push_back(table.FieldNamed(name)->AsString());
        return values;
    }
    int fieldIndex(const std::string& name) { return frmCorvelo->table.FieldNamed(name)->Index(); }
    void commit() {
        dialogs.press(QMessageBox::Ok);
        frmCorvelo->SpeedButton9->click();
    }

    TestDatabase db;
    DialogAnswerer dialogs;
};

using Values = std::vector<std::string>;

TEST_F(BrowsingTest, OpenFilterAndOrderTheTable) {
    frmCorvelo->PageControl1->setCurrentWidget(frmCorvelo->TabSheet4);
    frmCorvelo->ShowInGrid(&frmCorvelo->dtsScript);
    open("CLIENTES");
    EXPECT_TRUE(frmCorvelo->table.Active());
    EXPECT_EQ(frmCorvelo->GridDataSource(), &frmCorvelo->dtstable) << "the grid goes back to the table";
    EXPECT_EQ(column("NOME"), (Values{"Ana", "Bruno", "Carla"})) << "primary-key order";

    frmCorvelo->edtFiltro->setText("CIDADE = 'Natal'");
    frmCorvelo->btnAtiva->click();
    EXPECT_EQ(column("NOME"), (Values{"Ana", "Bruno"}));

    // Typed letters arrive in upper case; two columns, the second deciding ties.
    frmCorvelo->EDToRDEM->setText("cidade;nome");
    EXPECT_EQ(frmCorvelo->EDToRDEM->text(), "CIDADE;NOME");
    frmCorvelo->btnDesativa->click();
    frmCorvelo->Ordem->click();
    EXPECT_EQ(column("NOME"), (Values{"Ana", "Bruno", "Carla"}));
    EXPECT_TRUE(frmCorvelo->table.Filter().empty());
    frmCorvelo->EDToRDEM->setText("NOME");
    frmCorvelo->Ordem->click();
    EXPECT_EQ(column("ID"), (Values{"1", "2", "3"}));
    EXPECT_TRUE(dialogs.seen().isEmpty());
}

TEST_F(BrowsingTest, AnotherTableKeepsTheFilterAndDropsTheOrder) {
    db.exec({"CREATE TABLE FILIAIS (ID INTEGER NOT NULL PRIMARY KEY, CIDADE VARCHAR(30))",
             "INSERT INTO FILIAIS VALUES (1, 'Natal')", "INSERT INTO FILIAIS VALUES (2, 'Recife')"});
    open("CLIENTES");
    frmCorvelo->edtFiltro->setText("CIDADE = 'Recife'");
    frmCorvelo->btnAtiva->click();
    frmCorvelo->EDToRDEM->setText("NOME");
    frmCorvelo->Ordem->click();
    open("FILIAIS");
    EXPECT_EQ(column("ID"), Values{"2"});
    EXPECT_TRUE(frmCorvelo->table.IndexFieldNames().empty());
    EXPECT_EQ(frmCorvelo->EDToRDEM->text(), "NOME") << "the box keeps what was typed";
}

TEST_F(BrowsingTest, FailuresKeepTheSettingsAndLeaveTheTableClosed) {
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok).press(QMessageBox::Ok).press(QMessageBox::Ok);
    // Filter switched on while no table is open: the condition is kept for the next open.
    frmCorvelo->edtFiltro->setText("CIDADE = 'Natal'");
    frmCorvelo->btnAtiva->click();
    ASSERT_EQ(dialogs.seen().size(), 1);
    EXPECT_EQ(dialogs.seen()[0].text, "table: Cannot perform this operation on a closed dataset");
    EXPECT_TRUE(frmCorvelo->table.Filtered());
    open("CLIENTES");
    EXPECT_EQ(column("NOME"), (Values{"Ana", "Bruno"}));

    frmCorvelo->edtFiltro->setText("NAO_EXISTE = 1");
    frmCorvelo->btnAtiva->click();
    ASSERT_EQ(dialogs.seen().size(), 2);
    EXPECT_TRUE(dialogs.seen()[1].text.contains("NAO_EXISTE")) << dialogs.seen()[1].text.toStdString();
    EXPECT_FALSE(frmCorvelo->table.Active());
    EXPECT_EQ(frmCorvelo->table.Filter(), "NAO_EXISTE = 1");

    frmCorvelo->btnDesativa->click();
    open("CLIENTES");
    frmCorvelo->EDToRDEM->setText("SOBRENOME");
    frmCorvelo->Ordem->click();
    ASSERT_EQ(dialogs.seen().size(), 3);
    EXPECT_TRUE(dialogs.seen()[2].text.contains("SOBRENOME"));
    EXPECT_FALSE(frmCorvelo->table.Active());
    EXPECT_EQ(frmCorvelo->table.IndexFieldNames(), "SOBRENOME");

    open("clientes"); // quoted, so matched exactly
    ASSERT_EQ(dialogs.seen().size(), 4);
    EXPECT_EQ(dialogs.seen()[3].title, "Erro de sistema");
    EXPECT_FALSE(frmCorvelo->table.Active());
}

TEST_F(BrowsingTest, OnlyABinaryBlobCellOpensTheEditor) {
    open("CLIENTES");
    frmCorvelo->DBDadosCellClick(fieldIndex("OBS"));
    frmCorvelo->DBDadosCellClick(fieldIndex("NOME"));
    EXPECT_FALSE(frmCorvelo->pnlMemo->isVisibleTo(frmCorvelo));
    frmCorvelo->DBDadosCellClick(fieldIndex("FOTO"));
    EXPECT_TRUE(frmCorvelo->pnlMemo->isVisibleTo(frmCorvelo));
    EXPECT_EQ(frmCorvelo->campoMemo, "FOTO");
    EXPECT_EQ(frmCorvelo->memo->toPlainText(), "") << "a NULL value shows an empty text";
}

TEST_F(BrowsingTest, ConfirmWritesTheTextAndCancelWritesNothing) {
    // CR LF lines, accents and 100 KB survive a view-and-confirm round trip.
    std::string text;
    while (text.size() < 100 * 1024)
        text += "Linha com acentua\xE7\xE3o: S\xE3o Jo\xE3o, n\xBA " + std::to_string(text.size()) + "\r\n";
    db.exec("UPDATE CLIENTES SET FOTO = '' WHERE ID = 1");
    for (size_t at = 0; at < text.size(); at += 30000) // a literal holds 64 KB at most
        db.exec("UPDATE CLIENTES SET FOTO = FOTO || '" + text.substr(at, 30000) + "' WHERE ID = 1");
    open("CLIENTES");
    frmCorvelo->DBDadosCellClick(fieldIndex("FOTO"));
    frmCorvelo->btnConfMemo->click();
    commit();
    EXPECT_EQ(db.scalar("SELECT FOTO FROM CLIENTES WHERE ID = 1"), text);

    frmCorvelo->DBDadosCellClick(fieldIndex("FOTO"));
    frmCorvelo->memo->setPlainText(QStringLiteral("novo\nconteúdo"));
    frmCorvelo->btnCancMemo->click();
    EXPECT_FALSE(frmCorvelo->pnlMemo->isVisibleTo(frmCorvelo));
    frmCorvelo->DBDadosCellClick(fieldIndex("FOTO"));
    EXPECT_EQ(frmCorvelo->memo->toPlainText().size(), QString::fromLatin1(text.c_str()).remove('\r').size())
        << "clicking again reloads the stored value";

    frmCorvelo->memo->setPlainText(QStringLiteral("novo\nconteúdo"));
    frmCorvelo->btnConfMemo->click();
    commit();
    EXPECT_EQ(db.scalar("SELECT FOTO FROM CLIENTES WHERE ID = 1"), "novo\r\nconte\xFA"
                                                                   "do");
}

TEST_F(BrowsingTest, AnEditedTextKeepsEveryByteTheUserDidNotChange) {
    // No-break spaces (byte A0) among every other byte the panel edits as text:
    // the text box must hand back each of them unchanged.
    std::string text = "pre\xE7o:\xA0R$\xA0"
                       "10,00\t";
    for (int byte = 0x20; byte <= 0xFF; ++byte)
        if (byte != 0x7F && byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D)
            text += static_cast<char>(byte);
    std::string literal;
    for (const char c : text)
        literal += c == '\'' ? std::string("''") : std::string(1, c);
    db.exec("UPDATE CLIENTES SET FOTO = '" + literal + "' WHERE ID = 1");
    open("CLIENTES");
    frmCorvelo->DBDadosCellClick(fieldIndex("FOTO"));
    frmCorvelo->memo->moveCursor(QTextCursor::End);
    frmCorvelo->memo->insertPlainText(QStringLiteral("!"));
    frmCorvelo->btnConfMemo->click();
    commit();
    EXPECT_EQ(db.scalar("SELECT FOTO FROM CLIENTES WHERE ID = 1"), text + "!");
    ASSERT_EQ(dialogs.seen().size(), 1);
    EXPECT_EQ(dialogs.seen()[0].text, "Commit Executado");
}

TEST_F(BrowsingTest, ABinaryValueIsShownButNeverWrittenBack) {
    const std::string binary("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\x81", 17);
    db.exec("UPDATE CLIENTES SET FOTO = x'89504E470D0A1A0A0000000D4948445281' WHERE ID = 1");
    open("CLIENTES");
    frmCorvelo->DBDadosCellClick(fieldIndex("FOTO"));
    EXPECT_TRUE(frmCorvelo->memo->isReadOnly());
    EXPECT_TRUE(frmCorvelo->memo->toPlainText().contains(QStringLiteral("PNG")));
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->btnConfMemo->click();
    ASSERT_EQ(dialogs.seen().size(), 1);
    EXPECT_EQ(dialogs.seen()[0].title, "Erro de sistema");
    EXPECT_EQ(frmCorvelo->table.State(), dsBrowse);
    commit();
    EXPECT_EQ(db.scalar("SELECT FOTO FROM CLIENTES WHERE ID = 1"), binary);
}

TEST_F(BrowsingTest, ConfirmOnAnEmptyTableInsertsARow) {
    open("VAZIA");
    frmCorvelo->campoMemo = "FOTO";
    frmCorvelo->memo->setPlainText("primeira");
    frmCorvelo->btnConfMemo->click();
    commit();
    EXPECT_EQ(db.query("SELECT ID, FOTO FROM VAZIA"), (std::vector<TestRow>{{std::nullopt, "primeira"}}));
}

TEST_F(BrowsingTest, VerErrosShowsAndHidesThePanelKeepingItsText) {
    frmCorvelo->memo->setPlainText("erro 1");
    frmCorvelo->Button4->click();
    EXPECT_TRUE(frmCorvelo->pnlMemo->isVisibleTo(frmCorvelo));
    frmCorvelo->Button4->click();
    EXPECT_FALSE(frmCorvelo->pnlMemo->isVisibleTo(frmCorvelo));
    EXPECT_EQ(frmCorvelo->memo->toPlainText(), "erro 1");
}

} // namespace
