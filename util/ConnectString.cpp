#include "util/ConnectString.h"

namespace {
bool startsWithDriveLetter(const std::string& name) {
    if (name.size() < 2 || name[1] != ':')
        return false;
    const char letter = name[0];
    return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}
} // namespace

std::string ComposeConnectString(const std::string& serverPrefix, const std::string& fileName) {
    return serverPrefix + (startsWithDriveLetter(fileName) ? fileName.substr(2) : fileName);
}
