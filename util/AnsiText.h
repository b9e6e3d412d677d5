#pragma once
// Letter case and blanks of code page 1252 text, as identifiers and field
// names are compared and normalised (accented letters included).
#include <string>

// Upper case of every letter of code page 1252 (a-z and the accented letters).
std::string AnsiUpperCase(const std::string& text);

// Equal ignoring letter case.
bool AnsiSameText(const std::string& a, const std::string& b);

// Without the blanks and control characters at both ends.
std::string Trim(const std::string& text);

// Without the blanks and control characters at the end.
std::string TrimRight(const std::string& text);
