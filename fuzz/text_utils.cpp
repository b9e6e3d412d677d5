// The small text helpers: what they keep, what they drop, and their widths.
#include "fuzz/FuzzCheck.h"
#include "util/TextUtils.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

bool IsKept(unsigned char c) {
    return c >= 0x20 && c <= 0x7E && c != '\'' && c != '\\' && c != '`';
}

void CheckTiraAcento(const std::string& text) {
    const std::string plain = TiraAcento(text);
    FUZZ_CHECK(plain.size() <= text.size());
    FUZZ_CHECK(std::all_of(plain.begin(), plain.end(),
                           [](char c) { return IsKept(static_cast<unsigned char>(c)); }));
    FUZZ_CHECK(TiraAcento(plain) == plain);
    // A text of kept characters alone passes unchanged, and so keeps its length.
    std::string kept;
    for (char c : text)
        if (IsKept(static_cast<unsigned char>(c)))
            kept += c;
    FUZZ_CHECK(TiraAcento(kept) == kept);
}

void CheckSomenteNumeros(const std::string& text) {
    const std::string digits = SomenteNumeros(text);
    FUZZ_CHECK(std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }));
    FUZZ_CHECK(static_cast<std::ptrdiff_t>(digits.size()) ==
               std::count_if(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }));
    FUZZ_CHECK(SomenteNumeros(digits) == digits);
}

void CheckStrZeros(int32_t number, int32_t width) {
    const std::string text = StrZeros(number, width);
    if (width <= 0) {
        FUZZ_CHECK(text.empty());
        return;
    }
    FUZZ_CHECK(text.size() == static_cast<std::size_t>(width));
    const std::string padded = std::string(static_cast<std::size_t>(width), '0') + std::to_string(number);
    FUZZ_CHECK(padded.compare(padded.size() - text.size(), text.size(), text) == 0);
}

void CheckIncluiBarra(const std::string& path) {
    const std::string withBar = IncluiBarra(path);
    FUZZ_CHECK(withBar.back() == '\\');
    FUZZ_CHECK(withBar == path || withBar == path + '\\');
    FUZZ_CHECK(IncluiBarra(withBar) == withBar);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckTiraAcento(text);
    CheckSomenteNumeros(text);
    CheckIncluiBarra(text);
    if (size >= 6) {
        int32_t number = 0;
        int16_t width = 0;
        std::memcpy(&number, data, sizeof number);
        std::memcpy(&width, data + sizeof number, sizeof width);
        // Widths stay small: a huge one is a valid, merely huge, text.
        CheckStrZeros(number, width % 512);
    }
    return 0;
}
