#include "apps/client_gate.h"

#include "frame/message_text.h"
#include "frame/module_app.h"
#include "frame/setup_message_ids.h"
#include "frame/setup_messages.h"
#include "frame/version_checks.h"
#include "settings/product_identity.h"
#include "settings/product_registry.h"
#include "zelsetup.h"

namespace zel {
namespace {

constexpr DWORD kLockTimeoutMs = 1;
constexpr DWORD kPollMs = 10;
constexpr WPARAM kCloseRequestWParam = 1;

bool WindowTitled(const char* title)
{
    return FindWindowA(nullptr, title) != nullptr;
}

// Posts the close request to the window that bears title, if there is one,
// and waits until no window bears it, whichever program owns it. A window
// that vanishes before the post takes nothing and ends the wait at once.
void RequestCloseAndWait(const char* title)
{
    const HWND window = FindWindowA(nullptr, title);
    if (window == nullptr)
        return;
    PostMessageA(window, kCloseRequestMessage, kCloseRequestWParam, 0);
    while (WindowTitled(title))
        Sleep(kPollMs);
}

} // namespace

std::string ProjectManagerTitle()
{
    return Format("%s - %s", GetProductDisplayName(), "Project Manager");
}

KernelHandle OpenInstanceSemaphore()
{
    return KernelHandle(CreateSemaphoreA(nullptr, 1, 1, kInstanceSemaphoreName));
}

bool ClientHoldsInstanceSemaphore(HANDLE semaphore)
{
    if (semaphore == nullptr)
        return true;
    if (WaitForSingleObject(semaphore, kLockTimeoutMs) != WAIT_OBJECT_0)
        return true;
    ReleaseSemaphore(semaphore, 1, nullptr);
    return false;
}

void WaitForUserToCloseClients(HWND ownerWindow)
{
    const std::string projectManager = ProjectManagerTitle();
    while (WindowTitled(projectManager.c_str()) || WindowTitled(kSynchronizationTitle))
        ShowSetupMessage(ownerWindow, kMsgClientRunning);
}

void RequestClientsToClose()
{
    RequestCloseAndWait(kSynchronizationTitle);
    Sleep(kPollMs);
    RequestCloseAndWait(ProjectManagerTitle().c_str());
}

int RunClientGate(HWND ownerWindow)
{
    WaitCursorScope waitCursor;
    const GateOutcome gate = EvaluateClientGate(QueryVersion(), SystemLeadBytes());
    if (gate.messageId != 0)
        ShowSetupMessage(ownerWindow, gate.messageId);
    if (gate.result != 0)
        return gate.result;

    // Open until the gate returns, whatever it waits for.
    const KernelHandle semaphore = OpenInstanceSemaphore();
    if (ClientHoldsInstanceSemaphore(semaphore.get())) {
        if (ReadProductDword("Preferences", "AllowRequestUserCloseApp", 1, HKEY_LOCAL_MACHINE) != 0)
            WaitForUserToCloseClients(ownerWindow);
        else
            RequestClientsToClose();
    }
    return 0;
}

} // namespace zel

extern "C" int __stdcall JTSetupFindRunningApps(const HostCallRecord* record)
{
    return zel::RunClientGate(record != nullptr ? record->ownerWindow : nullptr);
}
