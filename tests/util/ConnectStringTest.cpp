#include "util/ConnectString.h"

#include <gtest/gtest.h>

TEST(ComposeConnectString, TheServerPrefixReplacesTheDriveLetter) {
    EXPECT_EQ(ComposeConnectString("10.0.0.1:D:", "C:\\Sistema\\BANCO.GDB"),
              "10.0.0.1:D:\\Sistema\\BANCO.GDB");
    EXPECT_EQ(ComposeConnectString("10.0.0.1:D:", "C:\\X.FDB"), "10.0.0.1:D:\\X.FDB");
    EXPECT_EQ(ComposeConnectString("srv:", "c:"), "srv:");
}

TEST(ComposeConnectString, PathsWithoutADriveLetterAreKeptWhole) {
    EXPECT_EQ(ComposeConnectString("127.0.0.1/3057:", "/srv/dados/BANCO.FDB"),
              "127.0.0.1/3057:/srv/dados/BANCO.FDB");
    EXPECT_EQ(ComposeConnectString("10.0.0.1:D:", ""), "10.0.0.1:D:") << "a cancelled first choice";
    EXPECT_EQ(ComposeConnectString("srv:", "1:/x"), "srv:1:/x");
}
