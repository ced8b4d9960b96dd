// Joining a folder and a file name into a path of fixed size, free of
// <windows.h>.
#pragma once

#include <cstddef>

#include "frame/code_page.h"

namespace zel {

// folder, one backslash, name into out (size bytes, NUL included). One
// trailing backslash of the folder is dropped first, never the second byte of
// a double-byte character, so "C:\" and "C:" both give "C:\name". False when
// the path does not fit; out then holds the empty text, because a cut path
// could name another file.
bool JoinFolderAndName(char* out, size_t size, const char* folder, const char* name, const LeadByteTable& cp);

} // namespace zel
