// Stand-in for a server service of the product, registered by the tests with
// the service control manager under the product's service names. It runs
// until asked to stop, passing through the stop-pending state, and answers
// interrogations with its current state.
#include <windows.h>

namespace {

constexpr DWORD kWaitHintMs = 50;

SERVICE_STATUS_HANDLE g_statusHandle = nullptr;
SERVICE_STATUS g_status = {};
HANDLE g_stopRequested = nullptr;

void Report(DWORD state, DWORD checkPoint)
{
    g_status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    g_status.dwCurrentState = state;
    g_status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP : 0;
    g_status.dwWin32ExitCode = NO_ERROR;
    g_status.dwCheckPoint = checkPoint;
    g_status.dwWaitHint = kWaitHintMs;
    SetServiceStatus(g_statusHandle, &g_status);
}

DWORD WINAPI Handler(DWORD control, DWORD, void*, void*)
{
    switch (control) {
    case SERVICE_CONTROL_STOP:
        Report(SERVICE_STOP_PENDING, 1);
        SetEvent(g_stopRequested);
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        SetServiceStatus(g_statusHandle, &g_status);
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void WINAPI ServiceMain(DWORD, char** argv)
{
    g_stopRequested = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    g_statusHandle = RegisterServiceCtrlHandlerExA(argv[0], Handler, nullptr);
    if (g_statusHandle == nullptr)
        return;
    Report(SERVICE_RUNNING, 0);
    WaitForSingleObject(g_stopRequested, INFINITE);
    Report(SERVICE_STOPPED, 0);
}

} // namespace

int main()
{
    // The name is not looked at for a service that has its process to itself.
    char name[] = "ZelStandinService";
    const SERVICE_TABLE_ENTRYA table[] = {{name, ServiceMain}, {nullptr, nullptr}};
    return StartServiceCtrlDispatcherA(table) ? 0 : 1;
}
