#include "PerPixelLayeredWindowBase.h"

#include "Handles.h"

namespace gs {

PerPixelLayeredWindowBase::PerPixelLayeredWindowBase()
{
    // user32 is loaded in every GUI process; it is only looked up here.
    if (HMODULE user32 = GetModuleHandleW(L"user32.dll"))
        UpdateLayeredWindowProc =
            reinterpret_cast<UpdateLayeredWindowFunc>(GetProcAddress(user32, "UpdateLayeredWindow"));
}

bool PerPixelLayeredWindowBase::HasPerPixelAlpha(HBITMAP bitmap)
{
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap, sizeof(info), &info) == 0)
        return false;
    return info.bmBitsPixel == 32 && PerPixelAlpha;
}

bool PerPixelLayeredWindowBase::SetLayeredStyle(HWND window, bool layered, bool transparent)
{
    const LONG bits = WS_EX_LAYERED | WS_EX_TRANSPARENT;
    LONG old = GetWindowLongW(window, GWL_EXSTYLE);
    LONG wanted = (layered ? WS_EX_LAYERED : 0) | (transparent ? WS_EX_TRANSPARENT : 0);
    if ((old & bits) == wanted)
        return false;
    SetWindowLongW(window, GWL_EXSTYLE, wanted | (old & ~bits));
    return true;
}

void PerPixelLayeredWindowBase::UpdateLayered(HWND window, HBITMAP bitmap, BLENDFUNCTION* blend, DWORD flags)
{
    // Nothing to present without the entry point or a picture (an empty
    // frame has no bitmap at all).
    BITMAP info{};
    if (!UpdateLayeredWindowProc || !bitmap || GetObjectW(bitmap, sizeof(info), &info) == 0)
        return;
    TClientDC windowDC(window);
    if (!windowDC)
        return;
    TMemoryDC memoryDC(CreateCompatibleDC(windowDC.Handle()));
    if (!memoryDC)
        return;
    TSelectedObject selection(memoryDC.Handle(), bitmap);
    if (!selection)
        return;
    RECT place{};
    GetWindowRect(window, &place);
    POINT destination{place.left, place.top};
    SIZE size{info.bmWidth, info.bmHeight};
    POINT source{0, 0};
    UpdateLayeredWindowProc(window, windowDC.Handle(), &destination, &size, memoryDC.Handle(), &source, ColorKey, blend,
                            flags);
}

void PerPixelLayeredWindowBase::Update(HWND window, TBitmap* frame)
{
    HBITMAP bitmap = GetBitmapHandle(frame);
    bool perPixel = HasPerPixelAlpha(bitmap);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (UseConstantAlpha || perPixel) {
        SetLayeredStyle(window, true, ClickThrough);
        if (UseConstantAlpha)
            blend.SourceConstantAlpha = ConstantAlpha;
        UpdateLayered(window, bitmap, &blend, ULW_ALPHA);
    } else if (UseColorKey) {
        SetLayeredStyle(window, true, ClickThrough);
        UpdateLayered(window, bitmap, &blend, ULW_COLORKEY);
    } else if (SetLayeredStyle(window, false, ClickThrough)) {
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }
}

void PerPixelLayeredWindowBase::Update(TWinControl* window, TBitmap* frame)
{
    Update(window->Handle(), frame);
}

} // namespace gs
