// Platform-free utilities: rectangle edges, memory compare, text shortening, the wrapping
// tick counter, class-name prefixes and variants from value lists.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "framework/Exceptions.h"
#include "util/Geometry.h"
#include "util/MemoryBlocks.h"
#include "util/SmallStrings.h"
#include "util/TextFit.h"
#include "util/TickWait.h"
#include "util/VariantArrays.h"

namespace {
struct Pt {
    int x, y;
};
struct Box {
    int Left, Top, Right, Bottom;
};
}  // namespace

TEST(Geometry, EveryEdgeOfARectangleIsInside)
{
    const Box r{10, 20, 30, 50};
    EXPECT_EQ(WidthOf(r), 20);
    EXPECT_EQ(HeightOf(r), 30);
    for (Pt p : {Pt{10, 20}, Pt{30, 50}, Pt{30, 20}, Pt{10, 50}, Pt{20, 35}})
        EXPECT_TRUE(PointInRect(p, r)) << p.x << "," << p.y;
    for (Pt p : {Pt{9, 35}, Pt{31, 35}, Pt{20, 19}, Pt{20, 51}})
        EXPECT_FALSE(PointInRect(p, r)) << p.x << "," << p.y;
}

TEST(CompareMem, FindsADifferenceInTheWordsAndInTheTail)
{
    std::vector<unsigned char> a(23), b(23);
    for (size_t i = 0; i < a.size(); ++i) a[i] = b[i] = static_cast<unsigned char>(i * 7);
    EXPECT_TRUE(CompareMem(a.data(), b.data(), 23));
    EXPECT_TRUE(CompareMem(a.data(), nullptr, 0));
    // Unaligned starts and every length from 1 to 22 around each single difference.
    for (size_t at = 0; at < 22; ++at) {
        b[at] ^= 0x80;
        EXPECT_FALSE(CompareMem(a.data(), b.data(), 23)) << at;
        EXPECT_TRUE(CompareMem(a.data(), b.data(), static_cast<int>(at))) << at;
        EXPECT_EQ(CompareMem(a.data() + 1, b.data() + 1, 22), at == 0) << at;
        b[at] ^= 0x80;
    }
}

TEST(MemoryBlocks, HugeMoveShiftsOverlappingEntries)
{
    int v[5] = {};
    void* entries[5] = {&v[0], &v[1], &v[2], &v[3], &v[4]};
    HugeMove(entries, 1, 0, 4);
    EXPECT_EQ(entries[1], &v[0]);
    EXPECT_EQ(entries[4], &v[3]);
    void* p = &v[0];
    HugeInc(p, 8);
    EXPECT_EQ(p, &v[2]);
    HugeDec(p, 4);
    EXPECT_EQ(p, &v[1]);
}

TEST(MinimizeText, FitsUnchangedElseCutWithDotsElseDotsAlone)
{
    const TTextMeasure tenPerChar = [](std::string_view s) { return 10 * int(s.size()); };
    EXPECT_EQ(MinimizeText("abcdef", tenPerChar, 60), "abcdef");
    EXPECT_EQ(MinimizeText("abcdef", tenPerChar, 59), "ab...");
    EXPECT_EQ(MinimizeText("abcdef", tenPerChar, 10), "...");
    EXPECT_EQ(MinimizeText("", tenPerChar, 0), "");
}

TEST(WaitTicks, ZeroPumpsOnceAndAWrappingCounterDoesNotEndTheWaitEarly)
{
    std::uint32_t now = 5;
    int pumps = 0;
    WaitTicks(
        0, [&] { return now; }, [&] { ++pumps; });
    EXPECT_EQ(pumps, 1);

    // Starts 10 ticks before the counter wraps; each pump is 1 tick.
    now = 0xFFFFFFF6u;
    pumps = 0;
    WaitTicks(
        25, [&] { return now; }, [&] { ++pumps, ++now; });
    EXPECT_EQ(pumps, 25);
}

TEST(SmallStrings, DropTTakesOnlyALeadingTOffALongerName)
{
    EXPECT_EQ(DropT("TForm"), "Form");
    EXPECT_EQ(DropT("tList"), "List");
    EXPECT_EQ(DropT("T"), "T");
    EXPECT_EQ(DropT("Form"), "Form");
    EXPECT_EQ(DropT(""), "");
    const auto copy = StrPAlloc("abc");
    EXPECT_STREQ(copy.get(), "abc");
}

TEST(MakeVariant, OneValueIsItselfSeveralAreAnArrayInTheirOrder)
{
    const std::vector<TVariant> three{TVariant(7LL), TVariant(String("a")), TVariant(true)};
    EXPECT_EQ(MakeVariant(std::span(three.data(), 1)), TVariant(7LL));
    EXPECT_TRUE(VarIsEmpty(MakeVariant({})));
    EXPECT_EQ(VarArrayItems(MakeVariant(three)), three);
    EXPECT_THROW(VarToStr(MakeVariant(three)), EVariantError);
}
