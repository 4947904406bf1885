#include "job/Estimate.h"

#include "JobTestSupport.h"

namespace {

struct TEstimate {
    bool Changed;
    std::string Label43;
    std::string Label85;
};

TEstimate Estimate(const char* bitrateText)
{
    TJobSettings s;
    InitJobSettings(s);
    s.BitrateText = bitrateText;
    TText label43 = "unchanged 4,3";
    TText label85 = "unchanged 8,5";
    const bool changed = ComputeEstimate(s, label43, label85);
    return {changed, Str(label43), Str(label85)};
}

void ExpectEstimate(const char* bitrateText, const char* label43, const char* label85)
{
    const TEstimate estimate = Estimate(bitrateText);
    EXPECT_TRUE(estimate.Changed) << bitrateText;
    EXPECT_EQ(estimate.Label43, label43) << bitrateText;
    EXPECT_EQ(estimate.Label85, label85) << bitrateText;
}

void ExpectNoChange(const char* bitrateText)
{
    const TEstimate estimate = Estimate(bitrateText);
    EXPECT_FALSE(estimate.Changed) << bitrateText;
    EXPECT_EQ(estimate.Label43, "unchanged 4,3") << bitrateText;
    EXPECT_EQ(estimate.Label85, "unchanged 8,5") << bitrateText;
}

} // namespace

TEST(ComputeEstimate, EveryBitratePreset)
{
    ExpectEstimate("1000", "DVD 4,3 GB: 6 Hr 35 min 56 sec", "DVD 8,5 GB: 13 Hr 2 min 41 sec");
    ExpectEstimate("2000", "DVD 4,3 GB: 3 Hr 54 min 12 sec", "DVD 8,5 GB: 7 Hr 42 min 57 sec");
    ExpectEstimate("3000", "DVD 4,3 GB: 2 Hr 46 min 16 sec", "DVD 8,5 GB: 5 Hr 28 min 41 sec");
    ExpectEstimate("4000", "DVD 4,3 GB: 2 Hr 8 min 53 sec", "DVD 8,5 GB: 4 Hr 14 min 47 sec");
    ExpectEstimate("5000", "DVD 4,3 GB: 1 Hr 45 min 14 sec", "DVD 8,5 GB: 3 Hr 28 min 1 sec");
    ExpectEstimate("6000", "DVD 4,3 GB: 1 Hr 28 min 54 sec", "DVD 8,5 GB: 2 Hr 55 min 45 sec");
    ExpectEstimate("7000", "DVD 4,3 GB: 1 Hr 16 min 58 sec", "DVD 8,5 GB: 2 Hr 32 min 9 sec");
    ExpectEstimate("8000", "DVD 4,3 GB: 1 Hr 7 min 51 sec", "DVD 8,5 GB: 2 Hr 14 min 9 sec");
    ExpectEstimate("9000", "DVD 4,3 GB: 1 Hr 0 min 40 sec", "DVD 8,5 GB: 1 Hr 59 min 57 sec");
}

TEST(ComputeEstimate, StartValuesGiveTheNineThousandEstimate)
{
    TJobSettings s;
    InitJobSettings(s);
    TText label43, label85;
    ASSERT_TRUE(ComputeEstimate(s, label43, label85));
    EXPECT_EQ(Str(label43), "DVD 4,3 GB: 1 Hr 0 min 40 sec");
    EXPECT_EQ(Str(label85), "DVD 8,5 GB: 1 Hr 59 min 57 sec");
    EXPECT_EQ(s.BitrateValue, 9448);
    EXPECT_EQ(s.CapacityMB, 8500);
    EXPECT_EQ(s.Hours, 1);
    EXPECT_EQ(s.Minutes, 59);
    EXPECT_EQ(s.Seconds, 57);
    EXPECT_EQ(Str(s.SecondsText), "57");
}

TEST(ComputeEstimate, AnyWayOfWritingFiveHundred)
{
    for (const char* text : {"500", " 500", "+500", "$1F4", "0500", "x1f4", "0X1F4"})
        ExpectEstimate(text, "DVD 4,3 GB: 10 Hr 4 min 46 sec", "DVD 8,5 GB: 19 Hr 55 min 29 sec");
}

TEST(ComputeEstimate, NegativeRatesGiveNegativeTimes)
{
    ExpectEstimate("-500", "DVD 4,3 GB: -183 Hr -45 min -38 sec", "DVD 8,5 GB: -363 Hr -14 min -52 sec");
}

TEST(ComputeEstimate, NoNumberOrNoRateMeansNoChange)
{
    for (const char* text : {"", "abc", "500 ", "5 00", "500k", "-448", "$FFFFFE40"})
        ExpectNoChange(text);
}

TEST(ComputeEstimate, HugeRatesDoNotWrapTheDivisor)
{
    // 1193047 × 3600 passes 2^32 by only 1904: wrapped in 32 bits it would claim
    // thousands of hours.
    ExpectEstimate("1192599", "DVD 4,3 GB: 0 Hr 0 min 28 sec", "DVD 8,5 GB: 0 Hr 0 min 56 sec");
    ExpectEstimate("2147483647", "DVD 4,3 GB: 0 Hr 0 min 0 sec", "DVD 8,5 GB: 0 Hr 0 min 0 sec");
    ExpectEstimate("-2147483648", "DVD 4,3 GB: 0 Hr 0 min 0 sec", "DVD 8,5 GB: 0 Hr 0 min 0 sec");
    // One kilobit a second: the longest times there are.
    ExpectEstimate("-447", "DVD 4,3 GB: 9555 Hr 33 min 20 sec", "DVD 8,5 GB: 18888 Hr 53 min 20 sec");
}
