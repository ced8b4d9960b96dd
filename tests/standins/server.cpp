// Stand-in for a server program of the product:
//   server.exe [--window TITLE]... [--extra N] [--ignore-close]
//              [--ready EVENT] [--record FILE]
// Shows a top-level window for each --window and N more untitled ones, all of
// this process. WM_CLOSE to any of them ends the program with exit code 7,
// unless --ignore-close is given: then it is only recorded, and the program
// has to be terminated. --record appends "close TITLE posted" or
// "close TITLE sent" for every WM_CLOSE received.
#include <windows.h>

#include <string>

#include "standin_support.h"

namespace {

constexpr int kEndedByItself = 7;
constexpr char kClassName[] = "ZelStandinServer";

std::string g_record;
bool g_ignoreClose = false;

LRESULT CALLBACK ServerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        standin::Record(g_record, "close " + standin::TitleOf(window) + (InSendMessage() ? " sent" : " posted"));
        if (!g_ignoreClose)
            PostQuitMessage(kEndedByItself);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool ShowWindowTitled(const std::string& title, HINSTANCE instance)
{
    return CreateWindowExA(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                           instance, nullptr) != nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    const standin::Arguments args(argc, argv);
    g_record = args.Text("--record");
    g_ignoreClose = args.Has("--ignore-close");

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ServerWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    for (const std::string& title : args.All("--window")) {
        if (!ShowWindowTitled(title, windowClass.hInstance))
            return 4;
    }
    const unsigned long extra = args.Number("--extra", 0);
    for (unsigned long i = 0; i < extra; ++i) {
        if (!ShowWindowTitled(std::string(), windowClass.hInstance))
            return 4;
    }
    standin::SignalReady(args.Text("--ready"));

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
