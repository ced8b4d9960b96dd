// zelhost's command line, run in-process against the real DLL.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "host/export_sweep.h"
#include "host/host_runner.h"
#include "message_box_recorder.h"
#include "module_under_test.h"
#include "zelsetup.h"

namespace zeltest {
namespace {

struct HostRun {
    int exitCode;
    std::string output;
    std::string error;
};

HostRun RunHostCommandLine(const std::vector<std::string>& args)
{
    HostRun run{0, "", ""};
    try {
        run.exitCode = zelhost::RunHost(args, [&run](const std::string& text) { run.output += text; });
    } catch (const zelhost::Failure& failure) {
        run.exitCode = failure.exitCode;
        run.error = failure.message;
    }
    return run;
}

// With the DLL under test named on the command line.
HostRun RunHost(std::vector<std::string> args)
{
    args.insert(args.begin(), {"--dll", ModuleBesideProgram("ZELSETUP.dll")});
    return RunHostCommandLine(args);
}

std::string ScriptFile(const std::string& text)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    const std::string path = std::string(folder) + "zelhost-test.zel";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string Flag(const char* name, WORD ordinal)
{
    return std::to_string(Module().Export<ZelFlagExport>(name, ordinal)());
}

TEST(Host, CallsAPlainExportAndPrintsItsResult)
{
    const HostRun run = RunHost({"JTIsWindows2000"});
    EXPECT_EQ(run.exitCode, 0) << run.error;
    EXPECT_EQ(run.output, Flag("JTIsWindows2000", 60) + "\n");
}

TEST(Host, RunsAScriptLineByLine)
{
    const std::string script = ScriptFile("# a comment\r\n\r\nJTIsWindows2000\n  JTIsWindowsXP  \n");
    const HostRun run = RunHost({"--script", script});
    EXPECT_EQ(run.exitCode, 0) << run.error;
    EXPECT_EQ(run.output, "JTIsWindows2000 = " + Flag("JTIsWindows2000", 60) + "\nJTIsWindowsXP = " +
                              Flag("JTIsWindowsXP", 27) + "\n");
    DeleteFileA(script.c_str());
}

TEST(Host, HostRecordExportWithOwnerAndWithNullRecord)
{
    MessageBoxRecorder recorder; // the gate refuses some systems with a box
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--owner", "JTServerSetupFindRunningApps"},
          std::vector<std::string>{"--null-record", "JTServerSetupFindRunningApps"},
          std::vector<std::string>{"JTServerSetupFindRunningApps", "@null"}}) {
        const HostRun run = RunHost(args);
        EXPECT_EQ(run.exitCode, 0) << run.error;
        EXPECT_TRUE(run.output == "0\n" || run.output == "1\n") << run.output;
    }
}

TEST(Host, ProblemsEndWithOneLineAndTheirExitCode)
{
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string error;
    };
    const Case cases[] = {
        {{"JTNoSuchExport"}, zelhost::kExitUsage, "unknown export: JTNoSuchExport"},
        {{"JTIsWindows2000", "extra"}, zelhost::kExitUsage, "JTIsWindows2000 takes 0 argument(s), 1 given"},
        {{"JTServerSetupFindRunningApps", "a", "b"},
         zelhost::kExitUsage,
         "JTServerSetupFindRunningApps takes at most one argument (parameterText)"},
        {{"QDVSetupCompressFile", "a", "b", "six"},
         zelhost::kExitUsage,
         "argument 3 of QDVSetupCompressFile must be a number: six"},
        {{"--bogus", "JTIsWindows2000"}, zelhost::kExitUsage, "unknown option: --bogus"},
        {{"--owner"}, zelhost::kExitUsage, "no export named"},
        {{"--script"}, zelhost::kExitUsage, "--script takes one file"},
        {{"--script", "C:\\no\\such\\script.zel"}, zelhost::kExitUsage, "cannot read script C:\\no\\such\\script.zel"},
        {{"--rounds", "0", "--script", "x.zel"}, zelhost::kExitUsage, "--rounds takes a number from 1: 0"},
        {{"--rounds", "many", "--script", "x.zel"}, zelhost::kExitUsage, "--rounds takes a number from 1: many"},
        {{"--rounds", "3", "JTIsWindows2000"}, zelhost::kExitUsage, "--rounds goes with --script"},
        {{"--sweep"}, zelhost::kExitUsage, "--sweep takes the exports to sweep"},
        {{"--sweep", "JTGetEncryptedString", "JTNoSuchExport"}, zelhost::kExitUsage, "unknown export: JTNoSuchExport"},
    };
    for (const Case& c : cases) {
        const HostRun run = RunHost(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.error;
        EXPECT_EQ(run.error, c.error);
        EXPECT_EQ(run.error.find('\n'), std::string::npos);
    }
}

TEST(Host, AnswersTheLibrarysBoxesAndShowsThemBeforeTheResult)
{
    // The empty folder is refused with a box, without asking for a drive type.
    const std::string box = "  box \"Halcyra Installation\": Please select a folder on your LOCAL computer...\n";
    const HostRun single = RunHost({"--answer-boxes", "JTSetupValidateLocalDirectory", ""});
    EXPECT_EQ(single.exitCode, 0) << single.error;
    EXPECT_EQ(single.output, box + "1\n");

    const std::string script = ScriptFile("JTSetupValidateLocalDirectory \"\"\nJTSetupValidateLocalDirectory\n");
    const HostRun run = RunHost({"--answer-boxes", "--script", script});
    EXPECT_EQ(run.exitCode, 0) << run.error;
    EXPECT_EQ(run.output, box + "JTSetupValidateLocalDirectory = 1\nJTSetupValidateLocalDirectory = 1\n");
    DeleteFileA(script.c_str());
}

TEST(Host, RoundsShowTheFirstRoundAndWhatTheProcessHoldsAfterTheFirstAndTheLast)
{
    const std::string script = ScriptFile("JTGetEncryptedString abc\nJTGetNumberFromString DAF\n");
    const HostRun run = RunHost({"--rounds", "20", "--script", script});
    EXPECT_EQ(run.exitCode, 0) << run.error;
    const std::string results = "JTGetEncryptedString = 900150983cd24fb0d6963f7d28e17f72\nJTGetNumberFromString = 305\n";
    ASSERT_EQ(run.output.substr(0, results.size()), results) << run.output;
    const std::string usage = run.output.substr(results.size());
    EXPECT_EQ(usage.rfind("after round 1: handles ", 0), 0u) << usage;
    EXPECT_NE(usage.find("\nafter round 20: handles "), std::string::npos) << usage;
    EXPECT_NE(usage.find(", private bytes "), std::string::npos) << usage;
    DeleteFileA(script.c_str());
}

TEST(Host, SweepsTheNamedExportsWithTheOddTexts)
{
    const HostRun run = RunHost({"--sweep", "JTGetEncryptedString", "JTGetNumberFromString"});
    EXPECT_EQ(run.exitCode, 0) << run.error << run.output;
    const std::string texts = std::to_string(zelhost::SingleByteSweepTexts().size());
    EXPECT_EQ(run.output, "sweep JTGetEncryptedString\nsweep JTGetNumberFromString\nswept 2 exports with " + texts +
                              " texts each; 0 message boxes answered\n");
}

TEST(Host, ScriptErrorsNameTheLine)
{
    const std::string script = ScriptFile("JTIsWindows2000\n\"unclosed\nJTIsWindowsXP\n");
    const HostRun run = RunHost({"--script", script});
    EXPECT_EQ(run.exitCode, zelhost::kExitUsage);
    EXPECT_EQ(run.error, script + ":2: unclosed quote");
    // The whole script is read before its first call.
    EXPECT_EQ(run.output, "");
    DeleteFileA(script.c_str());
}

TEST(Host, ADllThatCannotBeLoaded)
{
    const HostRun run = RunHostCommandLine({"--dll", "C:\\no\\such\\ZELSETUP.dll", "JTIsWindows2000"});
    EXPECT_EQ(run.exitCode, zelhost::kExitNoDll);
    EXPECT_EQ(run.error.rfind("cannot load C:\\no\\such\\ZELSETUP.dll (error ", 0), 0u) << run.error;
}

TEST(Host, ListsTheExportsItKnows)
{
    const HostRun run = RunHost({"--list"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_NE(run.output.find("JTServerSetupFindRunningApps"), std::string::npos);
    EXPECT_NE(run.output.find("host record"), std::string::npos);
    EXPECT_NE(run.output.find("JTIsWindows2000                               60  plain"), std::string::npos)
        << run.output;
}

} // namespace
} // namespace zeltest
