#pragma once
// Presents 32-bit frames on a window with UpdateLayeredWindow: per-pixel
// alpha, a constant alpha for the whole window, or a colour key.

#include "TBitmap.h"
#include "TWinControl.h"

namespace gs {

class PerPixelLayeredWindowBase {
public:
    using UpdateLayeredWindowFunc = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*,
                                                  DWORD);

    PerPixelLayeredWindowBase();
    virtual ~PerPixelLayeredWindowBase() = default;
    PerPixelLayeredWindowBase(const PerPixelLayeredWindowBase&) = delete;
    PerPixelLayeredWindowBase& operator=(const PerPixelLayeredWindowBase&) = delete;

    // The GDI bitmap of a frame; it stays owned by the frame.
    virtual HBITMAP GetBitmapHandle(TBitmap* bitmap) = 0;

    void SetUseConstantAlpha(bool value) { UseConstantAlpha = value; }
    void SetConstantAlpha(BYTE value) { ConstantAlpha = value; }
    void SetPerPixelAlpha(bool value) { PerPixelAlpha = value; }
    void SetUseColorKey(bool value) { UseColorKey = value; }
    void SetColorKey(COLORREF value) { ColorKey = value; }
    void SetClickThrough(bool value) { ClickThrough = value; }

    // Presents the frame at the window's current place and at the frame's
    // size. The frame is neither kept nor changed.
    void Update(HWND window, TBitmap* frame);
    void Update(TWinControl* window, TBitmap* frame);

protected:
    // Writes WS_EX_LAYERED and WS_EX_TRANSPARENT as wanted, leaving the other
    // extended styles alone; true when it had to write.
    bool SetLayeredStyle(HWND window, bool layered, bool transparent);
    void UpdateLayered(HWND window, HBITMAP bitmap, BLENDFUNCTION* blend, DWORD flags);
    bool HasPerPixelAlpha(HBITMAP bitmap);

    COLORREF ColorKey = 0xFFFFFFFF;
    bool UseColorKey = false;
    bool ClickThrough = false;
    bool UseConstantAlpha = false;
    BYTE ConstantAlpha = 255;
    bool PerPixelAlpha = false;
    UpdateLayeredWindowFunc UpdateLayeredWindowProc = nullptr;
};

} // namespace gs
