#pragma once
// Starts dockhint.exe as a child process and finds its window.

#include <windows.h>

#include <functional>
#include <string>

// Polls the condition until it holds or the time is up.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = 20000);

// The folder holding the program under test and its artwork.
std::wstring StageFolder();
// A Unix path given at build time, as Wine sees it.
std::wstring WinePath(const char* unixPath);

class DockHintProcess {
public:
    // Starts the program in the folder, which is also its working folder.
    explicit DockHintProcess(const std::wstring& folder = StageFolder(), const std::wstring& exeName = L"dockhint.exe");
    ~DockHintProcess();
    DockHintProcess(const DockHintProcess&) = delete;
    DockHintProcess& operator=(const DockHintProcess&) = delete;

    bool Started() const { return FProcess != nullptr; }
    DWORD Id() const { return FId; }
    // Why the process did not start (GetLastError of CreateProcessW).
    DWORD StartError() const { return FStartError; }
    // The help window of this process, once it exists; null after the timeout.
    HWND WaitForWindow(DWORD timeoutMs = 30000);
    // Waits for the process to end; false on timeout.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode);
    // Asks the window to close and waits for the process to end.
    void Close();
    // Waits for the next "LoadImage" message box of this process, presses
    // its OK and waits until it is gone; false when none came or it stays.
    bool DismissLoadImageBox(DWORD timeoutMs = 20000);

private:
    HANDLE FProcess = nullptr;
    DWORD FId = 0;
    DWORD FStartError = 0;
};

// Windows of class "TPanelForm" with the caption "PorticaDockHelperForm".
int CountHelpWindows();

// A visible message box captioned "LoadImage" of the process, or null.
HWND FindLoadImageBox(DWORD processId);
