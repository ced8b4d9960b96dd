// What the stand-in programs share: their command line and the record file in
// which they write down what they received, for the test to read afterwards.
#pragma once

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "frame/handles.h"

namespace standin {

// "--name value" pairs and "--flag" switches, in order.
class Arguments {
public:
    Arguments(int argc, char** argv) : words_(argv + 1, argv + argc) {}

    bool Has(const char* flag) const
    {
        for (const std::string& w : words_) {
            if (w == flag)
                return true;
        }
        return false;
    }

    // The value after each occurrence of name.
    std::vector<std::string> All(const char* name) const
    {
        std::vector<std::string> values;
        for (size_t i = 0; i + 1 < words_.size(); ++i) {
            if (words_[i] == name)
                values.push_back(words_[i + 1]);
        }
        return values;
    }

    std::string Text(const char* name, const std::string& fallback = std::string()) const
    {
        const std::vector<std::string> values = All(name);
        return values.empty() ? fallback : values.back();
    }

    unsigned long Number(const char* name, unsigned long fallback) const
    {
        const std::string text = Text(name);
        return text.empty() ? fallback : std::strtoul(text.c_str(), nullptr, 0);
    }

private:
    std::vector<std::string> words_;
};

// Appends text to the file at once, opened for each write and shared, so
// that several writers can note into one file and a line survives the
// program being terminated right after.
inline void AppendToFile(const std::string& path, const std::string& text)
{
    if (path.empty())
        return;
    const zel::KernelHandle file(CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// Appends one line to the record file.
inline void Record(const std::string& path, const std::string& line)
{
    AppendToFile(path, line + "\n");
}

// Tells the test that the program is ready, through the named event it gave.
inline void SignalReady(const std::string& eventName)
{
    if (eventName.empty())
        return;
    const zel::KernelHandle ready(OpenEventA(EVENT_MODIFY_STATE, FALSE, eventName.c_str()));
    if (ready)
        SetEvent(ready.get());
}

inline std::string TitleOf(HWND window)
{
    char title[512] = {};
    GetWindowTextA(window, title, sizeof title);
    return title;
}

} // namespace standin
