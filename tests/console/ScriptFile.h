#pragma once
// Script files written byte for byte into the test's temporary folder.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <unistd.h>

class ScriptFile {
public:
    explicit ScriptFile(const std::string& content) {
        static std::atomic<int> counter{0};
        path_ = ::testing::TempDir() + "corvelo_script_" + std::to_string(::getpid()) + "_" +
                std::to_string(counter++) + ".sql";
        std::FILE* file = std::fopen(path_.c_str(), "wb");
        EXPECT_NE(file, nullptr) << path_;
        if (file) {
            std::fwrite(content.data(), 1, content.size(), file);
            std::fclose(file);
        }
    }
    ~ScriptFile() { std::remove(path_.c_str()); }
    ScriptFile(const ScriptFile&) = delete;
    ScriptFile& operator=(const ScriptFile&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};
