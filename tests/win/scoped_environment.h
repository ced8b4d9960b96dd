// An environment variable of the test process set for one scope. Programs
// started meanwhile inherit it, and libraries loaded into the process read it.
#pragma once

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

namespace zeltest {

class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : name_(name)
    {
        SetEnvironmentVariableA(name, value.c_str());
    }
    ~ScopedEnvironment() { SetEnvironmentVariableA(name_.c_str(), nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

    void Set(const std::string& value) const { SetEnvironmentVariableA(name_.c_str(), value.c_str()); }

private:
    std::string name_;
};

// The lines of a text file written with CR LF, none when it is missing.
inline std::vector<std::string> ReadLines(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

} // namespace zeltest
