#include "module_under_test.h"

namespace zeltest {

std::string ModuleBesideProgram(const char* fileName)
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + fileName;
}

ModuleUnderTest::ModuleUnderTest()
    : module_(LoadLibraryA(ModuleBesideProgram("ZELSETUP.dll").c_str()))
{
    if (module_ == nullptr)
        ADD_FAILURE() << "ZELSETUP.dll did not load: error " << GetLastError();
}

ModuleUnderTest::~ModuleUnderTest()
{
    if (module_ != nullptr)
        FreeLibrary(module_);
}

const ModuleUnderTest& Module()
{
    static const ModuleUnderTest module;
    return module;
}

} // namespace zeltest
