// The character-wise scans for a backslash, a bar and a comma under code page
// 932.
// Run by the program started with a Japanese locale (ctest win_tests_cp932);
// skipped in the other runs.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "double_byte_sweep.h"
#include "module_under_test.h"
#include "pending_renames.h"
#include "provider_order_check.h"
#include "registry_fixture.h"
#include "settings/product_identity.h"
#include "test_system.h"
#include "zelsetup.h"

namespace zeltest {
namespace {

// Code page 932 characters whose second byte is a backslash and a bar.
const char kTrailBackslash[] = "\x95\x5C";
const char kTrailBar[] = "\x83\x7C";

class CodePage932 : public testing::Test {
protected:
    void SetUp() override
    {
        // The run started for code page 932 must have it; the others skip.
        if (GetACP() == 932)
            return;
        if (ExpectedCodePage() == 932)
            FAIL() << "started for code page 932, runs with " << GetACP();
        GTEST_SKIP() << "ANSI code page " << GetACP();
    }
};

TEST_F(CodePage932, InstallLocationKeepsATrailByteBackslash)
{
    ScopedProduct product("Cp932Location");
    const std::string folder = std::string("C:\\Data\\") + kTrailBackslash;
    struct Case {
        std::string stored;
        std::string location;
    };
    const Case cases[] = {{folder, folder}, {folder + "\\", folder}};
    for (const Case& c : cases) {
        SetTextValue(HKEY_LOCAL_MACHINE, product.Path("Current Version"), "Install Location", c.stored);
        char buffer[260];
        zel::GetInstallLocation(buffer, sizeof(buffer));
        EXPECT_EQ(std::string(buffer), c.location);
    }
}

TEST_F(CodePage932, ActionLogParameterIsNotSplitAtATrailByteBar)
{
    ScratchFolder folder("Cp932Log");
    const std::string iniFolder = folder.File(kTrailBar);
    ASSERT_TRUE(CreateDirectoryA(iniFolder.c_str(), nullptr));
    const std::string setupIni = iniFolder + "\\SETUP.INI";
    const std::string log = folder.File("install.log");
    ASSERT_TRUE(WritePrivateProfileStringA("Configuration", "InstallActionLog", log.c_str(), setupIni.c_str()));

    HostCallRecord record = {};
    const std::string parameter = setupIni + "|" + kTrailBar + " message";
    record.parameterText = parameter.c_str();
    EXPECT_EQ(Module().Export<ZelHostRecordExport>("JTSetupAddActionLog", 110)(&record), 0);

    const std::string text = ReadFileBytes(log);
    EXPECT_NE(text.find(std::string(" : ") + kTrailBar + " message\r\n"), std::string::npos) << text;
    DeleteFileA(setupIni.c_str());
    RemoveDirectoryA(iniFolder.c_str());
}

TEST_F(CodePage932, PostInstallFoldersKeepATrailByteBackslash)
{
    ScratchFolder setup("Cp932Setup");
    ScratchFolder install("Cp932Install");
    const std::string setupFolder = setup.File(kTrailBackslash);
    const std::string installFolder = install.File(kTrailBackslash);
    ASSERT_TRUE(CreateDirectoryA(setupFolder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(installFolder.c_str(), nullptr));
    const std::string setupIni = setupFolder + "\\QDVSETUP.INI";
    const std::string named = setupFolder + "\\" + kTrailBackslash + ".ini";
    const std::string target = installFolder + "\\QDVINIT.INI";
    WriteFileBytes(named, "named prefs");
    ASSERT_TRUE(WritePrivateProfileStringA("Configuration", "InitialPreferencesFile", named.c_str(), setupIni.c_str()));
    const auto perform = Module().Export<ZelPostInstallExport>("JTPerformPostInstallActions", 28);
    for (const std::string& slash : {std::string(), std::string("\\")}) {
        DeleteFileA(target.c_str());
        EXPECT_EQ(perform((setupFolder + slash).c_str(), (installFolder + slash).c_str()), 1);
        EXPECT_EQ(ReadFileBytes(target), "named prefs") << "trailing backslash: " << !slash.empty();
    }
    DeleteFileA(target.c_str());
    DeleteFileA(named.c_str());
    DeleteFileA(setupIni.c_str());
    RemoveDirectoryA(setupFolder.c_str());
    RemoveDirectoryA(installFolder.c_str());
}

TEST_F(CodePage932, OldFileUnderAFolderEndingInATrailByteBackslash)
{
    PendingRenamesGuard pending;
    ScratchFolder folder("Cp932OldFiles");
    const std::string install = folder.File(kTrailBackslash);
    ASSERT_TRUE(CreateDirectoryA(install.c_str(), nullptr));
    const std::string bin = install + "\\BIN";
    ASSERT_TRUE(CreateDirectoryA(bin.c_str(), nullptr));
    const std::string oldFile = bin + "\\MFC42.DLL";
    const auto cleanUp = Module().Export<ZelHostRecordExport>("JTSetupCleanUpOldFiles", 31);
    const size_t requestsBefore = pending.Requests().size();
    for (const std::string& parameter : {install, install + "\\"}) {
        WriteFileBytes(oldFile, "old library");
        ASSERT_TRUE(FileExists(oldFile));
        HostCallRecord record = {};
        record.parameterText = parameter.c_str();
        EXPECT_EQ(cleanUp(&record), 0);
        EXPECT_FALSE(FileExists(oldFile)) << parameter;
        // Taking the trail byte for a backslash would name the file of a
        // folder "<character>BIN" that does not exist, and ask for that to
        // go at the next restart.
        EXPECT_EQ(pending.Requests().size(), requestsBefore) << parameter;
    }
    DeleteFileA(oldFile.c_str());
    RemoveDirectoryA(bin.c_str());
    RemoveDirectoryA(install.c_str());
}

// 0x83 0x51 is a katakana whose second byte is 'Q': the name that seems to
// follow it is the end of another entry. 0x82 0xA0 right after the name makes
// a longer name of it.
TEST_F(CodePage932, ProviderOrderEntriesWithDoubleByteCharacters)
{
    ProviderOrderGuard order;
    const std::nullopt_t unchanged = std::nullopt;
    const ProviderCase cases[] = {
        {"A,\x83QDVNET", "QDVNET,A,\x83QDVNET", unchanged},
        {"\x83QDVNET,QDVNET", "QDVNET,\x83QDVNET", "\x83QDVNET"},
        {std::string(kTrailBackslash) + ",QDVNET", std::string("QDVNET,") + kTrailBackslash, kTrailBackslash},
        {"QDVNET\x82\xA0,A", "QDVNET,QDVNET\x82\xA0,A", "A"},
        {std::string(kTrailBar) + ",QDVNET," + kTrailBackslash, std::string("QDVNET,") + kTrailBar + "," + kTrailBackslash,
         std::string(kTrailBar) + "," + kTrailBackslash},
    };
    for (const ProviderCase& c : cases)
        CheckProviderCase(order, c);
}

TEST_F(CodePage932, EveryExportHoldsAgainstDoubleByteTexts)
{
    SweepEveryExportWithDoubleByteTexts();
}

} // namespace
} // namespace zeltest
