#include "TForm.h"

#include "Exceptions.h"
#include "Handles.h"
#include "TApplication.h"

namespace {

// The screen's device context for as long as it lives.
class ScreenDC {
public:
    ScreenDC() : FDC(GetDC(nullptr)) {}
    ~ScreenDC()
    {
        if (FDC)
            ReleaseDC(nullptr, FDC);
    }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    HDC Get() const { return FDC; }

private:
    HDC FDC;
};

} // namespace

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner), FFont(new TFont) {}

TForm::~TForm()
{
    // OnDestroy is not raised from here: the derived form, whose handler it
    // usually calls, is already gone.
    Application->RemoveForm(this);
    DestroyHandle();
    delete FFont;
}

void TForm::BeforeDestruction()
{
    if (FDestroying)
        return;
    FDestroying = true;
    FOnDestroy(this);
}

void TForm::SetCaption(const UnicodeString& value)
{
    FCaption = value;
    if (HandleAllocated() && !SetWindowTextW(Handle(), FCaption.c_str()))
        RaiseLastOSError(L"SetWindowTextW");
}

void TForm::SetBorderStyle(TFormBorderStyle value)
{
    if (value == FBorderStyle)
        return;
    FBorderStyle = value;
    if (HandleAllocated()) {
        // The style is chosen at creation: make the window again.
        DestroyHandle();
        Handle();
    }
}

void TForm::SetColor(TColor value)
{
    FColor = value;
    Invalidate();
}

void TForm::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.Caption = FCaption;
    Params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    switch (FBorderStyle) {
    case bsNone: Params.Style |= WS_POPUP; break;
    case bsSingle: Params.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX; break;
    case bsDialog:
        Params.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
        Params.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    case bsToolWindow:
        Params.Style |= WS_CAPTION | WS_SYSMENU;
        Params.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case bsSizeToolWin:
        Params.Style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
        Params.ExStyle |= WS_EX_TOOLWINDOW;
        break;
    case bsSizeable: Params.Style |= WS_OVERLAPPEDWINDOW; break;
    }
    Params.WindowClass.hIcon = LoadIconW(Params.WindowClass.hInstance, L"MAINICON");
    if (!Params.WindowClass.hIcon)
        Params.WindowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
}

void TForm::Show()
{
    HWND window = Handle();
    ShowWindow(window, SW_SHOW);
    if (!UpdateWindow(window))
        RaiseLastOSError(L"UpdateWindow");
}

int TForm::CurrentPPI()
{
    HWND window = Handle();
    // Windows 10 knows each window's monitor; earlier ones scale every
    // monitor alike.
    using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
    if (HMODULE user32 = GetModuleHandleW(L"user32.dll"))
        if (auto proc = reinterpret_cast<GetDpiForWindowProc>(GetProcAddress(user32, "GetDpiForWindow")))
            if (UINT dpi = proc(window))
                return static_cast<int>(dpi);
    ScreenDC screen;
    int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

void TForm::Paint()
{
    FOnPaint(this);
}

LRESULT TForm::WndProc(UINT Msg, WPARAM wParam, LPARAM lParam)
{
    switch (Msg) {
    case WM_ERASEBKGND: {
        RECT r;
        TGdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(FColor)));
        if (brush && GetClientRect(Handle(), &r))
            ::FillRect(reinterpret_cast<HDC>(wParam), &r, brush.Handle());
        return 1;
    }
    case WM_CLOSE:
        // Closing the main form ends the application.
        if (Application->MainForm() == this)
            Application->Terminate();
        else
            ShowWindow(Handle(), SW_HIDE);
        return 0;
    case WM_QUERYENDSESSION:
        // Asked before the session ends, or before an installer replaces
        // the program's files (ENDSESSION_CLOSEAPP): the form never objects.
        return TRUE;
    case WM_ENDSESSION:
        // TRUE: the end is on, and the main form ends the application as
        // closing it does, so the files are free. FALSE: it was called off.
        if (wParam && Application->MainForm() == this)
            Application->Terminate();
        return 0;
    case WM_DISPLAYCHANGE: FOnDisplayChange(this); return TWinControl::WndProc(Msg, wParam, lParam);
    case WM_DPICHANGED: {
        TRect suggested;
        if (lParam)
            suggested = TRect(*reinterpret_cast<const RECT*>(lParam));
        FOnDpiChange(this, LOWORD(wParam), suggested);
        return 0;
    }
    case WM_GETOBJECT: {
        LRESULT result = 0;
        FOnGetObject(this, wParam, lParam, result);
        return result ? result : TWinControl::WndProc(Msg, wParam, lParam);
    }
    default: return TWinControl::WndProc(Msg, wParam, lParam);
    }
}
