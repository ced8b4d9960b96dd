#include "registry_fixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "settings/product_registry.h"

namespace zeltest {

std::string UniqueName(const char* area)
{
    return std::string("Zt") + area + "-" + std::to_string(GetCurrentProcessId());
}

// Works key by key below an open parent, so that no path grows longer than
// the ANSI registry calls take.
void DeleteKeyTree(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
        return;
    std::vector<std::string> children;
    char name[512];
    for (DWORD i = 0;; ++i) {
        DWORD length = sizeof(name);
        if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        children.emplace_back(name, length);
    }
    for (const std::string& child : children)
        DeleteKeyTree(key, child);
    RegCloseKey(key);
    RegDeleteKeyA(root, path.c_str());
}

bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void SetRawValue(HKEY root, const std::string& path, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS)
        << path;
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS) << name;
    RegCloseKey(key);
}

void SetDwordValue(HKEY root, const std::string& path, const char* name, DWORD value)
{
    SetRawValue(root, path, name, REG_DWORD, &value, sizeof(value));
}

void SetTextValue(HKEY root, const std::string& path, const char* name, const std::string& text)
{
    SetRawValue(root, path, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

ScopedProduct::ScopedProduct(const char* area) : ScopedProduct(UniqueName(area), "Product")
{
}

ScopedProduct::ScopedProduct(const std::string& company, const std::string& product)
    : company_(company), product_(product)
{
    Clean();
    zel::SetRegistryNames(company_.c_str(), product_.c_str());
}

ScopedProduct::~ScopedProduct()
{
    zel::SetRegistryNames("Kelvaron", "Vantorell");
    Clean();
}

std::string ScopedProduct::Path(const std::string& subkey) const
{
    const std::string product = "Software\\" + company_ + "\\" + product_;
    return subkey.empty() ? product : product + "\\" + subkey;
}

void ScopedProduct::Clean() const
{
    DeleteKeyTree(HKEY_LOCAL_MACHINE, "Software\\" + company_);
    DeleteKeyTree(HKEY_CURRENT_USER, "Software\\" + company_);
}

ScratchFolder::ScratchFolder(const std::string& name)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof(temp), temp);
    path_ = std::string(temp) + UniqueName(name.c_str());
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileA(File(found.cFileName).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

} // namespace zeltest
