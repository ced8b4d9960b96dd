// The folder questions of the setup script: the common desktop, the setup
// program's path and the check of a chosen destination folder, against the
// real DLL and, for the sources of the desktop path, the module's routine.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/common_desktop.h"
#include "config/local_folder.h"
#include "config/setup_program.h"
#include "frame/module_app.h"
#include "host/host_runner.h"
#include "host/raw_call.h"
#include "message_box_recorder.h"
#include "module_under_test.h"
#include "registry_fixture.h"
#include "test_system.h"
#include "test_window.h"
#include "zelsetup.h"

namespace zeltest {
namespace {

const char kSetupCaption[] = "Halcyra Installation";
const char kSelectLocalFolder[] = "Please select a folder on your LOCAL computer...";
const char kNoDriveRoot[] = "You cannot select the root directory of a drive...";
const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders";

std::string ShellFolderPath(int csidl)
{
    char path[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
        return std::string();
    return path;
}

std::string IniValue(const std::string& ini, const char* section, const char* key)
{
    char value[MAX_PATH] = {};
    GetPrivateProfileStringA(section, key, "(missing)", value, sizeof(value), ini.c_str());
    return value;
}

int CallWithText(const char* name, WORD ordinal, const char* text, HWND owner = nullptr)
{
    HostCallRecord record = {};
    record.ownerWindow = owner;
    record.parameterText = text;
    return Module().Export<ZelHostRecordExport>(name, ordinal)(&record);
}

TEST(CommonDesktop, IsTheShellsSharedDesktop)
{
    const auto location = Module().Export<ZelTextExport>("JTSetupGetCommonDesktopLocation", 33);
    const std::string shell = ShellFolderPath(CSIDL_COMMON_DESKTOPDIRECTORY);
    ASSERT_FALSE(shell.empty());
    const char* first = location();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(std::string(first), shell);
    // One buffer of the library, filled anew by each call.
    EXPECT_EQ(location(), first);
    EXPECT_EQ(std::string(first), shell);
}

TEST(CommonDesktop, FolderLocationWritesTheKeyOfItsIniFile)
{
    ScratchFolder folder("DesktopIni");
    const std::string ini = folder.File("desktop.ini");
    EXPECT_EQ(CallWithText("JTSetupGetCommonDesktopFolderLocation", 32, ini.c_str()), 0);
    EXPECT_EQ(IniValue(ini, "SECTION", "Common Desktop"), ShellFolderPath(CSIDL_COMMON_DESKTOPDIRECTORY));
}

TEST(CommonDesktop, FolderLocationWithoutItsTextWritesNothing)
{
    const auto folderLocation = Module().Export<ZelHostRecordExport>("JTSetupGetCommonDesktopFolderLocation", 32);
    HostCallRecord record = {};
    EXPECT_EQ(folderLocation(&record), 1);
    EXPECT_EQ(folderLocation(nullptr), 1);
}

// What the sources of the tests' choosing answer.
struct DesktopAnswers {
    std::string common;   // the shell's shared desktop
    int registryRead;     // what the registry read answers
    std::string registry; // what it leaves in the buffer
    std::string desktop;  // the shell's desktop of the user
};

// The answers of the moment and what was asked of them.
struct FakeSources {
    DesktopAnswers answers;
    std::vector<std::string> asked;
    std::string registryQuestion;
};
FakeSources g_fake;

void FakeShellFolder(int csidl, char* buffer)
{
    const bool common = csidl == CSIDL_COMMON_DESKTOPDIRECTORY;
    g_fake.asked.push_back(common ? "common" : csidl == CSIDL_DESKTOP ? "desktop" : "other");
    lstrcpynA(buffer, (common ? g_fake.answers.common : g_fake.answers.desktop).c_str(), MAX_PATH);
}

int FakeReadSystemString(HKEY root, const char* keyPath, const char* valueName, char* buffer, DWORD size)
{
    g_fake.asked.push_back("registry");
    g_fake.registryQuestion = std::string(root == HKEY_LOCAL_MACHINE ? "HKLM\\" : "other\\") + keyPath + "|" +
                              valueName + "|" + std::to_string(size);
    lstrcpynA(buffer, g_fake.answers.registry.c_str(), static_cast<int>(size));
    return g_fake.answers.registryRead;
}

const zel::DesktopSources kFakeSources = {FakeShellFolder, FakeReadSystemString};

void Answer(const DesktopAnswers& answers)
{
    g_fake = FakeSources{answers, {}, {}};
}

TEST(CommonDesktop, SourcesAreAskedInTurnUntilOneGivesAPath)
{
    struct Case {
        DesktopAnswers answers;
        std::string path;
        std::vector<std::string> asked;
    };
    const std::vector<std::string> all = {"common", "registry", "desktop"};
    const Case cases[] = {
        {{"C:\\Shared", 1, "C:\\Registry", "C:\\Mine"}, "C:\\Shared", {"common"}},
        {{"", 1, "C:\\Registry", "C:\\Mine"}, "C:\\Registry", {"common", "registry"}},
        {{"", 1, "", "C:\\Mine"}, "C:\\Mine", all}, // an empty value
        {{"", 0, "", "C:\\Mine"}, "C:\\Mine", all}, // no value
        // A value too long for the buffer leaves part of itself behind; a
        // cut path must not pass for the desktop.
        {{"", 0, "C:\\Cut", "C:\\Mine"}, "C:\\Mine", all},
        {{"", 0, "C:\\Cut", ""}, "", all},
        {{"", 0, "", ""}, "", all},
    };
    for (const Case& c : cases) {
        Answer(c.answers);
        const char* path = zel::CommonDesktopLocation(kFakeSources);
        ASSERT_NE(path, nullptr);
        EXPECT_EQ(std::string(path), c.path);
        EXPECT_EQ(g_fake.asked, c.asked) << c.path;
        if (g_fake.asked.size() > 1) {
            EXPECT_EQ(g_fake.registryQuestion, std::string("HKLM\\") + kShellFoldersKey + "|Common Desktop|260");
        }
    }
}

TEST(CommonDesktop, AnEmptyPathIsWrittenAsAnEmptyValue)
{
    ScratchFolder folder("DesktopEmpty");
    const std::string ini = folder.File("desktop.ini");
    Answer({"C:\\Before", 0, "", ""});
    zel::WriteCommonDesktopKey(ini.c_str(), kFakeSources);
    EXPECT_EQ(IniValue(ini, "SECTION", "Common Desktop"), "C:\\Before");
    Answer({"", 0, "", ""});
    zel::WriteCommonDesktopKey(ini.c_str(), kFakeSources);
    EXPECT_EQ(IniValue(ini, "SECTION", "Common Desktop"), "");
}

void NoShellFolder(int, char* buffer)
{
    buffer[0] = '\0';
}

TEST(CommonDesktop, WithoutTheShellTheShellFoldersValueIsRead)
{
    char expected[MAX_PATH] = {};
    DWORD size = sizeof(expected);
    HKEY key = nullptr;
    const bool present =
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, kShellFoldersKey, 0, KEY_READ, &key) == ERROR_SUCCESS &&
        RegQueryValueExA(key, "Common Desktop", nullptr, nullptr, reinterpret_cast<BYTE*>(expected), &size) ==
            ERROR_SUCCESS;
    if (key != nullptr)
        RegCloseKey(key);
    if (!present || expected[0] == '\0')
        GTEST_SKIP() << "this prefix has no \"Common Desktop\" shell folder value";
    const zel::DesktopSources registryOnly = {NoShellFolder, zel::SystemDesktopSources().readSystemString};
    EXPECT_EQ(std::string(zel::CommonDesktopLocation(registryOnly)), expected);
}

TEST(SetupProgram, IsThePathOfThisProgram)
{
    const auto setupExePath = Module().Export<ZelTextExport>("JTGetSetupExePath", 25);
    const char* path = setupExePath();
    ASSERT_NE(path, nullptr);
    // The program's path asked in its wide form, converted to the code page.
    wchar_t wide[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, wide, MAX_PATH), 0u);
    char own[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, own, sizeof(own), nullptr, nullptr);
    EXPECT_EQ(std::string(path), own);
    const std::string name = "\\win_tests_" + SystemName() + ".exe";
    const std::string text(path);
    ASSERT_GT(text.size(), name.size());
    EXPECT_EQ(lstrcmpiA(text.substr(text.size() - name.size()).c_str(), name.c_str()), 0) << text;
    EXPECT_EQ(setupExePath(), path);
}

TEST(SetupProgram, APathThatDoesNotFitIsEmptyNotCut)
{
    char buffer[8];
    lstrcpyA(buffer, "stale");
    EXPECT_FALSE(zel::GetModulePath(nullptr, buffer, sizeof(buffer)));
    EXPECT_STREQ(buffer, "");
    char whole[MAX_PATH];
    EXPECT_TRUE(zel::GetModulePath(Module().handle(), whole, sizeof(whole)));
    EXPECT_EQ(std::string(whole), ModuleBesideProgram("ZELSETUP.dll"));
}

TEST(SetupProgram, TheHostPrintsIt)
{
    std::string output;
    const int exitCode = zelhost::RunHost({"--dll", ModuleBesideProgram("ZELSETUP.dll"), "JTGetSetupExePath"},
                                          [&output](const std::string& text) { output += text; });
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(output, std::string(Module().Export<ZelTextExport>("JTGetSetupExePath", 25)()) + "\n");
}

// The drives that the test prefix is given (scripts/wine-run --prepare).
struct FolderCase {
    const char* folder;
    int result;
    const char* message; // null: no box
};

const FolderCase kFolderCases[] = {
    {"C:\\Program Files\\Halcyra", 0, nullptr},
    {"c:\\halcyra", 0, nullptr},
    {"F:\\Halcyra", 0, nullptr},          // removable (floppy)
    {"M:\\Halcyra", 1, kSelectLocalFolder}, // CD-ROM
    {"N:\\Halcyra", 1, kSelectLocalFolder}, // network
    {"R:\\Halcyra", 1, kSelectLocalFolder}, // RAM disk
    {"M:", 1, kSelectLocalFolder},        // the type is judged before the root
    {"W:\\Halcyra", 1, kSelectLocalFolder}, // no such drive
    {"\\\\server\\share", 1, kSelectLocalFolder},
    {"", 1, kSelectLocalFolder},
    {"C", 1, kNoDriveRoot},
    {"C:", 1, kNoDriveRoot},
    {"F:", 1, kNoDriveRoot},
    {"C:\\", 0, nullptr},
    {"C:rel", 0, nullptr},
};

// The verdicts do not depend on the Windows version, and under qemu-user a
// call into Wine's device manager (a drive type) has been seen to crash the
// 32-bit test program inside Wine: the drive tests run in one run only.
bool RunsTheDriveTests()
{
    return SystemName() == "win2k";
}

TEST(LocalDirectory, DriveTypesAndRootsOfThePrefix)
{
    if (!RunsTheDriveTests())
        GTEST_SKIP() << "the drive tests run in the win2k run";
    // The prefix's drives are what the cases are about: make a missing one
    // show as such rather than as a wrong verdict.
    const std::pair<const char*, UINT> drives[] = {
        {"C:\\", DRIVE_FIXED}, {"F:\\", DRIVE_REMOVABLE}, {"M:\\", DRIVE_CDROM},
        {"N:\\", DRIVE_REMOTE}, {"R:\\", DRIVE_RAMDISK}, {"W:\\", DRIVE_NO_ROOT_DIR},
    };
    for (const auto& drive : drives)
        ASSERT_EQ(GetDriveTypeA(drive.first), drive.second) << drive.first << " (scripts/wine-run --prepare)";

    const auto validate = Module().Export<ZelHostRecordExport>("JTSetupValidateLocalDirectory", 50);
    TestWindow host;
    MessageBoxRecorder recorder;
    for (const FolderCase& c : kFolderCases) {
        HostCallRecord record = {};
        record.ownerWindow = host.get();
        record.parameterText = c.folder;
        EXPECT_EQ(validate(&record), c.result) << "\"" << c.folder << "\"";
        std::vector<RecordedBox> expected;
        if (c.message != nullptr)
            expected.push_back({host.get(), kSetupCaption, c.message});
        EXPECT_EQ(recorder.Take(), expected) << "\"" << c.folder << "\"";
    }
}

TEST(LocalDirectory, WithoutItsTextNoBox)
{
    const auto validate = Module().Export<ZelHostRecordExport>("JTSetupValidateLocalDirectory", 50);
    MessageBoxRecorder recorder;
    HostCallRecord record = {};
    EXPECT_EQ(validate(&record), 1);
    EXPECT_EQ(validate(nullptr), 1);
    EXPECT_TRUE(recorder.Take().empty());
}

// The wait cursor count when the box's message loop first runs the timer.
int g_countDuringBox = -1;

void CALLBACK NoteWaitCursorCount(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_countDuringBox < 0)
        g_countDuringBox = zel::ModuleApp::Current()->WaitCursorCount();
}

TEST(LocalDirectory, TheBoxIsShownUnderTheWaitCursor)
{
    if (!RunsTheDriveTests())
        GTEST_SKIP() << "the drive tests run in the win2k run";
    TestWindow host;
    HostCallRecord record = {};
    record.ownerWindow = host.get();
    record.parameterText = "C:";
    g_countDuringBox = -1;
    const UINT_PTR probe = SetTimer(nullptr, 0, 10, &NoteWaitCursorCount);
    {
        MessageBoxRecorder recorder;
        EXPECT_EQ(zel::ValidateLocalDirectory(&record), 1);
        EXPECT_EQ(recorder.Take().size(), 1u);
    }
    KillTimer(nullptr, probe);
    EXPECT_EQ(g_countDuringBox, 1);
    EXPECT_EQ(zel::ModuleApp::Current()->WaitCursorCount(), 0);
}

TEST(FolderExports, HostRecordFormsRemoveFourBytesAndRestoreTheCursor)
{
    struct Row {
        const char* name;
        WORD ordinal;
        uint32_t resultWithoutText;
    };
    const Row rows[] = {
        {"JTSetupCleanUpOldFiles", 31, 0},
        {"JTSetupGetCommonDesktopFolderLocation", 32, 1},
        {"JTSetupValidateLocalDirectory", 50, 1},
    };
    HCURSOR before = LoadCursor(nullptr, IDC_CROSS);
    SetCursor(before);
    for (const Row& row : rows) {
        HostCallRecord record = {};
        const uint32_t args[] = {reinterpret_cast<uint32_t>(&record)};
        const zelcall::ProbedCall call =
            zelcall::CallAndMeasureStack(Module().Export<const void*>(row.name, row.ordinal), args, 1);
        EXPECT_EQ(call.bytesRemoved, 4) << row.name;
        EXPECT_EQ(call.result, row.resultWithoutText) << row.name;
        EXPECT_EQ(GetCursor(), before) << row.name;
    }
}

} // namespace
} // namespace zeltest
