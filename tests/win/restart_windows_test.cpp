// The restart's decisions, traced in the debug ring of a scratch product,
// with a recorder in place of the two shutdown calls, so that nothing shuts
// down and any Windows version can be played.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "diag/debug_ring.h"
#include "registry_fixture.h"
#include "restart/restart_windows.h"
#include "restart/set_privilege.h"
#include "ring_lines.h"
#include "shared_value_guard.h"

namespace zeltest {
namespace {

const char kShutdownPrivilege[] = "SeShutdownPrivilege";
const char kWinlogonKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

// Whether the process's token has the privilege enabled.
bool PrivilegeEnabled(const char* name)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    LUID luid = {};
    LookupPrivilegeValueA(nullptr, name, &luid);
    char buffer[4096];
    DWORD size = 0;
    bool enabled = false;
    if (GetTokenInformation(token, TokenPrivileges, buffer, sizeof(buffer), &size)) {
        const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer);
        for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
            const LUID& l = privileges->Privileges[i].Luid;
            if (l.LowPart == luid.LowPart && l.HighPart == luid.HighPart)
                enabled = (privileges->Privileges[i].Attributes & SE_PRIVILEGE_ENABLED) != 0;
        }
    }
    CloseHandle(token);
    return enabled;
}

zel::VersionRecord Record(uint32_t platform, uint32_t major, uint32_t minor, const char* servicePack)
{
    zel::VersionRecord v;
    v.known = true;
    v.platformId = platform;
    v.major = major;
    v.minor = minor;
    lstrcpynA(v.servicePack, servicePack, sizeof(v.servicePack));
    return v;
}

const zel::VersionRecord kNt4Sp5 = Record(zel::kPlatformNt, 4, 0, "Service Pack 5");
const zel::VersionRecord kNt4Sp6 = Record(zel::kPlatformNt, 4, 0, "Service Pack 6");
const zel::VersionRecord kNt4Sp6a = Record(zel::kPlatformNt, 4, 0, "Service Pack 6a");
const zel::VersionRecord kWin95 = Record(zel::kPlatformWindows9x, 4, 0, "");
const zel::VersionRecord kWin98 = Record(zel::kPlatformWindows9x, 4, 10, " A ");
const zel::VersionRecord kWin2000 = Record(zel::kPlatformNt, 5, 0, "Service Pack 4");
const zel::VersionRecord kWinXP = Record(zel::kPlatformNt, 5, 1, "Service Pack 3");

// One shutdown call, with the state the restart left before it.
struct RecordedCall {
    std::string call;
    bool markerWritten;
    bool privilegeEnabled;
};

class RecordingCalls : public zel::ShutdownCalls {
public:
    RecordingCalls(const zel::VersionRecord& version, const ScopedProduct& product)
        : version_(version), product_(product)
    {
    }
    zel::VersionRecord Version() const override { return version_; }
    void ShutDownBySystemCall(bool restart) const override
    {
        Note(std::string("InitiateSystemShutdownA(restart ") + (restart ? "true" : "false") + ")");
    }
    void EndWindows(UINT flags) const override { Note("ExitWindowsEx(" + std::to_string(flags) + ")"); }

    mutable std::vector<RecordedCall> calls;

private:
    void Note(const std::string& call) const
    {
        HKEY key = nullptr;
        DWORD marker = 0;
        DWORD size = sizeof(marker);
        if (RegOpenKeyExA(HKEY_CURRENT_USER, product_.Path("Reserved").c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
            RegQueryValueExA(key, "ExitWindows", nullptr, nullptr, reinterpret_cast<BYTE*>(&marker), &size);
            RegCloseKey(key);
        }
        calls.push_back({call, marker == 1, PrivilegeEnabled(kShutdownPrivilege)});
    }

    zel::VersionRecord version_;
    const ScopedProduct& product_;
};

enum class Where { Absent, User, Machine };

struct Preference {
    const char* name;
    Where where;
    DWORD value;
};

enum class Winlogon { Missing, Zero, One };

struct Case {
    const char* label;
    UINT mode;
    zel::VersionRecord version;
    std::vector<Preference> preferences;
    Winlogon winlogon;
    std::vector<std::string> lines;
    std::string call;
    bool privilege;
};

// Without the blank after "==": Wine's profile functions drop the blanks at
// the end of a value, so the line for a missing value is kept and read so.
const char kWinlogonLine[] =
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\PowerdownAfterShutdown ==";
const char kPowerdownLine[] = "Preferences\\EnablePowerdownAfterShutdown == TRUE";

// The product of the test with its ring switched on. The module's ring reads
// its switch once per process, so the first line of the process must be
// written with the switch on; the fixture makes sure of that.
class RestartWindowsTest : public testing::Test {
protected:
    RestartWindowsTest()
        : product_("Restart"), folder_("Restart"),
          winlogon_("ZelTestWinlogonPowerdown", HKEY_LOCAL_MACHINE, kWinlogonKey, "PowerdownAfterShutdown")
    {
        SetTextValue(HKEY_LOCAL_MACHINE, product_.Path("Current Version"), "Install Location", folder_.Path());
        ClearRing();
        zel::DebugIniMessage("switch read");
        if (RingLines(Ini()).size() != 1)
            ADD_FAILURE() << "the module's ring was switched off earlier in this process";
    }

    std::string Ini() const { return folder_.File("QDVPRIME.INI"); }

    void ClearRing() const
    {
        WritePrivateProfileStringA("DebugIniMsgs", nullptr, nullptr, Ini().c_str());
        WritePrivateProfileStringA("DebugIniMsgs", "EnableDebugIniMessages", "1", Ini().c_str());
        WritePrivateProfileStringA("DebugIniMsgs", "LastLine", "0", Ini().c_str());
    }

    void Prepare(const Case& c) const
    {
        ClearRing();
        DeleteKeyTree(HKEY_CURRENT_USER, product_.Path("Reserved"));
        DeleteKeyTree(HKEY_CURRENT_USER, product_.Path("Preferences"));
        DeleteKeyTree(HKEY_LOCAL_MACHINE, product_.Path("Preferences"));
        for (const Preference& p : c.preferences) {
            if (p.where != Where::Absent)
                SetDwordValue(p.where == Where::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE,
                              product_.Path("Preferences"), p.name, p.value);
        }
        if (c.winlogon == Winlogon::Missing)
            winlogon_.Delete();
        else
            winlogon_.SetText(c.winlogon == Winlogon::One ? "1" : "0");
        zel::SetPrivilege(kShutdownPrivilege, FALSE, nullptr);
        ASSERT_FALSE(PrivilegeEnabled(kShutdownPrivilege));
    }

    void Run(const Case& c)
    {
        Prepare(c);
        RecordingCalls calls(c.version, product_);
        zel::RestartWindowsThrough(c.mode, calls);
        EXPECT_EQ(RingLines(Ini()), c.lines) << c.label;
        ASSERT_EQ(calls.calls.size(), 1u) << c.label;
        EXPECT_EQ(calls.calls[0].call, c.call) << c.label;
        EXPECT_TRUE(calls.calls[0].markerWritten) << c.label;
        EXPECT_EQ(calls.calls[0].privilegeEnabled, c.privilege) << c.label;
    }

    ScopedProduct product_;
    ScratchFolder folder_;
    SharedValueGuard winlogon_;
};

const char kDisable[] = "DisableSp6ShutdownWorkaround";
const char kPowerdown[] = "EnablePowerdownAfterShutdown";
const char kPowerOff[] = "EnablePowerOffSupport";

TEST_F(RestartWindowsTest, RebootOnEachSystem)
{
    const std::vector<std::string> exitReboot = {"EWX_REBOOT", "ExitWindowsEx(EWX_REBOOT)"};
    const std::vector<std::string> sp6Reboot = {"EWX_REBOOT", "NT4ServicePack6OrGreater InitiateSystemShutdown REBOOT"};
    const Case cases[] = {
        {"NT 4.0 SP6a", 2, kNt4Sp6a, {}, Winlogon::One, sp6Reboot, "InitiateSystemShutdownA(restart true)", true},
        {"NT 4.0 SP6", 2, kNt4Sp6, {}, Winlogon::Missing, sp6Reboot, "InitiateSystemShutdownA(restart true)", true},
        {"SP6, user 0 over machine 1", 2, kNt4Sp6a, {{kDisable, Where::User, 0}, {kDisable, Where::Machine, 1}},
         Winlogon::Missing, sp6Reboot, "InitiateSystemShutdownA(restart true)", true},
        {"SP6, work-around off for the user", 2, kNt4Sp6a, {{kDisable, Where::User, 1}}, Winlogon::Missing,
         exitReboot, "ExitWindowsEx(2)", true},
        {"SP6, work-around off for the machine", 2, kNt4Sp6a, {{kDisable, Where::Machine, 1}}, Winlogon::Missing,
         exitReboot, "ExitWindowsEx(2)", true},
        {"NT 4.0 SP5", 2, kNt4Sp5, {}, Winlogon::One, exitReboot, "ExitWindowsEx(2)", true},
        {"2000", 2, kWin2000, {}, Winlogon::One, exitReboot, "ExitWindowsEx(2)", true},
        {"XP", 2, kWinXP, {{kPowerdown, Where::User, 1}}, Winlogon::One, exitReboot, "ExitWindowsEx(2)", true},
        {"95", 2, kWin95, {}, Winlogon::One, exitReboot, "ExitWindowsEx(2)", false},
        {"98", 2, kWin98, {}, Winlogon::Missing, exitReboot, "ExitWindowsEx(2)", false},
    };
    for (const Case& c : cases)
        Run(c);
}

TEST_F(RestartWindowsTest, ShutdownAndItsPowerOffRules)
{
    const std::string shutdown = "ExitWindowsEx(WX_SHUTDOWN)";
    const std::string powerOff = "ExitWindowsEx(EWX_POWEROFF)";
    const std::string winlogon = std::string(kWinlogonLine) + " ";
    const Case cases[] = {
        {"SP6 work-around", 1, kNt4Sp6a, {{kPowerdown, Where::User, 1}}, Winlogon::One,
         {"EWX_SHUTDOWN", "NT4ServicePack6OrGreater InitiateSystemShutdown SHUTDOWN"},
         "InitiateSystemShutdownA(restart false)", true},
        {"SP6 work-around off, Winlogon 1", 1, kNt4Sp6a, {{kDisable, Where::Machine, 1}}, Winlogon::One,
         {"EWX_SHUTDOWN", winlogon + "1", powerOff}, "ExitWindowsEx(8)", true},
        {"power-down for the user", 1, kWin2000, {{kPowerdown, Where::User, 1}}, Winlogon::Zero,
         {"EWX_SHUTDOWN", kPowerdownLine, powerOff}, "ExitWindowsEx(8)", true},
        {"power-down for the machine", 1, kWinXP, {{kPowerdown, Where::Machine, 5}}, Winlogon::Missing,
         {"EWX_SHUTDOWN", kPowerdownLine, powerOff}, "ExitWindowsEx(8)", true},
        {"power-down, user 0 over machine 1", 1, kWinXP,
         {{kPowerdown, Where::User, 0}, {kPowerdown, Where::Machine, 1}}, Winlogon::Zero,
         {"EWX_SHUTDOWN", winlogon + "0", shutdown}, "ExitWindowsEx(1)", true},
        {"power-down on 95", 1, kWin95, {{kPowerdown, Where::User, 1}}, Winlogon::Missing,
         {"EWX_SHUTDOWN", kPowerdownLine, powerOff}, "ExitWindowsEx(8)", false},
        {"Winlogon 1", 1, kWin2000, {}, Winlogon::One, {"EWX_SHUTDOWN", winlogon + "1", powerOff},
         "ExitWindowsEx(8)", true},
        {"Winlogon 0", 1, kWin2000, {}, Winlogon::Zero, {"EWX_SHUTDOWN", winlogon + "0", shutdown},
         "ExitWindowsEx(1)", true},
        {"Winlogon missing", 1, kWinXP, {}, Winlogon::Missing, {"EWX_SHUTDOWN", kWinlogonLine, shutdown},
         "ExitWindowsEx(1)", true},
        {"NT 4.0 SP5, Winlogon 1", 1, kNt4Sp5, {}, Winlogon::One, {"EWX_SHUTDOWN", winlogon + "1", powerOff},
         "ExitWindowsEx(8)", true},
        {"power-off support off for the user", 1, kWin2000, {{kPowerOff, Where::User, 0}}, Winlogon::One,
         {"EWX_SHUTDOWN", shutdown}, "ExitWindowsEx(1)", true},
        {"power-off support off for the machine", 1, kWin2000, {{kPowerOff, Where::Machine, 0}}, Winlogon::One,
         {"EWX_SHUTDOWN", shutdown}, "ExitWindowsEx(1)", true},
        {"power-off support, user 1 over machine 0", 1, kWin2000,
         {{kPowerOff, Where::User, 1}, {kPowerOff, Where::Machine, 0}}, Winlogon::One,
         {"EWX_SHUTDOWN", winlogon + "1", powerOff}, "ExitWindowsEx(8)", true},
        {"Winlogon is not read on 98", 1, kWin98, {}, Winlogon::One, {"EWX_SHUTDOWN", shutdown}, "ExitWindowsEx(1)",
         false},
    };
    for (const Case& c : cases)
        Run(c);
}

TEST_F(RestartWindowsTest, PowerOffAndOtherModes)
{
    const std::vector<std::string> other = {"ExitWindowsEx(Other)"};
    const Case cases[] = {
        {"power-off on SP6", 8, kNt4Sp6a, {}, Winlogon::One, {"EWX_POWEROFF", "ExitWindowsEx(EWX_POWEROFF)"},
         "ExitWindowsEx(8)", true},
        {"power-off on 95", 8, kWin95, {}, Winlogon::One, {"EWX_POWEROFF", "ExitWindowsEx(EWX_POWEROFF)"},
         "ExitWindowsEx(8)", false},
        {"0 on SP6", 0, kNt4Sp6a, {{kPowerdown, Where::User, 1}}, Winlogon::One, other, "ExitWindowsEx(0)", false},
        {"0 on 2000", 0, kWin2000, {}, Winlogon::One, other, "ExitWindowsEx(0)", false},
        {"forced shutdown", EWX_SHUTDOWN | EWX_FORCE, kWinXP, {{kPowerdown, Where::User, 1}}, Winlogon::One, other,
         "ExitWindowsEx(5)", false},
        {"forced reboot on SP6", EWX_REBOOT | EWX_FORCE, kNt4Sp6a, {}, Winlogon::One, other, "ExitWindowsEx(6)",
         false},
    };
    for (const Case& c : cases)
        Run(c);
}

TEST_F(RestartWindowsTest, LongWinlogonTextIsReadAsEmpty)
{
    // 300 characters do not fit the 260-byte buffer: the text is not used.
    winlogon_.SetText("1" + std::string(299, 'x'));
    ClearRing();
    RecordingCalls calls(kWin2000, product_);
    zel::RestartWindowsThrough(1, calls);
    EXPECT_EQ(RingLines(Ini()), (std::vector<std::string>{"EWX_SHUTDOWN", kWinlogonLine, "ExitWindowsEx(WX_SHUTDOWN)"}));
    ASSERT_EQ(calls.calls.size(), 1u);
    EXPECT_EQ(calls.calls[0].call, "ExitWindowsEx(1)");
}

TEST(SetPrivilege, EnablesAndDisablesInTheProcessToken)
{
    EXPECT_EQ(zel::SetPrivilege(kShutdownPrivilege, TRUE, nullptr), 0u);
    EXPECT_TRUE(PrivilegeEnabled(kShutdownPrivilege));
    EXPECT_EQ(zel::SetPrivilege(kShutdownPrivilege, TRUE, nullptr), 0u);
    EXPECT_TRUE(PrivilegeEnabled(kShutdownPrivilege));
    EXPECT_EQ(zel::SetPrivilege(kShutdownPrivilege, FALSE, nullptr), 0u);
    EXPECT_FALSE(PrivilegeEnabled(kShutdownPrivilege));
}

// Whether call leaves a handle open. Handle values are handed out lowest
// free first: a handle opened and closed again before the call frees a value
// that the next handle gets again, unless the call kept one open.
template <typename Call>
bool LeavesAHandleOpen(Call call)
{
    HANDLE probe = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CloseHandle(probe);
    call();
    HANDLE next = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CloseHandle(next);
    return next != probe;
}

TEST(SetPrivilege, UnknownPrivilegeGivesTheLookupErrorAndClosesTheToken)
{
    HANDLE kept = nullptr;
    ASSERT_TRUE(LeavesAHandleOpen([&] { OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &kept); }))
        << "the probe does not see a handle left open";
    CloseHandle(kept);
    DWORD status = 0;
    EXPECT_FALSE(LeavesAHandleOpen([&] { status = zel::SetPrivilege("SeNoSuchPrivilege", TRUE, nullptr); }));
    EXPECT_EQ(status, 0x80070000u | ERROR_NO_SUCH_PRIVILEGE);
    EXPECT_FALSE(LeavesAHandleOpen([&] { status = zel::SetPrivilege(kShutdownPrivilege, TRUE, nullptr); }));
    EXPECT_EQ(status, 0u);
    zel::SetPrivilege(kShutdownPrivilege, FALSE, nullptr);
}

TEST(SetPrivilege, TheCallersTokenStaysOpen)
{
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
    EXPECT_EQ(zel::SetPrivilege(kShutdownPrivilege, TRUE, token), 0u);
    EXPECT_TRUE(PrivilegeEnabled(kShutdownPrivilege));
    EXPECT_EQ(zel::SetPrivilege("SeNoSuchPrivilege", FALSE, token), 0x80070000u | ERROR_NO_SUCH_PRIVILEGE);
    DWORD size = 0;
    TOKEN_TYPE type = {};
    EXPECT_TRUE(GetTokenInformation(token, TokenType, &type, sizeof(type), &size)) << "the token was closed";
    EXPECT_TRUE(CloseHandle(token));
    zel::SetPrivilege(kShutdownPrivilege, FALSE, nullptr);
}

TEST(SetPrivilege, TokenWithoutTheRightToAdjust)
{
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    EXPECT_EQ(zel::SetPrivilege(kShutdownPrivilege, TRUE, token), 0x80070000u | ERROR_ACCESS_DENIED);
    EXPECT_FALSE(PrivilegeEnabled(kShutdownPrivilege));
    CloseHandle(token);
}

} // namespace
} // namespace zeltest
