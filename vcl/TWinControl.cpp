#include "TWinControl.h"

#include "Exceptions.h"
#include "Handles.h"
#include "TApplication.h"

#include <windowsx.h>

TShiftState MouseShiftState(WPARAM wParam)
{
    TShiftState shift = 0;
    if (wParam & MK_SHIFT)
        shift |= ssShift;
    if (wParam & MK_CONTROL)
        shift |= ssCtrl;
    if (wParam & MK_LBUTTON)
        shift |= ssLeft;
    if (wParam & MK_RBUTTON)
        shift |= ssRight;
    if (wParam & MK_MBUTTON)
        shift |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0)
        shift |= ssAlt;
    return shift;
}

TShiftState KeyboardShiftState()
{
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0)
        shift |= ssAlt;
    return shift;
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl()
{
    DestroyHandle();
}

HWND TWinControl::Handle()
{
    if (!FHandle)
        CreateWnd();
    return FHandle;
}

void TWinControl::DestroyHandle()
{
    if (!FHandle)
        return;
    HWND window = FHandle;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    FHandle = nullptr;
    DestroyWindow(window);
}

void TWinControl::CreateParams(TCreateParams& Params)
{
    Params.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    Params.X = FLeft;
    Params.Y = FTop;
    Params.Width = FWidth;
    Params.Height = FHeight;
    Params.WinClassName = ClassName();
    WNDCLASSEXW& wc = Params.WindowClass;
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    WNDCLASSEXW wc = params.WindowClass;
    wc.lpfnWndProc = &TWinControl::WindowProc;
    wc.lpszClassName = params.WinClassName.c_str();
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (!GetClassInfoExW(wc.hInstance, wc.lpszClassName, &existing) && !RegisterClassExW(&wc))
        RaiseLastOSError(L"RegisterClassExW");
    HWND window = CreateWindowExW(params.ExStyle, wc.lpszClassName, params.Caption.c_str(), params.Style, params.X,
                                  params.Y, params.Width, params.Height, params.WndParent, nullptr, wc.hInstance, this);
    if (!window)
        RaiseLastOSError(L"CreateWindowExW");
    FHandle = window;
}

LRESULT CALLBACK TWinControl::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* control = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!control)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (!control->FHandle)
        control->FHandle = hwnd;
    // No exception may cross the system's dispatch: the application takes
    // it and ends its message loop.
    try {
        return control->WndProc(msg, wParam, lParam);
    } catch (...) {
        Application->HandleException(std::current_exception());
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

LRESULT TWinControl::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    HWND window = FHandle;
    switch (Msg) {
    case WM_PAINT: {
        TPaintDC paint(window);
        if (paint)
            Paint();
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
        TMouseButton button = (Msg == WM_LBUTTONDOWN || Msg == WM_LBUTTONDBLCLK)   ? mbLeft
                              : (Msg == WM_RBUTTONDOWN || Msg == WM_RBUTTONDBLCLK) ? mbRight
                                                                                   : mbMiddle;
        TShiftState shift = MouseShiftState(wParam);
        if (Msg == WM_LBUTTONDBLCLK || Msg == WM_RBUTTONDBLCLK || Msg == WM_MBUTTONDBLCLK)
            shift |= ssDouble;
        // The window keeps the mouse until the buttons are released.
        SetCapture(window);
        MouseDown(button, shift, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        TMouseButton button = Msg == WM_LBUTTONUP ? mbLeft : Msg == WM_RBUTTONUP ? mbRight : mbMiddle;
        if (!(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) && GetCapture() == window)
            ReleaseCapture();
        MouseUp(button, MouseShiftState(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    }
    case WM_MOUSEMOVE: MouseMove(MouseShiftState(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;
    case WM_KEYDOWN: {
        WORD key = static_cast<WORD>(wParam);
        // Bit 30: the key was down before this message.
        KeyDown(key, KeyboardShiftState(), (lParam & (1 << 30)) != 0);
        return 0;
    }
    case WM_KEYUP: {
        WORD key = static_cast<WORD>(wParam);
        KeyUp(key, KeyboardShiftState());
        return 0;
    }
    case WM_SETFOCUS: FOnEnter(this); break;
    case WM_KILLFOCUS: FOnExit(this); break;
    case WM_WINDOWPOSCHANGED: {
        RECT r;
        if (GetWindowRect(window, &r)) {
            FLeft = r.left;
            FTop = r.top;
            FWidth = r.right - r.left;
            FHeight = r.bottom - r.top;
        }
        break;
    }
    default: break;
    }
    return DefWindowProcW(window, Msg, wParam, lParam);
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift, bool Repeat)
{
    FOnKeyDown(this, Key, Shift, Repeat);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift)
{
    FOnKeyUp(this, Key, Shift);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    TControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (FHandle && !SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE))
        RaiseLastOSError(L"SetWindowPos");
}

int TWinControl::ClientWidth()
{
    RECT r;
    if (!GetClientRect(Handle(), &r))
        RaiseLastOSError(L"GetClientRect");
    return r.right;
}

int TWinControl::ClientHeight()
{
    RECT r;
    if (!GetClientRect(Handle(), &r))
        RaiseLastOSError(L"GetClientRect");
    return r.bottom;
}

void TWinControl::SetClientWidth(int value)
{
    SetClientSize(value, ClientHeight());
}

void TWinControl::SetClientHeight(int value)
{
    SetClientSize(ClientWidth(), value);
}

void TWinControl::SetClientSize(int width, int height)
{
    HWND window = Handle();
    RECT r{0, 0, width, height};
    DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    if (!AdjustWindowRectEx(&r, style, FALSE, exStyle))
        RaiseLastOSError(L"AdjustWindowRectEx");
    SetBounds(FLeft, FTop, r.right - r.left, r.bottom - r.top);
}

void TWinControl::Invalidate()
{
    if (FHandle)
        InvalidateRect(FHandle, nullptr, FALSE);
}
