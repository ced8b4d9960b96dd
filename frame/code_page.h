// Character-wise scans over ANSI texts of a single- or double-byte code page.
//
// A scan that steps byte by byte would take the second byte of a double-byte
// character (0x5C in many code page 932 characters) for a backslash, a bar or a
// comma. These scans step by whole characters instead. They need no <windows.h>:
// the code page is described by its table of lead bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace zel {

class LeadByteTable {
public:
    // A single-byte code page: no byte starts a double-byte character.
    LeadByteTable() { lead_.fill(false); }

    // Marks first..last (inclusive) as lead bytes.
    void AddRange(uint8_t first, uint8_t last)
    {
        for (unsigned b = first; b <= last; ++b)
            lead_[b] = true;
    }

    bool IsLead(char c) const { return lead_[static_cast<uint8_t>(c)]; }

    // Code page 932 (Shift JIS), for tests and fuzzing off Windows.
    static LeadByteTable ShiftJis()
    {
        LeadByteTable t;
        t.AddRange(0x81, 0x9F);
        t.AddRange(0xE0, 0xFC);
        return t;
    }

private:
    std::array<bool, 256> lead_;
};

// The character after the one at p. A lead byte followed by the terminator is a
// character of its own, so a scan never steps past the end of the text.
const char* NextChar(const char* p, const LeadByteTable& cp);

// First character c (a single-byte character) in text, or null.
const char* FindFirstChar(const char* text, char c, const LeadByteTable& cp);

// Last character c (a single-byte character) in text, or null.
const char* FindLastChar(const char* text, char c, const LeadByteTable& cp);

// First occurrence of needle that begins on a character boundary, or null.
// An empty needle is found at the start of the text.
const char* FindText(const char* text, const char* needle, const LeadByteTable& cp);

// The length of text without its last character when that is a backslash;
// one at most, and never the second byte of a double-byte character.
size_t LengthWithoutTrailingBackslash(const char* text, const LeadByteTable& cp);

// Length in bytes of the longest run of whole characters at the start of text
// that is at most maxBytes long; a double-byte character is never cut in half.
size_t CharacterPrefixLength(const char* text, size_t maxBytes, const LeadByteTable& cp);

} // namespace zel
