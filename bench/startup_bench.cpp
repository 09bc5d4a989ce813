// Times the road from process start to the first presented frame: the help
// program (dockhint.exe) against a bare Win32 program that presents one
// layered frame of the same size. Each start is timed from just before
// CreateProcess until the program's window is visible and layered (both
// programs make their window layered right before UpdateLayeredWindow).
// The two programs take turns, and each is then closed with WM_CLOSE.

#include "BenchTiming.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

const int Rounds = 11;
const DWORD StartTimeoutMs = 30000;
const DWORD CloseTimeoutMs = 10000;
const double TargetRatio = 1.25;

struct Program {
    const wchar_t* Label;
    std::wstring Path;
    const wchar_t* WindowClass;
    std::vector<double> Times;
};

std::wstring WinePath(const char* unixPath)
{
    std::wstring path = L"Z:";
    for (const char* c = unixPath; *c; ++c)
        path.push_back(*c == '/' ? L'\\' : static_cast<wchar_t>(*c));
    return path;
}

std::wstring FolderOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

std::wstring OwnFolder()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return L".";
    return FolderOf(path);
}

class Handle {
public:
    explicit Handle(HANDLE h = nullptr) : FHandle(h) {}
    ~Handle()
    {
        if (FHandle)
            CloseHandle(FHandle);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return FHandle; }
    void Reset(HANDLE h)
    {
        if (FHandle)
            CloseHandle(FHandle);
        FHandle = h;
    }

private:
    HANDLE FHandle;
};

// The process's top-level window of the class once it is visible and
// layered; null until then.
HWND PresentedWindow(const wchar_t* windowClass, DWORD processId)
{
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, windowClass, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window) && (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0)
            return window;
    }
    return nullptr;
}

// Starts the program in its own folder and returns the milliseconds until
// its first frame, or a negative value on failure. The program is closed
// again before returning.
double TimeOneStart(const Program& program)
{
    const std::wstring folder = FolderOf(program.Path);
    std::wstring commandLine = L"\"" + program.Path + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};

    const double start = NowMs();
    if (!CreateProcessW(program.Path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                        &pi)) {
        std::printf("cannot start %ls (error %lu)\n", program.Path.c_str(), GetLastError());
        return -1;
    }
    Handle process(pi.hProcess);
    Handle thread(pi.hThread);

    HWND window = nullptr;
    double elapsed = -1;
    for (;;) {
        window = PresentedWindow(program.WindowClass, pi.dwProcessId);
        if (window) {
            elapsed = NowMs() - start;
            break;
        }
        // A 1 ms wait: the time resolution, without taking a core from the
        // starting program.
        if (WaitForSingleObject(process.Get(), 1) == WAIT_OBJECT_0) {
            std::printf("%ls ended before showing its frame\n", program.Label);
            return -1;
        }
        if (NowMs() - start > StartTimeoutMs) {
            std::printf("%ls showed no frame within %lu ms\n", program.Label, StartTimeoutMs);
            break;
        }
    }

    if (window && !PostMessageW(window, WM_CLOSE, 0, 0))
        std::printf("WM_CLOSE to %ls failed (error %lu)\n", program.Label, GetLastError());
    if (WaitForSingleObject(process.Get(), CloseTimeoutMs) != WAIT_OBJECT_0) {
        std::printf("%ls did not end after WM_CLOSE; terminating it\n", program.Label);
        if (!TerminateProcess(process.Get(), 99))
            std::printf("TerminateProcess failed (error %lu)\n", GetLastError());
        WaitForSingleObject(process.Get(), CloseTimeoutMs);
        return -1;
    }
    DWORD status = 0;
    if (!GetExitCodeProcess(process.Get(), &status) || status != 0) {
        std::printf("%ls ended with status %lu\n", program.Label, status);
        return -1;
    }
    return elapsed;
}

void PrintTimes(const Program& program)
{
    std::printf("%-10ls median %8.1f ms  min %8.1f ms  runs:", program.Label, Median(program.Times),
                Smallest(program.Times));
    for (double t : program.Times)
        std::printf(" %.0f", t);
    std::printf("\n");
}

} // namespace

int main()
{
    Program bare = {L"bare", OwnFolder() + L"\\bare_layered_window.exe", L"BareLayeredWindow", {}};
    Program dockhint = {L"dockhint", WinePath(DOCKHINT_EXE), L"TPanelForm", {}};

    if (FindWindowW(L"TPanelForm", L"PorticaDockHelperForm")) {
        std::printf("a help window is already open: close it first (a second start would only raise it)\n");
        return 1;
    }
    std::printf("start to first presented frame, %d-bit programs, %d rounds, the programs taking turns\n",
                static_cast<int>(sizeof(void*) * 8), Rounds);

    // Under Wine the first user of the desktop starts it: this process does,
    // so that no timed start pays for it.
    if (!GetDesktopWindow()) {
        std::printf("no desktop window\n");
        return 1;
    }

    // One start of each first: the programs' files come into the caches.
    if (TimeOneStart(bare) < 0 || TimeOneStart(dockhint) < 0)
        return 1;
    for (int round = 0; round < Rounds; ++round) {
        for (Program* program : {&bare, &dockhint}) {
            const double t = TimeOneStart(*program);
            if (t < 0)
                return 1;
            program->Times.push_back(t);
        }
    }

    PrintTimes(bare);
    PrintTimes(dockhint);
    const double ratio = Median(dockhint.Times) / Median(bare.Times);
    std::printf("startup to first frame: dockhint %.1f ms, bare %.1f ms (medians), ratio %.2f (target at most %.2f: "
                "%s); ratio of the minimums %.2f\n",
                Median(dockhint.Times), Median(bare.Times), ratio, TargetRatio, ratio <= TargetRatio ? "met" : "MISSED",
                Smallest(dockhint.Times) / Smallest(bare.Times));
    return 0;
}
