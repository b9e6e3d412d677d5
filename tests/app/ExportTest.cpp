// The spreadsheet buttons on the real window against the private server: the
// save dialog, the three checks with their boxes, and the file written.
#include "app/Startup.h"
#include "app/uFrmCorvelo.h"
#include "app/widgets/FlatButton.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/SpreadsheetReader.h"
#include "tests/support/TestDatabase.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.exec({"CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(20))",
                 "INSERT INTO T VALUES (1, 'Jo\xE3o')", "INSERT INTO T VALUES (2, 'Bia')",
                 "INSERT INTO T VALUES (3, 'Caio')"});
        const std::string testName = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        // One file per test: the tests run in parallel against one data folder.
        base = (fs::path(db.path()).parent_path() / ("export_" + testName)).string();
        target = base + ".xlsx";
        CreateForms();
        frmCorvelo->edtAlias->setText(QString::fromStdString(db.connectString()));
        frmCorvelo->btncon->click();
        frmCorvelo->edtArquivo->setEditText("T");
        frmCorvelo->btnAbrir->click();
        ASSERT_TRUE(frmCorvelo->table.Active());
    }
    void TearDown() override {
        DestroyForms();
        for (const char* suffix : {".xlsx", ".XLSX", ".xls", ".x"})
            fs::remove(base + suffix);
    }

    // Queues the save dialog's answer: the text typed as the file name, then Save.
    void choose(const std::string& typed) {
        dialogs.handle([typed](QWidget* dialog) {
            auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
            ASSERT_NE(fileDialog, nullptr);
            fileDialog->findChild<QLineEdit*>("fileNameEdit")->setText(QString::fromStdString(typed));
            QMetaObject::invokeMethod(fileDialog, "accept", Qt::QueuedConnection);
        });
    }
    void runQuery(const QString& sqlText) {
        frmCorvelo->PageControl1->setCurrentWidget(frmCorvelo->TabSheet4);
        frmCorvelo->memoscript->setPlainText(sqlText);
        frmCorvelo->Button1->click();
        ASSERT_TRUE(frmCorvelo->qryScript.Active());
    }
    void writeExisting() { std::ofstream(target, std::ios::binary) << "earlier content"; }
    std::string contentOfTarget() {
        std::ifstream in(target, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }
    static void cancel(QWidget* dialog) { QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection); }
    QString invalid(const std::string& name) {
        return QString::fromStdString("O nome do arquivo '" + name + "' \u00e9 inv\u00e1lido.");
    }

    TestDatabase db;
    DialogAnswerer dialogs;
    std::string base;
    std::string target;
};

TEST_F(ExportTest, CancellingTheSaveDialogGivesTheEmptyNameMessageAlone) {
    QString title, directory, suffix;
    QStringList filters;
    bool nonNative = false, saving = false;
    dialogs.handle([&](QWidget* dialog) {
        auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(fileDialog, nullptr);
        title = fileDialog->windowTitle();
        directory = fileDialog->directory().absolutePath();
        suffix = fileDialog->defaultSuffix();
        filters = fileDialog->nameFilters();
        nonNative = fileDialog->testOption(QFileDialog::DontUseNativeDialog);
        saving = fileDialog->acceptMode() == QFileDialog::AcceptSave;
        cancel(dialog);
    });
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->SpeedButton12->click();

    EXPECT_EQ(title, "Salvar para Microsoft Excel");
    EXPECT_EQ(directory, QDir::homePath());
    EXPECT_EQ(suffix, "xlsx");
    EXPECT_EQ(filters, QStringList{"Microsoft Excel (*.xlsx)"});
    EXPECT_TRUE(nonNative);
    EXPECT_TRUE(saving);
    ASSERT_EQ(dialogs.seen().size(), 2);
    EXPECT_EQ(dialogs.seen()[1].title, "Mensagem de Erro");
    EXPECT_EQ(dialogs.seen()[1].text, "Por favor informe um nome para o arquivo.");
    EXPECT_EQ(dialogs.seen()[1].buttons, QStringList{"OK"});
    EXPECT_EQ(dialogs.seen()[1].icon, QMessageBox::Question);
}

TEST_F(ExportTest, TheQueryIsWrittenUnderTheTrimmedNameBeforeSuccessIsShown) {
    runQuery("SELECT ID, NOME FROM T WHERE ID > 1 ORDER BY ID DESC");
    choose("  " + target + " \t");
    SheetContents written;
    dialogs.handle([&](QWidget* box) {
        // The file is complete while the success box shows.
        written = ReadSpreadsheet(target);
        QMetaObject::invokeMethod(box, "accept", Qt::QueuedConnection);
    });
    frmCorvelo->btnExcel->click();

    ASSERT_EQ(dialogs.seen().size(), 2);
    EXPECT_EQ(dialogs.seen()[1].title, "Mensagem de Informa\u00e7\u00e3o");
    EXPECT_EQ(dialogs.seen()[1].text, QString::fromStdString("Arquivo '" + target + "' gerado com sucesso."));
    EXPECT_EQ(dialogs.seen()[1].icon, QMessageBox::Information);
    EXPECT_EQ(written.rows, (std::vector<std::vector<std::string>>{
                                {"s:ID", "s:NOME"}, {"n:3.0", "s:Caio"}, {"n:2.0", "s:Bia"}}));
}

TEST_F(ExportTest, TheTableIsWrittenAsItsFilterShowsIt) {
    frmCorvelo->table.SetFilter("NOME <> 'Bia'");
    frmCorvelo->table.SetFiltered(true);
    frmCorvelo->table.Close();
    frmCorvelo->table.Open();
    choose(target);
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->SpeedButton12->click();
    ASSERT_EQ(dialogs.seen().size(), 2);
    EXPECT_EQ(dialogs.seen()[1].title, "Mensagem de Informa\u00e7\u00e3o");
    EXPECT_EQ(ReadSpreadsheet(target).rows,
              (std::vector<std::vector<std::string>>{
                  {"s:ID", "s:NOME"}, {"n:1.0", "s:Jo\u00e3o"}, {"n:3.0", "s:Caio"}}));
}

TEST_F(ExportTest, OnlyANameEndingInLowerCaseXlsxIsAccepted) {
    for (const std::string suffix : {".XLSX", ".xls", ".x"}) {
        SCOPED_TRACE(suffix);
        const int before = static_cast<int>(dialogs.seen().size());
        choose(base + suffix);
        dialogs.press(QMessageBox::Ok);
        frmCorvelo->SpeedButton12->click();
        ASSERT_EQ(dialogs.seen().size(), before + 2);
        EXPECT_EQ(dialogs.seen()[before + 1].title, "Mensagem de Erro");
        EXPECT_EQ(dialogs.seen()[before + 1].text, invalid(base + suffix));
        EXPECT_EQ(dialogs.seen()[before + 1].icon, QMessageBox::Question);
        EXPECT_FALSE(fs::exists(base + suffix));
    }
    // A name without an extension gets the dialog's default one.
    choose(base);
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->SpeedButton12->click();
    EXPECT_EQ(dialogs.seen().last().text,
              QString::fromStdString("Arquivo '" + target + "' gerado com sucesso."));
    EXPECT_TRUE(fs::exists(target));
}

TEST_F(ExportTest, AnExistingFileIsReplacedOnlyAfterYes) {
    writeExisting();
    const QString question =
        QString::fromStdString("O arquivo '" + target + "' j\u00e1 existe. Deseja subst\u00edtu\u00edlo?");
    for (QMessageBox::StandardButton answer : {QMessageBox::No, QMessageBox::Cancel}) {
        choose(target);
        dialogs.press(answer);
        frmCorvelo->SpeedButton12->click();
        EXPECT_EQ(dialogs.seen().last().title, "Mensagem de Questionamento");
        EXPECT_EQ(dialogs.seen().last().text, question);
        QStringList buttons = dialogs.seen().last().buttons;
        buttons.sort();
        EXPECT_EQ(buttons, (QStringList{"Cancelar", QStringLiteral("Não"), "Sim"}));
        EXPECT_EQ(dialogs.seen().last().icon, QMessageBox::Question);
        EXPECT_EQ(contentOfTarget(), "earlier content");
    }
    EXPECT_EQ(dialogs.seen().size(), 4) << "nothing after No or Cancel";

    choose(target);
    dialogs.press(QMessageBox::Yes).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton12->click();
    ASSERT_EQ(dialogs.seen().size(), 7);
    EXPECT_EQ(dialogs.seen()[6].title, "Mensagem de Informa\u00e7\u00e3o");
    EXPECT_EQ(ReadSpreadsheet(target).rows.size(), 4u);
}

TEST_F(ExportTest, AClosedDatasetEndsInTheErrorBoxAndLeavesTheFileAlone) {
    // The console's query has not run: it is closed.
    choose(target);
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->btnExcel->click();
    ASSERT_EQ(dialogs.seen().size(), 2);
    EXPECT_EQ(dialogs.seen()[1].title, "Erro de sistema");
    EXPECT_EQ(dialogs.seen()[1].text, "qryScript: Cannot perform this operation on a closed dataset");
    EXPECT_FALSE(fs::exists(target));

    writeExisting();
    frmCorvelo->table.Close();
    choose(target);
    dialogs.press(QMessageBox::Yes).press(QMessageBox::Ok);
    frmCorvelo->SpeedButton12->click();
    ASSERT_EQ(dialogs.seen().size(), 5);
    EXPECT_EQ(dialogs.seen()[4].title, "Erro de sistema");
    EXPECT_EQ(dialogs.seen()[4].text, "table: Cannot perform this operation on a closed dataset");
    EXPECT_EQ(contentOfTarget(), "earlier content");
}

} // namespace
