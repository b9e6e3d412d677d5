// The settings file of a program installed where its user may not write, as
// under /usr: every test here runs again in a copy of this test program whose
// folder its user cannot write into. When the tests run as root (who writes
// everywhere), that copy runs as the ordinary user "nobody".
#include "app/ScreenText.h"
#include "app/Startup.h"
#include "app/uFrmCorvelo.h"
#include "tests/support/DialogAnswerer.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/WaitUntil.h"
#include "util/SettingsLocation.h"
#include "util/TextUtils.h"

#include <QLineEdit>
#include <QProcess>
#include <QTabWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <iterator>
#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Set in the copy: the folder its user owns, for a home and configuration folders.
const char* const UserFolderVariable = "CORVELO_INSTALLED_USER_FOLDER";

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A leak-check suppression file named in LSAN_OPTIONS may lie where the other
// user cannot read; the copy gets its own.
QString optionsWithReadableSuppressions(QString options, const fs::path& folder) {
    QStringList parts = options.split(u':');
    for (QString& part : parts) {
        if (!part.startsWith(QLatin1String("suppressions=")))
            continue;
        const fs::path copy = folder / "lsan.supp";
        fs::copy_file(part.mid(13).toStdString(), copy, fs::copy_options::overwrite_existing);
        fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                  fs::perms::others_read);
        part = QStringLiteral("suppressions=") + QString::fromStdString(copy.string());
    }
    return parts.join(u':');
}

class InstalledSettingsTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (inCopy())
            DestroyForms();
        std::error_code ignored;
        if (!root_.empty()) {
            fs::permissions(root_ / "program", fs::perms::owner_all, fs::perm_options::add, ignored);
            fs::remove_all(root_, ignored);
        }
    }

    static bool inCopy() { return std::getenv(UserFolderVariable) != nullptr; }

    // False here, after the copy ran this test (its failures are reported as
    // ours); true inside the copy, which then does the test's work.
    bool runsHere() {
        if (inCopy()) {
            EXPECT_FALSE(IsWritableFolder(DiretorioAplicacao())) << "the copy's folder must not be writable";
            CreateForms();
            designServerText = frmCorvelo->edtServer->text();
            return true;
        }
        runInReadOnlyCopy();
        return false;
    }

    fs::path userFolder() const { return std::getenv(UserFolderVariable); }

    void showAndActivate() {
        frmCorvelo->show();
        frmCorvelo->activateWindow();
        ASSERT_TRUE(waitUntil([] {
            return frmCorvelo->PageControl1->currentWidget() == frmCorvelo->TabArquivo;
        })) << "the activation steps did not run";
    }

    QString designServerText;

private:
    void runInReadOnlyCopy() {
        char pattern[] = "/tmp/corvelo-installed-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        root_ = pattern;
        const fs::path program = root_ / "program" / fs::read_symlink("/proc/self/exe").filename();
        const fs::path user = root_ / "user";
        fs::create_directories(program.parent_path());
        fs::create_directories(user);
        fs::copy_file("/proc/self/exe", program);
        fs::permissions(root_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                   fs::perms::others_read | fs::perms::others_exec);

        const bool asRoot = ::geteuid() == 0;
        uid_t uid = 0;
        gid_t gid = 0;
        if (asRoot) {
            const passwd* nobody = ::getpwnam("nobody");
            ASSERT_NE(nobody, nullptr) << "no user \"nobody\" to run the copy as";
            uid = nobody->pw_uid;
            gid = nobody->pw_gid;
            ASSERT_EQ(::chown(user.c_str(), uid, gid), 0);
        } else {
            fs::permissions(program.parent_path(), fs::perms::owner_read | fs::perms::owner_exec |
                                                       fs::perms::group_read | fs::perms::group_exec |
                                                       fs::perms::others_read | fs::perms::others_exec);
        }

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(UserFolderVariable), QString::fromStdString(user.string()));
        environment.insert(QStringLiteral("HOME"), QString::fromStdString(user.string()));
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        if (environment.contains(QStringLiteral("LSAN_OPTIONS")))
            environment.insert(
                QStringLiteral("LSAN_OPTIONS"),
                optionsWithReadableSuppressions(environment.value(QStringLiteral("LSAN_OPTIONS")), root_));

        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        QProcess copy;
        copy.setProcessEnvironment(environment);
        copy.setWorkingDirectory(QString::fromStdString(user.string()));
        copy.setProcessChannelMode(QProcess::MergedChannels);
        if (asRoot) {
            copy.setChildProcessModifier([uid, gid] {
                if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
                    ::_exit(126);
            });
        }
        copy.start(QString::fromStdString(program.string()),
                   {QStringLiteral("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
        ASSERT_TRUE(copy.waitForFinished(180000)) << "the copy did not end";
        const QString output = QString::fromLocal8Bit(copy.readAll());
        EXPECT_EQ(copy.exitStatus(), QProcess::NormalExit) << output.toStdString();
        EXPECT_EQ(copy.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains(QLatin1String("[  PASSED  ] 1 test."))) << output.toStdString();
    }

    fs::path root_;
};

TEST_F(InstalledSettingsTest, TheFirstCloseMakesTheConfigurationFolderAndTheNextStartReadsIt) {
    if (!runsHere())
        return;
    const fs::path config = userFolder() / "config" / "xdg";
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    EXPECT_EQ(TfrmCorvelo::ConfigPath(), (config / "corvelo" / "Config.txt").string());

    showAndActivate();
    EXPECT_EQ(frmCorvelo->edtServer->text(), designServerText);
    frmCorvelo->edtServer->setText(QStringLiteral("10.0.0.9:F:ção"));
    EXPECT_TRUE(frmCorvelo->close());
    EXPECT_EQ(readFile(config / "corvelo" / "Config.txt"), "10.0.0.9:F:\xE7\xE3o\r\n");
    EXPECT_EQ(fs::status(config / "corvelo").permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(DiretorioAplicacao() + "Config.txt"));

    DestroyForms();
    CreateForms();
    showAndActivate();
    EXPECT_EQ(frmCorvelo->edtServer->text(), QStringLiteral("10.0.0.9:F:ção"));
}

TEST_F(InstalledSettingsTest, WithoutAConfigurationFolderVariableTheFileGoesUnderHome) {
    if (!runsHere())
        return;
    unsetenv("XDG_CONFIG_HOME");
    const fs::path home = userFolder() / "home";
    setenv("HOME", home.c_str(), 1);
    showAndActivate();
    EXPECT_TRUE(frmCorvelo->close());
    EXPECT_EQ(readFile(home / ".config" / "corvelo" / "Config.txt"), fromScreen(designServerText) + "\r\n");
}

TEST_F(InstalledSettingsTest, AConfigurationFolderThatCannotBeWrittenKeepsTheWindowOpen) {
    if (!runsHere())
        return;
    const fs::path config = userFolder() / "locked";
    fs::create_directory(config);
    fs::permissions(config, fs::perms::owner_read | fs::perms::owner_exec);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    showAndActivate();

    DialogAnswerer dialogs;
    dialogs.press(QMessageBox::Ok).press(QMessageBox::Ok);
    EXPECT_FALSE(frmCorvelo->close());
    EXPECT_FALSE(frmCorvelo->close()) << "every attempt fails while the cause persists";
    EXPECT_TRUE(frmCorvelo->isVisible());
    ASSERT_EQ(dialogs.seen().size(), 2);
    EXPECT_EQ(dialogs.seen()[0].title, "Erro de sistema");
    EXPECT_TRUE(dialogs.seen()[0].text.contains(QString::fromStdString((config / "corvelo").string())))
        << dialogs.seen()[0].text.toStdString();

    fs::permissions(config, fs::perms::owner_all);
    EXPECT_TRUE(frmCorvelo->close());
    EXPECT_EQ(readFile(config / "corvelo" / "Config.txt"), fromScreen(designServerText) + "\r\n");
}

TEST_F(InstalledSettingsTest, AnUnreadableSettingsFileIsReportedAtActivation) {
    if (!runsHere())
        return;
    const fs::path config = userFolder() / "config";
    fs::create_directories(config / "corvelo");
    std::ofstream(config / "corvelo" / "Config.txt") << "10.1.1.7:E:\r\n";
    fs::permissions(config / "corvelo" / "Config.txt", fs::perms::none);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);

    DialogAnswerer dialogs;
    dialogs.press(QMessageBox::Ok);
    frmCorvelo->show();
    frmCorvelo->activateWindow();
    ASSERT_TRUE(waitUntil([&] { return dialogs.seen().size() == 1 && dialogs.pending() == 0; }));
    EXPECT_EQ(dialogs.seen()[0].title, "Erro de sistema");
    EXPECT_TRUE(dialogs.seen()[0].text.contains(QString::fromStdString(TfrmCorvelo::ConfigPath())));
    EXPECT_EQ(frmCorvelo->edtServer->text(), designServerText);
    EXPECT_EQ(frmCorvelo->PageControl1->currentWidget(), frmCorvelo->TabSheet2);
}

} // namespace
