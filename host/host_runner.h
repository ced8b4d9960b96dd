// zelhost's work, callable in-process: tests run it without starting a program.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zelhost {

constexpr int kExitUsage = 2;
constexpr int kExitNoDll = 3;
constexpr int kExitNoExport = 4;
constexpr int kExitFaults = 5; // the sweep found faults
constexpr int kExitLeak = 6;   // the process held more after the rounds

// A failure of the host itself: a message of one line and the exit code.
struct Failure {
    int exitCode;
    std::string message;
};

using Output = std::function<void(const std::string&)>;

// Runs zelhost's command line (without the program name). Results go to out
// as they come; a failure is thrown as Failure.
int RunHost(std::vector<std::string> args, const Output& out);

} // namespace zelhost
