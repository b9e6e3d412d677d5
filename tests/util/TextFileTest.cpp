// The settings file's reads and writes, and what their failures say.
#include "util/TextFile.h"
#include "util/Exceptions.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

std::string folder() {
    return ::testing::TempDir() + "corvelo_text_file_" + std::to_string(::getpid()) + "/";
}

std::string messageOf(void (*action)(const std::string&), const std::string& path) {
    try {
        action(path);
    } catch (const EInOutError& e) {
        return e.Message();
    }
    return "no error";
}

TEST(TextFileTest, TheFirstLineRoundTripsWithCrLf) {
    std::filesystem::create_directories(folder());
    const std::string path = folder() + "Config.txt";
    WriteSingleLine(path, "10.0.0.1:D:\xE9");
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "10.0.0.1:D:\xE9\r\n");
    EXPECT_EQ(ReadFirstLine(path), "10.0.0.1:D:\xE9");
    std::filesystem::remove_all(folder());
}

TEST(TextFileTest, FailuresNameThePathAndTheReasonInTheProgramsCodePage) {
    // Names on the file system are UTF-8: "ação".
    const std::string missing = folder() + "a\xC3\xA7\xC3\xA3o/Config.txt";
    const std::string shown = folder() + "a\xE7\xE3o/Config.txt";
    EXPECT_EQ(messageOf([](const std::string& path) { WriteSingleLine(path, "x"); }, missing),
              "N\xE3o foi poss\xEDvel criar o arquivo '" + shown + "': o arquivo ou a pasta n\xE3o existe.");
    EXPECT_EQ(messageOf([](const std::string& path) { ReadFirstLine(path); }, missing),
              "N\xE3o foi poss\xEDvel abrir o arquivo '" + shown + "': o arquivo ou a pasta n\xE3o existe.");
    std::filesystem::create_directories(folder() + "pasta");
    EXPECT_EQ(messageOf([](const std::string& path) { WriteSingleLine(path, "x"); }, folder() + "pasta"),
              "N\xE3o foi poss\xEDvel criar o arquivo '" + folder() + "pasta': o nome \xE9 de uma pasta.");
    std::filesystem::remove_all(folder());
}

} // namespace
