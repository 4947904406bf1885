// The "Help" menu hands its two web pages to the shell, which under Wine asks the
// browser named in Wine's settings: here a script that records the address.
#include "app/AppTest.h"

#include <fstream>

namespace {

const char* const BrowserKey = "Software\\Wine\\WineBrowser";
const char* const RecordingBrowser = "C:\\spindrel-e2e\\browser.sh";
const char* const BrowserLog = "C:\\spindrel-e2e\\browser.log";

// Wine's own translation of a Windows path into the Unix one its programs use.
std::string UnixPath(const std::string& windowsPath)
{
    using UnixFileName = char*(CDECL*)(const WCHAR*);
    auto toUnix = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    if (!toUnix)
        return "";
    const std::wstring wide(windowsPath.begin(), windowsPath.end());
    char* unixPath = toUnix(wide.c_str());
    const std::string result = unixPath ? unixPath : "";
    HeapFree(GetProcessHeap(), 0, unixPath);
    return result;
}

// Points Wine's browser setting at a command and puts the old setting back after.
class BrowserSetting {
public:
    explicit BrowserSetting(const std::string& command)
    {
        RegCreateKeyExA(HKEY_CURRENT_USER, BrowserKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &FKey, nullptr);
        DWORD size = sizeof FOld;
        FHadOld = RegQueryValueExA(FKey, "Browsers", nullptr, nullptr, reinterpret_cast<BYTE*>(FOld), &size) ==
                  ERROR_SUCCESS;
        Set(command);
    }
    ~BrowserSetting()
    {
        if (FHadOld)
            Set(FOld);
        else
            RegDeleteValueA(FKey, "Browsers");
        RegCloseKey(FKey);
    }
    BrowserSetting(const BrowserSetting&) = delete;
    BrowserSetting& operator=(const BrowserSetting&) = delete;

private:
    void Set(const std::string& value)
    {
        RegSetValueExA(FKey, "Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }

    HKEY FKey = nullptr;
    char FOld[1024] = "";
    bool FHadOld = false;
};

bool IsWebAddressEndingIn(const std::string& address, const std::string& path)
{
    const bool web = address.rfind("http://", 0) == 0 || address.rfind("https://", 0) == 0;
    return web && address.size() > path.size() &&
           address.compare(address.size() - path.size(), path.size(), path) == 0 &&
           address[address.size() - path.size() - 1] == '/';
}

using HelpMenuTest = AppTest;

TEST_F(HelpMenuTest, ItsItemsOpenTheHelpAndDownloadPagesInTheBrowser)
{
    const std::string log = UnixPath(BrowserLog);
    if (log.empty())
        GTEST_SKIP() << "needs Wine, whose browser setting the test redirects";
    std::ofstream(RecordingBrowser, std::ios::binary) << "printf '%s\\r\\n' \"$1\" >> '" << log << "'\n";
    const BrowserSetting browser("/bin/sh " + UnixPath(RecordingBrowser));

    auto addresses = [&] { return Lines(ReadFile(BrowserLog)); };
    App.ChooseFirstMenuItem(0);
    Require("the help page to reach the browser", [&] { return addresses().size() == 1; });
    App.ChooseFirstMenuItem(1);
    Require("the download page to reach the browser", [&] { return addresses().size() == 2; });
    EXPECT_TRUE(IsWebAddressEndingIn(addresses()[0], "videoguides/spindrel.html")) << addresses()[0];
    EXPECT_TRUE(IsWebAddressEndingIn(addresses()[1], "download.php")) << addresses()[1];
}

} // namespace
