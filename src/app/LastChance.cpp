#include "app/LastChance.h"

#include "runtime/Text.h"

#include <windows.h>

namespace {

struct TExceptionKind {
    DWORD Code;
    const char* Kind;
    const char* Text;
};

const TExceptionKind ExceptionKinds[] = {
    {EXCEPTION_ACCESS_VIOLATION, "EAccessViolation", "Access violation"},
    {EXCEPTION_STACK_OVERFLOW, "EStackOverflow", "Stack overflow"},
    {EXCEPTION_INT_DIVIDE_BY_ZERO, "EDivByZero", "Division by zero"},
    {EXCEPTION_ILLEGAL_INSTRUCTION, "EPrivilege", "Privileged instruction"},
};

// The code address as fixed-width hexadecimal, as a debugger shows it.
TText AddressText(const void* address)
{
    TText text;
    const uintptr_t value = reinterpret_cast<uintptr_t>(address);
    for (int shift = 8 * sizeof value - 4; shift >= 0; shift -= 4)
        text += "0123456789ABCDEF"[(value >> shift) & 15];
    return text;
}

LONG WINAPI ReportAndExit(EXCEPTION_POINTERS* info)
{
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    const char* kind = "EExternalException";
    const char* text = "External exception";
    for (const TExceptionKind& k : ExceptionKinds) {
        if (k.Code == record->ExceptionCode) {
            kind = k.Kind;
            text = k.Text;
        }
    }
    char module[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, module, sizeof module);
    const char* name = module + length;
    while (name > module && name[-1] != '\\' && name[-1] != '/')
        --name;
    const TText message = TText("Exception ") + kind + " in module " + name + " at " +
                          AddressText(record->ExceptionAddress) + ".\r\n" + text + ".";
    MessageBoxA(nullptr, message.CStr(), "Application Error", MB_TASKMODAL | MB_ICONERROR);
    ExitProcess(1);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

void InstallLastChanceReport()
{
    SetUnhandledExceptionFilter(ReportAndExit);
}
