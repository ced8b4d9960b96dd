// Joining a folder and a file name into a path of a fixed buffer, kept free of
// <windows.h>.
#pragma once

#include <cstddef>

#include "frame/code_page.h"

namespace zel {

// folder, without one trailing backslash, then one backslash and name, into
// out (size bytes, terminator included). False when the whole path does not
// fit: a cut path names another file, so out is then left empty.
bool JoinFolderAndName(char* out, size_t size, const char* folder, const char* name, const LeadByteTable& cp);

} // namespace zel
