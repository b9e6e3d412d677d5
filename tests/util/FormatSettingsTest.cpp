#include "util/FormatSettings.h"

#include "tests/util/TestHelpers.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatSettingsTest, ProgramSettingsChangeOnlyNumberSeparatorsAndShortDate) {
    SettingsGuard guard;
    FormatSettings& settings = formatSettings();
    settings = {',', '.', "yyyy-mm-dd", '-', "h:mm:ss AM/PM", '.'};

    ApplyProgramFormatSettings();

    EXPECT_EQ(settings.DecimalSeparator, '.');
    EXPECT_EQ(settings.ThousandSeparator, ',');
    EXPECT_EQ(settings.ShortDateFormat, "dd/mm/yyyy");
    EXPECT_EQ(settings.DateSeparator, '-');
    EXPECT_EQ(settings.LongTimeFormat, "h:mm:ss AM/PM");
    EXPECT_EQ(settings.TimeSeparator, '.');
}

} // namespace
