#include "frame/module_app.h"

namespace zel {
namespace {

ModuleApp* g_current = nullptr;

} // namespace

ModuleApp::ModuleApp()
{
    g_current = this;
}

ModuleApp::~ModuleApp()
{
    if (g_current == this)
        g_current = nullptr;
}

bool ModuleApp::InitInstance()
{
    return true;
}

int ModuleApp::ExitInstance()
{
    return 0;
}

void ModuleApp::DoWaitCursor(int code)
{
    if (code > 0) {
        HCURSOR shown = SetCursor(LoadCursor(nullptr, IDC_WAIT));
        if (waitCursorCount_ == 0)
            cursorBeforeWait_ = shown;
        waitCursorCount_ += code;
    } else if (code < 0 && waitCursorCount_ > 0) {
        // An end without its begin cannot take the count below zero.
        waitCursorCount_ = waitCursorCount_ + code > 0 ? waitCursorCount_ + code : 0;
        if (waitCursorCount_ == 0)
            SetCursor(cursorBeforeWait_);
    }
}

ModuleApp* ModuleApp::Current()
{
    return g_current;
}

bool ModuleApp::Attach(HINSTANCE instance)
{
    if (g_current == nullptr)
        return false;
    g_current->instance_ = instance;
    return g_current->InitInstance();
}

void ModuleApp::Detach()
{
    if (g_current != nullptr)
        g_current->ExitInstance();
}

HINSTANCE ModuleInstance()
{
    ModuleApp* app = ModuleApp::Current();
    return app != nullptr ? app->Instance() : nullptr;
}

} // namespace zel
