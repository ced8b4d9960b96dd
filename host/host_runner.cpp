// The host's work: load ZELSETUP.dll and call its exports in their calling
// forms, alone or from a script of calls.
#include "host_runner.h"

#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "export_catalog.h"
#include "frame/handles.h"
#include "host/raw_call.h"
#include "zelsetup.h"

namespace zelhost {
namespace {


struct CallLine {
    bool owner = false;
    bool nullRecord = false;
    std::vector<std::string> words; // export name, then its arguments
};

struct LibraryTraits {
    using Handle = HMODULE;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { FreeLibrary(h); }
};
using Library = zel::Owned<LibraryTraits>;

// The host's own window, given to a call as the record's ownerWindow.
struct OwnWindowTraits {
    using Handle = HWND;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DestroyWindow(h); }
};
using OwnerWindow = zel::Owned<OwnWindowTraits>;

OwnerWindow MakeOwnerWindow()
{
    return OwnerWindow(CreateWindowExA(0, "STATIC", "zelhost", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, nullptr,
                                       nullptr, GetModuleHandleA(nullptr), nullptr));
}

std::string Row(const std::string& name, const std::string& ordinal, const std::string& form,
                const std::string& arguments)
{
    char line[160];
    std::snprintf(line, sizeof line, "%-40s %7s  %-11s %s\n", name.c_str(), ordinal.c_str(), form.c_str(),
                  arguments.c_str());
    return line;
}

bool ParseInt(const std::string& text, int32_t* value)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    const long long parsed = std::strtoll(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || parsed < INT32_MIN || parsed > UINT32_MAX)
        return false;
    *value = static_cast<int32_t>(parsed);
    return true;
}

const char* TextOrNull(const std::string& word)
{
    return word == "@null" ? nullptr : word.c_str();
}

// The 32-bit words pushed for the export's arguments; texts point into line.
std::vector<uint32_t> ArgumentWords(const ExportInfo& info, const CallLine& line, HostCallRecord* record,
                                    HWND owner)
{
    const size_t given = line.words.size() - 1;
    if (info.form == Form::HostRecord) {
        if (given > 1)
            throw Failure{kExitUsage, std::string(info.name) + " takes at most one argument (parameterText)"};
        record->ownerWindow = owner;
        record->parameterText = given == 1 ? TextOrNull(line.words[1]) : nullptr;
        return {line.nullRecord ? 0u : reinterpret_cast<uint32_t>(record)};
    }
    const std::string kinds = info.arguments;
    if (given != kinds.size())
        throw Failure{kExitUsage, std::string(info.name) + " takes " + std::to_string(kinds.size()) +
                                      " argument(s), " + std::to_string(given) + " given"};
    std::vector<uint32_t> words;
    for (size_t i = 0; i < kinds.size(); ++i) {
        const std::string& word = line.words[i + 1];
        if (kinds[i] == 'i') {
            int32_t value = 0;
            if (!ParseInt(word, &value))
                throw Failure{kExitUsage, "argument " + std::to_string(i + 1) + " of " + info.name +
                                              " must be a number: " + word};
            words.push_back(static_cast<uint32_t>(value));
        } else {
            words.push_back(reinterpret_cast<uint32_t>(TextOrNull(word)));
        }
    }
    return words;
}

std::string ResultText(const ExportInfo& info, uint32_t result)
{
    switch (info.result) {
    case 'i':
        return std::to_string(static_cast<int32_t>(result));
    case 's':
        return result == 0 ? "(null)" : std::string(reinterpret_cast<const char*>(result));
    default:
        return "(no result)";
    }
}

std::string Call(HMODULE dll, const CallLine& line)
{
    const ExportInfo* info = FindExport(line.words[0].c_str());
    if (info == nullptr)
        throw Failure{kExitUsage, "unknown export: " + line.words[0]};
    const void* fn = reinterpret_cast<const void*>(GetProcAddress(dll, info->name));
    if (fn == nullptr)
        throw Failure{kExitNoExport, std::string("the DLL does not export ") + info->name};

    const OwnerWindow owner = line.owner ? MakeOwnerWindow() : OwnerWindow();
    HostCallRecord record = {};
    const std::vector<uint32_t> words = ArgumentWords(*info, line, &record, owner.get());
    const zelcall::ProbedCall call =
        zelcall::CallAndMeasureStack(fn, words.data(), static_cast<uint32_t>(words.size()));
    const int expectedRemoved = info->form == Form::Plain ? 0 : static_cast<int>(4 * words.size());
    if (call.bytesRemoved != expectedRemoved)
        throw Failure{kExitNoExport, std::string(info->name) + " removed " + std::to_string(call.bytesRemoved) +
                                         " argument bytes, its form removes " + std::to_string(expectedRemoved)};
    return ResultText(*info, call.result);
}

// Splits a script line into words; "..." quotes a word with blanks.
std::vector<std::string> SplitWords(const std::string& text)
{
    std::vector<std::string> words;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t' || text[i] == '\r') {
            ++i;
            continue;
        }
        std::string word;
        if (text[i] == '"') {
            const size_t close = text.find('"', i + 1);
            if (close == std::string::npos)
                throw Failure{kExitUsage, "unclosed quote"};
            word = text.substr(i + 1, close - i - 1);
            i = close + 1;
        } else {
            while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r')
                word += text[i++];
        }
        words.push_back(word);
    }
    return words;
}

// Options before the export name, then the call.
CallLine ParseCallLine(const std::vector<std::string>& words)
{
    CallLine line;
    size_t i = 0;
    for (; i < words.size() && words[i].rfind("--", 0) == 0; ++i) {
        if (words[i] == "--owner")
            line.owner = true;
        else if (words[i] == "--null-record")
            line.nullRecord = true;
        else
            throw Failure{kExitUsage, "unknown option: " + words[i]};
    }
    if (i == words.size())
        throw Failure{kExitUsage, "no export named"};
    line.words.assign(words.begin() + static_cast<std::ptrdiff_t>(i), words.end());
    return line;
}

std::string ListText()
{
    std::string text = Row("export", "ordinal", "form", "arguments");
    for (const ExportInfo* e = ExportsBegin(); e != ExportsEnd(); ++e)
        text += Row(e->name, std::to_string(e->ordinal), FormName(e->form),
                    e->form == Form::HostRecord ? "record" : e->arguments);
    return text;
}

int RunScript(HMODULE dll, const std::string& path, const Output& out)
{
    std::ifstream script(path);
    if (!script)
        throw Failure{kExitUsage, "cannot read script " + path};
    std::string text;
    for (int number = 1; std::getline(script, text); ++number) {
        try {
            const std::vector<std::string> words = SplitWords(text);
            if (words.empty() || words[0].rfind("#", 0) == 0)
                continue;
            const CallLine line = ParseCallLine(words);
            out(line.words[0] + " = " + Call(dll, line) + "\n");
        } catch (const Failure& failure) {
            throw Failure{failure.exitCode, path + ":" + std::to_string(number) + ": " + failure.message};
        }
    }
    return 0;
}

} // namespace

int RunHost(std::vector<std::string> args, const Output& out)
{
    std::string dllPath = "ZELSETUP.dll";
    if (args.size() >= 2 && args[0] == "--dll") {
        dllPath = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.size() == 1 && args[0] == "--list") {
        out(ListText());
        return 0;
    }
    if (args.empty())
        throw Failure{kExitUsage, "usage: zelhost [--dll PATH] [--owner] [--null-record] EXPORT [ARGS...] | "
                                  "--script FILE | --list"};
    const Library dll(LoadLibraryA(dllPath.c_str()));
    if (dll.get() == nullptr)
        throw Failure{kExitNoDll, "cannot load " + dllPath + " (error " + std::to_string(GetLastError()) + ")"};
    if (args[0] == "--script") {
        if (args.size() != 2)
            throw Failure{kExitUsage, "--script takes one file"};
        return RunScript(dll.get(), args[1], out);
    }
    out(Call(dll.get(), ParseCallLine(args)) + "\n");
    return 0;
}

} // namespace zelhost

