// The bitrate inputs and the capacity estimate they refresh.
#include "app/AppTest.h"

namespace {

const char* const Start43 = "DVD 4,3 GB: 1 Hr 0 min 40 sec";
const char* const Start85 = "DVD 8,5 GB: 1 Hr 59 min 57 sec";
const char* const Typed43 = "DVD 4,3 GB: 3 Hr 14 min 28 sec";   // 2500
const char* const Typed85 = "DVD 8,5 GB: 6 Hr 24 min 26 sec";

const struct {
    const char* Dvd43;
    const char* Dvd85;
} Presets[] = {
    {"DVD 4,3 GB: 6 Hr 35 min 56 sec", "DVD 8,5 GB: 13 Hr 2 min 41 sec"},
    {"DVD 4,3 GB: 3 Hr 54 min 12 sec", "DVD 8,5 GB: 7 Hr 42 min 57 sec"},
    {"DVD 4,3 GB: 2 Hr 46 min 16 sec", "DVD 8,5 GB: 5 Hr 28 min 41 sec"},
    {"DVD 4,3 GB: 2 Hr 8 min 53 sec", "DVD 8,5 GB: 4 Hr 14 min 47 sec"},
    {"DVD 4,3 GB: 1 Hr 45 min 14 sec", "DVD 8,5 GB: 3 Hr 28 min 1 sec"},
    {"DVD 4,3 GB: 1 Hr 28 min 54 sec", "DVD 8,5 GB: 2 Hr 55 min 45 sec"},
    {"DVD 4,3 GB: 1 Hr 16 min 58 sec", "DVD 8,5 GB: 2 Hr 32 min 9 sec"},
    {"DVD 4,3 GB: 1 Hr 7 min 51 sec", "DVD 8,5 GB: 2 Hr 14 min 9 sec"},
    {Start43, Start85},
};

class BitrateTest : public AppTest {
protected:
    bool HasFocus(HWND box) const
    {
        HWND focus = App.FocusedWindow();
        return focus && (focus == box || GetParent(focus) == box);
    }

    // Types 5000, then 2500, over the box's text key by key: the focus stays in the
    // box, and the estimate follows the typing.
    void TypeRates(HWND box) const
    {
        App.TypeOver(box, "5000");
        RequireEstimate(Presets[4].Dvd43, Presets[4].Dvd85);
        App.TypeOver(box, "2500");
        RequireEstimate(Typed43, Typed85);
        EXPECT_TRUE(HasFocus(box));
    }

    // Starts the one listed file and checks that the encoder is asked for 2500 kbit/s.
    void RequireEncoderAt2500() const
    {
        App.Click(Ctl(StartButton));
        const std::string firstPass = RequireEncoderCalls(2)[0];
        EXPECT_NE(firstPass.find(" -minrate 2500k -maxrate 2500k -b 2500k "), std::string::npos) << firstPass;
    }
};

// The focus stays in the box, so the arrow keys step on from preset to preset.
TEST_F(BitrateTest, EveryPresetChosenWithTheArrowKeysShowsItsEstimate)
{
    HWND combo = Ctl(BitrateCombo);
    for (int i : {7, 6, 5, 4, 3, 2, 1, 0, 8}) {
        SCOPED_TRACE("preset " + std::to_string(i + 1) + "000");
        App.StepComboTo(combo, i);
        RequireEstimate(Presets[i].Dvd43, Presets[i].Dvd85);
        EXPECT_EQ(App.Text(combo), std::to_string(i + 1) + "000");
        EXPECT_TRUE(HasFocus(combo));
    }
}

TEST_F(BitrateTest, APresetPickedFromTheOpenListShowsItsEstimate)
{
    App.PickComboItem(Ctl(BitrateCombo), 0);
    RequireEstimate(Presets[0].Dvd43, Presets[0].Dvd85);
    App.PickComboItem(Ctl(BitrateCombo), 3);
    RequireEstimate(Presets[3].Dvd43, Presets[3].Dvd85);
}

// A text that is no number leaves the last estimate standing, and "Start" refuses
// it before anything is written.
TEST_F(BitrateTest, ARateTypedIntoThePresetBoxIsEstimatedCheckedAndWritten)
{
    InstallEncoder();
    AddVideoFile(MakeFile("clip.avi"));
    HWND combo = Ctl(BitrateCombo);
    TypeRates(combo);
    App.TypeOver(combo, "2500k");
    App.Sync();
    EXPECT_EQ(Estimate(), (std::vector<std::string>{Typed43, Typed85}));

    App.Click(Ctl(StartButton));
    EXPECT_EQ(AnswerMessageBox(), "Check the bitrate - enter value between 100 and 9000 using digits only");
    App.Sync();
    EXPECT_FALSE(App.HasDialog());
    EXPECT_FALSE(FileExists("C:\\convert.bat"));

    App.TypeOver(combo, "2500");
    RequireEncoderAt2500();
}

// The estimate follows the box that "Custom:" makes active, at any length of its
// text; the empty custom box is no number and leaves the estimate as it was.
TEST_F(BitrateTest, ARateTypedIntoTheCustomBoxIsEstimatedWhileActiveAndWritten)
{
    InstallEncoder();
    AddVideoFile(MakeFile("clip.avi"));
    HWND edit = Ctl(CustomBitrateEdit);
    App.Click(Ctl(CustomCheck));
    Require("the custom box to be enabled", [&] { return IsWindowEnabled(edit) != FALSE; });
    EXPECT_EQ(App.CheckState(Ctl(CustomCheck)), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(Ctl(BitrateCombo)));
    EXPECT_EQ(Estimate(), (std::vector<std::string>{Start43, Start85}));
    App.TypeOver(edit, "500");
    RequireEstimate("DVD 4,3 GB: 10 Hr 4 min 46 sec", "DVD 8,5 GB: 19 Hr 55 min 29 sec");
    TypeRates(edit);

    App.Click(Ctl(CustomCheck));
    RequireEstimate(Start43, Start85);
    EXPECT_TRUE(IsWindowEnabled(Ctl(BitrateCombo)));
    EXPECT_FALSE(IsWindowEnabled(edit));
    App.Click(Ctl(CustomCheck));
    RequireEstimate(Typed43, Typed85);
    RequireEncoderAt2500();
}

} // namespace
