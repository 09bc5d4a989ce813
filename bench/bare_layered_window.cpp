// The least a Win32 program does to show one per-pixel translucent frame:
// a topmost popup window that is shown, made layered and given one 365 x 300
// premultiplied 32-bit frame through UpdateLayeredWindow, in the order the
// help panel does it. It then waits for WM_CLOSE. The start-up benchmark
// measures it against the help panel. Exit status 0, or 1 when a step fails.

#include <windows.h>

#include <cstdint>

namespace {

const int FrameWidth = 365;
const int FrameHeight = 300;
const wchar_t* const ClassName = L"BareLayeredWindow";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A frame like the panel's: an opaque dark body with a translucent edge,
// premultiplied.
void FillFrame(std::uint8_t* bits)
{
    for (int y = 0; y < FrameHeight; ++y) {
        for (int x = 0; x < FrameWidth; ++x) {
            std::uint8_t* p = bits + (static_cast<size_t>(y) * FrameWidth + x) * 4;
            const bool edge = x < 4 || y < 4 || x >= FrameWidth - 4 || y >= FrameHeight - 4;
            const std::uint8_t alpha = edge ? 128 : 255;
            p[0] = static_cast<std::uint8_t>(0x60 * alpha / 255);
            p[1] = static_cast<std::uint8_t>(0x40 * alpha / 255);
            p[2] = static_cast<std::uint8_t>(0x20 * alpha / 255);
            p[3] = alpha;
        }
    }
}

bool Present(HWND window)
{
    HDC screen = GetDC(nullptr);
    if (!screen)
        return false;
    bool ok = false;
    HDC memory = CreateCompatibleDC(screen);
    if (memory) {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = FrameWidth;
        bi.bmiHeader.biHeight = -FrameHeight;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP frame = CreateDIBSection(memory, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (frame && bits) {
            FillFrame(static_cast<std::uint8_t*>(bits));
            HGDIOBJ old = SelectObject(memory, frame);
            if (old && old != HGDI_ERROR) {
                RECT place;
                if (GetWindowRect(window, &place)) {
                    POINT destination = {place.left, place.top};
                    SIZE size = {FrameWidth, FrameHeight};
                    POINT source = {0, 0};
                    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 245, AC_SRC_ALPHA};
                    LONG style = GetWindowLongW(window, GWL_EXSTYLE);
                    SetWindowLongW(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
                    ok = UpdateLayeredWindow(window, screen, &destination, &size, memory, &source, 0, &blend,
                                             ULW_ALPHA) != FALSE;
                }
                SelectObject(memory, old);
            }
        }
        if (frame)
            DeleteObject(frame);
        DeleteDC(memory);
    }
    ReleaseDC(nullptr, screen);
    return ok;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = ClassName;
    if (!RegisterClassExW(&wc))
        return 1;
    const int left = GetSystemMetrics(SM_CXSCREEN) / 2 - FrameWidth / 2;
    const int top = GetSystemMetrics(SM_CYSCREEN) / 2 - FrameHeight / 2;
    HWND window = CreateWindowExW(WS_EX_TOPMOST, ClassName, L"BareLayeredWindow", WS_POPUP, left, top, FrameWidth,
                                  FrameHeight, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    ShowWindow(window, SW_SHOW);
    if (!Present(window)) {
        DestroyWindow(window);
        return 1;
    }
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1)
            return 1;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
