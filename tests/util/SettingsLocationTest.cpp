// Where the settings file lives, and the folders made for it.
#include "util/SettingsLocation.h"
#include "tests/support/ScopedEnvironment.h"
#include "util/Exceptions.h"
#include "util/TextUtils.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

TEST(SettingsFilePathTest, BesideAWritableProgramElseInTheConfigurationFolder) {
    struct Case {
        SettingsPlaces places;
        const char* expected;
    };
    const Case cases[] = {
        // A program in a folder of the user's keeps its file beside itself,
        // whatever the environment says.
        {{"/home/ana/corvelo/", true, "/home/ana/cfg", "/home/ana"}, "/home/ana/corvelo/Config.txt"},
        {{"/home/ana/corvelo/", true, "", ""}, "/home/ana/corvelo/Config.txt"},
        // Installed: the configuration folder, else ~/.config.
        {{"/usr/bin/", false, "/home/ana/cfg", "/home/ana"}, "/home/ana/cfg/corvelo/Config.txt"},
        {{"/usr/bin/", false, "/home/ana/cfg//", "/home/ana"}, "/home/ana/cfg/corvelo/Config.txt"},
        {{"/usr/bin/", false, "", "/home/ana"}, "/home/ana/.config/corvelo/Config.txt"},
        {{"/usr/bin/", false, "", "/home/ana/"}, "/home/ana/.config/corvelo/Config.txt"},
        // A relative configuration folder would follow the working folder: ignored.
        {{"/usr/bin/", false, "cfg", "/home/ana"}, "/home/ana/.config/corvelo/Config.txt"},
        {{"/usr/bin/", false, "/", "/home/ana"}, "/corvelo/Config.txt"},
        {{"/usr/bin/", false, "", ""}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SettingsFilePath(c.places), c.expected)
            << c.places.programFolder << " writable " << c.places.programFolderWritable << " xdg '"
            << c.places.xdgConfigHome << "' home '" << c.places.home << "'";
    }
}

TEST(SettingsFilePathTest, TheProcessPlacesComeFromTheEnvironmentAndTheUserDatabase) {
    ScopedEnvironment environment;
    environment.set("XDG_CONFIG_HOME", "/srv/cfg").set("HOME", "/srv/casa");
    SettingsPlaces places = CurrentSettingsPlaces();
    EXPECT_EQ(places.programFolder, DiretorioAplicacao());
    EXPECT_EQ(places.programFolderWritable, ::access(DiretorioAplicacao().c_str(), W_OK) == 0);
    EXPECT_EQ(places.xdgConfigHome, "/srv/cfg");
    EXPECT_EQ(places.home, "/srv/casa");

    // Without HOME (a program started by a service), the user's home from the user database.
    environment.unset("XDG_CONFIG_HOME").unset("HOME");
    places = CurrentSettingsPlaces();
    EXPECT_EQ(places.xdgConfigHome, "");
    const passwd* user = ::getpwuid(::getuid());
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(places.home, user->pw_dir);
}

class SettingsFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        root = fs::temp_directory_path() /
               ("corvelo-settings-" + std::string(test->name()) + "-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(root, ignored);
    }
    static fs::perms permissionsOf(const fs::path& path) {
        return fs::status(path).permissions() & fs::perms::all;
    }
    fs::path root;
};

TEST_F(SettingsFolderTest, MissingFoldersAreMadeForTheUserAlone) {
    const fs::path file = root / "config" / "corvelo" / "Config.txt";
    CreateFolderOf(file.string());
    EXPECT_TRUE(fs::is_directory(root / "config" / "corvelo"));
    EXPECT_EQ(permissionsOf(root / "config"), fs::perms::owner_all);
    EXPECT_EQ(permissionsOf(root / "config" / "corvelo"), fs::perms::owner_all);
    EXPECT_FALSE(fs::exists(file)) << "only the folders are made";

    // Existing folders are left as they are.
    fs::permissions(root / "config", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    CreateFolderOf(file.string());
    EXPECT_EQ(permissionsOf(root / "config"),
              fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
}

TEST_F(SettingsFolderTest, AFileWhereAFolderShouldBeIsAnInputOutputError) {
    std::ofstream(root / "config") << "not a folder";
    const fs::path file = root / "config" / "corvelo" / "Config.txt";
    try {
        CreateFolderOf(file.string());
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(), "N\xE3o foi poss\xEDvel criar a pasta '" + (root / "config").string() +
                                   "': j\xE1 existe um arquivo com esse nome.");
    }
}

TEST_F(SettingsFolderTest, AFolderThatRefusesNewEntriesIsAnInputOutputError) {
    if (::geteuid() == 0)
        GTEST_SKIP()
            << "root creates folders anywhere; the installed-program tests and scripts/package-check "
               "run this case as an ordinary user";
    fs::create_directory(root / "config");
    fs::permissions(root / "config", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_THROW(CreateFolderOf((root / "config" / "corvelo" / "Config.txt").string()), EInOutError);
    EXPECT_FALSE(IsWritableFolder((root / "config").string()));
}

TEST_F(SettingsFolderTest, OnlyAnExistingFolderThatTakesNewFilesIsWritable) {
    EXPECT_TRUE(IsWritableFolder(root.string()));
    EXPECT_TRUE(IsWritableFolder(root.string() + "/"));
    EXPECT_FALSE(IsWritableFolder((root / "missing").string()));
    std::ofstream(root / "file") << "x";
    EXPECT_FALSE(IsWritableFolder((root / "file").string()));
}

} // namespace
