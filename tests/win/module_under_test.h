// The real ZELSETUP.dll, loaded as a host loads it, and its exports looked up
// by name and by ordinal.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace zeltest {

// The DLL beside the test program.
std::string ModuleBesideProgram(const char* fileName);

// Taken by every test program while it registers an edition of the product
// under the default registry names, for its own application object, and while
// it loads the DLL, which determines its display name at load: so the DLL
// always finds no edition registered and is called "Halcyra".
constexpr char kLoadTimeProductMutex[] = "ZelTestLoadTimeProduct";

class ModuleUnderTest {
public:
    ModuleUnderTest();
    ~ModuleUnderTest();
    ModuleUnderTest(const ModuleUnderTest&) = delete;
    ModuleUnderTest& operator=(const ModuleUnderTest&) = delete;

    HMODULE handle() const { return module_; }

    // The export's address; a test failure unless the name and the ordinal
    // lead to the same function.
    template <typename Fn>
    Fn Export(const char* name, WORD ordinal) const
    {
        FARPROC byName = GetProcAddress(module_, name);
        FARPROC byOrdinal = GetProcAddress(module_, MAKEINTRESOURCEA(ordinal));
        EXPECT_NE(byName, nullptr) << name;
        EXPECT_EQ(byName, byOrdinal) << name << " @" << ordinal;
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(byName));
    }

private:
    HMODULE module_ = nullptr;
};

// The module shared by the tests of one process, loaded once.
const ModuleUnderTest& Module();

} // namespace zeltest
