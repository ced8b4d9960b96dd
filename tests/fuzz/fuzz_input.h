// Turns a fuzzer's bytes into what the text routines take: a code page and
// NUL-terminated texts. The first byte chooses the lead-byte table (odd: code
// page 932, even: a single-byte code page), so every target runs under both.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "frame/code_page.h"

namespace zelfuzz {

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    zel::LeadByteTable CodePage()
    {
        const uint8_t choice = TakeByte();
        return (choice & 1) != 0 ? zel::LeadByteTable::ShiftJis() : zel::LeadByteTable();
    }

    uint8_t TakeByte()
    {
        if (size_ == 0)
            return 0;
        --size_;
        return *data_++;
    }

    uint32_t TakeWord()
    {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i)
            value = value << 8 | TakeByte();
        return value;
    }

    // The bytes up to the next NUL (or the end), as a text of its own.
    std::string TakeText()
    {
        const void* nul = std::memchr(data_, 0, size_);
        const size_t length = nul ? static_cast<size_t>(static_cast<const uint8_t*>(nul) - data_) : size_;
        std::string text(reinterpret_cast<const char*>(data_), length);
        const size_t used = nul ? length + 1 : length;
        data_ += used;
        size_ -= used;
        return text;
    }

    // Everything left, as raw bytes.
    std::vector<uint8_t> TakeRest()
    {
        std::vector<uint8_t> rest(data_, data_ + size_);
        data_ += size_;
        size_ = 0;
        return rest;
    }

private:
    const uint8_t* data_;
    size_t size_;
};

// Aborts with a message, so that a broken property is a finding like a crash.
[[noreturn]] void Fail(const char* what);

inline void Require(bool condition, const char* what)
{
    if (!condition)
        Fail(what);
}

// True when p is where a character of text begins under cp.
bool IsCharacterStart(const char* text, const char* p, const zel::LeadByteTable& cp);

} // namespace zelfuzz
