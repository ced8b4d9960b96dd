// zelhost's work, callable in-process: tests run it without starting a program.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zelhost {

constexpr int kExitUsage = 2;
constexpr int kExitNoDll = 3;
constexpr int kExitNoExport = 4;

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
