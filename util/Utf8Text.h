#pragma once
// Every text of the program is 8-bit code page 1252, while the file system's
// names, the system's own texts and the workbook's XML are UTF-8.
#include <string>

// Code page 1252 text as UTF-8. The five bytes the code page leaves undefined
// (81, 8D, 8F, 90, 9D hex) become the control characters of the same number,
// as the system's own conversion does, so no byte is lost.
std::string AnsiToUtf8(const std::string& text);

// The same, appended to `out`.
void AppendAnsiAsUtf8(std::string& out, const std::string& text);

// UTF-8 text (a path, a text of the system) as code page 1252, for a message.
// A character the code page cannot hold, and a byte that is not UTF-8, become
// "?": the message stays readable instead of showing the bytes as accents.
std::string Utf8ToAnsi(const std::string& text);

// Holds characters beyond ASCII and is well-formed UTF-8: text of the system
// rather than code page 1252, where such byte runs hardly ever occur.
bool IsUtf8BeyondAscii(const std::string& text);
