// Date and time encoding on the day count since 30 December 1899, and the local clock.
#include "framework/DateTime.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <ctime>

#include "framework/Exceptions.h"

namespace {

// Days from 1 January of year 1 to 30 December 1899.
constexpr std::int64_t DateDelta = 693594;

std::atomic<TClock> replacementClock{nullptr};

}  // namespace

bool IsLeapYear(int Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

int DaysPerMonth(int Year, int Month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (Month < 1 || Month > 12) return 0;
    return days[Month - 1] + (Month == 2 && IsLeapYear(Year) ? 1 : 0);
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date)
{
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1 ||
        Day > DaysPerMonth(Year, Month))
        return false;
    std::int64_t days = Day;
    for (int m = 1; m < Month; ++m) days += DaysPerMonth(Year, m);
    std::int64_t y = Year - 1;
    days += y * 365 + y / 4 - y / 100 + y / 400;
    Date = static_cast<double>(days - DateDelta);
    return true;
}

TDateTime EncodeDate(int Year, int Month, int Day)
{
    TDateTime d;
    if (!TryEncodeDate(Year, Month, Day, d))
        throw EConvertError(String("Invalid argument to date encode"));
    return d;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time)
{
    if (Hour < 0 || Hour > 23 || Min < 0 || Min > 59 || Sec < 0 || Sec > 59 || MSec < 0 ||
        MSec > 999)
        return false;
    Time = ((Hour * 3600 + Min * 60 + Sec) * 1000.0 + MSec) / MSecsPerDay;
    return true;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec)
{
    TDateTime t;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, t))
        throw EConvertError(String("Invalid argument to time encode"));
    return t;
}

void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day)
{
    double whole = std::trunc(Date);
    // Outside year 1 to 9999 (and for NaN) there is no date to give.
    if (!(whole >= -693593.0 && whole <= 2958465.0))
        throw EConvertError(String("Invalid argument to date decode"));
    std::int64_t t =
        static_cast<std::int64_t>(whole) + DateDelta - 1;  // days since 1 Jan 1, from 0
    std::int64_t y = 1;
    std::int64_t n400 = t / 146097;
    t %= 146097;
    std::int64_t n100 = t / 36524;
    t %= 36524;
    if (n100 == 4) {  // 31 December of a year divisible by 400
        n100 = 3;
        t += 36524;
    }
    std::int64_t n4 = t / 1461;
    t %= 1461;
    std::int64_t n1 = t / 365;
    t %= 365;
    if (n1 == 4) {  // 31 December of a leap year
        n1 = 3;
        t += 365;
    }
    y += n400 * 400 + n100 * 100 + n4 * 4 + n1;
    int m = 1;
    while (t >= DaysPerMonth(static_cast<int>(y), m)) {
        t -= DaysPerMonth(static_cast<int>(y), m);
        ++m;
    }
    Year = static_cast<Word>(y);
    Month = static_cast<Word>(m);
    Day = static_cast<Word>(t + 1);
}

void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec)
{
    double fraction = std::fabs(Time - std::trunc(Time));
    long long ms = std::llround(fraction * MSecsPerDay);
    if (ms >= 86400000) ms = 86399999;
    if (ms < 0) ms = 0;
    Hour = static_cast<Word>(ms / 3600000);
    Min = static_cast<Word>(ms / 60000 % 60);
    Sec = static_cast<Word>(ms / 1000 % 60);
    MSec = static_cast<Word>(ms % 1000);
}

TDateTime SystemClock()
{
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t seconds = system_clock::to_time_t(now);
    auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    if (ms < 0) ms += 1000;
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59),
                      static_cast<int>(ms));
}

void SetClock(TClock Clock) { replacementClock.store(Clock); }

TDateTime Now()
{
    TClock c = replacementClock.load();
    return c ? c() : SystemClock();
}

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time()
{
    TDateTime n = Now();
    return n - std::trunc(n);
}
