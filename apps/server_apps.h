// The product's server programs, known by the titles of their top-level
// windows, and its server services, known by their names.
#pragma once

#include <windows.h>

namespace zel {

constexpr char kServerConsoleTitle[] = "Halcyra Synchronization Server Console 4.0";
constexpr char kServerAgentTitle[] = "Halcyra Synchronization Server Agent 4.0";
constexpr char kSyncServiceName[] = "QDVSyncServer40";
constexpr char kAlertServiceName[] = "QDVAlert40";

// CloseProcessWindows and CloseWindowProcess results.
constexpr int kProcessNotClosed = 0; // not opened, no owner found, or termination failed
constexpr int kProcessEnded = 1;     // ended within the wait
constexpr int kProcessTerminated = 2;

// Posts WM_CLOSE to every top-level window of the process, gives it waitMs to
// end and terminates it (exit code 0) when it has not.
int CloseProcessWindows(DWORD processId, DWORD waitMs);

// CloseProcessWindows for the process that owns window.
int CloseWindowProcess(HWND window, DWORD waitMs);

// What of the server side runs, looked at once; every later decision of a
// stop uses these answers.
struct ServerSide {
    HWND console;
    HWND agent;
    bool syncServiceRunning;
    bool alertServiceRunning;

    bool AnyRunning() const;
};
ServerSide LookForServerSide();

// Closes the programs found, then any window bearing their titles, then
// stops the services found running.
void StopServerSide(const ServerSide& found);

} // namespace zel
