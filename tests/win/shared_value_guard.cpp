#include "shared_value_guard.h"

#include <gtest/gtest.h>

namespace zeltest {
namespace {

zel::RegKey OpenKey(HKEY root, const std::string& path, REGSAM access)
{
    zel::RegKey key;
    RegOpenKeyExA(root, path.c_str(), 0, access, key.put());
    return key;
}

} // namespace

SharedValueGuard::SharedValueGuard(const char* mutexName, HKEY root, const std::string& keyPath, const char* valueName)
    : mutex_(CreateMutexA(nullptr, FALSE, mutexName)), root_(root), keyPath_(keyPath), valueName_(valueName)
{
    WaitForSingleObject(mutex_.get(), INFINITE);
    if (!OpenKey(root_, keyPath_, KEY_READ)) {
        zel::RegKey created;
        DWORD disposition = 0;
        EXPECT_EQ(RegCreateKeyExA(root_, keyPath_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, created.put(),
                                  &disposition),
                  ERROR_SUCCESS)
            << keyPath_;
        createdKey_ = disposition == REG_CREATED_NEW_KEY;
    }
    saved_ = Read();
}

SharedValueGuard::~SharedValueGuard()
{
    if (createdKey_) {
        RegDeleteKeyA(root_, keyPath_.c_str());
    } else if (saved_.present) {
        if (zel::RegKey key = OpenKey(root_, keyPath_, KEY_WRITE))
            RegSetValueExA(key.get(), valueName_.c_str(), 0, saved_.type,
                           reinterpret_cast<const BYTE*>(saved_.bytes.data()), static_cast<DWORD>(saved_.bytes.size()));
    } else {
        Delete();
    }
    ReleaseMutex(mutex_.get());
}

void SharedValueGuard::SetText(const std::string& text) const
{
    SetRaw(REG_SZ, text + '\0');
}

void SharedValueGuard::SetRaw(DWORD type, const std::string& bytes) const
{
    zel::RegKey key = OpenKey(root_, keyPath_, KEY_WRITE);
    ASSERT_TRUE(key) << keyPath_;
    EXPECT_EQ(RegSetValueExA(key.get(), valueName_.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                             static_cast<DWORD>(bytes.size())),
              ERROR_SUCCESS);
}

void SharedValueGuard::Delete() const
{
    if (zel::RegKey key = OpenKey(root_, keyPath_, KEY_WRITE))
        RegDeleteValueA(key.get(), valueName_.c_str());
}

SharedValueGuard::Stored SharedValueGuard::Read() const
{
    Stored stored;
    zel::RegKey key = OpenKey(root_, keyPath_, KEY_READ);
    DWORD size = 0;
    if (!key || RegQueryValueExA(key.get(), valueName_.c_str(), nullptr, &stored.type, nullptr, &size) != ERROR_SUCCESS)
        return stored;
    std::string bytes(size, '\0');
    if (RegQueryValueExA(key.get(), valueName_.c_str(), nullptr, &stored.type, reinterpret_cast<BYTE*>(bytes.data()),
                         &size) != ERROR_SUCCESS)
        return stored;
    bytes.resize(size);
    stored.present = true;
    stored.bytes = bytes;
    return stored;
}

} // namespace zeltest
