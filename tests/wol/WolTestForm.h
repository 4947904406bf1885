// Shared set-up of the layer's GUI tests: a main form with real windows, shown
// and in front, freed at the end; and event handlers that count their calls.
#pragma once

#include "support/GuiTestWin32.h"
#include "wol/Controls.h"

#include <gtest/gtest.h>

class FormTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = NewForm(nullptr, "Wol Test Form");
        Form->SetPosition(120, 100);
        Form->SetClientSize(480, 360);
        MainWidget = Form;
    }

    void TearDown() override
    {
        MainWidget = nullptr;
        Free(Form);
    }

    // Makes every window of the form's tree, shows it and brings it to the front.
    void Show()
    {
        ASSERT_TRUE(Form->CreateWindow());
        ASSERT_TRUE(gui::BringToFront(Form->Handle));
        gui::PumpUntilIdle();
    }

    TWidget* Form = nullptr;
};

inline void CountCall(void* counter, TWidget*)
{
    ++*static_cast<int*>(counter);
}

// An event handler that counts its calls in counter.
inline TEventHandler Counter(int& counter)
{
    return TEventHandler{CountCall, &counter};
}
