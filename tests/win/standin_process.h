// Starts one of the product's stand-in programs (standins\NAME.exe beside the
// test program) and ends it again when the test is done with it.
#pragma once

#include <windows.h>

#include <string>

#include "frame/handles.h"

namespace zeltest {

// The path of standins\NAME.exe beside the test program.
std::string StandinPath(const char* name);

class StandinProcess {
public:
    // Starts the stand-in with the given command-line arguments; a test
    // failure when it cannot be started.
    StandinProcess(const char* name, const std::string& arguments);
    // Terminates the program if it is still running, so that no stand-in
    // outlives the test that started it.
    ~StandinProcess();
    StandinProcess(const StandinProcess&) = delete;
    StandinProcess& operator=(const StandinProcess&) = delete;

    bool started() const { return static_cast<bool>(process_); }
    DWORD id() const { return id_; }
    HANDLE handle() const { return process_.get(); }

    // True when the program ended within timeoutMs; its exit code in *exitCode.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const;

private:
    zel::KernelHandle process_;
    DWORD id_ = 0;
};

} // namespace zeltest
