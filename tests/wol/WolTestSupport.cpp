#include "WolTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <new>

//--- Counting live objects: this program's operator new and delete

namespace {
long liveObjects = 0;
}

void* operator new(std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    ++liveObjects;
    return p;
}

void* operator new[](std::size_t size) { return operator new(size); }

void operator delete(void* p) noexcept
{
    if (!p)
        return;
    --liveObjects;
    std::free(p);
}

void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { operator delete(p); }

long LiveObjects() { return liveObjects; }

std::vector<int> Events;
std::vector<SeenMessage> Seen;

TWidget* MakeForm(const char* caption)
{
    TWidget* form = NewWidget(nullptr);
    form->ClassName = "Form";
    form->ClassStyle |= CS_DBLCLKS;
    form->SetText(caption);
    return form;
}

TWidget* MakeControl(TWidget* parent, const char* className, DWORD style, UINT id, int x, int y, int w, int h)
{
    TWidget* control = NewWidget(parent);
    control->ClassName = className;
    control->IsControl = true;
    control->Style = style;
    control->TabStop = (style & WS_TABSTOP) != 0;
    control->MenuOrId = id;
    control->BoundsRect = RECT{x, y, x + w, y + h};
    return control;
}

namespace {

void RecordDeath(intptr_t id) { Events.push_back(static_cast<int>(id)); }

std::map<HWND, std::pair<WNDPROC, int>> loggedWindows;

LRESULT CALLBACK DestroyLogger(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto found = loggedWindows.find(window);
    WNDPROC previous = found->second.first;
    if (message == WM_DESTROY)
        Events.push_back(found->second.second);
    if (message == WM_NCDESTROY)
        loggedWindows.erase(found);
    return CallWindowProcA(previous, window, message, wParam, lParam);
}

std::vector<UINT> defaultCalls;
std::map<HWND, WNDPROC> realDefaults;

LRESULT CALLBACK DefaultRecorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    defaultCalls.push_back(message);
    if (WNDPROC real = realDefaults[window])
        return CallWindowProcA(real, window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

}

void AddDeathSentinel(TRefObject* owner, int id) { owner->AddOwnedRoutine(RecordDeath, id); }

bool Died(int id) { return std::count(Events.begin(), Events.end(), id) != 0; }

void LogWindowDestroy(HWND window, int id)
{
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DestroyLogger)));
    loggedWindows[window] = {previous, id};
}

bool RecordMessage(TWidget* widget, TMessageRecord& record, LRESULT&)
{
    Seen.push_back({widget, record.Message, record.WParam, record.LParam});
    return false;
}

int CountSeen(TWidget* widget, UINT message)
{
    return static_cast<int>(std::count_if(Seen.begin(), Seen.end(), [&](const SeenMessage& seen) {
        return seen.Widget == widget && seen.Message == message;
    }));
}

void RecordDefaultProcessing(TWidget* widget)
{
    realDefaults[widget->GetHandle()] = widget->BaseWndProc;
    widget->BaseWndProc = DefaultRecorder;
}

int CountDefault(UINT message)
{
    return static_cast<int>(std::count(defaultCalls.begin(), defaultCalls.end(), message));
}

namespace {

// Dispatches everything queued for this thread; WM_QUIT is taken, not acted on.
void DrainQueue()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT)
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}

void CoreTest::SetUp()
{
    RunActive = Terminating = false;
    MainWidget = CreationWidget = nullptr;
    DrainQueue();
    // Reserved so that the records' own growth does not move LiveObjects.
    Events.clear();
    Events.reserve(256);
    Seen.clear();
    Seen.reserve(1024);
    defaultCalls.clear();
    defaultCalls.reserve(1024);
}

void CoreTest::TearDown()
{
    DrainQueue();
    RunActive = Terminating = false;
    MainWidget = CreationWidget = nullptr;
}
