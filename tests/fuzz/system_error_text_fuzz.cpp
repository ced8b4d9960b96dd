// The system-error box text: the subject, the system's text without its line
// end, and the code in brackets, whatever the texts hold.
#include <cstdio>
#include <string>

#include "frame/message_text.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    zelfuzz::FuzzInput input(data, size);
    const bool withSubject = (input.TakeByte() & 1) != 0;
    const uint32_t code = input.TakeWord();
    const std::string subject = input.TakeText();
    const std::string system = input.TakeText();

    const std::string trimmed = zel::WithoutSystemLineEnd(system.c_str());
    zelfuzz::Require(system.compare(0, trimmed.size(), trimmed) == 0, "the system text is kept up to its end");
    zelfuzz::Require(system.size() - trimmed.size() <= 2, "at most the line end is dropped");

    const std::string text = zel::ComposeSystemErrorText(withSubject ? subject.c_str() : nullptr, trimmed, code);
    char number[16];
    std::snprintf(number, sizeof number, "(%d)", static_cast<int32_t>(code));
    const std::string expected = (withSubject ? subject + "\n" : std::string()) + trimmed + number;
    zelfuzz::Require(text == expected, "subject, text and code composed in order");

    const std::string tag = zel::MessageTag(static_cast<int32_t>(code));
    zelfuzz::Require(tag.empty() || tag.size() < 16, "a tag is short");
    return 0;
}
