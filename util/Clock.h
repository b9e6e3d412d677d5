#pragma once
// The current local date and time as a date-time value (see DateText.h). Tests and the
// application may replace the source; the default reads the system clock.
#include <functional>

double Now();

// The year of Now(); the two-digit year window of date conversion depends on it.
int CurrentYear();

// An empty function restores the system clock.
void SetNowSource(std::function<double()> source);
