#pragma once
// Nothing is deleted without two answers of OK: the question naming the
// operation, then "Tem Certeza ? ? ?".
#include <string>

// True only when both warnings were answered OK; the second is asked only
// after OK on the first.
bool ConfirmedTwice(const std::string& question);
