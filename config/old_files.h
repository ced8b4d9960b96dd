// Removal of the outdated files that older versions left in the install folder.
#pragma once

namespace zel {

// Deletes BIN\MFC42.DLL under installFolder (one trailing backslash of the
// folder is dropped), or has Windows delete it at the next restart when it
// cannot be deleted now, missing or in use. A path that does not fit whole in
// 260 bytes is left alone: cut, it would name another file.
void CleanUpOldFiles(const char* installFolder);

} // namespace zel
