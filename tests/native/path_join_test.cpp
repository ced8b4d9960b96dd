#include "config/path_join.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace zel {
namespace {

const LeadByteTable kSingleByte;
const LeadByteTable kShiftJis = LeadByteTable::ShiftJis();

// A code page 932 character whose second byte is a backslash.
const std::string kTrailBackslash = "\x95\x5C";

std::string Join(const std::string& folder, const char* name, const LeadByteTable& cp, size_t size = 260)
{
    std::string out(size, '#');
    if (!JoinFolderAndName(&out[0], size, folder.c_str(), name, cp))
        return "(refused:" + std::string(out.c_str()) + ")";
    return out.c_str();
}

TEST(PathJoin, OneTrailingBackslashGivesWayToTheSeparator)
{
    struct Case {
        std::string folder;
        std::string path;
    };
    const Case cases[] = {
        {"C:\\Setup", "C:\\Setup\\QDVSETUP.INI"},
        {"C:\\Setup\\", "C:\\Setup\\QDVSETUP.INI"},
        {"C:\\Setup\\\\", "C:\\Setup\\\\QDVSETUP.INI"}, // only one is removed
        {"C:\\", "C:\\QDVSETUP.INI"},
        {"C:", "C:\\QDVSETUP.INI"},
        {"", "\\QDVSETUP.INI"},
        {"\\", "\\QDVSETUP.INI"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Join(c.folder, "QDVSETUP.INI", kSingleByte), c.path) << c.folder;
}

TEST(PathJoin, TrailByteBackslashIsPartOfTheFolderName)
{
    const std::string folder = "C:\\Data\\" + kTrailBackslash;
    EXPECT_EQ(Join(folder, "QDVINIT.INI", kShiftJis), folder + "\\QDVINIT.INI");
    EXPECT_EQ(Join(folder + "\\", "QDVINIT.INI", kShiftJis), folder + "\\QDVINIT.INI");
    // Read byte by byte, the same folder would lose the character's second byte.
    EXPECT_EQ(Join(folder, "QDVINIT.INI", kSingleByte), "C:\\Data\\\x95\\QDVINIT.INI");
}

TEST(PathJoin, APathThatDoesNotFitIsRefusedAndLeftEmpty)
{
    // "C:\" + 8 + "\" + "QDVINIT.INI" = 23 characters and the NUL.
    const std::string folder = "C:\\" + std::string(8, 'F');
    EXPECT_EQ(Join(folder, "QDVINIT.INI", kSingleByte, 24), folder + "\\QDVINIT.INI");
    EXPECT_EQ(Join(folder, "QDVINIT.INI", kSingleByte, 23), "(refused:)");
    EXPECT_EQ(Join(folder + "\\", "QDVINIT.INI", kSingleByte, 24), folder + "\\QDVINIT.INI");
    EXPECT_EQ(Join(std::string(300, 'F'), "QDVINIT.INI", kSingleByte), "(refused:)");
    char none[1] = {'#'};
    EXPECT_FALSE(JoinFolderAndName(none, 0, "C:", "X", kSingleByte));
    EXPECT_EQ(none[0], '#');
}

} // namespace
} // namespace zel
