#include "export/Utf8Text.h"

#include <cstdint>

namespace {

// 80..9F hex, where code page 1252 differs from Latin-1.
constexpr std::uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendCodePoint(std::string& out, std::uint16_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

void AppendAnsiAsUtf8(std::string& out, const std::string& text) {
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x80)
            out += ch;
        else if (byte < 0xA0)
            appendCodePoint(out, kHighControls[byte - 0x80]);
        else
            appendCodePoint(out, byte);
    }
}

std::string AnsiToUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    AppendAnsiAsUtf8(out, text);
    return out;
}
