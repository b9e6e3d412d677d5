#pragma once
// Why the system refused a file operation, as the program's messages say it:
// in Portuguese and in code page 1252, whatever language the system speaks.
#include <string>

// The reason for an errno value ("sem permissão", "a pasta não existe", ...).
std::string SystemReason(int error);

// "<what> '<path>': <reason>." for a path as the file system holds it (UTF-8).
std::string FileErrorMessage(const std::string& what, const std::string& path, int error);
