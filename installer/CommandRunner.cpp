#include "CommandRunner.h"

#include <vector>

namespace {

// A handle closed when it goes out of scope.
class OwnedHandle {
public:
    OwnedHandle() = default;
    ~OwnedHandle() { Close(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    HANDLE* Out() { return &FHandle; }
    HANDLE Get() const { return FHandle; }
    void Close()
    {
        if (FHandle)
            CloseHandle(FHandle);
        FHandle = nullptr;
    }

private:
    HANDLE FHandle = nullptr;
};

} // namespace

bool CommandRunner::Fail()
{
    FError = GetLastError();
    return false;
}

bool CommandRunner::Run(const std::wstring& CommandLine)
{
    FOutput.clear();
    SECURITY_ATTRIBUTES inherit = { sizeof(inherit), nullptr, TRUE };
    OwnedHandle readEnd;
    OwnedHandle writeEnd;
    if (!CreatePipe(readEnd.Out(), writeEnd.Out(), &inherit, 0)
        || !SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0))
        return Fail();

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();
    std::vector<wchar_t> commandLine(CommandLine.begin(), CommandLine.end());
    commandLine.push_back(L'\0');
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
            &startup, &process))
        return Fail();
    OwnedHandle processHandle;
    *processHandle.Out() = process.hProcess;
    CloseHandle(process.hThread);
    // Only the child holds the write end now: reading ends when it exits.
    writeEnd.Close();

    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        FOutput.append(buffer, read);
    if (WaitForSingleObject(processHandle.Get(), INFINITE) != WAIT_OBJECT_0
        || !GetExitCodeProcess(processHandle.Get(), &FExitCode))
        return Fail();
    return true;
}
