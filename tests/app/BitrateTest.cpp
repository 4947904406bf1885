// The bitrate boxes, the capacity estimate they refresh, and the rate "Start" hands
// to the encoder.
#include "app/AppTest.h"

namespace {

using BitrateTest = AppTest;

// The estimates of the presets 1000 to 8000, of 2500 and of 500.
const char* const Estimates[][2] = {
    {"DVD 4,3 GB: 6 Hr 35 min 56 sec", "DVD 8,5 GB: 13 Hr 2 min 41 sec"},
    {"DVD 4,3 GB: 3 Hr 54 min 12 sec", "DVD 8,5 GB: 7 Hr 42 min 57 sec"},
    {"DVD 4,3 GB: 2 Hr 46 min 16 sec", "DVD 8,5 GB: 5 Hr 28 min 41 sec"},
    {"DVD 4,3 GB: 2 Hr 8 min 53 sec", "DVD 8,5 GB: 4 Hr 14 min 47 sec"},
    {"DVD 4,3 GB: 1 Hr 45 min 14 sec", "DVD 8,5 GB: 3 Hr 28 min 1 sec"},
    {"DVD 4,3 GB: 1 Hr 28 min 54 sec", "DVD 8,5 GB: 2 Hr 55 min 45 sec"},
    {"DVD 4,3 GB: 1 Hr 16 min 58 sec", "DVD 8,5 GB: 2 Hr 32 min 9 sec"},
    {"DVD 4,3 GB: 1 Hr 7 min 51 sec", "DVD 8,5 GB: 2 Hr 14 min 9 sec"},
    {"DVD 4,3 GB: 3 Hr 14 min 28 sec", "DVD 8,5 GB: 6 Hr 24 min 26 sec"},
    {"DVD 4,3 GB: 10 Hr 4 min 46 sec", "DVD 8,5 GB: 19 Hr 55 min 29 sec"},
};
const auto& At2500 = Estimates[8];

// The focus stays in the box the user works in: the arrow keys step on from preset
// to preset and typing goes on. A text that is no number leaves the estimate
// standing, and "Start" refuses it before anything is written. "Custom:" makes its
// box the active one; the empty box is no number.
TEST_F(BitrateTest, PresetsAndTypedRatesRefreshTheEstimateAndStartPassesTheActiveBoxsRate)
{
    InstallEncoder();
    AddVideoFile(MakeFile("clip.avi"));
    for (int i = 7; i >= 0; --i) {
        StepComboTo(BitrateCombo, i);
        RequireEstimate(Estimates[i]);
        EXPECT_TRUE(gui::HasFocus(Ctl(BitrateCombo)));
    }
    for (const char* rate : {"5000", "2500", "2500k"}) {
        gui::TypeOver(Ctl(BitrateCombo), rate);
        RequireEstimate(rate[0] == '5' ? Estimates[4] : At2500);
    }
    EXPECT_TRUE(gui::HasFocus(Ctl(BitrateCombo)));
    gui::Click(Ctl(StartButton));
    EXPECT_EQ(AnswerMessageBox(), "Check the bitrate - enter value between 100 and 9000 using digits only");
    Sync();
    EXPECT_FALSE(HasDialog() || Exists("C:\\convert.bat"));

    gui::TypeOver(Ctl(BitrateCombo), "1000");
    gui::Click(Ctl(CustomCheck));
    gui::Require("the custom box to be enabled", [&] { return IsWindowEnabled(Ctl(CustomBitrateEdit)); });
    EXPECT_FALSE(IsWindowEnabled(Ctl(BitrateCombo)));
    RequireEstimate(Estimates[0]);
    gui::TypeOver(Ctl(CustomBitrateEdit), "500");
    RequireEstimate(Estimates[9]);
    gui::TypeOver(Ctl(CustomBitrateEdit), "2500");
    RequireEstimate(At2500);
    EXPECT_TRUE(gui::HasFocus(Ctl(CustomBitrateEdit)));
    gui::Click(Ctl(CustomCheck));
    RequireEstimate(Estimates[0]);
    EXPECT_TRUE(IsWindowEnabled(Ctl(BitrateCombo)) && !IsWindowEnabled(Ctl(CustomBitrateEdit)));
    gui::Click(Ctl(CustomCheck));
    RequireEstimate(At2500);
    StartConversion();
    const std::string pass1 = RequireEncoderCalls(1)[0];
    EXPECT_NE(pass1.find(" -minrate 2500k -maxrate 2500k -b 2500k "), std::string::npos) << pass1;
}

}
