#include "config/run_program.h"

#include <windows.h>
#include <shellapi.h>

#include "frame/handles.h"

namespace zel {

void RunProgram(const char* file, int wait, const char* verb, const char* parameters)
{
    SHELLEXECUTEINFOA request = {};
    request.cbSize = sizeof(request);
    request.fMask = SEE_MASK_NOCLOSEPROCESS;
    request.lpVerb = verb;
    request.lpFile = file;
    request.lpParameters = parameters;
    request.nShow = SW_SHOWNORMAL;
    // The result is not looked at: when nothing was started, hProcess stays null.
    ShellExecuteExA(&request);
    const KernelHandle process(request.hProcess);
    if (wait != 0 && process)
        WaitForSingleObject(process.get(), INFINITE);
}

} // namespace zel
