// Shared set-up of the layer's window tests: a fixture that resets the layer's
// process-wide state and gives each test a main form, records of what handlers
// saw, and a count of live heap objects that proves nothing outlives a run.
#pragma once

#include "support/GuiDriverWin32.h"
#include "wol/Controls.h"
#include "wol/RunLoop.h"

#include <gtest/gtest.h>

// Texts in failure messages as text.
inline void PrintTo(const TText& text, std::ostream* out) { *out << '"' << text.CStr() << '"'; }

// Objects made with operator new and not yet deleted: every object of the layer.
long LiveObjects();

// What happened, in order: the ids of sentinels as their owners released them.
extern std::vector<int> Events;
void AddDeathSentinel(TRefObject* owner, int id);
bool Died(int id);

// The messages that widgets with RecordMessage attached saw, and those that reached
// default processing of widgets given RecordDefaultProcessing.
struct SeenMessage {
    TWidget* Widget;
    UINT Message;
    WPARAM WParam;
    LPARAM LParam;
};
extern std::vector<SeenMessage> Seen;
bool RecordMessage(TWidget* widget, TMessageRecord& record, LRESULT& result);
int CountSeen(TWidget* widget, UINT message);
void RecordDefaultProcessing(TWidget* widget);
int CountDefault(UINT message);

// An event handler that counts its calls in counter.
inline TEventHandler Counter(int& counter) { return {[](void* c, TWidget*) { ++*(int*)c; }, &counter}; }

class WolTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Makes every window of the main form, shows it and brings it to the front.
    void Show();

    TWidget* Form = nullptr;   // the main form, made by NewForm
};
