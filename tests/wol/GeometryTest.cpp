// Geometry on real windows: where a form opens and how big its client area is,
// which settings reach the window, window states, and what destroying a widget
// leaves behind.
#include "WolTestSupport.h"

namespace {

class Geometry : public CoreTest {};

int PositionChanges(TWidget* widget) { return CountSeen(widget, WM_WINDOWPOSCHANGING); }

}

TEST_F(Geometry, PositionAndClientSizeOfANewForm)
{
    TWidget* form = MakeForm();
    form->SetPosition(202, 110);
    EXPECT_EQ(form->Handle, nullptr) << "placing alone makes no window";
    form->SetClientSize(504, 550);
    ASSERT_NE(form->Handle, nullptr) << "the client size needs the window";
    EXPECT_FALSE(IsWindowVisible(form->Handle));
    ASSERT_TRUE(form->CreateWindow());
    RECT window, client;
    GetWindowRect(form->Handle, &window);
    GetClientRect(form->Handle, &client);
    EXPECT_EQ(window.left, 202);
    EXPECT_EQ(window.top, 110);
    EXPECT_EQ(client.right - client.left, 504);
    EXPECT_EQ(client.bottom - client.top, 550);
    const RECT bounds = form->GetBoundsRect();
    EXPECT_TRUE(EqualRect(&bounds, &window)) << "a form's bounds are in screen coordinates";
    Free(form);
}

TEST_F(Geometry, SetSizeWithZeroKeepsADimensionAndIdenticalSettingsMakeNoWindowCall)
{
    TWidget* form = MakeForm();
    form->SetPosition(100, 100)->SetClientSize(300, 200);
    TWidget* button = MakeButton(form, 1);
    button->SetPosition(10, 10)->SetSize(60, 20);
    form->AttachHandler(RecordMessage, false);
    button->AttachHandler(RecordMessage, false);
    ASSERT_TRUE(MakeWindowsHidden(form));

    Seen.clear();
    button->SetPosition(10, 10);
    button->SetSize(60, 20);
    button->SetSize(0, 0);
    form->SetPosition(100, 100);
    form->SetClientSize(300, 200);
    form->SetClientSize(0, -1);
    EXPECT_EQ(PositionChanges(button), 0);
    EXPECT_EQ(PositionChanges(form), 0);

    button->SetSize(90, 0);
    EXPECT_EQ(button->GetWidth(), 90);
    EXPECT_EQ(button->GetHeight(), 20);
    button->SetSize(0, 35);
    EXPECT_EQ(button->GetWidth(), 90);
    EXPECT_EQ(button->GetHeight(), 35);
    button->SetPosition(12, 10);
    EXPECT_EQ(PositionChanges(button), 3);
    form->SetClientSize(301, 200);
    EXPECT_EQ(PositionChanges(form), 1);
    button->SetSize(0, -5);
    EXPECT_EQ(button->BoundsRect.bottom - button->BoundsRect.top, -5) << "a negative size is set";
    Free(form);
}

TEST_F(Geometry, MinimisingTwiceMinimisesOnceAndAgainAfterARestore)
{
    TWidget* form = MakeForm();
    form->SetPosition(80, 80)->SetClientSize(200, 150);
    ASSERT_TRUE(form->CreateWindow());
    TWidget* other = MakeForm("Other");
    other->SetPosition(300, 80)->SetClientSize(200, 150);
    ASSERT_TRUE(other->CreateWindow());   // shown last: the active window

    form->SetWindowState(1);
    EXPECT_TRUE(IsIconic(form->Handle));
    EXPECT_EQ(GetActiveWindow(), other->Handle) << "minimised without being activated";
    ShowWindow(form->Handle, SW_HIDE);   // a window call now would show it again
    form->SetWindowState(1);
    EXPECT_FALSE(IsWindowVisible(form->Handle)) << "already minimised: no window call";

    ShowWindow(form->Handle, SW_RESTORE);   // as the user restores it
    EXPECT_EQ(form->WindowState, 0) << "WM_SIZE follows the user's restore";
    form->SetWindowState(1);
    EXPECT_TRUE(IsIconic(form->Handle));
    Free(other);
    Free(form);
}

//--- Parents and destruction

TEST_F(Geometry, DestroyingAFormReleasesItsOwnedObjectsInOrderAndItsControlsBeforeItsWindow)
{
    TWidget* form = MakeForm();
    AddDeathSentinel(form, 100);   // added first: released first
    const auto watched = [](TWidget* widget, int id) {
        AddDeathSentinel(widget, id);
        return widget;
    };
    TWidget* group = watched(MakeGroup(form, 1), 1);
    TWidget* inner = watched(MakeButton(group, 2), 2);
    TWidget* edit = watched(MakeControl(form, "EDIT", WS_CHILD | WS_VISIBLE | WS_BORDER, 3, 160, 4), 3);
    TWidget* button = watched(MakeButton(form, 4), 4);
    AddDeathSentinel(form, 200);   // added last: released last
    form->GetFont();
    ASSERT_TRUE(MakeWindowsHidden(form));
    int id = 10;
    for (TWidget* widget : {form, group, inner, edit, button})
        LogWindowDestroy(widget->Handle, id++);
    Free(form);
    // Each widget's sentinel fires as its release begins; its window goes at the
    // end of its own destruction, after its children's.
    EXPECT_EQ(Events, (std::vector<int>{100, 1, 2, 12, 11, 3, 13, 4, 14, 200, 10}));
}

TEST_F(Geometry, ADestroyedControlIsGoneFromItsParentAndItsFormsFocus)
{
    TWidget* form = MakeForm();
    TWidget* group = MakeGroup(form, 1);
    TWidget* kept = MakeButton(group, 2);
    TWidget* button = MakeButton(group, 3);
    ASSERT_TRUE(MakeWindowsHidden(form));
    HWND window = button->Handle;
    form->FocusedControl = button;
    Free(button);
    EXPECT_EQ(form->FocusedControl, nullptr);
    EXPECT_EQ(group->Children->Count, 1);
    EXPECT_EQ(group->Children->IndexOf(reinterpret_cast<TPtrValue>(button)), -1);
    EXPECT_EQ(group->OwnedObjects->IndexOf(reinterpret_cast<TPtrValue>(button)), -1);
    EXPECT_EQ(group->OwnedObjects->Count, 2);
    EXPECT_FALSE(IsWindow(window));

    // A control that is its parent's focused control (a form among forms).
    group->FocusedControl = kept;
    form->FocusedControl = kept;
    Free(kept);
    EXPECT_EQ(group->FocusedControl, nullptr);
    EXPECT_EQ(form->FocusedControl, nullptr);
    Free(form);
}
