#include "export_sweep.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

#include "raw_call.h"
#include "zelsetup.h"

namespace zelhost {
namespace {

const int kIntegers[] = {0, 1, 2, -1, 9, 10, INT_MIN, INT_MAX};

// The library's result texts live in buffers of MAX_PATH.
constexpr size_t kResultBuffer = 260;

// A result of the export's kind, or the reason it is not.
std::string FaultOfResult(const ExportInfo& info, const std::vector<uint32_t>& words, uint32_t result)
{
    if (info.result == 'i' && info.form != Form::Plain) {
        if (result != 0 && result != 1)
            return "gave " + std::to_string(static_cast<int32_t>(result)) + ", not 0 or 1";
    } else if (info.result == 's' && result != 0) {
        const char* text = reinterpret_cast<const char*>(result);
        const bool isArgument = std::find(words.begin(), words.end(), result) != words.end();
        if (!isArgument && strnlen(text, 4096) >= kResultBuffer)
            return "gave a result text longer than its buffer";
    }
    return {};
}

class Sweeper {
public:
    Sweeper(const void* fn, const ExportInfo& info) : fn_(fn), info_(info) {}

    void Call(std::vector<uint32_t> words, const std::string& what)
    {
        const zelcall::ProbedCall call =
            zelcall::CallAndMeasureStack(fn_, words.data(), static_cast<uint32_t>(words.size()));
        const int removes = info_.form == Form::Plain ? 0 : static_cast<int>(4 * words.size());
        if (call.bytesRemoved != removes) {
            faults_.push_back(what + ": removed " + std::to_string(call.bytesRemoved) +
                              " argument bytes, its form removes " + std::to_string(removes));
        }
        const std::string fault = FaultOfResult(info_, words, call.result);
        if (!fault.empty())
            faults_.push_back(what + ": " + fault);
    }

    std::vector<std::string> TakeFaults() { return std::move(faults_); }

private:
    const void* fn_;
    const ExportInfo& info_;
    std::vector<std::string> faults_;
};

} // namespace

std::vector<SweepText> SingleByteSweepTexts()
{
    std::vector<SweepText> texts = {
        {"null", true, ""},
        {"empty", false, ""},
        {"lone lead byte", false, ".\\Kelvaron\x81"},
        {"bars", false, "||C:\\a|b||c|"},
        {"commas", false, ",,QDVNET,,,QDVNET,"},
        {"backslashes", false, "\\\\\\C:\\\\\\\\"},
        {"bar at the end", false, "C:\\windows\\temp\\QDVSETUP.INI|"},
        {"root", false, "C:\\"},
    };
    for (size_t length : {259u, 260u, 261u, 519u, 520u, 1023u, 1024u, 4096u, 65536u})
        texts.push_back({std::to_string(length) + " characters", false, ".\\" + std::string(length - 2, 'a')});
    texts.push_back({"520 characters with a bar at 519", false, std::string(519, 'b') + "|"});
    return texts;
}

std::vector<SweepText> DoubleByteSweepTexts()
{
    std::vector<SweepText> texts = {
        {"double-byte backslash trail", false, ".\\\x83\\\x83\\"},
        {"double-byte bar trail", false, ".\\\x83|\x83|msg"},
        {"double-byte comma trail", false, "QDVNET,\x83,\x83,"},
        {"lone lead byte after double-byte", false, "\x83\\\x81"},
    };
    std::string longText = ".\\";
    while (longText.size() < 1030)
        longText += "\x83\\";
    texts.push_back({"1030 bytes of double-byte characters", false, longText});
    return texts;
}

std::vector<std::string> SweepExport(HMODULE dll, const ExportInfo& info, const std::vector<SweepText>& texts,
                                     const std::function<void(const std::string&)>& note)
{
    note(info.name);
    const void* fn = reinterpret_cast<const void*>(GetProcAddress(dll, info.name));
    if (fn == nullptr)
        return {std::string("the DLL does not export ") + info.name};
    Sweeper sweeper(fn, info);
    const std::string kinds = info.arguments;

    for (const SweepText& sweep : texts) {
        const char* text = sweep.isNull ? nullptr : sweep.text.c_str();
        const std::string what = std::string(info.name) + " with " + sweep.label;
        if (info.form == Form::HostRecord) {
            HostCallRecord record{};
            record.parameterText = text;
            sweeper.Call({reinterpret_cast<uint32_t>(&record)}, what);
            continue;
        }
        if (kinds.find('s') == std::string::npos)
            continue;
        for (int number : kIntegers) {
            std::vector<uint32_t> words;
            for (char kind : kinds)
                words.push_back(kind == 's' ? reinterpret_cast<uint32_t>(text) : static_cast<uint32_t>(number));
            sweeper.Call(words, what + " and " + std::to_string(number));
            if (kinds.find('i') == std::string::npos)
                break;
        }
    }
    if (info.form == Form::HostRecord)
        sweeper.Call({0u}, std::string(info.name) + " with a null record");
    if (kinds.find('s') == std::string::npos && info.form != Form::HostRecord) {
        for (int number : kIntegers) {
            std::vector<uint32_t> words(kinds.size(), static_cast<uint32_t>(number));
            sweeper.Call(words, std::string(info.name) + " with " + std::to_string(number));
        }
    }
    return sweeper.TakeFaults();
}

} // namespace zelhost
