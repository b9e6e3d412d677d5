// Start-up, activation, tab changes, the settings file and the error box,
// on the real forms.
#include "app/Dialogs.h"
#include "app/ErrorHandling.h"
#include "app/QtTranslations.h"
#include "app/ScreenText.h"
#include "app/Startup.h"
#include "app/TerminationSignals.h"
#include "app/UFuncoes.h"
#include "app/uFrmCorvelo.h"
#include "app/ufrmEmpty.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/WaitUntil.h"
#include "util/Exceptions.h"
#include "util/FormatSettings.h"
#include "util/TextUtils.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QTranslator>
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        removeConfig();
        formatSettings() = FormatSettings{};
        CreateForms();
        kDesignServerText = frmCorvelo->edtServer->text();
    }
    void TearDown() override {
        DestroyForms();
        removeConfig();
        formatSettings() = FormatSettings{};
    }

    static void removeConfig() {
        std::error_code ignored;
        fs::remove_all(TfrmCorvelo::ConfigPath(), ignored);
    }
    static void writeConfig(const std::string& bytes) {
        std::ofstream(TfrmCorvelo::ConfigPath(), std::ios::binary) << bytes;
    }
    static std::string readConfig() {
        std::ifstream in(TfrmCorvelo::ConfigPath(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    QString kDesignServerText; // the text edtServer has before any Config.txt is read

    // Shows the main window and waits for its first activation.
    void showAndActivate() {
        frmCorvelo->show();
        frmCorvelo->activateWindow();
        ASSERT_TRUE(waitUntil([] {
            return frmCorvelo->PageControl1->currentWidget() == frmCorvelo->TabArquivo;
        })) << "the activation steps did not run";
    }

    // Selects a tab as the user does, through the tab bar.
    static void clickTab(QWidget* page) {
        QTabWidget* pages = frmCorvelo->PageControl1;
        pages->tabBar()->setCurrentIndex(pages->indexOf(page));
    }
};

TEST_F(ShellTest, StartupCreatesTheThreeFormsAndInstallsTheErrorHandler) {
    ASSERT_NE(frmCorvelo, nullptr);
    ASSERT_NE(frmEmpty, nullptr);
    ASSERT_NE(Funcoes, nullptr);
    EXPECT_EQ(frmCorvelo->objectName(), "frmCorvelo");
    EXPECT_EQ(frmCorvelo->windowTitle(), "Ib Corvelo = 05/02/2020");
    EXPECT_EQ(frmEmpty->objectName(), "frmEmpty");
    EXPECT_EQ(Funcoes->objectName(), "Funcoes");
    EXPECT_EQ(Funcoes->windowTitle(), "Funcoes");
    EXPECT_FALSE(Funcoes->isVisible());
    EXPECT_FALSE(frmEmpty->isVisible());
    EXPECT_TRUE(HasApplicationErrorHandler());

    // Before activation: "Grava Campo" current, the grid on the table, panel hidden.
    EXPECT_EQ(frmCorvelo->PageControl1->currentWidget(), frmCorvelo->TabSheet2);
    EXPECT_EQ(frmCorvelo->GridDataSource(), &frmCorvelo->dtstable);
    EXPECT_FALSE(frmCorvelo->pnlMemo->isVisibleTo(frmCorvelo));
    EXPECT_TRUE(frmCorvelo->campoMemo.empty());
}

TEST_F(ShellTest, ActivationAppliesSettingsAndShowsArquivoWithoutSwitchingTheGrid) {
    formatSettings().DecimalSeparator = ',';
    formatSettings().ThousandSeparator = '.';
    formatSettings().ShortDateFormat = "yyyy-mm-dd";
    showAndActivate();

    EXPECT_EQ(formatSettings().DecimalSeparator, '.');
    EXPECT_EQ(formatSettings().ThousandSeparator, ',');
    EXPECT_EQ(formatSettings().ShortDateFormat, "dd/mm/yyyy");
    EXPECT_EQ(frmCorvelo->edtServer->text(), kDesignServerText) << "no Config.txt: the design text stays";
    // Switching the page from code is not a tab change: the height stays 250.
    EXPECT_EQ(frmCorvelo->PageControl1->height(), 250);
    EXPECT_EQ(frmCorvelo->GridDataSource(), &frmCorvelo->dtstable);
}

TEST_F(ShellTest, ActivationReadsOnlyTheFirstLineOfTheSettingsFile) {
    struct Case {
        std::string file;
        QString server;
    };
    const Case cases[] = {
        {"10.1.1.7:E:\r\nsegunda linha\r\n", "10.1.1.7:E:"},
        {"10.1.1.7:E:\nresto", "10.1.1.7:E:"},
        {"10.1.1.7:E:", "10.1.1.7:E:"},
        {"\r\n10.1.1.7:E:\r\n", kDesignServerText},
        {"", kDesignServerText},
        {"   \r\n", "   "},
        {"srv\x1Aoutro\r\n", "srv"},
        {"S\xE3o Jo\xE3o:C:\r\n", QStringLiteral("São João:C:")},
    };
    for (const Case& c : cases) {
        DestroyForms();
        CreateForms();
        writeConfig(c.file);
        frmCorvelo->FormActivate(frmCorvelo);
        EXPECT_EQ(frmCorvelo->edtServer->text(), c.server) << "file: " << c.file;
        EXPECT_EQ(frmCorvelo->PageControl1->currentWidget(), frmCorvelo->TabArquivo);
    }
}

TEST_F(ShellTest, UnreadableSettingsFileIsReportedAndLeavesTheFormAsItWas) {
    // A file that opens but cannot be read: the kernel refuses to read this one
    // at offset 0, even for root.
    fs::create_symlink("/proc/self/mem", TfrmCorvelo::ConfigPath());
    formatSettings().DecimalSeparator = ',';
    DialogAnswerer dialogs;
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->show();
    frmCorvelo->activateWindow();
    ASSERT_TRUE(waitUntil([&] { return dialogs.seen().size() == 1 && dialogs.pending() == 0; }));

    const SeenDialog& box = dialogs.seen().front();
    EXPECT_EQ(box.title, "Erro de sistema");
    EXPECT_TRUE(box.text.contains(QString::fromStdString(TfrmCorvelo::ConfigPath())))
        << box.text.toStdString();
    EXPECT_EQ(box.buttons, QStringList{"OK"});
    EXPECT_EQ(box.icon, QMessageBox::NoIcon);
    EXPECT_EQ(formatSettings().DecimalSeparator, '.') << "the settings come before the file";
    EXPECT_EQ(frmCorvelo->edtServer->text(), kDesignServerText);
    EXPECT_EQ(frmCorvelo->PageControl1->currentWidget(), frmCorvelo->TabSheet2);
}

TEST_F(ShellTest, ClosingWritesTheServerPrefixWithCrLfAndDropsOtherLines) {
    writeConfig("\r\nsegunda linha\r\n");
    showAndActivate();
    frmCorvelo->edtServer->setText(QStringLiteral("10.0.0.9:F:ção"));
    EXPECT_TRUE(frmCorvelo->close());
    EXPECT_FALSE(frmCorvelo->isVisible());
    EXPECT_EQ(readConfig(), "10.0.0.9:F:\xE7\xE3o\r\n");

    // The next start shows what was saved.
    DestroyForms();
    CreateForms();
    frmCorvelo->FormActivate(frmCorvelo);
    EXPECT_EQ(frmCorvelo->edtServer->text(), QStringLiteral("10.0.0.9:F:ção"));
}

TEST_F(ShellTest, ASettingsFileThatCannotBeWrittenKeepsTheWindowOpen) {
    showAndActivate();
    fs::create_directory(TfrmCorvelo::ConfigPath());
    DialogAnswerer dialogs;
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok);
    EXPECT_FALSE(frmCorvelo->close());
    EXPECT_FALSE(frmCorvelo->close()) << "every attempt fails while the cause persists";
    EXPECT_TRUE(frmCorvelo->isVisible());
    ASSERT_EQ(dialogs.seen().size(), 2);
    EXPECT_EQ(dialogs.seen()[0].title, "Erro de sistema");
    EXPECT_TRUE(dialogs.seen()[0].text.contains("Config.txt"));

    fs::remove(TfrmCorvelo::ConfigPath());
    EXPECT_TRUE(frmCorvelo->close());
    EXPECT_EQ(readConfig(), fromScreen(kDesignServerText) + "\r\n");
}

TEST_F(ShellTest, ATextTheCodePageCannotHoldIsNotSavedSilentlyChanged) {
    showAndActivate();
    frmCorvelo->edtServer->setText(QStringLiteral("servidor→1:"));
    DialogAnswerer dialogs;
    dialogs.press(QMessageBox::Ok);
    EXPECT_FALSE(frmCorvelo->close());
    ASSERT_EQ(dialogs.seen().size(), 1);
    EXPECT_TRUE(dialogs.seen()[0].text.contains(QStringLiteral("U+2192")));
    EXPECT_FALSE(fs::exists(TfrmCorvelo::ConfigPath()));
    frmCorvelo->edtServer->setText(QStringLiteral("servidor:"));
    EXPECT_TRUE(frmCorvelo->close());
}

TEST_F(ShellTest, ASignalToEndAnswersTheOpenQuestionWithEscapeThenClosesAsTheCloseBoxDoes) {
    static const bool installed = [] {
        OnTerminationSignal([] { frmCorvelo->CloseWhenIdle(); });
        return true;
    }();
    ASSERT_TRUE(installed);
    showAndActivate();
    frmCorvelo->edtServer->setText(QStringLiteral("servidor:"));
    // The signal comes while a handler asks its question.
    QTimer::singleShot(0, [] { ::raise(SIGTERM); });
    EXPECT_FALSE(PerguntaSimNao("dar Commit na Transacao ? ")) << "answered as Escape answers it: No";
    EXPECT_TRUE(waitUntil([] { return !frmCorvelo->isVisible(); })) << "the window did not close";
    EXPECT_EQ(readConfig(), "servidor:\r\n") << "closed as the close box closes it";
}

TEST_F(ShellTest, TabChangesSetTheHeightThenTheGridSource) {
    showAndActivate();
    frmCorvelo->resize(1200, 700);
    struct Step {
        QWidget* page;
        int height;
        TDataSource* source;
    };
    const Step steps[] = {
        {frmCorvelo->TabSheet2, 160, &frmCorvelo->dtstable},
        {frmCorvelo->TabSheet4, 250, &frmCorvelo->dtsScript},
        {frmCorvelo->TabArquivo, 160, &frmCorvelo->dtstable},
        {frmCorvelo->TabSheet3, 160, &frmCorvelo->dtstable},
        {frmCorvelo->TabSheet4, 250, &frmCorvelo->dtsScript},
        {frmCorvelo->TabSheet1, 160, &frmCorvelo->dtstable},
    };
    for (const Step& step : steps) {
        clickTab(step.page);
        EXPECT_EQ(frmCorvelo->PageControl1->height(), step.height);
        EXPECT_EQ(frmCorvelo->GridDataSource(), step.source);
        // The grid fills the rest of the window below the page control.
        EXPECT_EQ(frmCorvelo->DBDados->y(), step.height);
        EXPECT_EQ(frmCorvelo->DBDados->height(), frmCorvelo->height() - step.height);
        EXPECT_EQ(frmCorvelo->DBDados->width(), frmCorvelo->width());
    }
}

TEST_F(ShellTest, AMessageClosedOnScriptPageIsNoNewActivation) {
    showAndActivate();
    clickTab(frmCorvelo->TabSheet4);
    writeConfig("outro:Z:\r\n");
    DialogAnswerer dialogs;
    dialogs.press(QMessageBox::Ok);
    ShowMessage("Commit Executado");
    waitUntil([] { return false; }, 100);
    EXPECT_EQ(frmCorvelo->PageControl1->currentWidget(), frmCorvelo->TabSheet4);
    EXPECT_EQ(frmCorvelo->edtServer->text(), kDesignServerText);
    ASSERT_EQ(dialogs.seen().size(), 1);
    EXPECT_EQ(dialogs.seen()[0].title, "Corvelo");
    EXPECT_EQ(dialogs.seen()[0].text, "Commit Executado");
    EXPECT_EQ(dialogs.seen()[0].icon, QMessageBox::NoIcon);
}

TEST_F(ShellTest, ErrorsLeavingAHandlerReachTheSystemErrorBoxUnchanged) {
    DialogAnswerer dialogs;
    dialogs.press(QMessageBox::Ok);
    guarded(frmCorvelo, [] { throw Exception("Tabela n\xE3o encontrada: 'CLIENTES'"); });
    guarded(frmCorvelo, [] { throw EAbort(); });
    ASSERT_EQ(dialogs.seen().size(), 1) << "a silent error shows nothing";
    EXPECT_EQ(dialogs.seen()[0].title, "Erro de sistema");
    EXPECT_EQ(dialogs.seen()[0].text, QStringLiteral("Tabela não encontrada: 'CLIENTES'"));
    EXPECT_EQ(dialogs.seen()[0].buttons, QStringList{"OK"});
    EXPECT_EQ(dialogs.seen()[0].icon, QMessageBox::NoIcon);
}

TEST_F(ShellTest, PerguntaSimNaoIsTrueOnlyForYes) {
    DialogAnswerer dialogs;
    dialogs.press(QMessageBox::Yes).press(QMessageBox::No);
    EXPECT_TRUE(PerguntaSimNao("Deseja dar Commit ?"));
    EXPECT_FALSE(PerguntaSimNao("Deseja dar Commit ?"));
    ASSERT_EQ(dialogs.seen().size(), 2);
    EXPECT_EQ(dialogs.seen()[0].title, QStringLiteral("Confirmação"));
    EXPECT_EQ(dialogs.seen()[0].buttons, (QStringList{"Sim", QStringLiteral("Não")}));
    EXPECT_EQ(dialogs.seen()[0].icon, QMessageBox::Question);
}

TEST_F(ShellTest, WithoutQtsTranslationFileTheStandardButtonsStayInEnglish) {
    const QList<QTranslator*> installed = qApp->findChildren<QTranslator*>();
    ASSERT_FALSE(installed.isEmpty()) << "the program's start-up installs Qt's Portuguese texts";
    for (QTranslator* translator : installed)
        QCoreApplication::removeTranslator(translator);
    const fs::path empty =
        fs::temp_directory_path() / ("corvelo-no-translations-" + std::to_string(::getpid()));
    fs::create_directories(empty);
    EXPECT_EQ(InstallQtTranslations(*qApp, QString::fromStdString(empty.string())), nullptr);

    DialogAnswerer dialogs;
    dialogs.press(QMessageBox::Yes);
    EXPECT_TRUE(PerguntaSimNao("Deseja dar Commit ?"));
    ASSERT_EQ(dialogs.seen().size(), 1);
    EXPECT_EQ(dialogs.seen()[0].buttons, (QStringList{"Yes", "No"}));
    EXPECT_EQ(dialogs.seen()[0].title, QStringLiteral("Confirmação"));

    fs::remove_all(empty);
    for (QTranslator* translator : installed)
        QCoreApplication::installTranslator(translator);
}

TEST_F(ShellTest, AWritableProgramFolderKeepsTheSettingsBesideTheProgram) {
    // A configuration folder of the user's does not draw the file away.
    const fs::path config =
        fs::temp_directory_path() / ("corvelo-unused-config-" + std::to_string(::getpid()));
    ScopedEnvironment environment;
    environment.set("XDG_CONFIG_HOME", config.string());
    EXPECT_EQ(TfrmCorvelo::ConfigPath(), DiretorioAplicacao() + "Config.txt");
    showAndActivate();
    EXPECT_TRUE(frmCorvelo->close());
    EXPECT_EQ(readConfig(), fromScreen(kDesignServerText) + "\r\n");
    EXPECT_FALSE(fs::exists(config));
}

TEST_F(ShellTest, TheWindowCarriesTheProgramsIcon) {
    const QIcon icon = frmCorvelo->windowIcon();
    ASSERT_FALSE(icon.isNull());
    // From the menu's small size to the large one, drawn for each, not scaled up.
    const QList<QSize> sizes = icon.availableSizes();
    for (const int size : {16, 32, 48, 256})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
}

} // namespace

TEST(DateSeparatorTest, TheFirstSignOfTheShortDateAndNeverABlank) {
    EXPECT_EQ(DateSeparatorOf("dd/MM/yyyy"), '/');
    EXPECT_EQ(DateSeparatorOf("dd.MM.yy"), '.');
    EXPECT_EQ(DateSeparatorOf("yyyy-MM-dd"), '-');
    // The plain "C" locale: a blank would make dates show as "15 03 2019".
    EXPECT_EQ(DateSeparatorOf("d MMM yyyy"), '/');
    EXPECT_EQ(DateSeparatorOf(""), '/');
}
