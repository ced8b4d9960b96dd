// Stand-in for a client program of the product:
//   client.exe [--semaphore] [--window TITLE]... [--close-delay MS]
//              [--close-on EVENT] [--ready EVENT] [--record FILE]
// --semaphore creates the semaphore "ZEL" (count 1 of 1) and takes it, as a
// running client does. Each --window shows a top-level window with that
// title. Message 0x101D closes the window that receives it after MS
// milliseconds (default 0); the named event --close-on closes every window at
// once, as a user closing the program would. The program ends when its last
// window is gone; without windows it runs until it is ended. --record appends
// "request TITLE WPARAM LPARAM" and "closed TITLE" lines.
#include <windows.h>

#include <string>
#include <vector>

#include "standin_support.h"

namespace {

constexpr UINT kCloseRequest = 0x101D;
constexpr UINT_PTR kCloseTimer = 1;
constexpr char kClassName[] = "ZelStandinClient";

std::string g_record;
UINT g_closeDelayMs = 0;
int g_openWindows = 0;

LRESULT CALLBACK ClientWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case kCloseRequest:
        standin::Record(g_record, "request " + standin::TitleOf(window) + " " + std::to_string(wParam) + " " +
                                      std::to_string(lParam));
        SetTimer(window, kCloseTimer, g_closeDelayMs, nullptr);
        return 0;
    case WM_TIMER:
        if (wParam == kCloseTimer) {
            KillTimer(window, kCloseTimer);
            DestroyWindow(window);
        }
        return 0;
    case WM_DESTROY:
        standin::Record(g_record, "closed " + standin::TitleOf(window));
        if (--g_openWindows == 0)
            PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

} // namespace

int main(int argc, char** argv)
{
    const standin::Arguments args(argc, argv);
    g_record = args.Text("--record");
    g_closeDelayMs = static_cast<UINT>(args.Number("--close-delay", 0));

    HANDLE semaphore = nullptr;
    if (args.Has("--semaphore")) {
        semaphore = CreateSemaphoreA(nullptr, 1, 1, "ZEL");
        if (semaphore == nullptr || WaitForSingleObject(semaphore, 0) != WAIT_OBJECT_0)
            return 3;
    }

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ClientWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    std::vector<HWND> windows;
    for (const std::string& title : args.All("--window")) {
        HWND w = CreateWindowExA(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                 windowClass.hInstance, nullptr);
        if (w == nullptr)
            return 4;
        windows.push_back(w);
        ++g_openWindows;
    }

    const std::string closeOn = args.Text("--close-on");
    HANDLE userCloses = closeOn.empty() ? nullptr : OpenEventA(SYNCHRONIZE, FALSE, closeOn.c_str());
    standin::SignalReady(args.Text("--ready"));

    for (;;) {
        const DWORD handles = userCloses != nullptr ? 1 : 0;
        const DWORD woke = MsgWaitForMultipleObjects(handles, &userCloses, FALSE, INFINITE, QS_ALLINPUT);
        if (handles == 1 && woke == WAIT_OBJECT_0) {
            CloseHandle(userCloses);
            userCloses = nullptr;
            for (HWND w : windows) {
                if (IsWindow(w))
                    DestroyWindow(w);
            }
            continue;
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                if (semaphore != nullptr)
                    CloseHandle(semaphore);
                return 0;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}
