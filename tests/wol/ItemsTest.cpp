// Items, selection, check state, programmatic clicks, text, visibility and focus,
// on real list, combo, edit, check-box and label windows.
#include "WolTestForm.h"

#include <string>
#include <vector>

namespace {

std::vector<std::string> Items(TWidget* widget)
{
    std::vector<std::string> items;
    for (int i = 0; i < widget->ItemCount(); ++i)
        items.push_back(widget->GetItemText(i).CStr());
    return items;
}

}

TEST_F(FormTest, ComboFilledBySetItemTextKeepsOrderAndSelectsByIndex)
{
    TWidget* combo = NewComboBox(Form, 16);
    combo->SetItemText(0, "4:3");
    combo->SetItemText(1, "16:9");
    EXPECT_EQ((std::vector<std::string>{"4:3", "16:9"}), Items(combo));
    EXPECT_EQ(-1, combo->GetCurIndex());

    combo->SetCurIndex(0);
    EXPECT_EQ(0, combo->GetCurIndex());
    EXPECT_STREQ("4:3", combo->GetText().CStr());

    for (int i = 2; i < 10; ++i)
        combo->AddItem(std::to_string(i).c_str());
    combo->SetItemSelected(8, false);   // a combo box has no multiple selection
    EXPECT_EQ(8, combo->GetCurIndex());
}

TEST_F(FormTest, FirstItemAddedBecomesCurrent)
{
    TWidget* combo = NewComboBox(Form, 16);
    EXPECT_EQ(0, combo->AddItem("first"));
    EXPECT_EQ(0, combo->GetCurIndex());
    EXPECT_EQ(1, combo->AddItem("second"));
    EXPECT_EQ(0, combo->GetCurIndex());

    TWidget* list = NewListBox(Form, 16);
    EXPECT_EQ(0, list->AddItem("a"));
    EXPECT_EQ(1, list->AddItem("b"));
    EXPECT_EQ(2, list->AddItem("c"));
    EXPECT_EQ(1, list->SendToWidget(LB_GETSEL, 0, 0));
    EXPECT_EQ(0, list->SendToWidget(LB_GETSEL, 1, 0));
}

TEST_F(FormTest, ItemTextOutsideTheListIsEmpty)
{
    TWidget* list = NewListBox(Form, 16);
    const std::string texts[] = {"x", "C:\\Videos\\clip.avi", std::string(300, 'v')};
    for (const std::string& text : texts)
        list->AddItem(text.c_str());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(texts[i], list->GetItemText(i).CStr());
    EXPECT_TRUE(list->GetItemText(3).IsEmpty());
    EXPECT_TRUE(list->GetItemText(-1).IsEmpty());

    list->DeleteItem(7);
    EXPECT_EQ(3, list->ItemCount());
    EXPECT_EQ(-1, list->InsertItem(9, "nowhere"));
    list->DeleteItem(1);
    EXPECT_EQ((std::vector<std::string>{"x", std::string(300, 'v')}), Items(list));
}

// A single-selection list box: LB_SETCURSEL, which restores the current index,
// is refused by lists with multiple selection.
TEST_F(FormTest, SetItemTextKeepsDataAndCurrentIndex)
{
    TWidget* list = NewListBox(Form, 1 << 1);
    list->AddItem("one");
    list->AddItem("two");
    list->AddItem("three");
    list->SetItemData(1, 0x1234);
    list->SetCurIndex(1);   // deleting the current item leaves none current

    list->SetItemText(1, "TWO");
    EXPECT_EQ((std::vector<std::string>{"one", "TWO", "three"}), Items(list));
    EXPECT_EQ(0x1234, list->GetItemData(1));
    EXPECT_EQ(1, list->GetCurIndex());

    TWidget* combo = NewComboBox(Form, 16);
    combo->AddItem("a");
    combo->AddItem("b");
    combo->AddItem("c");
    combo->SetItemData(2, 77);
    combo->SetCurIndex(2);
    combo->SetItemText(2, "C");
    EXPECT_EQ((std::vector<std::string>{"a", "b", "C"}), Items(combo));
    EXPECT_EQ(77, combo->GetItemData(2));
    EXPECT_EQ(2, combo->GetCurIndex());
}

TEST_F(FormTest, EditBoxItemsAreLines)
{
    TWidget* edit = NewEditBox(Form, 1 << 3);
    edit->SetText("ab\r\ncd\r\nef");
    EXPECT_EQ(3, edit->ItemCount());
    EXPECT_EQ((std::vector<std::string>{"ab", "cd", "ef"}), Items(edit));
    EXPECT_EQ(4, edit->ItemPos(1));
    EXPECT_EQ(1, edit->PosItem(5));

    edit->SetItemText(1, "XYZ\r\n");   // the line goes with its line break
    EXPECT_STREQ("ab\r\nXYZ\r\nef", edit->GetText().CStr());
    EXPECT_EQ(9, edit->SelStart());     // the caret ends behind the new text,
    EXPECT_EQ(9, edit->GetCurIndex());  // at the start of the next line

    edit->SelectItem(2);
    edit->SetSelLength(3);
    EXPECT_EQ(MAKELONG(2, 5), edit->SendToWidget(EM_GETSEL, 0, 0));
}

TEST_F(FormTest, KindsWithoutItemMessagesDoNothing)
{
    TWidget* label = NewLabel(Form, "cap");
    EXPECT_EQ(0, label->ItemCount());
    EXPECT_EQ(-1, label->InsertItem(0, "x"));
    EXPECT_TRUE(label->GetItemText(0).IsEmpty());
    EXPECT_EQ(0, label->GetItemData(0));
    label->SetCurIndex(5);
    EXPECT_EQ(5, label->GetCurIndex());   // kept by the widget itself
    EXPECT_EQ(0, label->AddItem("tion"));
    EXPECT_STREQ("caption", label->Caption.CStr());
    EXPECT_EQ(nullptr, label->Handle);    // nothing needed the window
}

TEST_F(FormTest, ClearRoutinesEmptyTheControls)
{
    TWidget* list = NewListBox(Form, 16);
    TWidget* combo = NewComboBox(Form, 16);
    TWidget* edit = NewEditBox(Form, 0);
    list->AddItem("a");
    combo->AddItem("b");
    edit->SetText("c");
    for (TWidget* widget : {list, combo, edit})
        widget->Actions.ClearRoutine(widget);
    EXPECT_EQ(0, list->ItemCount());
    EXPECT_EQ(0, combo->ItemCount());
    EXPECT_TRUE(edit->GetText().IsEmpty());
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
    EXPECT_EQ(1, box->GetChecked());
    box->SetChecked(false);
    EXPECT_EQ(0, box->GetChecked());
    gui::PumpUntilIdle();
    EXPECT_EQ(0, boxClicks);

    box->Click();
    EXPECT_EQ(1, boxClicks);
    EXPECT_EQ(0, box->GetChecked());
    EXPECT_EQ(box, Form->FocusedControl);
    EXPECT_EQ(box->Handle, GetFocus());

    button->Click();
    list->Click();
    label->Click();   // a label clicks with the mouse messages and reports STN_CLICKED
    gui::PumpUntilIdle();
    EXPECT_EQ(1, boxClicks);
    EXPECT_EQ(1, buttonClicks);
    EXPECT_EQ(1, listClicks);
    EXPECT_EQ(1, labelClicks);
    EXPECT_EQ(0, changes);
}

TEST_F(FormTest, TextVisibilityAndFocus)
{
    TWidget* edit = NewEditBox(Form, 0);
    TWidget* other = NewEditBox(Form, 0);
    TWidget* hidden = NewButton(Form, "hidden");
    TWidget* label = NewLabel(Form, "label");
    edit->SetText("before");
    EXPECT_STREQ("before", edit->GetText().CStr());   // no window yet: the stored text
    hidden->SetVisible(false);
    Show();
    EXPECT_FALSE(IsWindowVisible(hidden->Handle));

    SetWindowTextA(edit->Handle, "typed");
    EXPECT_STREQ("typed", edit->GetText().CStr());
    SetWindowTextA(edit->Handle, "");
    EXPECT_TRUE(edit->GetText().IsEmpty());

    other->Focus(true);
    EXPECT_EQ(other->Handle, GetFocus());
    EXPECT_EQ(other, Form->FocusedControl);
    edit->Focus(false);
    label->Focus(true);
    EXPECT_EQ(other->Handle, GetFocus());
    edit->Focus(true);
    EXPECT_EQ(edit->Handle, GetFocus());
    EXPECT_EQ(edit, Form->FocusedControl);
}
