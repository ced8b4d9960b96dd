// The gate of the client setup: whether the product can be installed on this
// system, and that none of its client programs is still running.
#pragma once

#include <windows.h>

#include <string>

#include "frame/handles.h"

namespace zel {

// The named semaphore that a running client program holds.
constexpr char kInstanceSemaphoreName[] = "ZEL";
// The client's two main windows are found by their titles, of any class.
constexpr char kSynchronizationTitle[] = "Synchronization";
// Makes a client window close itself, in the program's own time.
constexpr UINT kCloseRequestMessage = 0x101D;

// "<display name> - Project Manager".
std::string ProjectManagerTitle();

// Creates the instance semaphore (count 1 of 1), or opens it when a client
// program has created it. None when the name belongs to an object of
// another kind.
KernelHandle OpenInstanceSemaphore();

// Whether a client program holds the semaphore: it cannot be taken within
// 1 ms. When it can, it is given back at once. Without a semaphore the answer
// is yes, so that the setup never overwrites a program it could not rule out.
bool ClientHoldsInstanceSemaphore(HANDLE semaphore);

// Message 411 again and again while either client window exists.
void WaitForUserToCloseClients(HWND ownerWindow);

// Posts the close request to each client window in turn, and waits until
// that window is gone before the next.
void RequestClientsToClose();

// 0: the setup goes on; 1: this system is not supported (message 409).
int RunClientGate(HWND ownerWindow);

} // namespace zel
