// Reading script files: line breaks, Ctrl+Z, 8-bit text, unreadable paths.
#include "console/ScriptLineReader.h"
#include "console/ScriptRunner.h"
#include "tests/console/ScriptFile.h"
#include "util/Exceptions.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using Lines = std::vector<std::string>;

Lines readAll(const std::string& content) {
    ScriptFile file(content);
    ScriptLineReader reader(file.path());
    Lines lines;
    std::string line;
    while (reader.ReadLine(line))
        lines.push_back(line);
    EXPECT_FALSE(reader.ReadLine(line)) << "stays at the end";
    EXPECT_EQ(CountScriptLines(file.path()), static_cast<std::int64_t>(lines.size()));
    return lines;
}

TEST(ScriptLineReaderTest, LinesEndAtLineFeedWithOrWithoutCarriageReturn) {
    EXPECT_EQ(readAll(""), Lines{});
    EXPECT_EQ(readAll("\n"), Lines{""});
    EXPECT_EQ(readAll("a\r\nb\nc"), (Lines{"a", "b", "c"})) << "a last line without a break counts";
    EXPECT_EQ(readAll("a\n\n"), (Lines{"a", ""}));
    EXPECT_EQ(readAll("a\r\n\r\n"), (Lines{"a", ""}));
}

TEST(ScriptLineReaderTest, ALoneCarriageReturnIsLeftOutOfTheLine) {
    EXPECT_EQ(readAll("ab\rcd\nx\r"), (Lines{"abcd", "x"}));
    EXPECT_EQ(readAll("\r"), Lines{""});
    EXPECT_EQ(readAll("a\r\r\nb"), (Lines{"a", "b"}));
}

TEST(ScriptLineReaderTest, CtrlZEndsTheText) {
    EXPECT_EQ(readAll("a\r\n\x1A"
                      "b\r\n"),
              Lines{"a"});
    EXPECT_EQ(readAll("\x1A"
                      "a\n"),
              Lines{});
    EXPECT_EQ(readAll("ab\x1A"
                      "cd\nef\n"),
              Lines{"ab"});
}

TEST(ScriptLineReaderTest, BytesPassUnchangedAcrossBufferBoundaries) {
    EXPECT_EQ(readAll("S\xC3O JOS\xC9\t\x01\n"), Lines{"S\xC3O JOS\xC9\t\x01"});
    // A line far longer than one read, and a CR LF split between two reads.
    const std::string longLine(200000, 'x');
    const std::string beforeSplit(64 * 1024 - 1, 'y');
    EXPECT_EQ(readAll(longLine + "\n" + "z"), (Lines{longLine, "z"}));
    EXPECT_EQ(readAll(beforeSplit + "\r\nq"), (Lines{beforeSplit, "q"}));
}

TEST(ScriptLineReaderTest, WhatCannotBeReadAsAFileIsAnInputOutputError) {
    const std::string missing = ::testing::TempDir() + "no_such_dir/none.sql";
    try {
        ScriptLineReader reader(missing);
        ADD_FAILURE() << "opened";
    } catch (const EInOutError& e) {
        EXPECT_NE(e.Message().find(missing), std::string::npos) << e.Message();
    }
    EXPECT_THROW(CountScriptLines(""), EInOutError);
    EXPECT_THROW(CountScriptLines(::testing::TempDir()), EInOutError) << "a directory";
    // The file system names the path in UTF-8; the message is in the program's code page.
    try {
        CountScriptLines(::testing::TempDir() + "pasta_n\xC3\xA3o_existe/a\xC3\xA7\xC3\xA3o.sql");
        ADD_FAILURE() << "opened";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Message(),
                  "N\xE3o foi poss\xEDvel abrir o arquivo '" + ::testing::TempDir() +
                      "pasta_n\xE3o_existe/a\xE7\xE3o.sql': o arquivo ou a pasta n\xE3o existe.");
    }
    // A pipe would leave the run waiting for a writer.
    const std::string fifo = ::testing::TempDir() + "corvelo_script_fifo_" + std::to_string(::getpid());
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_THROW(CountScriptLines(fifo), EInOutError);
    std::remove(fifo.c_str());
}

TEST(ScriptStatementTest, OnlyTheFirstCharactersUpperCasedDecide) {
    EXPECT_TRUE(StartsWithInsertInto("insert into T values (1)"));
    EXPECT_TRUE(StartsWithInsertInto("InSeRt iNtO"));
    EXPECT_FALSE(StartsWithInsertInto(" INSERT INTO T"));
    EXPECT_FALSE(StartsWithInsertInto("INSERT  INTO T"));
    EXPECT_FALSE(StartsWithInsertInto("INSERT\tINTO T"));
    EXPECT_FALSE(StartsWithInsertInto("INSERT"));
    EXPECT_FALSE(StartsWithInsertInto("INSERT INT"));
    EXPECT_TRUE(StartsWithUpdate("update T set"));
    EXPECT_TRUE(StartsWithUpdate("UPDATEX"));
    EXPECT_FALSE(StartsWithUpdate("UPDAT"));
    EXPECT_FALSE(StartsWithUpdate("\tUPDATE"));
    // Only a to z are upper-cased: an accented capital is not an I.
    EXPECT_FALSE(StartsWithInsertInto("\xCDNSERT INTO"));
}

} // namespace
