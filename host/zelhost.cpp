// zelhost: an installer host on the command line. It loads ZELSETUP.dll and
// calls its exports in their calling forms, alone or from a script of calls.
//
//   zelhost [--dll PATH] [--answer-boxes] [--owner] [--null-record] EXPORT [ARGS...]
//   zelhost [--dll PATH] [--answer-boxes] [--rounds N] --script FILE
//   zelhost [--dll PATH] --sweep EXPORT...
//   zelhost --list
//
// An argument @null passes a null pointer. Host-record exports take at most
// one argument, the record's parameterText (null when left out).
//
// --answer-boxes answers the library's message boxes with OK and prints each
// (caption and text) before the call's result, for runs that nobody watches.
// --rounds runs the script N times, shows the first round's results, and
// fails (exit code 6) when the process holds more handles, heap blocks or
// private memory after the last round than after the first. --sweep calls
// each export with the odd inputs of the test sweep (null, empty, long and
// double-byte texts, null records), answering its boxes, and fails (exit
// code 5) on a wrong result or stack.
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
