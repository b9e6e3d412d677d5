#include "util/TextUtils.h"

#include <array>
#include <climits>
#include <initializer_list>
#include <unistd.h>

namespace {

// For every byte: what TiraAcento puts in its place; 0 drops the byte.
constexpr std::array<char, 256> MakeAccentTable() {
    std::array<char, 256> table{};
    for (int c = 0x20; c <= 0x7E; ++c)
        table[c] = static_cast<char>(c);
    // "|" stays in the kept set, so it passes unchanged (never turned into "/").
    table[0x27] = ' ';
    table[0x5C] = 0;
    table[0x60] = 0;
    auto map = [&table](std::initializer_list<unsigned char> bytes, char to) {
        for (unsigned char b : bytes)
            table[b] = to;
    };
    map({0xC1, 0xC0, 0xC2, 0xC3, 0xE1, 0xE0, 0xE2, 0xE3}, 'A');
    map({0xC9, 0xCA, 0xC8, 0xE9, 0xEA, 0xE8}, 'E');
    map({0xCD, 0xCE, 0xCC, 0xED, 0xEE, 0xEC}, 'I');
    map({0xD3, 0xD2, 0xD4, 0xD5, 0xF3, 0xF2, 0xF4, 0xF5}, 'O');
    map({0xDA, 0xD9, 0xDB, 0xFA, 0xF9, 0xFB}, 'U');
    map({0xC7, 0xE7}, 'C');
    map({0xAA, 0xBA}, 'o');
    return table;
}

constexpr std::array<char, 256> kAccentTable = MakeAccentTable();

} // namespace

std::string StrZeros(int32_t number, int32_t width) {
    if (width <= 0)
        return {};
    const std::string digits = std::to_string(number);
    const auto w = static_cast<std::size_t>(width);
    if (digits.size() >= w)
        return digits.substr(digits.size() - w);
    return std::string(w - digits.size(), '0') + digits;
}

std::string IncluiBarra(const std::string& path) {
    if (!path.empty() && path.back() == '\\')
        return path;
    return path + '\\';
}

std::string TiraAcento(const std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (char c : text) {
        const char replacement = kAccentTable[static_cast<unsigned char>(c)];
        if (replacement != 0)
            result += replacement;
    }
    return result;
}

std::string SomenteNumeros(const std::string& text) {
    std::string result;
    for (char c : text)
        if (c >= '0' && c <= '9')
            result += c;
    return result;
}

std::string DiretorioAplicacao() {
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
    // Without /proc the working directory is the best guess left.
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer)
        return "./";
    const std::string path(buffer, static_cast<std::size_t>(length));
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}
