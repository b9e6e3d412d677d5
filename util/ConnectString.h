#pragma once
// The connect string composed from the server prefix and a chosen database file.
#include <string>

// The server prefix followed by the file name. A name that starts with a
// drive letter and a colon loses them (the prefix names the server's drive);
// any other name, such as a Linux path, is kept whole.
std::string ComposeConnectString(const std::string& serverPrefix, const std::string& fileName);
