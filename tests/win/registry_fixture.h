// Product keys and scratch folders for the tests of one process. Names carry
// the process id, because the programs of several Windows versions run at the
// same time in one Wine prefix.
#pragma once

#include <windows.h>

#include <string>

namespace zeltest {

// "Zt<area>-<process id>".
std::string UniqueName(const char* area);

// Deletes root\path with everything below it; nothing when it is missing.
void DeleteKeyTree(HKEY root, const std::string& path);

bool KeyExists(HKEY root, const std::string& path);

// Stores raw data of any type, creating the keys on the way.
void SetRawValue(HKEY root, const std::string& path, const char* name, DWORD type, const void* data, DWORD size);
void SetDwordValue(HKEY root, const std::string& path, const char* name, DWORD value);
void SetTextValue(HKEY root, const std::string& path, const char* name, const std::string& text);

// The module's registry names pointed at a company and product of this test,
// whose trees under both roots are removed before and after; the default
// names are back afterwards.
class ScopedProduct {
public:
    explicit ScopedProduct(const char* area);
    ScopedProduct(const std::string& company, const std::string& product);
    ~ScopedProduct();
    ScopedProduct(const ScopedProduct&) = delete;
    ScopedProduct& operator=(const ScopedProduct&) = delete;

    const std::string& Company() const { return company_; }
    const std::string& Product() const { return product_; }
    // Software\{Company}\{Product}[\{subkey}]
    std::string Path(const std::string& subkey = std::string()) const;

private:
    void Clean() const;
    std::string company_;
    std::string product_;
};

// A new empty folder under the temporary folder, removed with its files.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const char* name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// The whole file, or "" when it cannot be read.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

} // namespace zeltest
