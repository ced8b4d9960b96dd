#include "config/local_folder_rules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace zel {
namespace {

constexpr unsigned kDriveUnknown = 0;
constexpr unsigned kDriveRemote = 4;
constexpr unsigned kDriveCdrom = 5;
constexpr unsigned kDriveRamdisk = 6;

std::string Root(const char* folder)
{
    char root[4] = {'#', '#', '#', '#'};
    const bool named = DriveRootOf(folder, root);
    EXPECT_EQ(named, root[0] != '\0') << folder;
    return std::string(root, strnlen(root, sizeof root));
}

TEST(DriveRoot, FirstByteColonBackslash)
{
    EXPECT_EQ(Root("C:\\Program Files"), "C:\\");
    EXPECT_EQ(Root("C"), "C:\\");
    EXPECT_EQ(Root("crel"), "c:\\");
    EXPECT_EQ(Root("\\\\server\\share"), "\\:\\"); // no drive of that name
    EXPECT_EQ(Root("\x95\x5C"), "\x95:\\");
    EXPECT_EQ(Root(""), "");
}

TEST(DriveType, OnlyRemovableAndFixedAreLocal)
{
    for (unsigned type = 0; type <= 7; ++type)
        EXPECT_EQ(IsLocalDriveType(type), type == kDriveRemovable || type == kDriveFixed) << type;
}

TEST(FolderVerdict, TypeFirstThenTheBareRoot)
{
    struct Case {
        const char* folder;
        unsigned driveType;
        FolderVerdict verdict;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Halcyra", kDriveFixed, FolderVerdict::Accepted},
        {"F:\\Halcyra", kDriveRemovable, FolderVerdict::Accepted},
        {"C:\\", kDriveFixed, FolderVerdict::Accepted},
        {"C:rel", kDriveFixed, FolderVerdict::Accepted},
        {"C", kDriveFixed, FolderVerdict::DriveRoot},
        {"C:", kDriveFixed, FolderVerdict::DriveRoot},
        {"F:", kDriveRemovable, FolderVerdict::DriveRoot},
        {"N:\\Halcyra", kDriveRemote, FolderVerdict::NotLocal},
        {"M:\\Halcyra", kDriveCdrom, FolderVerdict::NotLocal},
        {"R:\\Halcyra", kDriveRamdisk, FolderVerdict::NotLocal},
        {"M:", kDriveCdrom, FolderVerdict::NotLocal}, // the type is judged first
        {"X:\\Halcyra", kDriveUnknown, FolderVerdict::NotLocal},
        {"\\\\server\\share", kDriveNoRootDir, FolderVerdict::NotLocal},
        {"", kDriveFixed, FolderVerdict::NotLocal}, // the empty text names no drive
    };
    for (const Case& c : cases)
        EXPECT_EQ(JudgeFolder(c.folder, c.driveType), c.verdict) << c.folder << " type " << c.driveType;
}

TEST(FolderVerdict, ReadsNoBytePastTheTerminator)
{
    // Exactly sized blocks, so that AddressSanitizer sees a read beyond them.
    for (const char* text : {"", "C", "C:"}) {
        const size_t size = std::strlen(text) + 1;
        std::unique_ptr<char[]> exact(new char[size]);
        std::memcpy(exact.get(), text, size);
        EXPECT_NE(JudgeFolder(exact.get(), kDriveFixed), FolderVerdict::Accepted) << text;
    }
}

} // namespace
} // namespace zel
