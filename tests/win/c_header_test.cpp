// The public header as a C host sees it, checked against the DLL.
#include <gtest/gtest.h>

#include "c_header_check.h"
#include "module_under_test.h"

namespace {

TEST(CHeader, RecordLayoutIsTheOneTheLibraryReads)
{
    EXPECT_EQ(ZelCHostRecordSize(), 44u);
    EXPECT_EQ(ZelCOwnerWindowOffset(), 4u);
    EXPECT_EQ(ZelCParameterTextOffset(), 40u);
}

TEST(CHeader, ParameterTextReachesTheExportThroughTheCRecord)
{
    const FARPROC addActionLog = GetProcAddress(zeltest::Module().handle(), "JTSetupAddActionLog");
    ASSERT_NE(addActionLog, nullptr);
    // A text without a bar, and no text, are refused with 1; a text with a
    // bar whose setup INI names no log is passed on with 0.
    EXPECT_EQ(ZelCCallHostRecordExport(addActionLog, "no bar"), 1);
    EXPECT_EQ(ZelCCallHostRecordExport(addActionLog, nullptr), 1);
    EXPECT_EQ(ZelCCallHostRecordExport(addActionLog, "C:\\no-such-folder\\QDVSETUP.INI|message"), 0);
}

} // namespace
