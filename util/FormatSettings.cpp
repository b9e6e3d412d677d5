#include "util/FormatSettings.h"

FormatSettings& formatSettings() {
    static FormatSettings settings;
    return settings;
}

void ApplyProgramFormatSettings() {
    FormatSettings& settings = formatSettings();
    settings.DecimalSeparator = '.';
    settings.ThousandSeparator = ',';
    settings.ShortDateFormat = "dd/mm/yyyy";
}
