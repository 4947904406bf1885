// The bitrate boxes, the capacity estimate they refresh, and the rate "Start" hands
// to the encoder.
#include "app/AppTest.h"

using BitrateTest = AppTest;

const char* const At1000[] = {"DVD 4,3 GB: 6 Hr 35 min 56 sec", "DVD 8,5 GB: 13 Hr 2 min 41 sec"};
const char* const At5000[] = {"DVD 4,3 GB: 1 Hr 45 min 14 sec", "DVD 8,5 GB: 3 Hr 28 min 1 sec"};
const char* const At2500[] = {"DVD 4,3 GB: 3 Hr 14 min 28 sec", "DVD 8,5 GB: 6 Hr 24 min 26 sec"};
const char* const At500[] = {"DVD 4,3 GB: 10 Hr 4 min 46 sec", "DVD 8,5 GB: 19 Hr 55 min 29 sec"};

// The focus stays in the box the user works in: the arrow keys step on from preset
// to preset, Esc in the open list goes back to the preset it opened with, typing
// goes on. A text that is no number leaves the estimate standing, and "Start"
// refuses it before anything is written. "Custom:" makes its box the active one;
// the empty box is no number. A double click on it is two clicks.
TEST_F(BitrateTest, PresetsAndTypedRatesRefreshTheEstimateAndStartPassesTheActiveBoxsRate)
{
    InstallEncoder();
    AddVideoFile(MakeFile("clip.avi"));
    HWND combo = Ctl(BitrateCombo);
    StepComboTo(BitrateCombo, 0);
    RequireEstimate(At1000);
    for (WORD key : {VK_F4, VK_DOWN, VK_ESCAPE})
        gui::Key(key);
    gui::Require("the list closed on 1000", [&] { return !SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) && Text(BitrateCombo) == "1000"; });
    EXPECT_TRUE(gui::HasFocus(combo));
    for (const char* rate : {"5000", "2500", "2500k"}) {
        gui::TypeOver(combo, rate);
        RequireEstimate(rate[0] == '5' ? At5000 : At2500);
    }
    EXPECT_TRUE(gui::HasFocus(combo));
    gui::Click(Ctl(StartButton));
    EXPECT_EQ(AnswerMessageBox(), "Check the bitrate - enter value between 100 and 9000 using digits only");
    Sync();
    EXPECT_FALSE(HasDialog() || Exists("C:\\convert.bat"));

    gui::TypeOver(combo, "1000");
    gui::Click(Ctl(CustomCheck));
    gui::Require("the custom box to be enabled", [&] { return IsWindowEnabled(Ctl(CustomBitrateEdit)); });
    EXPECT_FALSE(IsWindowEnabled(combo));
    RequireEstimate(At1000);
    gui::TypeOver(Ctl(CustomBitrateEdit), "500");
    RequireEstimate(At500);
    gui::TypeOver(Ctl(CustomBitrateEdit), "2500");
    RequireEstimate(At2500);
    EXPECT_TRUE(gui::HasFocus(Ctl(CustomBitrateEdit)));
    gui::Click(Ctl(CustomCheck), false, 3);
    RequireEstimate(At1000);
    EXPECT_TRUE(IsWindowEnabled(combo) && !IsWindowEnabled(Ctl(CustomBitrateEdit)));
    gui::Click(Ctl(CustomCheck));
    RequireEstimate(At2500);
    StartConversion();
    const std::string pass1 = RequireEncoderCalls(1)[0];
    EXPECT_NE(pass1.find(" -minrate 2500k -maxrate 2500k -b 2500k "), std::string::npos) << pass1;
}
