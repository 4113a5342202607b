// TDateTime: days since 30 December 1899 as a double, the fraction being the time of day.
// Encoding, decoding and the current local time through a clock tests can replace.
#pragma once

#include <cstdint>

#include "framework/Strings.h"

using TDateTime = double;
using Word = std::uint16_t;

constexpr double MSecsPerDay = 86400000.0;

// Raises EConvertError "Invalid argument to date encode" for a day that does not exist or a
// year outside 1..9999.
TDateTime EncodeDate(int Year, int Month, int Day);
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date);
// Raises EConvertError "Invalid argument to time encode" outside 0..23:59:59.999.
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time);

// The date of the whole part (cut toward zero). Raises EConvertError for values whose year
// falls outside 1..9999.
void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day);
// The time of day of the fraction (its absolute value, rounded to the millisecond; a value
// that rounds to midnight of the next day decodes as 23:59:59.999).
void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec);

bool IsLeapYear(int Year);
int DaysPerMonth(int Year, int Month);  // Month 1..12

// The local date and time, today's date (whole part) and the time of day (fraction).
TDateTime Now();
TDateTime Date();
TDateTime Time();

// Tests replace the clock that Now, Date and Time read; nullptr restores the system clock.
using TClock = TDateTime (*)();
void SetClock(TClock Clock);
TDateTime SystemClock();
