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
#include "export_sweep.h"
#include "frame/handles.h"
#include "host/raw_call.h"
#include "message_box_recorder.h"
#include "process_usage.h"
#include "zelsetup.h"

namespace zelhost {
namespace {

struct HostOptions {
    std::string dllPath = "ZELSETUP.dll";
    bool answerBoxes = false;
};

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

// A box's text on one line: its line ends written as \n.
std::string OneLine(const std::string& text)
{
    std::string line;
    for (char c : text) {
        if (c == '\r')
            continue;
        line += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return line;
}

std::string BoxLines(const std::vector<RecordedBox>& boxes)
{
    std::string lines;
    for (const RecordedBox& box : boxes)
        lines += "  box \"" + box.caption + "\": " + OneLine(box.text) + "\n";
    return lines;
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

struct ScriptLine {
    int number;
    CallLine call;
};

std::vector<ScriptLine> ReadScript(const std::string& path)
{
    std::ifstream script(path);
    if (!script)
        throw Failure{kExitUsage, "cannot read script " + path};
    std::vector<ScriptLine> lines;
    std::string text;
    for (int number = 1; std::getline(script, text); ++number) {
        try {
            const std::vector<std::string> words = SplitWords(text);
            if (words.empty() || words[0].rfind("#", 0) == 0)
                continue;
            lines.push_back({number, ParseCallLine(words)});
        } catch (const Failure& failure) {
            throw Failure{failure.exitCode, path + ":" + std::to_string(number) + ": " + failure.message};
        }
    }
    return lines;
}

struct Answered {
    std::string boxLines; // empty unless the boxes are answered
    std::string result;
};

Answered CallAnsweringBoxes(HMODULE dll, const CallLine& line, bool answerBoxes)
{
    if (!answerBoxes)
        return {{}, Call(dll, line)};
    const MessageBoxRecorder boxes;
    const std::string result = Call(dll, line);
    return {BoxLines(boxes.Boxes()), result};
}

void RunScriptOnce(HMODULE dll, const HostOptions& options, const std::string& path,
                   const std::vector<ScriptLine>& lines, const Output& out)
{
    for (const ScriptLine& line : lines) {
        try {
            const Answered call = CallAnsweringBoxes(dll, line.call, options.answerBoxes);
            out(call.boxLines + line.call.words[0] + " = " + call.result + "\n");
        } catch (const Failure& failure) {
            throw Failure{failure.exitCode, path + ":" + std::to_string(line.number) + ": " + failure.message};
        }
    }
}

// The script run rounds times; the results of the first round are shown,
// and what the process holds after the first round and after the last.
int RunScriptRounds(HMODULE dll, const HostOptions& options, const std::string& path, int rounds,
                    const Output& out)
{
    const std::vector<ScriptLine> lines = ReadScript(path);
    RunScriptOnce(dll, options, path, lines, out);
    if (rounds == 1)
        return 0;
    const ProcessUsage first = CurrentProcessUsage();
    const Output quiet = [](const std::string&) {};
    for (int round = 2; round <= rounds; ++round)
        RunScriptOnce(dll, options, path, lines, quiet);
    const ProcessUsage last = CurrentProcessUsage();
    out("after round 1: " + UsageText(first) + "\n");
    out("after round " + std::to_string(rounds) + ": " + UsageText(last) + "\n");
    if (UsageGrew(first, last))
        throw Failure{kExitLeak, "the process holds more after round " + std::to_string(rounds) +
                                     " than after round 1"};
    return 0;
}

int RunSweep(HMODULE dll, const std::vector<std::string>& names, const Output& out)
{
    if (names.empty())
        throw Failure{kExitUsage, "--sweep takes the exports to sweep"};
    std::vector<const ExportInfo*> exports;
    for (const std::string& name : names) {
        const ExportInfo* info = FindExport(name.c_str());
        if (info == nullptr)
            throw Failure{kExitUsage, "unknown export: " + name};
        exports.push_back(info);
    }
    const std::vector<SweepText> texts = SingleByteSweepTexts();
    const MessageBoxRecorder boxes;
    size_t faults = 0;
    for (const ExportInfo* info : exports) {
        const auto announce = [&out](const std::string& name) { out("sweep " + name + "\n"); };
        for (const std::string& fault : SweepExport(dll, *info, texts, announce)) {
            out("  fault: " + fault + "\n");
            ++faults;
        }
    }
    out("swept " + std::to_string(exports.size()) + " exports with " + std::to_string(texts.size()) +
        " texts each; " + std::to_string(boxes.Boxes().size()) + " message boxes answered\n");
    if (faults != 0)
        throw Failure{kExitFaults, std::to_string(faults) + " faults found"};
    return 0;
}

int ParseRounds(const std::string& text)
{
    int32_t rounds = 0;
    if (!ParseInt(text, &rounds) || rounds < 1)
        throw Failure{kExitUsage, "--rounds takes a number from 1: " + text};
    return rounds;
}

} // namespace

int RunHost(std::vector<std::string> args, const Output& out)
{
    HostOptions options;
    for (bool more = true; more && !args.empty();) {
        if (args.size() >= 2 && args[0] == "--dll") {
            options.dllPath = args[1];
            args.erase(args.begin(), args.begin() + 2);
        } else if (args[0] == "--answer-boxes") {
            options.answerBoxes = true;
            args.erase(args.begin());
        } else {
            more = false;
        }
    }
    if (args.size() == 1 && args[0] == "--list") {
        out(ListText());
        return 0;
    }
    if (args.empty())
        throw Failure{kExitUsage, "usage: zelhost [--dll PATH] [--answer-boxes] [--owner] [--null-record] EXPORT "
                                  "[ARGS...] | [--rounds N] --script FILE | --sweep EXPORT... | --list"};
    const Library dll(LoadLibraryA(options.dllPath.c_str()));
    if (dll.get() == nullptr)
        throw Failure{kExitNoDll,
                      "cannot load " + options.dllPath + " (error " + std::to_string(GetLastError()) + ")"};
    if (args[0] == "--sweep")
        return RunSweep(dll.get(), std::vector<std::string>(args.begin() + 1, args.end()), out);
    int rounds = 1;
    if (args.size() >= 2 && args[0] == "--rounds") {
        rounds = ParseRounds(args[1]);
        args.erase(args.begin(), args.begin() + 2);
    }
    if (!args.empty() && args[0] == "--script") {
        if (args.size() != 2)
            throw Failure{kExitUsage, "--script takes one file"};
        return RunScriptRounds(dll.get(), options, args[1], rounds, out);
    }
    if (rounds != 1)
        throw Failure{kExitUsage, "--rounds goes with --script"};
    const Answered call = CallAnsweringBoxes(dll.get(), ParseCallLine(args), options.answerBoxes);
    out(call.boxLines + call.result + "\n");
    return 0;
}

} // namespace zelhost

