#include "wol/Shortcuts.h"

#include "runtime/SystemLibraries.h"

bool IsShortcut(const TText& path)
{
    return path.Length() > 4 && lstrcmpiA(path.CStr() + path.Length() - 4, ".lnk") == 0;
}

bool ShortcutTarget(const TText& shortcut, TText& target)
{
    const TComFunctions* com = ComFunctions();
    WCHAR file[MAX_PATH];
    if (!com || !MultiByteToWideChar(CP_ACP, 0, shortcut.CStr(), -1, file, MAX_PATH))
        return false;
    // The link object is a COM object: the thread must be in an apartment while it
    // is used. The call leaves it as it found it.
    const HRESULT apartment = com->CoInitialize(nullptr);
    char path[MAX_PATH] = "";
    IShellLinkA* link;
    if (SUCCEEDED(com->CoCreateInstance(__uuidof(ShellLink), nullptr, CLSCTX_INPROC_SERVER,
                                        __uuidof(IShellLinkA), (void**)&link))) {
        IPersistFile* persist;
        if (SUCCEEDED(link->QueryInterface(__uuidof(IPersistFile), (void**)&persist))) {
            if (SUCCEEDED(persist->Load(file, STGM_READ)))
                link->GetPath(path, MAX_PATH, nullptr, 0);
            persist->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(apartment))
        com->CoUninitialize();
    target = path;
    return path[0] != '\0';
}
