// Starting a program through the Windows shell.
#pragma once

namespace zel {

// Starts file (a program or a document, as the shell resolves it) with the
// verb (null: the default verb) and the parameters (may be null), shown
// normally. With wait non-zero, returns only once the started process has
// ended. Nothing is reported: a file that cannot be started is passed over.
void RunProgram(const char* file, int wait, const char* verb, const char* parameters);

} // namespace zel
