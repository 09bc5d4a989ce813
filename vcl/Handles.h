#pragma once
// Guards for Win32 handles, one small class per kind: each owns one handle
// (or one selection) and gives it back when it goes out of scope, so that no
// path releases one by hand. A guard holding nothing tests false. None can
// be copied; those a class keeps as a member can be moved.
//
// The guards only own: the caller makes the handle and checks the call that
// made it, as everywhere else.

#include <windows.h>

#include <utility>

// Owns a handle that Traits::Close releases; Traits::None() is the value
// that stands for no handle.
template <typename Traits>
class THandleGuard {
public:
    using HandleType = typename Traits::HandleType;

    THandleGuard() = default;
    explicit THandleGuard(HandleType handle) : FHandle(handle) {}
    ~THandleGuard() { Reset(); }
    THandleGuard(const THandleGuard&) = delete;
    THandleGuard& operator=(const THandleGuard&) = delete;
    THandleGuard(THandleGuard&& other) noexcept : FHandle(other.Detach()) {}
    THandleGuard& operator=(THandleGuard&& other) noexcept
    {
        if (this != &other)
            Reset(other.Detach());
        return *this;
    }

    HandleType Handle() const { return FHandle; }
    explicit operator bool() const { return FHandle != Traits::None(); }
    // Releases the handle held, if any, and holds value instead.
    void Reset(HandleType value = Traits::None())
    {
        if (FHandle != Traits::None())
            Traits::Close(FHandle);
        FHandle = value;
    }
    // Hands the handle to the caller, who releases it from now on.
    HandleType Detach() { return std::exchange(FHandle, Traits::None()); }

private:
    HandleType FHandle = Traits::None();
};

template <typename T>
struct TGdiObjectTraits {
    using HandleType = T;
    static T None() { return nullptr; }
    static void Close(T handle) { DeleteObject(handle); }
};

// A GDI object (bitmap, brush, font, pen, region), deleted at the end.
template <typename T>
using TGdiObject = THandleGuard<TGdiObjectTraits<T>>;

struct TMemoryDCTraits {
    using HandleType = HDC;
    static HDC None() { return nullptr; }
    static void Close(HDC dc) { DeleteDC(dc); }
};

// A device context of our own (CreateCompatibleDC), deleted at the end.
using TMemoryDC = THandleGuard<TMemoryDCTraits>;

struct TKernelHandleTraits {
    using HandleType = HANDLE;
    static HANDLE None() { return nullptr; }
    static void Close(HANDLE handle) { CloseHandle(handle); }
};

// A kernel object's handle (event, mutex, process, thread), closed at the
// end. A call that fails with INVALID_HANDLE_VALUE (CreateFile) gives the
// guard nothing: pass it nullptr then.
using TKernelHandle = THandleGuard<TKernelHandleTraits>;

// A window's client-area device context (the screen's for a null window)
// from GetDC, released at the end; false when GetDC failed.
class TClientDC {
public:
    explicit TClientDC(HWND window) : FWindow(window), FDC(GetDC(window)) {}
    ~TClientDC()
    {
        if (FDC)
            ReleaseDC(FWindow, FDC);
    }
    TClientDC(const TClientDC&) = delete;
    TClientDC& operator=(const TClientDC&) = delete;

    HDC Handle() const { return FDC; }
    explicit operator bool() const { return FDC != nullptr; }

private:
    HWND FWindow;
    HDC FDC;
};

// The painting of a window's invalid area: BeginPaint, and EndPaint at the
// end when BeginPaint gave a device context; false when it did not.
class TPaintDC {
public:
    explicit TPaintDC(HWND window) : FWindow(window), FDC(BeginPaint(window, &FPaint)) {}
    ~TPaintDC()
    {
        if (FDC)
            EndPaint(FWindow, &FPaint);
    }
    TPaintDC(const TPaintDC&) = delete;
    TPaintDC& operator=(const TPaintDC&) = delete;

    HDC Handle() const { return FDC; }
    explicit operator bool() const { return FDC != nullptr; }
    const PAINTSTRUCT& PaintStruct() const { return FPaint; }

private:
    HWND FWindow;
    PAINTSTRUCT FPaint{};
    HDC FDC;
};

// An object selected into a device context: the object it replaced is
// selected again at the end. False when the selection failed (nothing to
// put back then).
class TSelectedObject {
public:
    TSelectedObject() = default;
    TSelectedObject(HDC dc, HGDIOBJ object) : FDC(dc), FPrevious(SelectObject(dc, object))
    {
        if (FPrevious == HGDI_ERROR)
            FPrevious = nullptr;
    }
    ~TSelectedObject() { Reset(); }
    TSelectedObject(const TSelectedObject&) = delete;
    TSelectedObject& operator=(const TSelectedObject&) = delete;
    TSelectedObject(TSelectedObject&& other) noexcept
        : FDC(std::exchange(other.FDC, nullptr)), FPrevious(std::exchange(other.FPrevious, nullptr))
    {
    }
    TSelectedObject& operator=(TSelectedObject&& other) noexcept
    {
        if (this != &other) {
            Reset();
            FDC = std::exchange(other.FDC, nullptr);
            FPrevious = std::exchange(other.FPrevious, nullptr);
        }
        return *this;
    }

    explicit operator bool() const { return FPrevious != nullptr; }
    // Selects the replaced object again now.
    void Reset()
    {
        if (FPrevious)
            SelectObject(FDC, FPrevious);
        FDC = nullptr;
        FPrevious = nullptr;
    }

private:
    HDC FDC = nullptr;
    HGDIOBJ FPrevious = nullptr;
};
