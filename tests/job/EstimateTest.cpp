#include "job/Estimate.h"

#include "JobTestSupport.h"

// The two labels for each bitrate text; "unchanged" where there is no estimate to show.
TEST(ComputeEstimate, LabelsForEveryPresetAndTypedRate)
{
    auto expect = [](const char* bitrateText, const char* label43, const char* label85) {
        TJobSettings s;
        s.BitrateText = bitrateText;
        TText got43 = "unchanged", got85 = "unchanged";
        EXPECT_EQ(ComputeEstimate(s, got43, got85), std::string(label43) != "unchanged") << bitrateText;
        EXPECT_EQ(Str(got43) + " / " + Str(got85), std::string(label43) + " / " + label85) << bitrateText;
    };
    expect("1000", "DVD 4,3 GB: 6 Hr 35 min 56 sec", "DVD 8,5 GB: 13 Hr 2 min 41 sec");
    expect("2000", "DVD 4,3 GB: 3 Hr 54 min 12 sec", "DVD 8,5 GB: 7 Hr 42 min 57 sec");
    expect("3000", "DVD 4,3 GB: 2 Hr 46 min 16 sec", "DVD 8,5 GB: 5 Hr 28 min 41 sec");
    expect("4000", "DVD 4,3 GB: 2 Hr 8 min 53 sec", "DVD 8,5 GB: 4 Hr 14 min 47 sec");
    expect("5000", "DVD 4,3 GB: 1 Hr 45 min 14 sec", "DVD 8,5 GB: 3 Hr 28 min 1 sec");
    expect("6000", "DVD 4,3 GB: 1 Hr 28 min 54 sec", "DVD 8,5 GB: 2 Hr 55 min 45 sec");
    expect("7000", "DVD 4,3 GB: 1 Hr 16 min 58 sec", "DVD 8,5 GB: 2 Hr 32 min 9 sec");
    expect("8000", "DVD 4,3 GB: 1 Hr 7 min 51 sec", "DVD 8,5 GB: 2 Hr 14 min 9 sec");
    expect("9000", "DVD 4,3 GB: 1 Hr 0 min 40 sec", "DVD 8,5 GB: 1 Hr 59 min 57 sec");
    for (const char* text : {"500", " 500", "+500", "$1F4", "0500", "x1f4", "0X1F4"})
        expect(text, "DVD 4,3 GB: 10 Hr 4 min 46 sec", "DVD 8,5 GB: 19 Hr 55 min 29 sec");
    // 1193047 × 3600 passes 2^32 by only 1904: wrapped, it would claim thousands of hours.
    expect("1192599", "DVD 4,3 GB: 0 Hr 0 min 28 sec", "DVD 8,5 GB: 0 Hr 0 min 56 sec");
    expect("2147483647", "DVD 4,3 GB: 0 Hr 0 min 0 sec", "DVD 8,5 GB: 0 Hr 0 min 0 sec");
    // One kilobit a second: the longest times there are.
    expect("-447", "DVD 4,3 GB: 9555 Hr 33 min 20 sec", "DVD 8,5 GB: 18888 Hr 53 min 20 sec");
    // No number, or from -448 ($FFFFFE40) down no rate left once the audio is added.
    for (const char* text : {"", "abc", "500 ", "5 00", "500k", "-448", "$FFFFFE40", "-449", "-500", "-2147483648"})
        expect(text, "unchanged", "unchanged");
}
