// Owning wrappers for Win32 handles, keys, service handles and memory blocks.
//
// Each alias names the function that releases its handle and the value that
// means "none". Releasing keeps GetLastError as it was, so that a failure code
// read after the wrapper goes out of scope is the one of the failing call.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

namespace zel {

template <typename Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle h) : h_(h) {}
    ~Owned() { reset(); }

    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : h_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Handle get() const { return h_; }
    explicit operator bool() const { return Traits::IsValid(h_); }

    // Frees the current value and gives a Win32 call a place to write a new one.
    Handle* put()
    {
        reset();
        return &h_;
    }

    // Gives ownership away.
    Handle release() { return std::exchange(h_, Traits::None()); }

    void reset(Handle h = Traits::None())
    {
        if (Traits::IsValid(h_)) {
            const DWORD lastError = GetLastError();
            Traits::Close(h_);
            SetLastError(lastError);
        }
        h_ = h;
    }

private:
    Handle h_ = Traits::None();
};

// Kernel objects: files, processes, semaphores, tokens. Both null and
// INVALID_HANDLE_VALUE mean none (CreateFileA gives the second).
struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};
using KernelHandle = Owned<KernelHandleTraits>;

struct RegKeyTraits {
    using Handle = HKEY;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { RegCloseKey(h); }
};
using RegKey = Owned<RegKeyTraits>;

struct ServiceHandleTraits {
    using Handle = SC_HANDLE;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { CloseServiceHandle(h); }
};
using ServiceHandle = Owned<ServiceHandleTraits>;

// Blocks that FormatMessageA allocates for the caller.
struct LocalMemoryTraits {
    using Handle = HLOCAL;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { LocalFree(h); }
};
using LocalMemory = Owned<LocalMemoryTraits>;

// Blocks from the process heap.
struct ProcessHeapTraits {
    using Handle = void*;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { HeapFree(GetProcessHeap(), 0, h); }
};
using ProcessHeapBlock = Owned<ProcessHeapTraits>;

// Memory of the COM task allocator, such as the shell's item lists.
struct CoTaskMemoryTraits {
    using Handle = void*;
    static Handle None() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { CoTaskMemFree(h); }
};
using CoTaskMemory = Owned<CoTaskMemoryTraits>;

} // namespace zel
