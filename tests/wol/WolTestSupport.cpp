#include "WolTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <new>

namespace {

long liveObjects = 0;
std::vector<UINT> defaultCalls;
std::map<HWND, WNDPROC> systemProcedures;

LRESULT CALLBACK RecordDefault(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    defaultCalls.push_back(message);
    if (WNDPROC system = systemProcedures[window])
        return CallWindowProcA(system, window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

}

void* operator new(std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    ++liveObjects;
    return p;
}

void operator delete(void* p) noexcept
{
    if (p)
        --liveObjects;
    std::free(p);
}

void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { operator delete(p); }

long LiveObjects() { return liveObjects; }

std::vector<int> Events;
std::vector<SeenMessage> Seen;

void AddDeathSentinel(TRefObject* owner, int id)
{
    owner->AddOwnedRoutine([](intptr_t value) { Events.push_back((int)value); }, id);
}

bool Died(int id) { return std::count(Events.begin(), Events.end(), id) != 0; }

bool RecordMessage(TWidget* widget, TMessageRecord& record, LRESULT&)
{
    Seen.push_back({widget, record.Message, record.WParam, record.LParam});
    return false;
}

int CountSeen(TWidget* widget, UINT message)
{
    return (int)std::count_if(Seen.begin(), Seen.end(),
                              [&](const SeenMessage& seen) { return seen.Widget == widget && seen.Message == message; });
}

void RecordDefaultProcessing(TWidget* widget)
{
    systemProcedures[widget->GetHandle()] = widget->BaseWndProc;
    widget->BaseWndProc = RecordDefault;
}

int CountDefault(UINT message) { return (int)std::count(defaultCalls.begin(), defaultCalls.end(), message); }

// The records are reserved so that their growth does not move LiveObjects.
void WolTest::SetUp()
{
    RunActive = Terminating = false;
    Events.clear();
    Events.reserve(256);
    Seen.clear();
    Seen.reserve(1024);
    defaultCalls.clear();
    defaultCalls.reserve(1024);
    Form = MainWidget = NewForm(nullptr, "Wol Test Form");
}

void WolTest::TearDown()
{
    RunActive = Terminating = false;
    MainWidget = nullptr;
    Free(Form);
}

void WolTest::Show()
{
    Form->SetPosition(120, 100)->SetClientSize(480, 360);
    ASSERT_TRUE(Form->CreateWindow());
    SetForegroundWindow(Form->Handle);
    gui::Require("the form in the foreground", [&] { return GetForegroundWindow() == Form->Handle; });
    gui::Settle();
}
