// Shared set-up of the layer's window tests: a fixture that gives each test a main
// form and resets the layer's process-wide state, and a record of what happened.
#pragma once

#include "support/GuiDriverWin32.h"
#include "wol/Controls.h"
#include "wol/RunLoop.h"

#include <gtest/gtest.h>

#include <algorithm>

inline void PrintTo(const TText& text, std::ostream* out) { *out << '"' << text.CStr() << '"'; }

// The ids of sentinels as their owners released them, in order.
inline std::vector<int> Events;
inline void AddDeathSentinel(TRefObject* owner, int id)
{
    owner->AddOwnedRoutine([](intptr_t value) { Events.push_back((int)value); }, id);
}
inline bool Died(int id) { return std::count(Events.begin(), Events.end(), id) != 0; }

// The messages that widgets with RecordMessage attached saw, in order.
struct SeenMessage {
    TWidget* Widget;
    UINT Message;
    WPARAM WParam;
};
inline std::vector<SeenMessage> Seen;
inline bool RecordMessage(TWidget* widget, TMessageRecord& record, LRESULT&)
{
    Seen.push_back({widget, record.Message, record.WParam});
    return false;
}
inline int CountSeen(TWidget* widget, UINT message)
{
    return (int)std::count_if(Seen.begin(), Seen.end(), [&](auto& seen) { return seen.Widget == widget && seen.Message == message; });
}

inline TEventHandler Counter(int& counter) { return {[](void* c, TWidget*) { ++*(int*)c; }, &counter}; }

class WolTest : public ::testing::Test {
protected:
    void SetUp() override { Form = MainWidget = NewForm(nullptr, "Wol Test Form"); }
    void TearDown() override
    {
        RunActive = Terminating = false;
        MainWidget = nullptr;
        Free(Form);
    }
    // Makes the main form's windows, shows them and brings the form to the front.
    void Show()
    {
        Form->SetPosition(120, 100)->SetClientSize(480, 360);
        ASSERT_TRUE(Form->CreateWindow());
        SetForegroundWindow(Form->Handle);
        gui::Require("the form in the foreground", [&] { return GetForegroundWindow() == Form->Handle; });
    }

    TWidget* Form = nullptr;   // the main form, made by NewForm
};
