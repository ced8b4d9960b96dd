// The application framework of the module: one application object per module,
// started by the module entry at load and ended at unload, with the nesting
// wait cursor that exports show while they work.
#pragma once

#include <windows.h>

#include <string>

namespace zel {

class ModuleApp {
public:
    ModuleApp();
    virtual ~ModuleApp();

    ModuleApp(const ModuleApp&) = delete;
    ModuleApp& operator=(const ModuleApp&) = delete;

    // Called once the module is loaded; false refuses the load.
    virtual bool InitInstance();
    // Called when the module is unloaded; the result is not used.
    virtual int ExitInstance();

    // 1 begins the wait cursor, -1 ends it; they nest. The first begin shows
    // IDC_WAIT and remembers the cursor shown before; the end that brings the
    // count back to 0 shows that cursor again.
    virtual void DoWaitCursor(int code);
    int WaitCursorCount() const { return waitCursorCount_; }

    // The title the framework gives to message boxes of its own.
    const std::string& AppName() const { return appName_; }
    void SetAppName(const std::string& name) { appName_ = name; }

    HINSTANCE Instance() const { return instance_; }

    // The module's application object (null before construction and after
    // destruction).
    static ModuleApp* Current();

    // Module entry: process attach and detach.
    static bool Attach(HINSTANCE instance);
    static void Detach();

private:
    HINSTANCE instance_ = nullptr;
    std::string appName_;
    int waitCursorCount_ = 0;
    HCURSOR cursorBeforeWait_ = nullptr;
};

// Shows the wait cursor for the lifetime of the scope, on every way out.
class WaitCursorScope {
public:
    WaitCursorScope() { ModuleApp::Current()->DoWaitCursor(1); }
    ~WaitCursorScope() { ModuleApp::Current()->DoWaitCursor(-1); }
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;
};

// The module's own instance, for its resources.
HINSTANCE ModuleInstance();

} // namespace zel
