// Geometry and common properties on real windows: where a form opens and
// how big its client area is, which settings reach the window, window states, and
// what destroying a widget leaves behind.
#include "WolCoreTestSupport.h"

using namespace core;

namespace {

class Geometry : public CoreTest {};

int PositionChanges(TWidget* widget) { return CountSeen(widget, WM_WINDOWPOSCHANGING); }

RECT PlaceInParent(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}

//--- Bounds

TEST_F(Geometry, PositionAndClientSizeOfANewForm)
{
    TWidget* form = MakeForm();
    form->SetPosition(202, 110);
    EXPECT_EQ(form->Handle, nullptr) << "placing alone makes no window";
    EXPECT_EQ(form->PositionSet, 3);
    form->SetClientSize(504, 550);
    ASSERT_NE(form->Handle, nullptr) << "the client size needs the window";
    EXPECT_FALSE(IsWindowVisible(form->Handle)) << "made hidden";

    RECT window, client;
    GetWindowRect(form->Handle, &window);
    GetClientRect(form->Handle, &client);
    EXPECT_EQ(window.left, 202);
    EXPECT_EQ(window.top, 110);
    EXPECT_EQ(client.right - client.left, 504);
    EXPECT_EQ(client.bottom - client.top, 550);
    EXPECT_EQ(form->ClientWidth(), 504);
    EXPECT_EQ(form->ClientHeight(), 550);
    RECT bounds = form->GetBoundsRect();
    EXPECT_TRUE(EqualRect(&bounds, &window)) << "a form's bounds are in screen coordinates";

    ASSERT_TRUE(form->CreateWindow());
    GetWindowRect(form->Handle, &window);
    EXPECT_EQ(window.left, 202) << "shown where it was placed";
    EXPECT_EQ(window.top, 110);
    Free(form);
}

TEST_F(Geometry, AControlsBoundsAreInItsParentsClientCoordinates)
{
    TWidget* form = MakeForm();
    form->SetPosition(50, 60)->SetClientSize(300, 200);
    TWidget* button = MakeButton(form, 1);
    button->SetPosition(10, 20)->SetSize(70, 30);
    EXPECT_EQ(button->Handle, nullptr) << "bounds of a control make no window";
    ASSERT_TRUE(MakeWindowsHidden(form));
    RECT place = PlaceInParent(button->Handle);
    EXPECT_EQ(place.left, 10);
    EXPECT_EQ(place.top, 20);
    EXPECT_EQ(place.right, 80);
    EXPECT_EQ(place.bottom, 50);

    // Read back from the live window, not from the stored rectangle.
    SetWindowPos(button->Handle, nullptr, 15, 25, 40, 10, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT bounds = button->GetBoundsRect();
    EXPECT_EQ(bounds.left, 15);
    EXPECT_EQ(bounds.top, 25);
    EXPECT_EQ(button->GetWidth(), 40);
    EXPECT_EQ(button->GetHeight(), 10);
    EXPECT_EQ(button->BoundsRect.left, 15);
    Free(form);
}

TEST_F(Geometry, SetSizeWithZeroKeepsADimensionAndANegativeOneSetsIt)
{
    TWidget* form = MakeForm();
    TWidget* button = MakeButton(form, 1);
    button->SetPosition(10, 10)->SetSize(60, 20);
    ASSERT_TRUE(MakeWindowsHidden(form));
    button->SetSize(90, 0);
    EXPECT_EQ(button->GetWidth(), 90);
    EXPECT_EQ(button->GetHeight(), 20);
    button->SetSize(0, 35);
    EXPECT_EQ(button->GetWidth(), 90);
    EXPECT_EQ(button->GetHeight(), 35);
    button->SetSize(0, -5);
    EXPECT_EQ(button->BoundsRect.bottom - button->BoundsRect.top, -5);
    Free(form);
}

TEST_F(Geometry, IdenticalSettingsMakeNoWindowCall)
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

    button->SetPosition(12, 10);
    EXPECT_EQ(PositionChanges(button), 1);
    button->SetSize(60, 21);
    EXPECT_EQ(PositionChanges(button), 2);
    form->SetClientSize(301, 200);
    EXPECT_EQ(PositionChanges(form), 1);
    Free(form);
}

TEST_F(Geometry, AFormNeverPlacedIsPlacedByWindowsWithItsDefaultSize)
{
    TWidget* form = MakeForm();
    ASSERT_TRUE(form->CreateWindow());
    RECT window;
    GetWindowRect(form->Handle, &window);
    EXPECT_GT(window.right - window.left, 0) << "CW_USEDEFAULT size, not an empty window";
    EXPECT_GT(window.bottom - window.top, 0);
    EXPECT_EQ(form->PositionSet, 0);
    Free(form);
}

//--- Window state

TEST_F(Geometry, MinimisingTwiceMinimisesOnceAndAgainAfterARestore)
{
    TWidget* form = MakeForm();
    form->SetPosition(80, 80)->SetClientSize(200, 150);
    form->AttachHandler(RecordMessage, false);
    ASSERT_TRUE(form->CreateWindow());
    TWidget* other = MakeForm("Other");
    other->SetPosition(300, 80)->SetClientSize(200, 150);
    ASSERT_TRUE(other->CreateWindow());   // shown last: the active window
    ASSERT_EQ(GetActiveWindow(), other->Handle);

    form->SetWindowState(1);
    EXPECT_TRUE(IsIconic(form->Handle));
    EXPECT_EQ(form->WindowState, 1);
    EXPECT_EQ(GetActiveWindow(), other->Handle) << "minimised without being activated";
    int changes = PositionChanges(form);
    form->SetWindowState(1);
    EXPECT_EQ(PositionChanges(form), changes) << "already minimised: no window call";

    ShowWindow(form->Handle, SW_RESTORE);   // as the user restores it
    EXPECT_FALSE(IsIconic(form->Handle));
    EXPECT_EQ(form->WindowState, 0) << "WM_SIZE follows the user's restore";
    form->SetWindowState(1);
    EXPECT_TRUE(IsIconic(form->Handle));

    form->SetWindowState(0);
    EXPECT_FALSE(IsIconic(form->Handle));
    form->SetWindowState(2);
    EXPECT_TRUE(IsZoomed(form->Handle));
    form->SetWindowState(7);   // outside 0..2: nothing
    EXPECT_EQ(form->WindowState, 2);
    Free(other);
    Free(form);
}

//--- Enabled, visible, text

TEST_F(Geometry, EnabledVisibleAndTextAreStoredUntilTheWindowExists)
{
    TWidget* form = MakeForm();
    TWidget* button = MakeButton(form, 1);
    button->SetEnabled(false);
    button->SetText("Press");
    EXPECT_EQ(button->Handle, nullptr);
    EXPECT_FALSE(button->IsEnabled());
    EXPECT_TRUE(button->Style & WS_DISABLED);
    ASSERT_TRUE(MakeWindowsHidden(form));
    EXPECT_FALSE(IsWindowEnabled(button->Handle));
    char text[32] = {};
    GetWindowTextA(button->Handle, text, sizeof text);
    EXPECT_STREQ(text, "Press");

    button->SetEnabled(true);
    EXPECT_TRUE(IsWindowEnabled(button->Handle));
    button->SetText("Again");
    GetWindowTextA(button->Handle, text, sizeof text);
    EXPECT_STREQ(text, "Again");
    button->SetVisibleState(false);
    EXPECT_FALSE(GetWindowLongA(button->Handle, GWL_STYLE) & WS_VISIBLE);
    button->SetVisibleState(true);
    EXPECT_TRUE(GetWindowLongA(button->Handle, GWL_STYLE) & WS_VISIBLE);
    Free(form);
}

TEST_F(Geometry, SettingTheCurrentEnabledStateDoesNotRepaint)
{
    TWidget* form = MakeForm();
    TWidget* button = MakeButton(form, 1);
    ASSERT_TRUE(form->CreateWindow());
    ValidateRect(button->Handle, nullptr);
    button->SetEnabled(true);
    EXPECT_FALSE(GetUpdateRect(button->Handle, nullptr, FALSE));
    button->SetEnabled(false);
    EXPECT_TRUE(GetUpdateRect(button->Handle, nullptr, FALSE));
    Free(form);
}

TEST_F(Geometry, AFormsIconIsLoadedFromMainIconAndTheProgramHasNone)
{
    TWidget* form = MakeForm();
    EXPECT_EQ(form->GetIcon(), nullptr);
    EXPECT_EQ(form->Icon, nullptr) << "tried again on each call";
    form->Icon = NoIcon;
    EXPECT_EQ(form->GetIcon(), nullptr);
    form->Icon = nullptr;
    Free(form);
}

//--- Parents and destruction

TEST_F(Geometry, ChangeParentMovesTheWidgetAndItsOwnership)
{
    TWidget* form = MakeForm();
    TWidget* first = MakeControl(form, "BUTTON", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 1, 4, 4, 150, 150);
    TWidget* second = MakeControl(form, "BUTTON", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 2, 160, 4, 150, 150);
    TWidget* button = MakeButton(first, 3);
    ASSERT_TRUE(MakeWindowsHidden(form));

    button->ChangeParent(second);
    EXPECT_EQ(button->Parent, second);
    EXPECT_EQ(first->Children->Count, 0);
    EXPECT_EQ(first->OwnedObjects, nullptr);
    EXPECT_EQ(second->Children->ItemAt(0), reinterpret_cast<TPtrValue>(button));
    EXPECT_EQ(GetParent(button->Handle), second->Handle);

    AddDeathSentinel(button, 3);
    Free(second);
    EXPECT_TRUE(Died(3)) << "the new parent releases it";
    EXPECT_EQ(first->Children->Count, 0);
    Free(form);
}

TEST_F(Geometry, DestroyingAFormReleasesItsOwnedObjectsInOrderAndItsControlsBeforeItsWindow)
{
    TWidget* form = MakeForm();
    AddDeathSentinel(form, 100);                 // added first: released first
    TWidget* group = MakeControl(form, "BUTTON", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 1, 4, 4, 150, 150);
    AddDeathSentinel(group, 1);
    TWidget* inner = MakeButton(group, 2);
    AddDeathSentinel(inner, 2);
    TWidget* edit = MakeControl(form, "EDIT", WS_CHILD | WS_VISIBLE | WS_BORDER, 3, 160, 4);
    AddDeathSentinel(edit, 3);
    TWidget* button = MakeButton(form, 4);
    AddDeathSentinel(button, 4);
    AddDeathSentinel(form, 200);                 // added last: released last
    form->GetFont();
    ASSERT_TRUE(MakeWindowsHidden(form));
    LogWindowDestroy(form->Handle, 10);
    LogWindowDestroy(group->Handle, 11);
    LogWindowDestroy(inner->Handle, 12);
    LogWindowDestroy(edit->Handle, 13);
    LogWindowDestroy(button->Handle, 14);

    Free(form);
    // Each widget's sentinel fires as its release begins; its window goes at the
    // end of its own destruction, after its children's.
    EXPECT_EQ(Events, (std::vector<int>{100, 1, 2, 12, 11, 3, 13, 4, 14, 200, 10}));
}

TEST_F(Geometry, ADestroyedControlIsGoneFromItsParentAndItsFormsFocus)
{
    TWidget* form = MakeForm();
    TWidget* group = MakeControl(form, "BUTTON", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 1, 4, 4, 150, 150);
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

TEST_F(Geometry, DestroyingAMainFormWhoseWindowIsGoneReleasesEverythingElse)
{
    TWidget* form = MakeForm();
    TWidget* button = MakeButton(form, 1);
    AddDeathSentinel(form, 1);
    AddDeathSentinel(button, 2);
    ASSERT_TRUE(MakeWindowsHidden(form));
    MainWidget = form;
    DestroyWindow(form->Handle);
    EXPECT_TRUE(Died(2)) << "the control was freed right after its WM_DESTROY";
    EXPECT_FALSE(Died(1)) << "the main form stays until the run loop frees it";
    EXPECT_EQ(form->Children->Count, 0);
    Free(form);
    EXPECT_TRUE(Died(1));
    EXPECT_EQ(MainWidget, nullptr) << "no dangling main form";
}
