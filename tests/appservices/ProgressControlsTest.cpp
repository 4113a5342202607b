// The progress control registry on real progress bars and stand-in indicators: the default
// record, a derived class's own names winning, unregistering a base with its derived ones,
// and the property kinds that are refused.
#include <gtest/gtest.h>

#include "framework/TypeInfo.h"
#include "framework/gui/ButtonControls.h"
#include "framework/gui/CommonControls.h"
#include "util/ProgressControls.h"

namespace {

const String LongName(63, 'L');

// A progress bar with a gauge of its own: a float level and a text label beside the bar's.
class TLevelBar : public TProgressBar {
public:
    using TProgressBar::TProgressBar;
    int Top = 0, Bottom = 0, Long = 0;
    double Level = 0;
    String Label;
};

void PublishLevelBar()
{
    static bool done = false;
    if (done) return;
    done = true;
    auto ord = [](const char* name, int TLevelBar::*field) {
        return OrdProp<TLevelBar>(
            name, tkInteger, [field](TLevelBar* b) -> long long { return b->*field; },
            [field](TLevelBar* b, long long v) { b->*field = static_cast<int>(v); });
    };
    RegisterPublished<TLevelBar>({ord("Top", &TLevelBar::Top), ord("Bottom", &TLevelBar::Bottom),
                                  ord(LongName.c_str(), &TLevelBar::Long),
                                  FloatProp<TLevelBar>(
                                      "Level", ftDouble, [](TLevelBar* b) { return b->Level; },
                                      [](TLevelBar* b, double v) { b->Level = v; }),
                                  StrProp<TLevelBar>(
                                      "Label", [](TLevelBar* b) { return b->Label; },
                                      [](TLevelBar* b, const String& v) { b->Label = v; })});
}

class TPlainBar : public TProgressBar {
public:
    using TProgressBar::TProgressBar;
};

class ProgressRegistry : public ::testing::Test {
protected:
    void SetUp() override { PublishLevelBar(); }
    void TearDown() override
    {
        UnRegisterProgressControl(ClassOf<TProgressBar>("TProgressBar"));
        RegisterProgressControl(ClassOf<TProgressBar>("TProgressBar"), "Max", "Min", "Position");
    }
    TPlainBar plain{nullptr};
    TLevelBar level{nullptr};
};

}  // namespace

TEST_F(ProgressRegistry, DerivedBarIsDrivenThroughTheDefaultRecord)
{
    ASSERT_TRUE(SupportsProgressControl(&plain));
    EXPECT_TRUE(SetProgressMax(&plain, 500));
    EXPECT_TRUE(SetProgressMin(&plain, 20));
    EXPECT_TRUE(SetProgressValue(&plain, 250));
    EXPECT_EQ(plain.Max(), 500);
    EXPECT_EQ(plain.Min(), 20);
    EXPECT_EQ(plain.Position(), 250);

    TButton button(nullptr);
    EXPECT_FALSE(SupportsProgressControl(&button));
    EXPECT_FALSE(SetProgressValue(&button, 1));
    EXPECT_FALSE(SupportsProgressControl(nullptr));
    EXPECT_FALSE(SetProgressMax(nullptr, 1));
}

TEST_F(ProgressRegistry, DerivedRegistrationWinsWhileTheBaseKeepsItsRecord)
{
    RegisterProgressControl(ClassOf<TLevelBar>("TLevelBar"), "Top", "Bottom", "Level");
    EXPECT_TRUE(SetProgressMax(&level, 90));
    EXPECT_TRUE(SetProgressMin(&level, 10));
    EXPECT_TRUE(SetProgressValue(&level, 42));
    EXPECT_EQ(level.Top, 90);
    EXPECT_EQ(level.Bottom, 10);
    EXPECT_DOUBLE_EQ(level.Level, 42.0);
    EXPECT_EQ(level.Max(), 100);  // the bar's own properties were not touched

    EXPECT_TRUE(SetProgressMax(&plain, 77));
    EXPECT_EQ(plain.Max(), 77);
}

TEST_F(ProgressRegistry, StringAndMissingPropertiesAreRefusedAndLongNamesCut)
{
    RegisterProgressControl(ClassOf<TLevelBar>("TLevelBar"), LongName + "tail", "NoSuchProp",
                            "Label");
    EXPECT_FALSE(SetProgressValue(&level, 5));
    EXPECT_EQ(level.Label, "");
    EXPECT_FALSE(SetProgressMin(&level, 5));
    EXPECT_TRUE(SetProgressMax(&level, 63));
    EXPECT_EQ(level.Long, 63);
}

TEST_F(ProgressRegistry, UnregisteringTheBaseRemovesItsDerivedRecords)
{
    RegisterProgressControl(ClassOf<TLevelBar>("TLevelBar"), "Top", "Bottom", "Level");
    RegisterProgressControl(ClassOf<TButton>("TButton"), "Max", "Min", "Position");
    UnRegisterProgressControl(ClassOf<TProgressBar>("TProgressBar"));
    EXPECT_FALSE(SupportsProgressControl(&plain));
    EXPECT_FALSE(SupportsProgressControl(&level));
    TButton button(nullptr);
    EXPECT_TRUE(SupportsProgressControl(&button));
    UnRegisterProgressControl(ClassOf<TButton>("TButton"));
}
