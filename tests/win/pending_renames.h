// The requests for file operations at the next restart, which MoveFileExA
// keeps in one value of HKEY_LOCAL_MACHINE for the whole prefix.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace zeltest {

// While it lives, this process alone works with the requests: the programs of
// the other Windows versions wait on the same named mutex. At the end the
// value is put back as it was, so that no test leaves a request behind.
class PendingRenamesGuard {
public:
    PendingRenamesGuard();
    ~PendingRenamesGuard();
    PendingRenamesGuard(const PendingRenamesGuard&) = delete;
    PendingRenamesGuard& operator=(const PendingRenamesGuard&) = delete;

    // The requests now, as pairs of source and destination.
    std::vector<std::pair<std::wstring, std::wstring>> Requests() const;

    // Whether a deletion of path (an ANSI path) at the next restart is requested.
    bool RequestsDeletionOf(const std::string& path) const;

private:
    HANDLE turn_;
    bool existed_ = false;
    DWORD type_ = REG_NONE;
    std::vector<BYTE> before_;
};

} // namespace zeltest
