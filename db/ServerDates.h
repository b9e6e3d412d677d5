#pragma once
// Dates and times between the server's encodings and the program's day numbers
// (days since 30 December 1899, time of day as the fraction). Internal to db/*.cpp.
#include "db/ClientLibrary.h"

double DateFromServer(ISC_DATE date);
ISC_DATE DateToServer(double dateTime);

// The server keeps ten-thousandths of a second; the program keeps milliseconds.
double TimeFromServer(ISC_TIME time);
ISC_TIME TimeToServer(double dateTime);

double TimestampFromServer(const ISC_TIMESTAMP& timestamp);
ISC_TIMESTAMP TimestampToServer(double dateTime);
