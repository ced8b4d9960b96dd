// The restart export for real. Wine's ExitWindowsEx ends every other program
// of its prefix, so this runs only where the program has a prefix of its own:
// tests/win/reboot_in_throwaway_prefix.sh sets ZEL_THROWAWAY_PREFIX and, once
// the program has ended, checks from outside what the test leaves behind on
// purpose: the ring and the agent's record in C:\halcyra-reboot and the
// marker under HKEY_CURRENT_USER.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "module_under_test.h"
#include "registry_fixture.h"
#include "ring_lines.h"
#include "standin_process.h"
#include "test_system.h"
#include "zelsetup.h"

namespace zeltest {
namespace {

const char kFolder[] = "C:\\halcyra-reboot";

bool WaitForWindow(const char* title, DWORD timeoutMs)
{
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        if (FindWindowA(nullptr, title) != nullptr)
            return true;
        Sleep(100);
    }
    return false;
}

DWORD ReadMarker()
{
    HKEY key = nullptr;
    DWORD marker = 0;
    DWORD size = sizeof(marker);
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Kelvaron\\Vantorell\\Reserved", 0, KEY_READ, &key) ==
        ERROR_SUCCESS) {
        RegQueryValueExA(key, "ExitWindows", nullptr, nullptr, reinterpret_cast<BYTE*>(&marker), &size);
        RegCloseKey(key);
    }
    return marker;
}

TEST(RebootComputerExport, ClosesTheAgentThenRestarts)
{
    if (GetEnvironmentVariableA("ZEL_THROWAWAY_PREFIX", nullptr, 0) == 0)
        GTEST_SKIP() << "restarts Windows for real: runs only in a Wine prefix of its own";
    ASSERT_TRUE(CreateDirectoryA(kFolder, nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    const std::string folder = kFolder;
    const std::string ini = folder + "\\QDVPRIME.INI";
    const std::string agentRecord = folder + "\\agent.txt";
    // The module's default registry names, which nothing else in this prefix uses.
    SetTextValue(HKEY_LOCAL_MACHINE, "Software\\Kelvaron\\Vantorell\\Current Version", "Install Location", folder);
    ASSERT_TRUE(WritePrivateProfileStringA("DebugIniMsgs", "EnableDebugIniMessages", "1", ini.c_str()));

    StandinProcess agent("halcyra_agent", "\"" + agentRecord + "\"");
    ASSERT_TRUE(WaitForWindow("Halcyra Agent", 30000)) << "the agent stand-in shows no window";

    HCURSOR before = LoadCursor(nullptr, IDC_CROSS);
    SetCursor(before);
    HostCallRecord record = {};
    EXPECT_EQ(Module().Export<ZelHostRecordExport>("JTSetupRebootComputer", 20)(&record), 0);

    // SendMessageA returned only once the agent had handled WM_CLOSE.
    EXPECT_EQ(ReadFileBytes(agentRecord), "WM_CLOSE\r\n");
    EXPECT_TRUE(agent.WaitForExit(10000)) << "the agent did not close";
    const std::vector<std::string> expected =
        SystemName() == "nt40"
            ? std::vector<std::string>{"EWX_REBOOT", "NT4ServicePack6OrGreater InitiateSystemShutdown REBOOT"}
            : std::vector<std::string>{"EWX_REBOOT", "ExitWindowsEx(EWX_REBOOT)"};
    EXPECT_EQ(RingLines(ini), expected) << SystemName();
    EXPECT_EQ(ReadMarker(), 1u);
    EXPECT_EQ(GetCursor(), before);
}

} // namespace
} // namespace zeltest
