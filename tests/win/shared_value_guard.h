// A registry value that every test program of a Wine prefix sees, such as a
// value under HKEY_LOCAL_MACHINE\System. The programs of the Windows versions
// run two at a time in one prefix, so a test takes the value in turn under a
// named mutex, and the value is put back as it was found.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "frame/handles.h"

namespace zeltest {

class SharedValueGuard {
public:
    // Waits for the mutex, saves the value and creates the key when the
    // prefix lacks it.
    SharedValueGuard(const char* mutexName, HKEY root, const std::string& keyPath, const char* valueName);
    // Puts the value back (or deletes it, when it was missing), deletes a key
    // it created, and releases the mutex.
    ~SharedValueGuard();
    SharedValueGuard(const SharedValueGuard&) = delete;
    SharedValueGuard& operator=(const SharedValueGuard&) = delete;

    // Stores the bytes of text and a terminator as REG_SZ.
    void SetText(const std::string& text) const;
    // Stores bytes as they are, with the given type.
    void SetRaw(DWORD type, const std::string& bytes) const;
    void Delete() const;
    // True when the prefix lacked the key and the guard made it.
    bool CreatedKey() const { return createdKey_; }

    // The stored value, byte for byte (no terminator is added).
    struct Stored {
        bool present = false;
        DWORD type = REG_NONE;
        std::string bytes;
    };
    Stored Read() const;

private:
    zel::KernelHandle mutex_;
    HKEY root_;
    std::string keyPath_;
    std::string valueName_;
    bool createdKey_ = false;
    Stored saved_;
};

} // namespace zeltest
