// Entry of the Windows test program. The same program runs under several
// Windows versions (Wine's per-program version setting); --zel-system=NAME
// tells the tests which one it was started as.
#include <gtest/gtest.h>

#include <cstring>

#include "frame/setup_app.h"
#include "test_system.h"

namespace {

// The application object of the module's routines linked into this program,
// as the module entry makes it in the DLL.
zel::SetupApp internalApp;

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--zel-system=", 13) == 0)
            zeltest::SetSystemName(argv[i] + 13);
    }
    zel::ModuleApp::Attach(GetModuleHandleA(nullptr));
    const int result = RUN_ALL_TESTS();
    zel::ModuleApp::Detach();
    return result;
}
