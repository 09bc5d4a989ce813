// The package's custom action around taskregctl.exe. CustomActionData holds
// a command line, optionally followed by "|" and a second one that undoes
// a failed first (the character cannot occur in a path). Each program's
// text and exit code go to the installation log, which Windows Installer
// does not do for a program it starts itself. An exit code other than 0
// from the first fails the action; the package decides whether that stops
// the installation.

#include <windows.h>

#include <msi.h>
#include <msiquery.h>

#include <string>

#include "CommandRunner.h"

namespace {

// A Windows Installer handle closed when it goes out of scope.
class MsiHandle {
public:
    explicit MsiHandle(MSIHANDLE Handle)
        : FHandle(Handle)
    {
    }
    ~MsiHandle()
    {
        if (FHandle)
            MsiCloseHandle(FHandle);
    }
    MsiHandle(const MsiHandle&) = delete;
    MsiHandle& operator=(const MsiHandle&) = delete;

    MSIHANDLE Get() const { return FHandle; }

private:
    MSIHANDLE FHandle;
};

std::wstring CustomActionData(MSIHANDLE Install)
{
    wchar_t empty[1] = L"";
    DWORD size = 0;
    if (MsiGetPropertyW(Install, L"CustomActionData", empty, &size) != ERROR_MORE_DATA)
        return std::wstring();
    std::wstring value(++size, L'\0');
    if (MsiGetPropertyW(Install, L"CustomActionData", &value[0], &size) != ERROR_SUCCESS)
        return std::wstring();
    value.resize(size);
    return value;
}

// The program's text on one line: its line breaks become spaces.
std::wstring OneLine(const std::string& Text)
{
    std::wstring wide;
    const int length = MultiByteToWideChar(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0);
    if (length > 0) {
        wide.resize(length);
        if (!MultiByteToWideChar(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()), &wide[0], length))
            wide.clear();
    }
    std::wstring line;
    for (wchar_t c : wide) {
        if (c == L'\r' || c == L'\n')
            c = L' ';
        if (c != L' ' || (!line.empty() && line.back() != L' '))
            line += c;
    }
    while (!line.empty() && line.back() == L' ')
        line.pop_back();
    return line;
}

// Writes one line to the installation log. Nothing can be done when that
// fails, so its result is not examined.
void Log(MSIHANDLE Install, const std::wstring& Text)
{
    MsiHandle record(MsiCreateRecord(1));
    if (!record.Get() || MsiRecordSetStringW(record.Get(), 0, L"[1]") != ERROR_SUCCESS
        || MsiRecordSetStringW(record.Get(), 1, Text.c_str()) != ERROR_SUCCESS)
        return;
    MsiProcessMessage(Install, INSTALLMESSAGE_INFO, record.Get());
}

// Runs one command line and logs what it said; true when it returned 0.
bool RunAndLog(MSIHANDLE Install, const std::wstring& CommandLine)
{
    CommandRunner runner;
    if (!runner.Run(CommandLine)) {
        Log(Install, L"taskregctl: cannot run " + CommandLine + L": error " + std::to_wstring(runner.Error()));
        return false;
    }
    const int code = static_cast<int>(runner.ExitCode());
    Log(Install,
        L"taskregctl: " + CommandLine + L": " + OneLine(runner.Output()) + L" (exit code " + std::to_wstring(code)
            + L")");
    return code == 0;
}

} // namespace

// Nothing may throw out of the action into Windows Installer.
extern "C" __declspec(dllexport) UINT __stdcall RunTaskRegCtl(MSIHANDLE Install)
try {
    const std::wstring data = CustomActionData(Install);
    const size_t bar = data.find(L'|');
    const std::wstring command = data.substr(0, bar);
    if (command.empty()) {
        Log(Install, L"taskregctl: no command line in CustomActionData");
        return ERROR_INSTALL_FAILURE;
    }
    if (RunAndLog(Install, command))
        return ERROR_SUCCESS;
    if (bar != std::wstring::npos)
        RunAndLog(Install, data.substr(bar + 1));
    return ERROR_INSTALL_FAILURE;
} catch (...) {
    return ERROR_INSTALL_FAILURE;
}
