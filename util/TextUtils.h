#pragma once
// Small text helpers shared by the bulk operations, start-up and the SQL console.
// All texts are code page 1252 bytes; none of these functions fails or keeps state.
#include <cstdint>
#include <string>

// The number in decimal, left-filled with "0" or cut to its last `width` characters.
std::string StrZeros(int32_t number, int32_t width);

// The path with a trailing backslash ("\" for the empty path).
std::string IncluiBarra(const std::string& path);

// Accented vowels and cedillas become plain upper-case letters, the ordinal signs "o",
// the apostrophe a blank; other bytes outside printable ASCII are dropped.
std::string TiraAcento(const std::string& text);

// Only the digits 0-9 of the text.
std::string SomenteNumeros(const std::string& text);

// Directory of the running executable, ending in "/".
std::string DiretorioAplicacao();
