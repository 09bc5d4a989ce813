// The package's custom actions for the logon task "Portica Dock Help". They
// do the work in this process, with taskreg's own code, so that nothing of
// the installed product is needed: the task can be registered before any
// file is in place and deleted when the program is gone.
//
//   FindLogonHelp      immediate: sets LOGONHELPFOUND to 1 when the task
//                      exists, so that a rollback can restore what was there
//   RegisterLogonHelp  deferred, CustomActionData the help program's path
//   DeleteLogonHelp    deferred
//   RestoreLogonHelp   rollback, CustomActionData "[LOGONHELPFOUND]|path":
//                      registers the task again when it was found before,
//                      else deletes it
//
// Each writes what taskreg said and its result to the installation log. A
// failed registration fails the action; the package decides whether that
// stops the installation, and the rollback then deletes what it left.

#include <windows.h>

#include <msi.h>
#include <msiquery.h>

#include <string>

#include "LogonTask.h"

namespace {

// The longest a scheduler call may take before the action gives up.
const DWORD TimeLimit = 60 * 1000;

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

// taskreg's text on one line: its line breaks become spaces.
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

// Carries out one operation and logs it: "logon task: register PATH: TEXT
// (result N)". True when it succeeded.
bool RunAndLog(MSIHANDLE Install, LogonTask::Operation What, const std::wstring& ProgramPath = std::wstring())
{
    static const wchar_t* const names[] = { L"register", L"delete", L"find" };
    LogonTask task(TimeLimit);
    const int result = task.Run(What, ProgramPath);
    std::wstring line = std::wstring(L"logon task: ") + names[What];
    if (What == LogonTask::Register)
        line += L" " + ProgramPath;
    Log(Install, line + L": " + OneLine(task.Text()) + L" (result " + std::to_wstring(result) + L")");
    return result == 0;
}

UINT Result(bool Succeeded)
{
    return Succeeded ? ERROR_SUCCESS : ERROR_INSTALL_FAILURE;
}

} // namespace

// Nothing may throw out of an action into Windows Installer.

extern "C" __declspec(dllexport) UINT __stdcall FindLogonHelp(MSIHANDLE Install)
try {
    if (RunAndLog(Install, LogonTask::Find) && MsiSetPropertyW(Install, L"LOGONHELPFOUND", L"1") != ERROR_SUCCESS)
        Log(Install, L"logon task: cannot set LOGONHELPFOUND");
    return ERROR_SUCCESS;
} catch (...) {
    return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) UINT __stdcall RegisterLogonHelp(MSIHANDLE Install)
try {
    const std::wstring programPath = CustomActionData(Install);
    if (programPath.empty()) {
        Log(Install, L"logon task: no program path in CustomActionData");
        return ERROR_INSTALL_FAILURE;
    }
    return Result(RunAndLog(Install, LogonTask::Register, programPath));
} catch (...) {
    return ERROR_INSTALL_FAILURE;
}

extern "C" __declspec(dllexport) UINT __stdcall DeleteLogonHelp(MSIHANDLE Install)
try {
    return Result(RunAndLog(Install, LogonTask::Delete));
} catch (...) {
    return ERROR_INSTALL_FAILURE;
}

extern "C" __declspec(dllexport) UINT __stdcall RestoreLogonHelp(MSIHANDLE Install)
try {
    const std::wstring data = CustomActionData(Install);
    const size_t bar = data.find(L'|');
    if (bar == std::wstring::npos) {
        Log(Install, L"logon task: no state in CustomActionData");
        return ERROR_INSTALL_FAILURE;
    }
    // A task that cannot be put back leaves nothing behind either: a failed
    // registration leaves at least the maker's folder.
    if (data.compare(0, bar, L"1") == 0 && RunAndLog(Install, LogonTask::Register, data.substr(bar + 1)))
        return ERROR_SUCCESS;
    return Result(RunAndLog(Install, LogonTask::Delete));
} catch (...) {
    return ERROR_INSTALL_FAILURE;
}
