// Entry of the Windows test program. The same program runs under several
// Windows versions (Wine's per-program version setting); --zel-system=NAME
// tells the tests which one it was started as.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "frame/handles.h"
#include "frame/setup_app.h"
#include "module_under_test.h"
#include "product_programs_fixture.h"
#include "result_printer.h"
#include "test_system.h"

namespace {

// The application object of the module's routines linked into this program,
// as the module entry makes it in the DLL.
zel::SetupApp internalApp;

// Creates one key below parent, remembering whether this program made it.
struct CreatedKey {
    HKEY key = nullptr;
    bool isNew = false;
    CreatedKey(HKEY parent, const char* name)
    {
        DWORD disposition = 0;
        if (RegCreateKeyExA(parent, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS)
            key = nullptr;
        isNew = disposition == REG_CREATED_NEW_KEY;
    }
    ~CreatedKey()
    {
        if (key != nullptr)
            RegCloseKey(key);
    }
};

// Attaches the internal application object with the product registered as
// edition 1 under the default names, as the tests of the application name
// expect, and takes away again what it registered. The programs of the
// other Windows versions do the same in the same prefix, one at a time.
bool AttachAsTandemEdition()
{
    zel::KernelHandle turn(CreateMutexA(nullptr, FALSE, zeltest::kLoadTimeProductMutex));
    WaitForSingleObject(turn.get(), INFINITE);
    bool attached;
    {
        CreatedKey company(HKEY_LOCAL_MACHINE, "Software\\Kelvaron");
        CreatedKey product(company.key, "Vantorell");
        CreatedKey version(product.key, "Current Version");
        const DWORD tandem = 1;
        RegSetValueExA(version.key, "ProductId", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&tandem), 4);
        attached = zel::ModuleApp::Attach(GetModuleHandleA(nullptr));
        RegDeleteValueA(version.key, "ProductId");
        if (version.isNew)
            RegDeleteKeyA(product.key, "Current Version");
        if (product.isNew)
            RegDeleteKeyA(company.key, "Vantorell");
        if (company.isNew)
            RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\Kelvaron");
    }
    ReleaseMutex(turn.get());
    return attached;
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    zeltest::UseResultPrinterWithoutDebugOutput();
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--zel-system=", 13) == 0)
            zeltest::SetSystemName(argv[i] + 13);
        if (std::strcmp(argv[i], "--zel-real-services") == 0)
            zeltest::SetRealServices(true);
        if (std::strncmp(argv[i], "--zel-codepage=", 15) == 0)
            zeltest::SetExpectedCodePage(static_cast<unsigned>(std::atoi(argv[i] + 15)));
    }
    if (!AttachAsTandemEdition())
        return 1;
    const int result = RUN_ALL_TESTS();
    zel::ModuleApp::Detach();
    return result;
}
