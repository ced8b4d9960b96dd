// The setup messages: texts from the module's string table, shown in modal
// message boxes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace zel {

// The text of message id, whole, with the tag of the tagged band. An id that
// the table does not hold gives the empty text (and the tag).
std::string LoadSetupMessage(int id);

// The standard setup box: owned by ownerWindow (may be null), captioned with
// message 408, an OK button. Returns when the user has closed it.
void ShowSetupMessage(HWND ownerWindow, int id);

// A box owned by no window, captioned "Kelvaron", with the system's text for
// code and the code in parentheses, after the subject when one is given.
// Returns 1 when the user has closed it.
int ShowSystemError(DWORD code, const char* subject);

} // namespace zel
