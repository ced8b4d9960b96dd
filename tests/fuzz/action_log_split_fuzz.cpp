// The action-log parameter: split at the first bar of its first 519 bytes,
// never inside a double-byte character.
#include <string>

#include "diag/log_text.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zelfuzz::FuzzInput input(data, size);
    const zel::LeadByteTable cp = input.CodePage();
    const std::string text = input.TakeText();

    const auto request = zel::SplitActionLogParameter(text.c_str(), cp);
    if (!request)
        return 0;
    const size_t used = request->setupIniPath.size() + 1 + request->message.size();
    zelfuzz::Require(used <= zel::kActionLogParameterMax, "only the first 519 bytes count");
    zelfuzz::Require(text.compare(0, used, request->setupIniPath + "|" + request->message) == 0,
                     "path and message are the text's own bytes");
    zelfuzz::Require(zel::FindFirstChar(request->setupIniPath.c_str(), '|', cp) == nullptr,
                     "the path holds no bar");
    zelfuzz::Require(zelfuzz::IsCharacterStart(text.c_str(), text.c_str() + request->setupIniPath.size(), cp),
                     "the bar is a character of its own");
    return 0;
}
