#include "job/Estimate.h"

#include "JobTestSupport.h"

namespace {

// Estimates for bitrateText; labels that are not set stay "unchanged".
void ExpectEstimate(const char* bitrateText, const char* label43, const char* label85)
{
    TJobSettings s;
    InitJobSettings(s);
    s.BitrateText = bitrateText;
    TText got43 = "unchanged", got85 = "unchanged";
    EXPECT_EQ(ComputeEstimate(s, got43, got85), std::string(label43) != "unchanged") << bitrateText;
    EXPECT_EQ(Str(got43), label43) << bitrateText;
    EXPECT_EQ(Str(got85), label85) << bitrateText;
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

TEST(ComputeEstimate, AnyWayOfWritingFiveHundred)
{
    for (const char* text : {"500", " 500", "+500", "$1F4", "0500", "x1f4", "0X1F4"})
        ExpectEstimate(text, "DVD 4,3 GB: 10 Hr 4 min 46 sec", "DVD 8,5 GB: 19 Hr 55 min 29 sec");
}

TEST(ComputeEstimate, NoNumberOrNoRateMeansNoChange)
{
    // From -448 ($FFFFFE40) down, no rate is left once the audio is added.
    for (const char* text : {"", "not a number", "abc", "500 ", "5 00", "500k", "-448", "$FFFFFE40", "-449",
                             "-500", "-900", "-2147483648"})
        ExpectEstimate(text, "unchanged", "unchanged");
}

TEST(ComputeEstimate, HugeRatesDoNotWrapTheDivisor)
{
    // 1193047 × 3600 passes 2^32 by only 1904: wrapped in 32 bits it would claim
    // thousands of hours.
    ExpectEstimate("1192599", "DVD 4,3 GB: 0 Hr 0 min 28 sec", "DVD 8,5 GB: 0 Hr 0 min 56 sec");
    ExpectEstimate("2147483647", "DVD 4,3 GB: 0 Hr 0 min 0 sec", "DVD 8,5 GB: 0 Hr 0 min 0 sec");
    // One kilobit a second: the longest times there are.
    ExpectEstimate("-447", "DVD 4,3 GB: 9555 Hr 33 min 20 sec", "DVD 8,5 GB: 18888 Hr 53 min 20 sec");
}
