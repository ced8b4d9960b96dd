// The registry editor of the test prefix's Windows folder, in place of Wine's
// own, which refuses the switch "/i". It notes how it was started and hands
// the import to Wine's editor, kept beside it as wine-regedit.exe.
//
// Environment, inherited from the test that starts it:
//   ZEL_REGEDIT_LOG   file that gets "exe: PATH", "args: TEXT" and, once the
//                     import is done, "end: EXIT CODE", one line each
//   ZEL_REGEDIT_HOLD  name of an event to wait for (at most a minute) before
//                     the import, so that a test can see whether its caller waits
//   ZEL_REGEDIT_HOLD_MS  milliseconds to sleep before the import, for a test
//                     that cannot set an event while its own thread waits
#include <windows.h>

#include <string>
#include <vector>

#include "tests/standins/standin_notes.h"

namespace {

using zelstandin::Environment;

void Note(const std::string& line)
{
    zelstandin::NoteLine("ZEL_REGEDIT_LOG", line);
}

// The command line after the program's own name and the blanks that follow it.
std::string Arguments()
{
    const char* p = GetCommandLineA();
    if (*p == '"') {
        for (++p; *p != '\0' && *p != '"'; ++p) {
        }
        if (*p == '"')
            ++p;
    } else {
        while (*p != '\0' && *p != ' ' && *p != '\t')
            ++p;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    return p;
}

// The arguments without "/i", which Wine's editor refuses; quoted words stay as they are.
std::string WithoutImportSwitch(const std::string& arguments)
{
    std::vector<std::string> words;
    for (size_t i = 0; i < arguments.size();) {
        if (arguments[i] == ' ' || arguments[i] == '\t') {
            ++i;
            continue;
        }
        const size_t start = i;
        bool quoted = false;
        while (i < arguments.size() && (quoted || (arguments[i] != ' ' && arguments[i] != '\t'))) {
            if (arguments[i] == '"')
                quoted = !quoted;
            ++i;
        }
        words.push_back(arguments.substr(start, i - start));
    }
    std::string kept;
    for (const std::string& word : words) {
        if (lstrcmpiA(word.c_str(), "/i") == 0 || lstrcmpiA(word.c_str(), "-i") == 0)
            continue;
        kept += (kept.empty() ? "" : " ") + word;
    }
    return kept;
}

void WaitForRelease()
{
    const std::string name = Environment("ZEL_REGEDIT_HOLD");
    if (name.empty())
        return;
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, name.c_str());
    if (release == nullptr)
        return;
    WaitForSingleObject(release, 60000);
    CloseHandle(release);
}

void SleepIfAsked()
{
    const std::string milliseconds = Environment("ZEL_REGEDIT_HOLD_MS");
    if (!milliseconds.empty())
        Sleep(static_cast<DWORD>(std::stoul(milliseconds)));
}

DWORD RunWineEditor(const std::string& arguments)
{
    char windows[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(windows, sizeof(windows));
    if (length == 0 || length >= sizeof(windows))
        return 1;
    const std::string editor = std::string(windows) + "\\wine-regedit.exe";
    std::string commandLine = "\"" + editor + "\" " + arguments;
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(editor.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return 1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return exitCode;
}

} // namespace

int main()
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof(self));
    const std::string arguments = Arguments();
    Note(std::string("exe: ") + self);
    Note("args: " + arguments);
    WaitForRelease();
    SleepIfAsked();
    const DWORD exitCode = RunWineEditor(WithoutImportSwitch(arguments));
    Note("end: " + std::to_string(exitCode));
    return static_cast<int>(exitCode);
}
