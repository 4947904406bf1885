// Items, selection, check state and programmatic clicks on real list, combo,
// check-box, button and label windows.
#include "WolTestSupport.h"

#include <string>

namespace {

using Texts = std::vector<std::string>;

Texts Items(TWidget* widget)
{
    Texts items;
    for (int i = 0; i < widget->ItemCount(); ++i)
        items.push_back(widget->GetItemText(i).CStr());
    return items;
}

TWidget* Filled(TWidget* widget, const Texts& items)
{
    for (const std::string& item : items)
        widget->AddItem(item.c_str());
    return widget;
}

}

TEST_F(FormTest, ComboFilledBySetItemTextKeepsOrderAndSelectsByIndex)
{
    TWidget* combo = NewComboBox(Form, 16);
    combo->SetItemText(0, "4:3");
    combo->SetItemText(1, "16:9");
    EXPECT_EQ(Items(combo), (Texts{"4:3", "16:9"}));
    EXPECT_EQ(combo->GetCurIndex(), -1);
    combo->SetCurIndex(0);
    EXPECT_EQ(combo->GetText(), "4:3");
    for (int i = 2; i < 10; ++i)
        combo->AddItem(std::to_string(i).c_str());
    combo->SetItemSelected(8, false);   // a combo box has no multiple selection
    EXPECT_EQ(combo->GetCurIndex(), 8);

    // The first item added becomes current, in a combo box and in a list box.
    TWidget* other = NewComboBox(Form, 16);
    EXPECT_EQ(other->AddItem("first"), 0);
    EXPECT_EQ(other->AddItem("second"), 1);
    EXPECT_EQ(other->GetCurIndex(), 0);
    TWidget* list = NewListBox(Form, 16);
    EXPECT_EQ(list->AddItem("a"), 0);
    EXPECT_EQ(list->AddItem("b"), 1);
    EXPECT_EQ(list->SendToWidget(LB_GETSEL, 0, 0), 1);
    EXPECT_EQ(list->SendToWidget(LB_GETSEL, 1, 0), 0);
}

TEST_F(FormTest, ItemTextOutsideTheListIsEmpty)
{
    const Texts texts = {"x", "C:\\Videos\\clip.avi", std::string(300, 'v')};
    TWidget* list = Filled(NewListBox(Form, 16), texts);
    EXPECT_EQ(Items(list), texts);
    list->AttachHandler(RecordMessage, false);
    EXPECT_TRUE(list->GetItemText(3).IsEmpty());
    EXPECT_TRUE(list->GetItemText(-1).IsEmpty());
    EXPECT_EQ(CountSeen(list, LB_GETTEXT), 0) << "no text is fetched into a buffer for them";
    list->DeleteItem(7);
    EXPECT_EQ(list->InsertItem(9, "nowhere"), -1);
    EXPECT_EQ(list->ItemCount(), 3);
    list->DeleteItem(1);
    EXPECT_EQ(Items(list), (Texts{"x", std::string(300, 'v')}));
}

TEST_F(FormTest, ClickFiresOnceAndSetCheckedFiresNothing)
{
    TWidget* box = NewCheckBox(Form, "Half");
    TWidget* button = NewButton(Form, "Go");
    TWidget* list = NewListBox(Form, 16);
    TWidget* label = NewLabel(Form, "Label");
    int boxClicks = 0, buttonClicks = 0, listClicks = 0, labelClicks = 0, changes = 0;
    box->ClickEvent = Counter(boxClicks);
    box->ChangeEvent = Counter(changes);
    button->ClickEvent = Counter(buttonClicks);
    list->ClickEvent = Counter(listClicks);
    label->ClickEvent = Counter(labelClicks);
    Show();

    box->SetChecked(true);
    EXPECT_EQ(box->GetChecked(), 1);
    box->SetChecked(false);
    EXPECT_EQ(box->GetChecked(), 0);
    gui::PumpUntilIdle();
    EXPECT_EQ(boxClicks, 0);
    box->Click();
    EXPECT_EQ(boxClicks, 1);
    EXPECT_EQ(box->GetChecked(), 0);
    EXPECT_EQ(Form->FocusedControl, box);
    EXPECT_EQ(GetFocus(), box->Handle);

    button->Click();
    list->Click();
    label->Click();   // a label clicks with the mouse messages and reports STN_CLICKED
    gui::PumpUntilIdle();
    EXPECT_EQ((std::vector<int>{boxClicks, buttonClicks, listClicks, labelClicks, changes}),
              (std::vector<int>{1, 1, 1, 1, 0}));
}

