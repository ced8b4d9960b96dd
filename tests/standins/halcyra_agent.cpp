// Stand-in for the product's agent program: a top-level window titled
// "Halcyra Agent" that writes a line to the record file for each request to
// close it, and then closes.
//
//   halcyra_agent.exe RECORD_FILE
#include <windows.h>

#include "tests/standins/standin_support.h"

namespace {

const char* g_recordPath = nullptr;

void Record(const char* line)
{
    standin::AppendToFile(g_recordPath, line);
}

LRESULT CALLBACK AgentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        // Recorded before the sender's SendMessageA returns.
        Record("WM_CLOSE\r\n");
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    g_recordPath = argv[1];
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = AgentProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ZelAgentStandin";
    if (!RegisterClassA(&windowClass))
        return 1;
    if (!CreateWindowA("ZelAgentStandin", "Halcyra Agent", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                       windowClass.hInstance, nullptr))
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
