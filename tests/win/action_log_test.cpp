// The install action log export of the real DLL, with a setup INI file and a
// log in a scratch folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "host/raw_call.h"
#include "module_under_test.h"
#include "registry_fixture.h"
#include "zelsetup.h"

namespace zeltest {
namespace {

// "Mon Mar 01 09:05 AM 2004 : " at the start of each line.
const char kStampedLine[] = R"((Sun|Mon|Tue|Wed|Thu|Fri|Sat) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) )"
                            R"((0[1-9]|[12][0-9]|3[01]) (0[1-9]|1[0-2]):[0-5][0-9] (AM|PM) [0-9]{4} : )";

class ActionLogTest : public testing::Test {
protected:
    ActionLogTest() : folder_("ActionLog")
    {
        NameLog(Log());
    }

    void NameLog(const std::string& path)
    {
        WritePrivateProfileStringA("Configuration", "InstallActionLog", path.c_str(), SetupIni().c_str());
    }

    int Add(const std::string& parameter)
    {
        HostCallRecord record = {};
        record.parameterText = parameter.c_str();
        return Module().Export<ZelHostRecordExport>("JTSetupAddActionLog", 110)(&record);
    }

    // The log's lines without their time stamps, each of which must be well formed.
    std::string Messages()
    {
        static const std::regex stamp(kStampedLine);
        const size_t kStampLength = 27;
        std::string text = ReadFileBytes(Log());
        std::string messages;
        for (size_t start = 0; start < text.size();) {
            const std::string head = text.substr(start, kStampLength);
            if (!std::regex_match(head, stamp))
                return "(not stamped) " + text.substr(start);
            const size_t end = text.find("\r\n", start);
            if (end == std::string::npos)
                return messages + "(no line end) " + text.substr(start);
            messages += text.substr(start + kStampLength, end - start - kStampLength) + "\n";
            start = end + 2;
        }
        return messages;
    }

    std::string SetupIni() const { return folder_.File("SETUP.INI"); }
    std::string Log() const { return folder_.File("install.log"); }

    ScratchFolder folder_;
};

TEST_F(ActionLogTest, CreatedThenAppendedAfterItsLastByte)
{
    EXPECT_EQ(Add(SetupIni() + "|first|with a second bar"), 0);
    EXPECT_EQ(Messages(), "first|with a second bar\n");

    WriteFileBytes(Log(), "no line end"); // an existing log whose last byte is no line end
    EXPECT_EQ(Add(SetupIni() + "|next"), 0);
    const std::string text = ReadFileBytes(Log());
    ASSERT_EQ(text.compare(0, 11, "no line end"), 0);
    EXPECT_TRUE(std::regex_match(text.substr(11), std::regex(std::string(kStampedLine) + "next\r\n"))) << text;
}

TEST_F(ActionLogTest, EmptyMessageGivesStampSeparatorAndLineEnd)
{
    EXPECT_EQ(Add(SetupIni() + "|"), 0);
    EXPECT_EQ(Messages(), "\n");
}

TEST_F(ActionLogTest, MissingInputReturnsOneAndWritesNothing)
{
    EXPECT_EQ(Add(SetupIni() + " without a bar"), 1);
    const auto addActionLog = Module().Export<ZelHostRecordExport>("JTSetupAddActionLog", 110);
    HostCallRecord noText = {};
    EXPECT_EQ(addActionLog(&noText), 1);
    EXPECT_EQ(addActionLog(nullptr), 1);
    EXPECT_FALSE(FileExists(Log()));
}

TEST_F(ActionLogTest, NoLogConfiguredOrOpenableWritesNothingAndGoesOn)
{
    EXPECT_EQ(Add("|no setup INI path"), 0);
    EXPECT_EQ(Add(folder_.File("MISSING.INI") + "|no such setup INI"), 0);
    NameLog("");
    EXPECT_EQ(Add(SetupIni() + "|logging off"), 0);
    EXPECT_FALSE(FileExists(Log()));

    NameLog(folder_.File("no folder\\install.log"));
    EXPECT_EQ(Add(SetupIni() + "|cannot be opened"), 0);

    // Held open without sharing by another writer: the line is dropped.
    NameLog(Log());
    WriteFileBytes(Log(), "");
    HANDLE holder = CreateFileA(Log().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Add(SetupIni() + "|held"), 0);
    CloseHandle(holder);
    EXPECT_EQ(ReadFileBytes(Log()), "");
}

TEST_F(ActionLogTest, LogPathLongerThan259IsCutByTheProfileRead)
{
    // The first 259 characters name a file in the scratch folder.
    const std::string first259 = folder_.File("") + std::string(259 - folder_.File("").size(), 'L');
    NameLog(first259 + "beyond");
    EXPECT_EQ(Add(SetupIni() + "|cut path"), 0);
    EXPECT_NE(ReadFileBytes(first259).find(" : cut path\r\n"), std::string::npos);
}

TEST_F(ActionLogTest, ParameterLongerThan519KeepsItsFirst519Bytes)
{
    const std::string head = SetupIni() + "|";
    const std::string message(600, 'm');
    EXPECT_EQ(Add(head + message), 0);
    EXPECT_EQ(Messages(), std::string(519 - head.size(), 'm') + "\n");
    // A bar beyond the first 519 bytes is not seen.
    EXPECT_EQ(Add(std::string(519, 'p') + "|late bar"), 1);
}

TEST(CallingForms, ActionLogExportRemovesItsFourBytes)
{
    HostCallRecord record = {};
    const uint32_t args[] = {reinterpret_cast<uint32_t>(&record)};
    const zelcall::ProbedCall call =
        zelcall::CallAndMeasureStack(Module().Export<const void*>("JTSetupAddActionLog", 110), args, 1);
    EXPECT_EQ(call.bytesRemoved, 4);
    EXPECT_EQ(call.result, 1u);
}

} // namespace
} // namespace zeltest
