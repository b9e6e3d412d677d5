#pragma once
// The workbook's XML is UTF-8, while every text of the program is 8-bit code
// page 1252.
#include <string>

// Code page 1252 text as UTF-8. The five bytes the code page leaves undefined
// (81, 8D, 8F, 90, 9D hex) become the control characters of the same number,
// as the system's own conversion does, so no byte is lost.
std::string AnsiToUtf8(const std::string& text);

// The same, appended to `out`.
void AppendAnsiAsUtf8(std::string& out, const std::string& text);
