// The module's message and wait-cursor routines, linked into the test program
// with the module's string table.
#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "frame/module_app.h"
#include "frame/setup_messages.h"
#include "message_box_recorder.h"
#include "test_window.h"

namespace zeltest {
namespace {

const char kSetupCaption[] = "Halcyra Installation";

TEST(LoadSetupMessage, TableTextsExactly)
{
    struct Case {
        int id;
        const char* text;
    };
    const Case cases[] = {
        {408, "Halcyra Installation"},
        {409, "Halcyra cannot be installed on this operating system."},
        {411, "Setup has determined that an instance of Halcyra application is currently running...\n"
              "Please close the application and restart installation."},
        {433, "Please select a folder on your LOCAL computer..."},
        {434, "You cannot select the root directory of a drive..."},
        {453, "It is recommended that you upgrade your NT workstation to Sevice Pack 3 or higher for Halcyra "
              "to run properly.\nYou can continue the installation now, and upgrade to the Service Pack 3 or "
              "higher later."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(zel::LoadSetupMessage(c.id), c.text) << c.id;
}

TEST(LoadSetupMessage, LongTextIsLoadedWhole)
{
    // 453 is longer than the first buffer the loader tries.
    EXPECT_EQ(zel::LoadSetupMessage(453).size(), 200u);
}

TEST(LoadSetupMessage, TagBandAndMissingIds)
{
    EXPECT_EQ(zel::LoadSetupMessage(2000), "");
    EXPECT_EQ(zel::LoadSetupMessage(2001), " [MSG-2001]");
    EXPECT_EQ(zel::LoadSetupMessage(3999), " [MSG-3999]");
    EXPECT_EQ(zel::LoadSetupMessage(4000), "");
    EXPECT_EQ(zel::LoadSetupMessage(1), "");
}

TEST(ShowSetupMessage, OwnedByTheHostWindowWithTheSetupCaption)
{
    TestWindow host;
    MessageBoxRecorder recorder;
    zel::ShowSetupMessage(host.get(), 453);
    zel::ShowSetupMessage(nullptr, 409);
    zel::ShowSetupMessage(host.get(), 2500);
    const std::vector<RecordedBox> expected = {
        {host.get(), kSetupCaption, zel::LoadSetupMessage(453)},
        {nullptr, kSetupCaption, "Halcyra cannot be installed on this operating system."},
        {host.get(), kSetupCaption, " [MSG-2500]"},
    };
    EXPECT_EQ(recorder.Boxes(), expected);
}

TEST(ShowSystemError, SystemTextWithoutLineEndThenTheCode)
{
    const std::string accessDenied = SystemText(ERROR_ACCESS_DENIED);
    ASSERT_GE(accessDenied.size(), 2u);
    ASSERT_EQ(accessDenied.substr(accessDenied.size() - 2), "\r\n");
    const std::string withoutLineEnd = accessDenied.substr(0, accessDenied.size() - 2);

    MessageBoxRecorder recorder;
    EXPECT_EQ(zel::ShowSystemError(ERROR_ACCESS_DENIED, nullptr), 1);
    EXPECT_EQ(zel::ShowSystemError(ERROR_ACCESS_DENIED, "QDVAlert40"), 1);
    const std::vector<RecordedBox> expected = {
        {nullptr, "Kelvaron", withoutLineEnd + "(5)"},
        {nullptr, "Kelvaron", "QDVAlert40\n" + withoutLineEnd + "(5)"},
    };
    EXPECT_EQ(recorder.Boxes(), expected);
}

TEST(ShowSystemError, CodesWithoutSystemTextShowTheSignedCodeAlone)
{
    const DWORD unknownCode = 0x2000FFFF;
    const DWORD topBitCode = 0xE0001234;
    ASSERT_EQ(SystemText(unknownCode), "");
    ASSERT_EQ(SystemText(topBitCode), "");
    MessageBoxRecorder recorder;
    zel::ShowSystemError(unknownCode, nullptr);
    zel::ShowSystemError(topBitCode, "subject");
    const std::vector<RecordedBox> expected = {
        {nullptr, "Kelvaron", "(536936447)"},
        {nullptr, "Kelvaron", "subject\n(-536866252)"},
    };
    EXPECT_EQ(recorder.Boxes(), expected);
}

TEST(WaitCursor, NestsAndRestoresTheCursorShownBefore)
{
    zel::ModuleApp& app = *zel::ModuleApp::Current();
    HCURSOR before = LoadCursor(nullptr, IDC_CROSS);
    SetCursor(before);
    ASSERT_EQ(app.WaitCursorCount(), 0);
    {
        zel::WaitCursorScope outer;
        EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
        {
            zel::WaitCursorScope inner;
            EXPECT_EQ(app.WaitCursorCount(), 2);
        }
        EXPECT_EQ(app.WaitCursorCount(), 1);
        EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_WAIT));
    }
    EXPECT_EQ(app.WaitCursorCount(), 0);
    EXPECT_EQ(GetCursor(), before);
}

TEST(WaitCursor, EndedWhenTheScopeIsLeftByAnException)
{
    zel::ModuleApp& app = *zel::ModuleApp::Current();
    try {
        zel::WaitCursorScope scope;
        throw std::runtime_error("leave");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(app.WaitCursorCount(), 0);
}

TEST(WaitCursor, AnEndWithoutBeginDoesNotGoBelowZero)
{
    zel::ModuleApp& app = *zel::ModuleApp::Current();
    app.DoWaitCursor(-1);
    EXPECT_EQ(app.WaitCursorCount(), 0);
    zel::WaitCursorScope scope;
    EXPECT_EQ(app.WaitCursorCount(), 1);
}

} // namespace
} // namespace zeltest
