// The rich text editor's platform-free parts: the attribute records byte for byte, tab stops
// and numbering styles, the chunked line-break normaliser, the conversion registry, Maxmin.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/Exceptions.h"
#include "richedit/Conversion.h"
#include "richedit/FormatRecords.h"
#include "richedit/LineBreaks.h"
#include "richedit/Maxmin.h"

namespace {

TEST(FormatRecordsTest, RecordsCarryOnlyTheWrittenMaskInTwipsSizedForTheVersion)
{
    auto size = SizeFormat(2, 9);
    EXPECT_EQ(size.cbSize, 84u);
    EXPECT_EQ(size.dwMask, RichMask::Size);
    EXPECT_EQ(size.yHeight, 180);
    EXPECT_EQ(size.dwEffects, 0u);

    auto offset = OffsetFormat(1, -2);
    EXPECT_EQ(offset.cbSize, 60u);
    EXPECT_EQ(offset.dwMask, RichMask::Offset);
    EXPECT_EQ(offset.yOffset, -40);

    // Bold alone clears italic, underline and strike-out: the mask covers all four.
    auto bold = StyleFormat(2, {fsBold});
    EXPECT_EQ(bold.dwMask, 0xFu);
    EXPECT_EQ(bold.dwEffects, RichMask::Bold);

    auto autoColour = ColorFormat(2, true, 0x123456);
    EXPECT_EQ(autoColour.dwMask, RichMask::Color);
    EXPECT_EQ(autoColour.dwEffects, RichMask::AutoColor);
    EXPECT_EQ(autoColour.crTextColor, 0u);
    EXPECT_EQ(ColorFormat(2, false, 0x123456).crTextColor, 0x123456u);

    EXPECT_EQ(NewParaFormat(1).cbSize, 156u);
    EXPECT_EQ(NewParaFormat(3).cbSize, 188u);

    // Everything but the written fields is zero, byte for byte.
    auto name = NameFormat(2, "Courier New");
    TCharFormatRecord expected;
    std::memset(&expected, 0, sizeof expected);
    expected.cbSize = 84;
    expected.dwMask = RichMask::Face;
    std::memcpy(expected.szFaceName, "Courier New", 11);
    EXPECT_EQ(std::memcmp(&name, &expected, sizeof name), 0);
}

TEST(FormatRecordsTest, FaceNameIsCutTo31CharactersWithItsZero)
{
    const std::string longName(40, 'x');
    auto r = NameFormat(2, longName);
    EXPECT_EQ(std::string(r.szFaceName, strnlen(r.szFaceName, 32)), std::string(31, 'x'));
    EXPECT_EQ(r.szFaceName[31], '\0');
}

TEST(FormatRecordsTest, UnderlineTypeAndSubscriptSetTheirPairedMasks)
{
    auto wave = UnderlineTypeFormat(2, 5);
    EXPECT_EQ(wave.dwMask, 0x800004u);
    EXPECT_EQ(wave.bUnderlineType, 5);
    EXPECT_EQ(wave.dwEffects, RichMask::Underline);
    EXPECT_EQ(UnderlineTypeFormat(2, 0).dwEffects, 0u);
    EXPECT_EQ(SubscriptFormat(2, 2).dwMask, 0x30000u);
    EXPECT_EQ(SubscriptFormat(2, 2).dwEffects, RichMask::Superscript);
    EXPECT_EQ(SubscriptFormat(2, 0).dwEffects, 0u);
}

TEST(FormatRecordsTest, TabStopAtIndexTakesEffectAndIndexPastTableIsRefused)
{
    auto p = NewParaFormat(2);
    SetTabStop(p, 0, 36);
    EXPECT_EQ(p.cTabCount, 1);
    EXPECT_EQ(p.rgxTabs[0], 720);
    EXPECT_EQ(p.dwMask, RichMask::ParaTabStops);
    SetTabStop(p, 4, 10);
    EXPECT_EQ(p.cTabCount, 5);
    SetTabStop(p, 2, 5);
    EXPECT_EQ(p.cTabCount, 5);  // never lowered
    EXPECT_THROW(SetTabStop(p, 32, 1), EListError);
    EXPECT_THROW(SetTabStop(p, -1, 1), EListError);
}

TEST(FormatRecordsTest, NumberingStylesMapToPlatformValuesBothWays)
{
    const std::uint16_t platform[] = {0x000, 0x200, 0x100, 0x300};
    for (int style = 0; style < 4; ++style) {
        EXPECT_EQ(NumberingStyleToPlatform(style), platform[style]);
        EXPECT_EQ(NumberingStyleFromPlatform(platform[style]), style);
    }
}

std::string Normalise(const std::vector<std::string>& chunks, bool wide = false)
{
    TLineBreakNormaliser n(wide);
    std::string out;
    for (const auto& c : chunks) n.Feed(c.data(), c.size(), out);
    n.Finish(out);
    return out;
}

TEST(LineBreaksTest, LoneCrAndLfBecomeCrLfAndCrLfStays)
{
    EXPECT_EQ(Normalise({"a\rb\nc\r\nd"}), "a\r\nb\r\nc\r\nd");
    EXPECT_EQ(Normalise({"\n\r\r\n"}), "\r\n\r\n\r\n");
    EXPECT_EQ(Normalise({"end\r"}), "end\r\n");
}

TEST(LineBreaksTest, CrAtChunkEdgeIsNeitherLostNorDoubled)
{
    // A CR LF split across chunks stays one break; a lone CR at an edge stays a break.
    EXPECT_EQ(Normalise({"a\r", "\nb"}), "a\r\nb");
    EXPECT_EQ(Normalise({"a\r", "b"}), "a\r\nb");
    EXPECT_EQ(Normalise({"a\r", "\r", "\rb"}), "a\r\n\r\n\r\nb");
}

TEST(LineBreaksTest, WideTextIsReadPerSixteenBitUnitEvenWhenSplitMidUnit)
{
    auto wide = [](std::u16string s) {
        std::string bytes;
        for (char16_t c : s) {
            bytes.push_back(static_cast<char>(c & 0xFF));
            bytes.push_back(static_cast<char>(c >> 8));
        }
        return bytes;
    };
    // U+0D0A holds the bytes of CR LF but is no line break.
    const std::string in = wide(u"a\u0D0A\rb\nc");
    EXPECT_EQ(Normalise({in}, true), wide(u"a\u0D0A\r\nb\r\nc"));
    // Split after an odd byte and between a CR and its LF.
    const std::string pair = wide(u"x\r\ny");
    EXPECT_EQ(Normalise({pair.substr(0, 3), pair.substr(3, 2), pair.substr(5)}, true),
              wide(u"x\r\ny"));
}

TEST(LineBreaksTest, InputLimitKeepsTheWorstCaseOutputInsideTheBuffer)
{
    for (bool wide : {false, true}) {
        const size_t capacity = 64, unit = wide ? 2 : 1;
        const size_t limit = TLineBreakNormaliser::InputLimit(capacity, wide);
        TLineBreakNormaliser n(wide);
        std::string out, held;
        // Hold a CR first, then feed nothing but LFs (each doubles).
        std::string cr(unit, '\0'), lfs;
        cr[0] = '\r';
        n.Feed(cr.data(), cr.size(), held);
        for (size_t i = 0; i < limit / unit; ++i) {
            lfs.push_back('\n');
            if (wide) lfs.push_back('\0');
        }
        n.Feed(lfs.data(), lfs.size(), out);
        EXPECT_LE(out.size(), capacity);
        EXPECT_GT(limit, 0u);
    }
}

TEST(ConversionRegistryTest, FixedRecordsThenLaterRegistrationsHideEarlierOnes)
{
    const TRichConversionFormat* head = ConversionFormats();
    ASSERT_NE(FindConversionFormat("txt"), nullptr);
    EXPECT_TRUE(FindConversionFormat("TXT")->PlainText);
    EXPECT_FALSE(FindConversionFormat("rtf")->PlainText);
    EXPECT_EQ(FindConversionFormat("doc"), nullptr);
    EXPECT_EQ(ConversionExtensionOf("C:\\notes\\Notes.TXT"), "txt");
    EXPECT_EQ(ConversionExtensionOf("noext"), "");

    RegisterConversionFormat("TXT", false, &NewConversion<TConversion>);
    EXPECT_FALSE(FindConversionFormat("txt")->PlainText);
    EXPECT_EQ(ConversionFormats()->Next, head);
}

TEST(MaxminTest, ScansKeepTheFirstStrictlyBetterAndEmptyListsRaise)
{
    EXPECT_EQ(Max(-1, 0), 0);
    EXPECT_EQ(Min(5, 5), 5);
    const std::int32_t one[] = {7};
    EXPECT_EQ(MaxInteger(one), 7);
    const std::int32_t ints[] = {3, -9, 12, 12, 0};
    EXPECT_EQ(MaxInteger(ints), 12);
    EXPECT_EQ(MinInteger(ints), -9);
    const std::int64_t big[] = {1, 1LL << 40, -(1LL << 41)};
    EXPECT_EQ(MaxInt64(big), 1LL << 40);
    EXPECT_EQ(MinInt64(big), -(1LL << 41));
    const TDateTime dates[] = {45000.5, 45000.25, 45001.0};
    EXPECT_EQ(MaxDateTime(dates), 45001.0);
    EXPECT_EQ(MinDateTime(dates), 45000.25);
    EXPECT_THROW(MaxInteger({}), EListError);
    EXPECT_THROW(MinFloat({}), EListError);
    std::int32_t a = 1, b = 2;
    SwapInt(a, b);
    EXPECT_EQ(a * 10 + b, 21);
}

TEST(MaxminTest, VariantsOfMixedKindsCompareEmptyFirstThenAsNumbersWhereTextReadsAsOne)
{
    const TVariant mixed[] = {TVariant{}, 2LL, String("10"), 9.5, true};
    EXPECT_EQ(MaxOf(mixed), TVariant(String("10")));  // "10" read as ten, above 9.5
    EXPECT_TRUE(VarIsEmpty(MinOf(mixed)));
    const TVariant ties[] = {1LL, 1.0, true};  // equal values: the first stays
    EXPECT_TRUE(std::holds_alternative<long long>(MaxOf(ties)));
    EXPECT_TRUE(std::holds_alternative<long long>(MinOf(ties)));
    const TVariant texts[] = {String("b"), String("B"), String("a")};
    EXPECT_EQ(MinOf(texts), TVariant(String("B")));
    const TVariant big[] = {(1LL << 53) + 1, 1LL << 53};  // beyond a double's exact range
    EXPECT_EQ(MinOf(big), TVariant(1LL << 53));
    const TVariant word[] = {1LL, String("one")};
    EXPECT_THROW(MaxOf(word), EConvertError);
}

}  // namespace

#include "richedit/FindDialogPlacement.h"

namespace {

TEST(FindDialogPlacementTest, DialogMovesAboveOrBelowTheHitOnlyWhenItCoversIt)
{
    const TScreenRect dialog{100, 100, 400, 250};  // 150 high
    // Covers neither corner: stays.
    EXPECT_FALSE(DialogTopClearOfHit({10, 400, 60, 416}, dialog, 768));
    // Covers the hit, room above it: bottom 20 pixels above the text.
    EXPECT_EQ(DialogTopClearOfHit({150, 200, 200, 216}, dialog, 768), 200 - 150 - 20);
    // Only the end corner (lowered by a line) is inside.
    EXPECT_EQ(DialogTopClearOfHit({50, 300, 150, 90}, dialog, 768), 300 - 150 - 20);
    // No room above: below the text, when the screen is tall enough.
    EXPECT_EQ(DialogTopClearOfHit({150, 120, 200, 136}, dialog, 768), 160);
    EXPECT_FALSE(DialogTopClearOfHit({150, 120, 200, 136}, dialog, 200));
}

}  // namespace
