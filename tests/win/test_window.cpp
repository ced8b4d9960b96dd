#include "test_window.h"

namespace zeltest {

TestWindow::TestWindow(const char* title)
    : window_(CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr))
{
}

TestWindow::~TestWindow()
{
    if (window_ != nullptr)
        DestroyWindow(window_);
}

} // namespace zeltest
