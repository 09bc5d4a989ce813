#include "DockHintProcess.h"

#include <cwchar>
#include <vector>

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        // Let this thread's own windows, if any, take their messages.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

std::wstring WinePath(const char* unixPath)
{
    std::wstring path = L"Z:";
    for (const char* c = unixPath; *c; ++c)
        path.push_back(*c == '/' ? L'\\' : static_cast<wchar_t>(*c));
    return path;
}

std::wstring StageFolder()
{
    return WinePath(DOCKHINT_STAGE);
}

DockHintProcess::DockHintProcess(const std::wstring& folder, const std::wstring& exeName)
{
    std::wstring exe = folder + L"\\" + exeName;
    std::vector<wchar_t> commandLine(exe.begin(), exe.end());
    commandLine.insert(commandLine.begin(), L'"');
    commandLine.push_back(L'"');
    commandLine.push_back(0);

    // Wine has been seen to refuse a start once in a whole test run; a
    // start is tried again for a few seconds before it counts as failed.
    WaitFor(
        [&] {
            STARTUPINFOW si{};
            si.cb = sizeof(si);
            PROCESS_INFORMATION pi{};
            if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                &si, &pi)) {
                FStartError = GetLastError();
                return false;
            }
            CloseHandle(pi.hThread);
            FProcess = pi.hProcess;
            FId = pi.dwProcessId;
            return true;
        },
        5000);
}

DockHintProcess::~DockHintProcess()
{
    if (!FProcess)
        return;
    if (WaitForSingleObject(FProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(FProcess, 99);
        WaitForSingleObject(FProcess, 10000);
    }
    CloseHandle(FProcess);
}

namespace {

struct Search {
    DWORD ProcessId;
    HWND Found;
};

BOOL CALLBACK FindOwnWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t className[64] = {};
    wchar_t caption[64] = {};
    GetClassNameW(window, className, 64);
    GetWindowTextW(window, caption, 64);
    if (pid == search->ProcessId && wcscmp(className, L"TPanelForm") == 0 &&
        wcscmp(caption, L"PorticaDockHelperForm") == 0) {
        search->Found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM param)
{
    wchar_t className[64] = {};
    wchar_t caption[64] = {};
    GetClassNameW(window, className, 64);
    GetWindowTextW(window, caption, 64);
    if (wcscmp(className, L"TPanelForm") == 0 && wcscmp(caption, L"PorticaDockHelperForm") == 0)
        ++*reinterpret_cast<int*>(param);
    return TRUE;
}

BOOL CALLBACK FindLoadImageWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    if (pid == search->ProcessId && wcscmp(caption, L"LoadImage") == 0 && IsWindowVisible(window)) {
        search->Found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND DockHintProcess::WaitForWindow(DWORD timeoutMs)
{
    Search search{FId, nullptr};
    WaitFor(
        [&] {
            EnumWindows(&FindOwnWindow, reinterpret_cast<LPARAM>(&search));
            return search.Found != nullptr || WaitForSingleObject(FProcess, 0) == WAIT_OBJECT_0;
        },
        timeoutMs);
    return search.Found;
}

bool DockHintProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (!FProcess || WaitForSingleObject(FProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    return GetExitCodeProcess(FProcess, exitCode) != 0;
}

void DockHintProcess::Close()
{
    Search search{FId, nullptr};
    EnumWindows(&FindOwnWindow, reinterpret_cast<LPARAM>(&search));
    if (search.Found)
        PostMessageW(search.Found, WM_CLOSE, 0, 0);
    DWORD code;
    WaitForExit(10000, &code);
}

bool DockHintProcess::DismissLoadImageBox(DWORD timeoutMs)
{
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = FindLoadImageBox(FId)) != nullptr; }, timeoutMs))
        return false;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return WaitFor([&] { return !IsWindow(box); }, timeoutMs);
}

HWND FindLoadImageBox(DWORD processId)
{
    Search search{processId, nullptr};
    EnumWindows(&FindLoadImageWindow, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

int CountHelpWindows()
{
    int count = 0;
    EnumWindows(&CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}
