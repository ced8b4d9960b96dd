// Text rules of the product's registry names and of string data read from the
// registry, kept free of <windows.h>.
#pragma once

#include <cstddef>

#include "frame/code_page.h"

namespace zel {

// Size of each registry name buffer and of a path: 259 characters and the NUL.
constexpr size_t kRegistryTextSize = 260;

// A name that the registry name buffers can hold whole: given, and at most
// 259 characters. A cut name would lead every later operation to another key.
bool IsStorableRegistryName(const char* name);

// Ends string data that a registry query left in buffer (capacity bytes, of
// which dataSize were written). Data stored without its NUL, or with no data
// at all, would otherwise leave bytes of an earlier read in the text. False
// when the data fills the buffer without a NUL, so the text cannot be ended
// inside it; the buffer is then left as it is.
bool EndRegistryText(char* buffer, size_t capacity, size_t dataSize);

// "a\b\c\d" into out (size bytes). False when it does not fit: a cut key path
// would name another key, so the caller must not use out then.
bool ComposeKeyPath(char* out, size_t size, const char* a, const char* b, const char* c, const char* d);

// Removes the text's last character when it is a backslash; one at most, and
// never the second byte of a double-byte character.
void RemoveTrailingBackslash(char* text, const LeadByteTable& cp);

} // namespace zel
