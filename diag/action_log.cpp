#include "diag/action_log.h"

#include <windows.h>

#include <string>

#include "diag/log_text.h"
#include "frame/handles.h"
#include "frame/module_app.h"
#include "frame/version_checks.h"
#include "settings/registry_text.h"
#include "zelsetup.h"

namespace zel {
namespace {

// Opened without sharing, so that no other writer interleaves with the line;
// an existing log keeps its contents.
KernelHandle OpenLogForAppending(const char* path)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    return KernelHandle(
        CreateFileA(path, GENERIC_WRITE, 0, &inheritable, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool MoveToEnd(HANDLE file)
{
    SetLastError(NO_ERROR);
    return SetFilePointer(file, 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER || GetLastError() == NO_ERROR;
}

} // namespace

int AppendActionLog(const char* setupIniPath, const char* message)
{
    if (setupIniPath == nullptr || setupIniPath[0] == '\0')
        return 0;
    char logPath[kRegistryTextSize] = {};
    GetPrivateProfileStringA("Configuration", "InstallActionLog", "", logPath, sizeof(logPath), setupIniPath);
    if (logPath[0] == '\0')
        return 0;
    KernelHandle log = OpenLogForAppending(logPath);
    // A log that cannot be opened, or not be positioned at its end, gets no
    // line: writing at another place would overwrite earlier lines.
    if (!log || !MoveToEnd(log.get()))
        return 1;
    const auto now = CurrentLocalTime();
    const std::string line = ActionLogLine(now ? ActionLogStamp(*now) : std::string(), message);
    // A failed or short write is not reported: the log is diagnostic only.
    DWORD written = 0;
    WriteFile(log.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    return 1;
}

} // namespace zel

extern "C" int __stdcall JTSetupAddActionLog(const HostCallRecord* record)
{
    if (record == nullptr || record->parameterText == nullptr)
        return 1;
    zel::WaitCursorScope wait;
    const auto request = zel::SplitActionLogParameter(record->parameterText, zel::SystemLeadBytes());
    if (!request)
        return 1;
    zel::AppendActionLog(request->setupIniPath.c_str(), request->message.c_str());
    return 0;
}
