// A real top-level window for the tests to pass as the host's window.
#pragma once

#include <windows.h>

namespace zeltest {

class TestWindow {
public:
    explicit TestWindow(const char* title = "zeltest host");
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};

} // namespace zeltest
