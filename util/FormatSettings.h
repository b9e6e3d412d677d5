#pragma once
// The process-wide number and date settings that every conversion between numbers
// or dates and text reads. The application may overwrite them from the system locale
// at start; ApplyProgramFormatSettings then fixes the program's own three.
#include <string>

struct FormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    // "/" in it stands for DateSeparator.
    std::string ShortDateFormat = "dd/mm/yyyy";
    char DateSeparator = '/';
    // ":" in it stands for TimeSeparator.
    std::string LongTimeFormat = "hh:mm:ss";
    char TimeSeparator = ':';
};

FormatSettings& formatSettings();

// Decimal ".", thousands ",", short date "dd/mm/yyyy"; the rest keeps the system's values.
void ApplyProgramFormatSettings();
