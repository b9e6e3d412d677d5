#include "util/AnsiText.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<unsigned char, 256> MakeUpperTable() {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[c] = static_cast<unsigned char>(c);
    for (int c = 'a'; c <= 'z'; ++c)
        table[c] = static_cast<unsigned char>(c - 0x20);
    // The accented small letters map 0x20 down, except the division sign.
    for (int c = 0xE0; c <= 0xFE; ++c)
        if (c != 0xF7)
            table[c] = static_cast<unsigned char>(c - 0x20);
    table[0x9A] = 0x8A; // s caron
    table[0x9C] = 0x8C; // oe
    table[0x9E] = 0x8E; // z caron
    table[0xFF] = 0x9F; // y diaeresis
    return table;
}

constexpr std::array<unsigned char, 256> kUpper = MakeUpperTable();

unsigned char upper(char c) {
    return kUpper[static_cast<unsigned char>(c)];
}

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

} // namespace

std::string AnsiUpperCase(const std::string& text) {
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(upper(c));
    return result;
}

bool AnsiSameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return upper(x) == upper(y); });
}

std::string Trim(const std::string& text) {
    const auto first = std::find_if_not(text.begin(), text.end(), isBlank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isBlank).base();
    return first < last ? std::string(first, last) : std::string();
}

std::string TrimRight(const std::string& text) {
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isBlank).base();
    return std::string(text.begin(), last);
}
