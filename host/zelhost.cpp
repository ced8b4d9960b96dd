// zelhost: an installer host on the command line. It loads ZELSETUP.dll and
// calls its exports in their calling forms, alone or from a script of calls.
//
//   zelhost [--dll PATH] [--owner] [--null-record] EXPORT [ARGS...]
//   zelhost [--dll PATH] --script FILE
//   zelhost --list
//
// An argument @null passes a null pointer. Host-record exports take at most
// one argument, the record's parameterText (null when left out).
#include <cstdio>

#include "host_runner.h"

int main(int argc, char** argv)
{
    const auto print = [](const std::string& text) {
        std::fputs(text.c_str(), stdout);
        std::fflush(stdout);
    };
    try {
        return zelhost::RunHost(std::vector<std::string>(argv + 1, argv + argc), print);
    } catch (const zelhost::Failure& failure) {
        std::fprintf(stderr, "zelhost: %s\n", failure.message.c_str());
        return failure.exitCode;
    }
}
