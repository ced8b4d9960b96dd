// Removal of the outdated BIN\MFC42.DLL from an install folder, through the
// real DLL, with the file present, missing, in use and behind a path too long
// to be composed whole.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "module_under_test.h"
#include "pending_renames.h"
#include "registry_fixture.h"
#include "zelsetup.h"

namespace zeltest {
namespace {

int CleanUp(const char* installFolder)
{
    HostCallRecord record = {};
    record.parameterText = installFolder;
    return Module().Export<ZelHostRecordExport>("JTSetupCleanUpOldFiles", 31)(&record);
}

// An install folder with BIN\MFC42.DLL in it.
class OldFilesTest : public testing::Test {
protected:
    OldFilesTest() : folder_("OldFiles")
    {
        CreateDirectoryA(Bin().c_str(), nullptr);
        WriteFileBytes(OldFile(), "old library");
    }
    ~OldFilesTest() override
    {
        DeleteFileA(OldFile().c_str());
        RemoveDirectoryA(Bin().c_str());
    }

    const std::string& Folder() const { return folder_.Path(); }
    std::string Bin() const { return folder_.File("BIN"); }
    std::string OldFile() const { return Bin() + "\\MFC42.DLL"; }

    PendingRenamesGuard pending_;
    ScratchFolder folder_;
};

TEST_F(OldFilesTest, DeletesTheFileWithOrWithoutATrailingBackslash)
{
    for (const std::string& folder : {Folder(), Folder() + "\\"}) {
        WriteFileBytes(OldFile(), "old library");
        ASSERT_TRUE(FileExists(OldFile()));
        EXPECT_EQ(CleanUp(folder.c_str()), 0);
        EXPECT_FALSE(FileExists(OldFile())) << folder;
        EXPECT_FALSE(pending_.RequestsDeletionOf(OldFile())) << folder;
    }
    EXPECT_TRUE(FileExists(Bin())); // the folder itself stays
}

TEST_F(OldFilesTest, AMissingFileIsDeletedAtTheNextRestart)
{
    DeleteFileA(OldFile().c_str());
    EXPECT_EQ(CleanUp(Folder().c_str()), 0);
    EXPECT_TRUE(pending_.RequestsDeletionOf(OldFile())) << "requests: " << pending_.Requests().size();
}

TEST_F(OldFilesTest, AFileInUseIsDeletedAtTheNextRestart)
{
    // Open without delete sharing, as a running program holds its library.
    HANDLE inUse = CreateFileA(OldFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(inUse, INVALID_HANDLE_VALUE);
    EXPECT_EQ(CleanUp((Folder() + "\\").c_str()), 0);
    CloseHandle(inUse);
    EXPECT_TRUE(FileExists(OldFile()));
    EXPECT_TRUE(pending_.RequestsDeletionOf(OldFile()));
}

// A folder text of exactly length bytes that names folder: steps that the
// system takes away again, "\a\.." (odd) where the parity needs it, then "\.".
std::string PaddedName(const std::string& folder, size_t length)
{
    std::string padded = folder;
    if (length > padded.size() && (length - padded.size()) % 2 != 0)
        padded += "\\a\\..";
    while (padded.size() + 2 <= length)
        padded += "\\.";
    return padded;
}

TEST_F(OldFilesTest, APathThatWouldBeCutIsLeftAlone)
{
    // 246 bytes of folder, "\BIN\MFC42.DLL" and the terminator need 261 bytes;
    // cut to 260, the path would name BIN\MFC42.DL, which exists here.
    const std::string real = folder_.File("long");
    ASSERT_TRUE(CreateDirectoryA(real.c_str(), nullptr));
    const std::string bin = real + "\\BIN";
    ASSERT_TRUE(CreateDirectoryA(bin.c_str(), nullptr));
    const std::string cutName = bin + "\\MFC42.DL";
    const std::string wholeName = bin + "\\MFC42.DLL";
    WriteFileBytes(cutName, "another file");
    WriteFileBytes(wholeName, "old library");

    const std::string tooLong = PaddedName(real, 246);
    ASSERT_EQ(tooLong.size(), 246u) << real;
    for (const std::string& folder : {tooLong, tooLong + "\\"}) {
        EXPECT_EQ(CleanUp(folder.c_str()), 0);
        EXPECT_TRUE(FileExists(cutName));
        EXPECT_TRUE(FileExists(wholeName));
        EXPECT_FALSE(pending_.RequestsDeletionOf(cutName));
    }
    // One byte less and the path fits whole: the same file is deleted.
    const std::string fits = PaddedName(real, 245);
    ASSERT_EQ(fits.size(), 245u);
    EXPECT_EQ(CleanUp(fits.c_str()), 0);
    EXPECT_FALSE(FileExists(wholeName));
    EXPECT_TRUE(FileExists(cutName));

    DeleteFileA(cutName.c_str());
    RemoveDirectoryA(bin.c_str());
    RemoveDirectoryA(real.c_str());
}

TEST(OldFiles, WithoutItsTextTheResultIsStillZero)
{
    PendingRenamesGuard pending;
    const size_t before = pending.Requests().size();
    HostCallRecord record = {};
    const auto cleanUp = Module().Export<ZelHostRecordExport>("JTSetupCleanUpOldFiles", 31);
    EXPECT_EQ(cleanUp(&record), 0);
    EXPECT_EQ(cleanUp(nullptr), 0);
    EXPECT_EQ(pending.Requests().size(), before);
}

} // namespace
} // namespace zeltest
