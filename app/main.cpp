// dockhint: shows the Portica Dock help window, once.

#include "Panel.h"

#include "TApplication.h"

namespace {

// Brings the window of the running instance to the foreground.
BOOL BringWindowToFront(HWND window)
{
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
    DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    bool attach = windowThread != foregroundThread;
    if (attach)
        AttachThreadInput(windowThread, foregroundThread, TRUE);
    AllowSetForegroundWindow(ASFW_ANY);
    SetForegroundWindow(window);
    BringWindowToTop(window);
    if (attach)
        AttachThreadInput(windowThread, foregroundThread, FALSE);
    return ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    try {
        if (HWND running = FindWindowW(PanelFormClassName, PanelFormCaption)) {
            BringWindowToFront(running);
            return 0;
        }
        Application->Initialize();
        Application->SetTitle(L"Tavrin Portica Dock Help");
        Application->CreateForm(PanelForm);
        Application->Run();
    } catch (...) {
        OutputDebugStringW(L"Can not execute dockhint.exe correctly.");
    }
    return 0;
}
