// A fixed "now" and a replaceable date locale for the date tests, restored after each test.
#pragma once

#include <gtest/gtest.h>

#include "framework/DateTime.h"
#include "util/DateLocale.h"

class DateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetNow(2026, 12, 7);
        locale_ = SystemDateLocale();
        SetDateLocale(&locale_);
        SetClock([] { return fixedNow_; });
    }
    void TearDown() override
    {
        SetClock(nullptr);
        SetDateLocale(nullptr);
    }
    static void SetNow(int Year, int Month, int Day)
    {
        fixedNow_ = EncodeDate(Year, Month, Day) + EncodeTime(10, 30, 0, 0);
    }
    // The locale in force during the test; change it freely.
    TDateLocale& DateSettings() { return locale_; }

private:
    inline static TDateTime fixedNow_ = 0;
    TDateLocale locale_;
};
