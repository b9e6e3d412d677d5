#include "util/Utf8Text.h"

#include <cstdint>
#include <utility>

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

namespace {

// The code page 1252 byte of a Unicode character, 0 when it has none.
unsigned char ansiByteOf(std::uint32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (unsigned char i = 0; i < 32; ++i)
        if (kHighControls[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    return 0;
}

// The length of the UTF-8 sequence led by `lead`, 0 when it leads none.
int sequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// The code point of the well-formed sequence at `at`, with its length; 0
// length when the bytes there are not UTF-8.
std::pair<std::uint32_t, int> decodeAt(const std::string& text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80)
        return {lead, 1};
    const int length = sequenceLength(lead);
    if (length == 0 || at + static_cast<std::size_t>(length) > text.size())
        return {0, 0};
    std::uint32_t c = length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + static_cast<std::size_t>(k)]);
        if ((next & 0xC0) != 0x80)
            return {0, 0};
        c = (c << 6) | (next & 0x3F);
    }
    return {c, length};
}

} // namespace

bool IsUtf8BeyondAscii(const std::string& text) {
    bool beyondAscii = false;
    for (std::size_t i = 0; i < text.size();) {
        const auto [c, length] = decodeAt(text, i);
        if (length == 0)
            return false;
        beyondAscii = beyondAscii || c >= 0x80;
        i += static_cast<std::size_t>(length);
    }
    return beyondAscii;
}

std::string Utf8ToAnsi(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto [c, length] = decodeAt(text, i);
        if (length == 0) {
            out += '?';
            ++i;
            continue;
        }
        const unsigned char byte = ansiByteOf(c);
        out += byte || c == 0 ? static_cast<char>(byte) : '?';
        i += static_cast<std::size_t>(length);
    }
    return out;
}
