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
        DWORD t0 = GetTickCount();
        Free(Form);
        fprintf(stderr, "TIMING free %lu\n", GetTickCount()-t0);
    }

    // Makes every window of the form's tree, shows it and brings it to the front.
    void Show()
    {
        DWORD t0 = GetTickCount();
        ASSERT_TRUE(Form->CreateWindow());
        DWORD t1 = GetTickCount();
        ASSERT_TRUE(gui::BringToFront(Form->Handle));
        DWORD t2 = GetTickCount();
        gui::PumpUntilIdle();
        fprintf(stderr, "TIMING create %lu front %lu idle %lu\n", t1-t0, t2-t1, GetTickCount()-t2);
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
