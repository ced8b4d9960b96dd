#include "pending_renames.h"

namespace zeltest {
namespace {

const wchar_t kSessionManager[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const wchar_t kPendingValue[] = L"PendingFileRenameOperations";

// The value's data as it is stored (wide, so that any path survives).
bool ReadPending(DWORD& type, std::vector<BYTE>& data)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    bool read = RegQueryValueExW(key, kPendingValue, nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
    if (read) {
        data.assign(size, 0);
        read = RegQueryValueExW(key, kPendingValue, nullptr, &type, data.data(), &size) == ERROR_SUCCESS;
        data.resize(size);
    }
    RegCloseKey(key);
    return read;
}

std::wstring Widened(const std::string& text)
{
    wchar_t wide[2 * MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, 2 * MAX_PATH);
    return wide;
}

} // namespace

PendingRenamesGuard::PendingRenamesGuard() : turn_(CreateMutexA(nullptr, FALSE, "ZelTestPendingFileRenames"))
{
    WaitForSingleObject(turn_, INFINITE);
    existed_ = ReadPending(type_, before_);
}

PendingRenamesGuard::~PendingRenamesGuard()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
        if (existed_)
            RegSetValueExW(key, kPendingValue, 0, type_, before_.data(), static_cast<DWORD>(before_.size()));
        else
            RegDeleteValueW(key, kPendingValue);
        RegCloseKey(key);
    }
    ReleaseMutex(turn_);
    CloseHandle(turn_);
}

std::vector<std::pair<std::wstring, std::wstring>> PendingRenamesGuard::Requests() const
{
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    std::vector<std::wstring> texts;
    if (ReadPending(type, data)) {
        const auto* p = reinterpret_cast<const wchar_t*>(data.data());
        const auto* end = p + data.size() / sizeof(wchar_t);
        // Each text ends with its NUL; a list ends with an empty text or
        // with the end of the data.
        while (p < end) {
            const wchar_t* start = p;
            while (p < end && *p != L'\0')
                ++p;
            texts.emplace_back(start, p);
            ++p;
        }
    }
    std::vector<std::pair<std::wstring, std::wstring>> requests;
    for (size_t i = 0; i + 1 < texts.size(); i += 2)
        requests.emplace_back(texts[i], texts[i + 1]);
    return requests;
}

bool PendingRenamesGuard::RequestsDeletionOf(const std::string& path) const
{
    const std::wstring source = L"\\??\\" + Widened(path);
    for (const auto& request : Requests()) {
        if (lstrcmpiW(request.first.c_str(), source.c_str()) == 0 && request.second.empty())
            return true;
    }
    return false;
}

} // namespace zeltest
