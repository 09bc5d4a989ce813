#pragma once

#include <windows.h>
#include <msi.h>

#include <memory>

// Guards for the handles of the logon-task action: each handle is released
// once, when its guard goes out of scope.

// A kernel handle, closed.
class KernelHandle {
public:
    explicit KernelHandle(HANDLE Handle = nullptr) : FHandle(Handle) {}
    ~KernelHandle() { Reset(nullptr); }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;

    HANDLE Get() const { return FHandle; }
    void Reset(HANDLE Handle)
    {
        if (FHandle)
            CloseHandle(FHandle);
        FHandle = Handle;
    }

private:
    HANDLE FHandle;
};

// A semaphore and one count of it once taken, given back when the guard
// goes (or is given another semaphore).
class SemaphoreTurn {
public:
    SemaphoreTurn() = default;
    ~SemaphoreTurn() { GiveBack(); }
    SemaphoreTurn(const SemaphoreTurn&) = delete;
    SemaphoreTurn& operator=(const SemaphoreTurn&) = delete;

    HANDLE Get() const { return FSemaphore.Get(); }
    void Reset(HANDLE Semaphore)
    {
        GiveBack();
        FSemaphore.Reset(Semaphore);
    }
    // WaitForSingleObject's result; the count is held on WAIT_OBJECT_0.
    // The thread's last error is the wait's.
    DWORD Take(DWORD Limit)
    {
        const DWORD waited = WaitForSingleObject(FSemaphore.Get(), Limit);
        FHeld = waited == WAIT_OBJECT_0;
        return waited;
    }

private:
    void GiveBack()
    {
        // Nothing can be done when giving the count back fails.
        if (FHeld)
            ReleaseSemaphore(FSemaphore.Get(), 1, nullptr);
        FHeld = false;
    }

    KernelHandle FSemaphore;
    bool FHeld = false;
};

// A Windows Installer handle, closed.
class MsiHandle {
public:
    explicit MsiHandle(MSIHANDLE Handle) : FHandle(Handle) {}
    ~MsiHandle()
    {
        if (FHandle)
            MsiCloseHandle(FHandle);
    }
    MsiHandle(const MsiHandle&) = delete;
    MsiHandle& operator=(const MsiHandle&) = delete;

    MSIHANDLE Get() const { return FHandle; }

private:
    MSIHANDLE FHandle;
};

// Memory from LocalAlloc (or a function that allocates with it), freed.
struct LocalFreeing {
    void operator()(void* Memory) const { LocalFree(Memory); }
};
using LocalMemory = std::unique_ptr<void, LocalFreeing>;
