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

namespace {

HMODULE LoadInItsTurn(const std::string& path)
{
    HANDLE turn = CreateMutexA(nullptr, FALSE, kLoadTimeProductMutex);
    WaitForSingleObject(turn, INFINITE);
    HMODULE module = LoadLibraryA(path.c_str());
    const DWORD loadError = GetLastError();
    ReleaseMutex(turn);
    CloseHandle(turn);
    SetLastError(loadError);
    return module;
}

} // namespace

ModuleUnderTest::ModuleUnderTest()
    : module_(LoadInItsTurn(ModuleBesideProgram("ZELSETUP.dll")))
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
