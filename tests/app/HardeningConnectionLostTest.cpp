// The server lost in the middle of work: a forwarder between the window and
// the shared test server is cut, never the server itself.
#include "app/widgets/FlatButton.h"
#include "tests/app/HardeningSupport.h"
#include "tests/support/LinkForwarder.h"
#include "tests/support/QtPrinters.h"

#include "app/widgets/AutoSizeLabel.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// What the client library says when the link breaks under a call.
bool isLostLinkText(const QString& text) {
    return text == "Error reading data from the connection" || text == "Error writing data to the connection";
}

class ConnectionLostTest : public HardeningTest {
protected:
    void SetUp() override {
        HardeningTest::SetUp();
        db.exec(std::vector<std::string>{
            "CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(40), CODIGO INTEGER)",
            "EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= 800) DO BEGIN "
            "INSERT INTO T VALUES (:I, 'Jo\xE3o ' || :I, 0); I = I + 1; END END"});
        connect(cutter.connectString(db.path()));
        open("T");
    }
    void TearDown() override {
        HardeningTest::TearDown();
        if (!scriptPath.empty())
            std::remove(scriptPath.c_str());
    }

    // After the link is back, the connection controls work without a restart:
    // disconnect, connect, open the table again and commit.
    void expectUsableAfterRestore() {
        cutter.restore();
        const int before = static_cast<int>(dialogs.seen().size());
        if (frmCorvelo->btncon->text() == "Desconectar")
            frmCorvelo->btncon->click();
        EXPECT_EQ(frmCorvelo->btncon->text(), "Conectar");
        EXPECT_EQ(dialogs.seen().size(), before) << shown().toStdString();
        frmCorvelo->btncon->click();
        EXPECT_EQ(frmCorvelo->btncon->text(), "Desconectar") << shown().toStdString();
        open("T");
        dialogs.press(QMessageBox::Ok);
        frmCorvelo->SpeedButton9->click();
        ASSERT_EQ(dialogs.seen().size(), before + 1) << shown().toStdString();
        EXPECT_EQ(dialogs.seen().back().text, "Commit Executado");
    }

    LinkForwarder cutter;
    std::string scriptPath;
};

TEST_F(ConnectionLostTest, ACutInARowWalkShowsTheLibraryTextAndKeepsWhatWasCommitted) {
    // A first walk, committed: no accents left.
    frmCorvelo->rdACento->setChecked(true);
    frmCorvelo->edtCampo->setText("NOME");
    frmCorvelo->btnProcessar->click();
    ASSERT_TRUE(dialogs.seen().isEmpty()) << shown().toStdString();
    ASSERT_EQ(count("T", "UPPER(NOME) STARTING WITH 'JOAO '"), "800");

    // The renumbering walk loses the server after some rows (about 200 bytes a row).
    frmCorvelo->chkRepress->setChecked(true);
    frmCorvelo->rbInteger->setChecked(true);
    frmCorvelo->edtCampo->setText("CODIGO");
    frmCorvelo->edtValor->setText("1000");
    cutter.cutAfterClientBytes(30000);
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->btnProcessar->click();
    EXPECT_TRUE(isLostLinkText(errorBoxSince(0)));

    EXPECT_EQ(count("T", "UPPER(NOME) STARTING WITH 'JOAO '"), "800") << "the earlier commit stays";
    EXPECT_EQ(count("T", "CODIGO <> 0"), "0") << "nothing of the broken walk";
    expectUsableAfterRestore();
}

TEST_F(ConnectionLostTest, ALinkLostAtTheFirstWriteDoesNotMakeTheTableReadOnly) {
    // The statements that write rows are prepared at the first write: here.
    cutter.cut();
    frmCorvelo->chkRepress->setChecked(true);
    frmCorvelo->edtCampo->setText("CODIGO");
    frmCorvelo->edtValor->setText("1");
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->btnProcessar->click();
    EXPECT_TRUE(isLostLinkText(errorBoxSince(0))) << "the library's text, not a read-only table";
    EXPECT_FALSE(frmCorvelo->table.ReadOnly());

    // Once the link is back and the window connected again, the same walk writes.
    cutter.restore();
    frmCorvelo->btncon->click(); // a dead attachment lets go without the server
    ASSERT_EQ(frmCorvelo->btncon->text(), "Conectar") << shown().toStdString();
    const int before = static_cast<int>(dialogs.seen().size());
    frmCorvelo->btncon->click();
    ASSERT_EQ(frmCorvelo->btncon->text(), "Desconectar") << shown().toStdString();
    open("T");
    frmCorvelo->btnProcessar->click();
    EXPECT_EQ(static_cast<int>(dialogs.seen().size()), before) << shown().toStdString();
    EXPECT_EQ(count("T", "CODIGO BETWEEN 1 AND 800"), "800");
}

TEST_F(ConnectionLostTest, ACutInAScriptRunKeepsTheCommittedGroupsAndEndsWithTheLibraryText) {
    // The second group's lines carry a long comment, so a cut after the
    // first group's bytes lands among them however the lines are sent.
    std::string script;
    for (int i = 0; i < 1000; ++i)
        script += "INSERT INTO T VALUES (" + std::to_string(10000 + i) + ", 'x', 0)" +
                  (i < 500 ? "" : " -- " + std::string(1000, 'c')) + "\n";
    scriptPath = db.path() + ".sql";
    std::FILE* file = std::fopen(scriptPath.c_str(), "wb");
    std::fwrite(script.data(), 1, script.size(), file);
    std::fclose(file);
    frmCorvelo->PageControl1->setCurrentWidget(frmCorvelo->TabSheet4);
    frmCorvelo->edtEnd->setText(QString::fromStdString(scriptPath));
    // The first group takes well under 150 KB; the link breaks between the
    // commits at 500 and 1000.
    cutter.cutAfterClientBytes(150000);
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->Button3->click();

    // The commit at line 1000 fails and so does its rollback: the run ends there.
    EXPECT_TRUE(isLostLinkText(errorBoxSince(0)));
    for (const SeenDialog& seen : dialogs.seen())
        EXPECT_NE(seen.text, "Processo Concluido");
    EXPECT_EQ(frmCorvelo->lblatual->text(), "Linha Atual: 500");
    EXPECT_EQ(count("T", "ID >= 10000"), "500") << "the first group was committed before the cut";
    EXPECT_EQ(count("T", "ID >= 10500"), "0");
    EXPECT_FALSE(frmCorvelo->memo->toPlainText().isEmpty()) << "the lines after the cut failed";
    expectUsableAfterRestore();
}

TEST_F(ConnectionLostTest, EveryControlAfterACutEndsInAMessageAndAConnectRetriesWhenTheLinkIsBack) {
    cutter.cut();
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton9->click(); // commit fails, its rollback too
    frmCorvelo->SpeedButton11->click();
    ASSERT_EQ(dialogs.seen().size(), 2) << shown().toStdString();
    for (const SeenDialog& seen : dialogs.seen()) {
        EXPECT_EQ(seen.title, "Erro de sistema");
        EXPECT_TRUE(isLostLinkText(seen.text)) << seen.text.toStdString();
    }
    // A dead attachment still lets go: disconnect succeeds without the server.
    frmCorvelo->btncon->click();
    EXPECT_EQ(frmCorvelo->btncon->text(), "Conectar") << shown().toStdString();
    EXPECT_FALSE(frmCorvelo->dtbSuporte.Connected());
    // Still refused: a clear message, the caption stays.
    frmCorvelo->btncon->click();
    ASSERT_EQ(dialogs.seen().size(), 3) << shown().toStdString();
    // Refused at once or reset after the accept: either way the library's text.
    const QString refused = dialogs.seen()[2].text;
    EXPECT_EQ(dialogs.seen()[2].title, "Erro de sistema");
    EXPECT_TRUE(refused.startsWith("Unable to complete network request to host") || isLostLinkText(refused) ||
                refused.startsWith("connection shutdown") ||
                refused == "connection rejected by remote interface")
        << refused.toStdString();
    EXPECT_EQ(frmCorvelo->btncon->text(), "Conectar");
    expectUsableAfterRestore();
}

TEST_F(ConnectionLostTest, ACutWhileTheGridFetchesEndsInAMessageNotACrash) {
    frmCorvelo->show();
    QApplication::processEvents();
    const int shownRows = frmCorvelo->DBDados->model()->rowCount();
    ASSERT_LT(shownRows, 800) << "rows still to fetch";
    cutter.cut();
    dialogs.press(QMessageBox::Ok);
    for (int i = 0; i < 20 && frmCorvelo->DBDados->model()->canFetchMore({}); ++i) {
        frmCorvelo->DBDados->scrollToBottom();
        QApplication::processEvents();
    }
    EXPECT_TRUE(isLostLinkText(errorBoxSince(0)));
    EXPECT_FALSE(frmCorvelo->DBDados->model()->canFetchMore({})) << "no retry loop on a dead link";
    expectUsableAfterRestore();
}

TEST_F(ConnectionLostTest, ACutInAnExportEndsInTheLibraryTextAndLeavesTheEarlierFileAlone) {
    const std::filesystem::path target = db.path() + ".xlsx";
    std::ofstream(target, std::ios::binary) << "earlier content";
    ASSERT_FALSE(frmCorvelo->table.Eof());
    dialogs.handle([&](QWidget* dialog) {
        auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(fileDialog, nullptr);
        fileDialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(target.string()));
        QMetaObject::invokeMethod(fileDialog, "accept", Qt::QueuedConnection);
    });
    dialogs.press(QMessageBox::Yes); // replace the earlier file
    dialogs.press(QMessageBox::Ok);
    // The rows not fetched yet can no longer come.
    cutter.cut();
    frmCorvelo->SpeedButton12->click();

    EXPECT_TRUE(isLostLinkText(errorBoxSince(0)));
    for (const SeenDialog& seen : dialogs.seen())
        EXPECT_FALSE(seen.text.contains("gerado com sucesso")) << shown().toStdString();
    std::ifstream in(target, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "earlier content");
    for (const auto& entry : std::filesystem::directory_iterator(target.parent_path()))
        EXPECT_EQ(entry.path().string().find(target.filename().string() + "."), std::string::npos)
            << "a temporary file was left: " << entry.path();
    std::filesystem::remove(target);
    expectUsableAfterRestore();
}

} // namespace
