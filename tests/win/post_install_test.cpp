// The post-install exports of the real DLL over scratch setup and install
// folders, with the stand-in registry editor of the prefix's Windows folder
// (installed by the prefix preparation), which notes how it was started.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "config/run_program.h"
#include "host/raw_call.h"
#include "module_under_test.h"
#include "registry_fixture.h"
#include "scoped_environment.h"
#include "standin_process.h"
#include "zelsetup.h"

namespace zeltest {
namespace {

std::string Lower(std::string text)
{
    CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

// The Windows folder's editor. A 32-bit program that starts it is led to the
// one in syswow64 on 64-bit Windows, and so under Wine.
bool IsWindowsFolderEditor(const std::string& exe)
{
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof(windows));
    const std::string started = Lower(exe);
    return started == Lower(std::string(windows) + "\\REGEDIT.EXE") ||
           started == Lower(std::string(windows) + "\\syswow64\\regedit.exe");
}

std::string ShortPath(const std::string& path)
{
    char shortPath[MAX_PATH] = {};
    const DWORD length = GetShortPathNameA(path.c_str(), shortPath, sizeof(shortPath));
    EXPECT_GT(length, 0u) << path;
    return shortPath;
}

// Removes a folder with everything below it.
void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(folder + "\\" + name);
            else
                DeleteFileA((folder + "\\" + name).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

// Creates folders below base until the path is exactly length characters
// long, each part of one to eight capitals, so that it is its own short name.
std::string DeepFolder(const std::string& base, size_t length)
{
    CreateDirectoryA(base.c_str(), nullptr);
    const size_t rest = length - base.size();
    const size_t parts = (rest + 8) / 9;
    std::string path = base;
    for (size_t i = 0; i < parts; ++i) {
        const size_t share = rest / parts + (i < rest % parts ? 1 : 0); // backslash and name
        path += "\\" + std::string(share - 1, static_cast<char>('A' + i % 26));
        CreateDirectoryA(path.c_str(), nullptr);
    }
    EXPECT_EQ(path.size(), length);
    return path;
}

// What the stand-in editor noted of its runs.
struct EditorRun {
    std::string exe;
    std::string arguments;
    bool ended = false;
};

class PostInstall : public testing::Test {
protected:
    PostInstall()
        : setup_("Post Setup"), install_("Post Install"), editorLog_(install_.Path() + ".editor.log"),
          importKey_("Software\\" + UniqueName("PostImport")), logVariable_("ZEL_REGEDIT_LOG", editorLog_)
    {
        DeleteFileA(editorLog_.c_str());
    }

    ~PostInstall() override
    {
        DeleteFileA(editorLog_.c_str());
        DeleteKeyTree(HKEY_CURRENT_USER, importKey_);
        RemoveTree(setup_.Path());
        RemoveTree(install_.Path());
    }

    // A registry file that stores tag under the test's own key.
    void WriteRegistryFile(const std::string& path, const std::string& tag) const
    {
        WriteFileBytes(path, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + importKey_ + "]\r\n\"Imported\"=\"" + tag +
                                 "\"\r\n\r\n");
    }

    std::string Imported() const
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, importKey_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return "(none)";
        char text[64] = {};
        DWORD size = sizeof(text) - 1;
        const LONG status = RegQueryValueExA(key, "Imported", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
        RegCloseKey(key);
        return status == ERROR_SUCCESS ? text : "(none)";
    }

    std::vector<EditorRun> EditorRuns() const
    {
        std::vector<EditorRun> runs;
        for (const std::string& line : ReadLines(editorLog_)) {
            if (line.rfind("exe: ", 0) == 0)
                runs.push_back({line.substr(5), std::string(), false});
            else if (!runs.empty() && line.rfind("args: ", 0) == 0)
                runs.back().arguments = line.substr(6);
            else if (!runs.empty() && line == "end: 0")
                runs.back().ended = true;
        }
        return runs;
    }

    // The one run of the Windows folder's editor, ended, for this file.
    void ExpectImportOf(const std::string& registryFile, const std::string& tag) const
    {
        const std::vector<EditorRun> runs = EditorRuns();
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_TRUE(IsWindowsFolderEditor(runs[0].exe)) << runs[0].exe;
        EXPECT_EQ(runs[0].arguments, "/s /i " + ShortPath(registryFile));
        EXPECT_TRUE(runs[0].ended);
        EXPECT_EQ(Imported(), tag);
    }

    void ExpectNoImport() const
    {
        EXPECT_TRUE(EditorRuns().empty());
        EXPECT_EQ(Imported(), "(none)");
    }

    int Perform(const char* setupFolder, const char* installFolder) const
    {
        return Module().Export<ZelPostInstallExport>("JTPerformPostInstallActions", 28)(setupFolder, installFolder);
    }
    int Perform(const std::string& setupFolder, const std::string& installFolder) const
    {
        return Perform(setupFolder.c_str(), installFolder.c_str());
    }

    std::string CopyTarget() const { return install_.File("QDVINIT.INI"); }

    ScratchFolder setup_;
    ScratchFolder install_;
    std::string editorLog_;
    std::string importKey_;
    ScopedEnvironment logVariable_;
};

TEST_F(PostInstall, WithoutSetupIniTheSetupFolderFilesAreCopiedAndImported)
{
    WriteFileBytes(setup_.File("QDVINIT.INI"), "[Preferences]\r\nFirst=1\r\n");
    WriteRegistryFile(setup_.File("QDVCFG.REG"), "default");
    EXPECT_EQ(Perform(setup_.Path(), install_.Path()), 1);
    EXPECT_EQ(ReadFileBytes(CopyTarget()), "[Preferences]\r\nFirst=1\r\n");
    ExpectImportOf(setup_.File("QDVCFG.REG"), "default");
}

TEST_F(PostInstall, OneTrailingBackslashOfEitherFolderMakesNoDifference)
{
    WriteFileBytes(setup_.File("QDVINIT.INI"), "prefs");
    WriteRegistryFile(setup_.File("QDVCFG.REG"), "slash");
    EXPECT_EQ(Perform(setup_.Path() + "\\", install_.Path() + "\\"), 1);
    EXPECT_EQ(ReadFileBytes(CopyTarget()), "prefs");
    ExpectImportOf(setup_.File("QDVCFG.REG"), "slash");
}

TEST_F(PostInstall, TwoTrailingBackslashesLoseOnlyOne)
{
    WriteFileBytes(setup_.File("QDVINIT.INI"), "prefs");
    EXPECT_EQ(Perform(setup_.Path() + "\\\\", install_.Path()), 1);
    // "folder\\QDVINIT.INI" still names the file, and the copy is made.
    EXPECT_EQ(ReadFileBytes(CopyTarget()), "prefs");
}

TEST_F(PostInstall, SetupIniNamesOtherFilesAndTheCopyIsStillQdvinit)
{
    WriteFileBytes(setup_.File("QDVINIT.INI"), "default prefs");
    WriteRegistryFile(setup_.File("QDVCFG.REG"), "default");
    WriteFileBytes(setup_.File("custom prefs.ini"), "custom prefs");
    WriteRegistryFile(setup_.File("custom settings.reg"), "custom");
    WritePrivateProfileStringA("Configuration", "InitialPreferencesFile", setup_.File("custom prefs.ini").c_str(),
                               setup_.File("QDVSETUP.INI").c_str());
    WritePrivateProfileStringA("Configuration", "InitialRegFile", setup_.File("custom settings.reg").c_str(),
                               setup_.File("QDVSETUP.INI").c_str());
    WriteFileBytes(CopyTarget(), "an older copy");

    EXPECT_EQ(Perform(setup_.Path(), install_.Path()), 1);
    EXPECT_EQ(ReadFileBytes(CopyTarget()), "custom prefs"); // replaced
    EXPECT_FALSE(FileExists(install_.File("custom prefs.ini")));
    ExpectImportOf(setup_.File("custom settings.reg"), "custom");
}

TEST_F(PostInstall, NamedFilesThatAreMissingOrEmptyLeaveTheDefaultsAlone)
{
    WriteFileBytes(setup_.File("QDVINIT.INI"), "default prefs");
    WriteRegistryFile(setup_.File("QDVCFG.REG"), "default");
    const std::string setupIni = setup_.File("QDVSETUP.INI");
    for (const std::string& named : {setup_.File("missing.ini"), std::string()}) {
        WritePrivateProfileStringA("Configuration", "InitialPreferencesFile", named.c_str(), setupIni.c_str());
        WritePrivateProfileStringA("Configuration", "InitialRegFile", named.c_str(), setupIni.c_str());
        EXPECT_EQ(Perform(setup_.Path(), install_.Path()), 1);
        EXPECT_FALSE(FileExists(CopyTarget())) << named;
        ExpectNoImport();
    }
}

TEST_F(PostInstall, EachStepHappensWithoutTheOther)
{
    WriteRegistryFile(setup_.File("QDVCFG.REG"), "alone");
    EXPECT_EQ(Perform(setup_.Path(), install_.Path()), 1);
    EXPECT_FALSE(FileExists(CopyTarget()));
    ExpectImportOf(setup_.File("QDVCFG.REG"), "alone");

    DeleteFileA(setup_.File("QDVCFG.REG").c_str());
    DeleteFileA(editorLog_.c_str());
    DeleteKeyTree(HKEY_CURRENT_USER, importKey_);
    WriteFileBytes(setup_.File("QDVINIT.INI"), "prefs alone");
    EXPECT_EQ(Perform(setup_.Path(), install_.Path()), 1);
    EXPECT_EQ(ReadFileBytes(CopyTarget()), "prefs alone");
    ExpectNoImport();
}

TEST_F(PostInstall, NullFolderReturnsZeroAndDoesNothing)
{
    WriteFileBytes(setup_.File("QDVINIT.INI"), "prefs");
    WriteRegistryFile(setup_.File("QDVCFG.REG"), "null");
    EXPECT_EQ(Perform(nullptr, install_.Path().c_str()), 0);
    EXPECT_EQ(Perform(setup_.Path().c_str(), nullptr), 0);
    EXPECT_EQ(Perform(nullptr, nullptr), 0);
    EXPECT_FALSE(FileExists(CopyTarget()));
    ExpectNoImport();
}

TEST_F(PostInstall, ImportReturnsOnlyAfterTheEditorHasEnded)
{
    // The editor sleeps before its import and notes its end only after it;
    // a caller that did not wait would return before that note. (No second
    // thread: under qemu-user one has been seen to leave the test program's
    // main thread with another thread's state.)
    WriteRegistryFile(setup_.File("QDVCFG.REG"), "waited");
    ScopedEnvironment hold("ZEL_REGEDIT_HOLD_MS", "1500");
    const DWORD start = GetTickCount();
    EXPECT_EQ(Perform(setup_.Path(), install_.Path()), 1);
    EXPECT_GE(GetTickCount() - start, 1500u);
    ExpectImportOf(setup_.File("QDVCFG.REG"), "waited");
}

// On Windows a bare name would find the current folder's REGEDIT.EXE before
// the Windows folder's. Wine's shell finds the Windows folder's first even
// then, so under Wine this test holds for a bare name as well.
TEST_F(PostInstall, AnEditorInTheCurrentFolderIsNotTheOneStarted)
{
    ScratchFolder current("Post Current");
    const std::string decoy = current.File("REGEDIT.EXE");
    ASSERT_TRUE(CopyFileA(StandinPath("regedit").c_str(), decoy.c_str(), FALSE));
    char before[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof(before), before);
    ASSERT_TRUE(SetCurrentDirectoryA(current.Path().c_str()));
    WriteRegistryFile(setup_.File("QDVCFG.REG"), "windows folder");
    const int result = Perform(setup_.Path(), install_.Path());
    SetCurrentDirectoryA(before);
    EXPECT_EQ(result, 1);
    ExpectImportOf(setup_.File("QDVCFG.REG"), "windows folder");
    // The editor started in that folder; it may be a moment before Wine lets
    // the folder go.
    DeleteFileA(decoy.c_str());
    for (int i = 0; i < 50 && !RemoveDirectoryA(current.Path().c_str()); ++i)
        Sleep(100);
}

TEST_F(PostInstall, ASetupFolderTooLongForItsFilesSkipsBothSteps)
{
    // folder + "\QDVSETUP.INI" is 260 characters: one too many. The copy's and
    // the import's files would still fit, but the setup INI file that could
    // name others cannot be read.
    const std::string folder = DeepFolder(setup_.Path(), 260 - 13);
    WriteFileBytes(folder + "\\QDVINIT.INI", "prefs");
    WriteRegistryFile(folder + "\\QDVCFG.REG", "too long");
    ASSERT_TRUE(FileExists(folder + "\\QDVCFG.REG"));
    EXPECT_EQ(Perform(folder, install_.Path()), 1);
    EXPECT_FALSE(FileExists(CopyTarget()));
    ExpectNoImport();

    // One character less, and both steps take place.
    const std::string fits = DeepFolder(setup_.File("fits"), 260 - 14);
    WriteFileBytes(fits + "\\QDVINIT.INI", "prefs");
    WriteRegistryFile(fits + "\\QDVCFG.REG", "fits");
    EXPECT_EQ(Perform(fits, install_.Path()), 1);
    EXPECT_EQ(ReadFileBytes(CopyTarget()), "prefs");
    ExpectImportOf(fits + "\\QDVCFG.REG", "fits");
}

TEST_F(PostInstall, AnInstallFolderTooLongForTheCopySkipsOnlyTheCopy)
{
    // folder + "\QDVINIT.INI" is 260 characters.
    const std::string folder = DeepFolder(install_.Path(), 260 - 12);
    const std::string cut = folder.substr(0, folder.size() - 1);
    WriteFileBytes(setup_.File("QDVINIT.INI"), "prefs");
    WriteRegistryFile(setup_.File("QDVCFG.REG"), "import still");
    EXPECT_EQ(Perform(setup_.Path(), folder), 1);
    EXPECT_FALSE(FileExists(folder + "\\QDVINIT.INI"));
    EXPECT_FALSE(FileExists(cut + "\\QDVINIT.INI"));
    EXPECT_FALSE(FileExists(folder + "\\QDVINIT.IN"));
    ExpectImportOf(setup_.File("QDVCFG.REG"), "import still");
}

TEST_F(PostInstall, AParameterTextTooLongSkipsTheImport)
{
    // Below the short form of a folder, parts of capitals are their own short
    // names, so the short path is the long one: 254 characters give "/s /i "
    // and 254, one too many.
    ScratchFolder files("PostParameters");
    const std::string base = ShortPath(files.Path());
    const std::string tooLong = DeepFolder(base + "\\LONG", 254 - 11) + "\\QDVCFG.REG";
    WriteRegistryFile(tooLong, "too long");
    ASSERT_EQ(ShortPath(tooLong).size(), 254u);
    const std::string setupIni = setup_.File("QDVSETUP.INI");
    WritePrivateProfileStringA("Configuration", "InitialRegFile", tooLong.c_str(), setupIni.c_str());
    EXPECT_EQ(Perform(setup_.Path(), install_.Path()), 1);
    ExpectNoImport();

    const std::string fits = DeepFolder(base + "\\FITS", 253 - 11) + "\\QDVCFG.REG";
    WriteRegistryFile(fits, "fits");
    ASSERT_EQ(ShortPath(fits).size(), 253u);
    WritePrivateProfileStringA("Configuration", "InitialRegFile", fits.c_str(), setupIni.c_str());
    EXPECT_EQ(Perform(setup_.Path(), install_.Path()), 1);
    ExpectImportOf(fits, "fits");
    RemoveTree(base + "\\LONG");
    RemoveTree(base + "\\FITS");
}

TEST_F(PostInstall, AFileWithoutAShortPathIsNotImported)
{
    // Parts with a blank get short names longer than themselves, so the short
    // form of this existing file does not fit in 260 bytes: GetShortPathNameA
    // fails (Wine) or asks for a larger buffer.
    std::string folder = setup_.Path();
    while (folder.size() + 4 <= 240) {
        folder += "\\a b";
        CreateDirectoryA(folder.c_str(), nullptr);
    }
    const std::string file = folder + "\\QDVCFG.REG";
    WriteRegistryFile(file, "no short path");
    ASSERT_TRUE(FileExists(file));
    char shortPath[MAX_PATH];
    const DWORD length = GetShortPathNameA(file.c_str(), shortPath, sizeof(shortPath));
    ASSERT_TRUE(length == 0 || length >= sizeof(shortPath)) << length;
    WritePrivateProfileStringA("Configuration", "InitialRegFile", file.c_str(), setup_.File("QDVSETUP.INI").c_str());
    EXPECT_EQ(Perform(setup_.Path(), install_.Path()), 1);
    ExpectNoImport();
}

TEST_F(PostInstall, ANamedPathLongerThan259IsNotCutAndUsed)
{
    // The first 259 characters name files that exist; the setup INI file names more.
    const std::string head = setup_.File("") + std::string(259 - setup_.File("").size(), 'N');
    WriteFileBytes(head, "cut name");
    const std::string setupIni = setup_.File("QDVSETUP.INI");
    WritePrivateProfileStringA("Configuration", "InitialPreferencesFile", (head + "X").c_str(), setupIni.c_str());
    WritePrivateProfileStringA("Configuration", "InitialRegFile", (head + "X").c_str(), setupIni.c_str());
    EXPECT_EQ(Perform(setup_.Path(), install_.Path()), 1);
    EXPECT_FALSE(FileExists(CopyTarget()));
    ExpectNoImport();

    // A name of exactly 259 characters is used.
    WritePrivateProfileStringA("Configuration", "InitialPreferencesFile", head.c_str(), setupIni.c_str());
    EXPECT_EQ(Perform(setup_.Path(), install_.Path()), 1);
    EXPECT_EQ(ReadFileBytes(CopyTarget()), "cut name");
}

TEST(RunProgram, WithoutWaitReturnsWhileTheProgramRuns)
{
    ScratchFolder folder("RunProgram");
    const std::string log = folder.File("editor.log");
    ScopedEnvironment logVariable("ZEL_REGEDIT_LOG", log);
    const std::string releaseName = UniqueName("RunProgramRelease");
    zel::KernelHandle release(CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str()));
    ScopedEnvironment hold("ZEL_REGEDIT_HOLD", releaseName);

    // The stand-in is held until released, so it cannot have ended when the call returns.
    zel::RunProgram(StandinPath("regedit").c_str(), 0, nullptr, "/s nothing.reg");
    const auto ended = [&] {
        for (const std::string& line : ReadLines(log)) {
            if (line.rfind("end: ", 0) == 0)
                return true;
        }
        return false;
    };
    EXPECT_FALSE(ended());
    SetEvent(release.get());
    for (int i = 0; i < 600 && !ended(); ++i)
        Sleep(50);
    EXPECT_TRUE(ended());
    const std::vector<std::string> lines = ReadLines(log);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "args: /s nothing.reg");
}

class DelRegistryEntry : public testing::Test {
protected:
    DelRegistryEntry() : key_("Software\\" + UniqueName("DelEntry"))
    {
        SetTextValue(HKEY_LOCAL_MACHINE, key_, "Doomed", "x");
        SetTextValue(HKEY_LOCAL_MACHINE, key_, "Kept", "y");
    }
    ~DelRegistryEntry() override { DeleteKeyTree(HKEY_LOCAL_MACHINE, key_); }

    int Delete(int root, const char* subkey, const char* value) const
    {
        return Module().Export<ZelDelRegistryEntryExport>("JTDelRegistryEntry", 19)(root, subkey, value);
    }

    bool HasValue(const char* name) const
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        const bool found = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
        RegCloseKey(key);
        return found;
    }

    std::string key_;
};

TEST_F(DelRegistryEntry, DeletesTheNamedValueUnderTheLocalMachineOnly)
{
    EXPECT_EQ(Delete(2, key_.c_str(), "Doomed"), 1);
    EXPECT_FALSE(HasValue("Doomed"));
    EXPECT_TRUE(HasValue("Kept"));
    EXPECT_EQ(Delete(2, key_.c_str(), "Doomed"), 0); // gone already
}

TEST_F(DelRegistryEntry, RefusedRequestsChangeNothing)
{
    const std::string missingKey = key_ + "\\Missing";
    struct Case {
        int root;
        const char* subkey;
        const char* value;
    };
    const Case cases[] = {
        {1, key_.c_str(), "Doomed"},   {0, key_.c_str(), "Doomed"},
        {3, key_.c_str(), "Doomed"},   {-2, key_.c_str(), "Doomed"},
        {2, nullptr, "Doomed"},        {2, key_.c_str(), nullptr},
        {2, missingKey.c_str(), "Doomed"}, {2, key_.c_str(), "NoSuchValue"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Delete(c.root, c.subkey, c.value), 0) << c.root << " " << (c.subkey ? c.subkey : "(null)");
        EXPECT_TRUE(HasValue("Doomed"));
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, missingKey)); // never created
}

TEST(UpdateSetupDate, FiletimeHalvesUnderTheMachinePreferences)
{
    ScopedProduct product("SetupDate");
    const auto setRegistryInfo = Module().Export<ZelSetRegistryInfoExport>("ZELSetup_SetRegistryInfo", 38);
    setRegistryInfo(product.Company().c_str(), "Product");
    FILETIME before;
    GetSystemTimeAsFileTime(&before);
    HostCallRecord record = {};
    const auto update = Module().Export<ZelHostRecordExport>("JTUpdateSetupDateInRegistry", 35);
    EXPECT_EQ(update(&record), 0);
    const uint32_t noRecord[] = {0}; // the record is not read
    const zelcall::ProbedCall call =
        zelcall::CallAndMeasureStack(Module().Export<const void*>("JTUpdateSetupDateInRegistry", 35), noRecord, 1);
    EXPECT_EQ(call.bytesRemoved, 4);
    EXPECT_EQ(call.result, 0u);
    FILETIME after;
    GetSystemTimeAsFileTime(&after);
    setRegistryInfo("Kelvaron", "Vantorell");

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, product.Path("Preferences").c_str(), 0, KEY_READ, &key),
              ERROR_SUCCESS);
    char text[64] = {};
    DWORD size = sizeof(text) - 1;
    DWORD type = 0;
    EXPECT_EQ(RegQueryValueExA(key, "LastSetupTime", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, strlen(text) + 1); // stored with its terminator
    int high = 0;
    int low = 0;
    char rest = 0;
    ASSERT_EQ(std::sscanf(text, "%d-%d%c", &high, &low, &rest), 2) << text;
    const auto value = [](DWORD h, DWORD l) { return (static_cast<unsigned long long>(h) << 32) | l; };
    const unsigned long long stored = value(static_cast<DWORD>(high), static_cast<DWORD>(low));
    EXPECT_GE(stored, value(before.dwHighDateTime, before.dwLowDateTime)) << text;
    EXPECT_LE(stored, value(after.dwHighDateTime, after.dwLowDateTime)) << text;
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, product.Path()));
}

TEST(CallingForms, PostInstallExportsRemoveTheirArguments)
{
    const char* subkey = "Software\\ZtNoSuchKey";
    const uint32_t del[] = {2, reinterpret_cast<uint32_t>(subkey), reinterpret_cast<uint32_t>("NoValue")};
    const zelcall::ProbedCall deleted =
        zelcall::CallAndMeasureStack(Module().Export<const void*>("JTDelRegistryEntry", 19), del, 3);
    EXPECT_EQ(deleted.bytesRemoved, 12);
    EXPECT_EQ(deleted.result, 0u);

    const uint32_t folders[] = {0, 0};
    const zelcall::ProbedCall performed =
        zelcall::CallAndMeasureStack(Module().Export<const void*>("JTPerformPostInstallActions", 28), folders, 2);
    EXPECT_EQ(performed.bytesRemoved, 8);
    EXPECT_EQ(performed.result, 0u);
}

} // namespace
} // namespace zeltest
