// The bitrate inputs and the capacity estimate they refresh.
#include "app/AppTest.h"

namespace {

using BitrateTest = AppTest;

const char* const Start43 = "DVD 4,3 GB: 1 Hr 0 min 40 sec";
const char* const Start85 = "DVD 8,5 GB: 1 Hr 59 min 57 sec";

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

TEST_F(BitrateTest, EveryPresetChosenWithTheArrowKeysShowsItsEstimate)
{
    HWND combo = Ctl(BitrateCombo);
    for (int i : {7, 6, 5, 4, 3, 2, 1, 0, 8}) {
        SCOPED_TRACE("preset " + std::to_string(i + 1) + "000");
        App.StepComboTo(combo, i);
        RequireEstimate(Presets[i].Dvd43, Presets[i].Dvd85);
        EXPECT_EQ(App.Text(combo), std::to_string(i + 1) + "000");
        // The refresh clicks the hidden trigger, which takes the focus.
        EXPECT_EQ(App.FocusedWindow(), Ctl(EstimateTrigger));
    }
}

TEST_F(BitrateTest, APresetPickedFromTheOpenListShowsItsEstimate)
{
    App.PickComboItem(Ctl(BitrateCombo), 0);
    RequireEstimate(Presets[0].Dvd43, Presets[0].Dvd85);
    App.PickComboItem(Ctl(BitrateCombo), 3);
    RequireEstimate(Presets[3].Dvd43, Presets[3].Dvd85);
}

// Every change of the box's text refreshes the estimate, and a text that is no
// number leaves the last estimate standing.
TEST_F(BitrateTest, TypingIntoThePresetBoxRefreshesOnlyForANumber)
{
    HWND combo = Ctl(BitrateCombo);
    App.FocusEdit(combo);
    gui::PressKey(VK_END);
    gui::TypeText("0");
    RequireEstimate("DVD 4,3 GB: 0 Hr 6 min 20 sec", "DVD 8,5 GB: 0 Hr 12 min 31 sec");
    EXPECT_EQ(App.Text(combo), "90000");

    App.FocusEdit(combo);
    gui::PressKey(VK_END);
    gui::TypeText("k");
    // The change handler runs while the key is processed, before the box answers.
    Require("the typed letter in the box", [&] { return App.Text(combo) == "90000k"; });
    EXPECT_EQ(Estimate(), (std::vector<std::string>{"DVD 4,3 GB: 0 Hr 6 min 20 sec", "DVD 8,5 GB: 0 Hr 12 min 31 sec"}));
}

TEST_F(BitrateTest, CustomCheckBoxSwapsTheActiveBitrateBox)
{
    App.Click(Ctl(CustomCheck));
    Require("the custom box to be enabled", [&] { return IsWindowEnabled(Ctl(CustomBitrateEdit)) != FALSE; });
    EXPECT_EQ(App.CheckState(Ctl(CustomCheck)), BST_CHECKED);
    EXPECT_FALSE(IsWindowEnabled(Ctl(BitrateCombo)));
    EXPECT_EQ(Estimate(), (std::vector<std::string>{Start43, Start85}));

    App.Click(Ctl(CustomCheck));
    Require("the preset box to be enabled", [&] { return IsWindowEnabled(Ctl(BitrateCombo)) != FALSE; });
    EXPECT_EQ(App.CheckState(Ctl(CustomCheck)), BST_UNCHECKED);
    EXPECT_FALSE(IsWindowEnabled(Ctl(CustomBitrateEdit)));
    EXPECT_EQ(Estimate(), (std::vector<std::string>{Start43, Start85}));
}

// Only a custom text of exactly four characters refreshes the estimate.
TEST_F(BitrateTest, CustomBitrateRefreshesTheEstimateAtTheFourthCharacterOnly)
{
    App.Click(Ctl(CustomCheck));
    HWND edit = Ctl(CustomBitrateEdit);
    Require("the custom box to be enabled", [&] { return IsWindowEnabled(edit) != FALSE; });
    App.FocusEdit(edit);
    for (const std::string text : {"1", "12", "123"}) {
        gui::TypeText(text.substr(text.size() - 1));
        Require("\"" + text + "\" in the custom box", [&] { return App.Text(edit) == text; });
        EXPECT_EQ(Estimate(), (std::vector<std::string>{Start43, Start85})) << "after typing " << text;
    }
    gui::TypeText("4");
    RequireEstimate("DVD 4,3 GB: 5 Hr 40 min 51 sec", "DVD 8,5 GB: 11 Hr 13 min 48 sec");
    EXPECT_EQ(App.FocusedWindow(), Ctl(EstimateTrigger));

    App.FocusEdit(edit);
    gui::PressKey(VK_END);
    gui::TypeText("5");
    Require("\"12345\" in the custom box", [&] { return App.Text(edit) == "12345"; });
    EXPECT_EQ(Estimate(), (std::vector<std::string>{"DVD 4,3 GB: 5 Hr 40 min 51 sec", "DVD 8,5 GB: 11 Hr 13 min 48 sec"}));
}

} // namespace
