// The package's custom actions for the logon task "Portica Dock Help". They
// do the work in this process, with taskreg's own code, so that nothing of
// the installed product is needed: the task can be registered before any
// file is in place and deleted when the program is gone. All run in the
// script, without impersonation, so the elevated installer does the work.
// RECORD is a file that only administrators and SYSTEM can write, in which
// the change tells its rollback partner what was there before.
//
//   RegisterLogonHelp  deferred, CustomActionData "RECORD|path": looks up
//                      the task, records what it found, registers it
//   DeleteLogonHelp    deferred, CustomActionData "RECORD": the same, and
//                      deletes it
//   RestoreLogonHelp   rollback, CustomActionData "RECORD|path": waits for
//                      the change still running, registers the task again
//                      when it was present, deletes it when it was absent,
//                      and leaves it as it is when that is not known
//   CommitLogonHelp    commit, CustomActionData "RECORD": waits for the
//                      change still running and logs its end
//
// The rollback and the commit remove the record. Each writes what taskreg
// said and its result to the installation log. A failed registration fails
// the action; the package decides whether that stops the installation, and
// the rollback then deletes what it left.

#include <windows.h>

#include <msi.h>
#include <msiquery.h>

#include <string>

#include "Handles.h"
#include "LogonTask.h"

namespace {

// The longest a change may take before the action gives up, and the
// longest it waits for an earlier one still running (a rollback and a
// commit wait longer for this installation's own: LogonTask::FlightLimit).
const DWORD TimeLimit = 60 * 1000;

// The system's own functions, for taskreg's code. It has no state, and it
// lives as long as the library, which a call that runs out of time keeps
// loaded.
PlatformApi System;

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

// Writes one line to the installation log. Nothing can be done when that
// fails, so its result is not examined.
void Log(MSIHANDLE Install, const std::wstring& Text)
{
    MsiHandle record(MsiCreateRecord(1));
    if (!record.Get() || MsiRecordSetStringW(record.Get(), 0, L"[1]") != ERROR_SUCCESS ||
        MsiRecordSetStringW(record.Get(), 1, Text.c_str()) != ERROR_SUCCESS)
        return;
    MsiProcessMessage(Install, INSTALLMESSAGE_INFO, record.Get());
}

// Writes what the task's operations did to the log, one line each:
// "logon task: register PATH: TEXT (result N)".
void LogLines(MSIHANDLE Install, const LogonTask& Task)
{
    for (const std::wstring& line : Task.Lines())
        Log(Install, L"logon task: " + line);
}

UINT Result(bool Succeeded)
{
    return Succeeded ? ERROR_SUCCESS : ERROR_INSTALL_FAILURE;
}

} // namespace

// Nothing may throw out of an action into Windows Installer.

extern "C" __declspec(dllexport) UINT __stdcall RegisterLogonHelp(MSIHANDLE Install)
try {
    LogonTask task(System, TimeLimit);
    const int result = task.Change(LogonTask::Register, CustomActionData(Install));
    LogLines(Install, task);
    return Result(result == 0);
} catch (...) {
    return ERROR_INSTALL_FAILURE;
}

extern "C" __declspec(dllexport) UINT __stdcall DeleteLogonHelp(MSIHANDLE Install)
try {
    LogonTask task(System, TimeLimit);
    const int result = task.Change(LogonTask::Delete, CustomActionData(Install));
    LogLines(Install, task);
    return Result(result == 0);
} catch (...) {
    return ERROR_INSTALL_FAILURE;
}

extern "C" __declspec(dllexport) UINT __stdcall RestoreLogonHelp(MSIHANDLE Install)
try {
    LogonTask task(System, TimeLimit);
    const int result = task.Restore(CustomActionData(Install));
    LogLines(Install, task);
    return Result(result == 0 || result == LogonTask::LeftAlone);
} catch (...) {
    return ERROR_INSTALL_FAILURE;
}

extern "C" __declspec(dllexport) UINT __stdcall CommitLogonHelp(MSIHANDLE Install)
try {
    LogonTask task(System, TimeLimit);
    const int result = task.Commit(CustomActionData(Install));
    LogLines(Install, task);
    return Result(result == 0);
} catch (...) {
    return ERROR_INSTALL_FAILURE;
}
