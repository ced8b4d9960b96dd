#include "standin_process.h"

#include <gtest/gtest.h>

#include <vector>

#include "module_under_test.h"

namespace zeltest {

std::string StandinPath(const char* name)
{
    return ModuleBesideProgram("standins\\") + name + ".exe";
}

StandinProcess::StandinProcess(const char* name, const std::string& arguments)
{
    const std::string path = StandinPath(name);
    std::string commandLine = "\"" + path + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    // CreateProcessA may write into the command line, so it gets a copy.
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(path.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        ADD_FAILURE() << "cannot start " << path << ": error " << GetLastError();
        return;
    }
    zel::KernelHandle thread(info.hThread);
    process_.reset(info.hProcess);
    id_ = info.dwProcessId;
}

StandinProcess::~StandinProcess()
{
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
}

bool StandinProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const
{
    if (!process_ || WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (exitCode != nullptr)
        GetExitCodeProcess(process_.get(), exitCode);
    return true;
}

} // namespace zeltest
