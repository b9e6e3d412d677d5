#pragma once
// Small text-file services: the settings file and script files use them.
#include <string>

// True for a file (or a link to one) that exists; false for directories.
bool FileExists(const std::string& path);

// The first line of a text file: its bytes up to the first line feed, without
// a carriage return right before it; a byte 26 ends the text like the end of
// the file. Throws EInOutError when the file cannot be opened or read.
std::string ReadFirstLine(const std::string& path);

// Creates or truncates the file and writes the line followed by CR LF.
// Throws EInOutError when the file cannot be created or written.
void WriteSingleLine(const std::string& path, const std::string& line);
