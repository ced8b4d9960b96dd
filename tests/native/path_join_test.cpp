#include "config/path_join.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace zel {
namespace {

const LeadByteTable kSingleByte;
const LeadByteTable kShiftJis = LeadByteTable::ShiftJis();

// 0x95 0x5C: a code page 932 character whose second byte is a backslash.
const std::string kTrailBackslash = "\x95\x5C";

std::string Join(const std::string& folder, const char* name, const LeadByteTable& cp, size_t size = 260)
{
    std::string out(size + 1, '#'); // one guard byte past the buffer
    const bool joined = JoinFolderAndName(&out[0], size, folder.c_str(), name, cp);
    EXPECT_EQ(out[size], '#') << "written past the buffer";
    if (!joined) {
        EXPECT_EQ(out[0], '\0') << "a refused path must leave the empty text";
        return "(refused)";
    }
    return std::string(out.c_str());
}

TEST(PathJoin, OneTrailingBackslashIsDropped)
{
    struct Case {
        std::string folder;
        std::string path;
    };
    const Case cases[] = {
        {"C:\\Inst", "C:\\Inst\\BIN\\MFC42.DLL"},
        {"C:\\Inst\\", "C:\\Inst\\BIN\\MFC42.DLL"},
        {"C:\\Inst\\\\", "C:\\Inst\\\\BIN\\MFC42.DLL"}, // only one of two
        {"C:\\", "C:\\BIN\\MFC42.DLL"},
        {"C:", "C:\\BIN\\MFC42.DLL"},
        {"", "\\BIN\\MFC42.DLL"},
        {"\\", "\\BIN\\MFC42.DLL"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Join(c.folder, "BIN\\MFC42.DLL", kSingleByte), c.path) << c.folder;
}

TEST(PathJoin, ATrailByteBackslashStaysUnderCodePage932)
{
    const std::string folder = "C:\\Data\\" + kTrailBackslash;
    EXPECT_EQ(Join(folder, "F", kShiftJis), folder + "\\F");
    EXPECT_EQ(Join(folder + "\\", "F", kShiftJis), folder + "\\F");
    // A single-byte code page takes the same byte for a backslash.
    EXPECT_EQ(Join(folder, "F", kSingleByte), "C:\\Data\\\x95\\F");
}

TEST(PathJoin, APathThatDoesNotFitWholeIsRefused)
{
    const char kName[] = "BIN\\MFC42.DLL"; // 13 characters
    struct Case {
        size_t folderLength;
        bool trailingBackslash;
        bool fits;
    };
    // 245 + 1 + 13 = 259 characters and the terminator fill 260 bytes.
    const Case cases[] = {
        {245, false, true},
        {245, true, true},   // the dropped backslash does not count
        {246, false, false}, // cut, it would be "...\BIN\MFC42.DL"
        {246, true, false},
        {259, false, false},
        {300, true, false},
    };
    for (const Case& c : cases) {
        const std::string folder = std::string(c.folderLength, 'f') + (c.trailingBackslash ? "\\" : "");
        const std::string expected = c.fits ? std::string(c.folderLength, 'f') + "\\" + kName : "(refused)";
        EXPECT_EQ(Join(folder, kName, kSingleByte), expected) << c.folderLength << " " << c.trailingBackslash;
    }
}

TEST(PathJoin, TinyBuffers)
{
    EXPECT_EQ(Join("", "", kSingleByte, 2), "\\");
    EXPECT_EQ(Join("", "", kSingleByte, 1), "(refused)");
    EXPECT_EQ(Join("a", "", kSingleByte, 2), "(refused)");
    char untouched = '#';
    EXPECT_FALSE(JoinFolderAndName(&untouched, 0, "a", "b", kSingleByte));
    EXPECT_EQ(untouched, '#');
}

} // namespace
} // namespace zel
