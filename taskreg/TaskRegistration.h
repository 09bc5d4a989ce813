#pragma once

#include <windows.h>
#include <taskschd.h>

#include "ComPtr.h"
#include "PlatformApi.h"

// Registers and deletes logon tasks in the maker's task folder
// "Tavrinex_TASK" of the Task Scheduler. Progress and failures go
// out as text through PlatformApi::Write (standard output by default); every
// failure also has a result code.
//
// COM contract: the caller initializes COM on the calling thread. Every
// failure return after the version test (a positive code) is preceded by
// exactly one CoUninitialize, made after the library has released every
// scheduler object it held; success (0) and the version failure (-1) leave
// COM alone.
class TaskRegistration {
public:
    // Result codes: 0, -1, else the step that failed. The common start has
    // other codes in each export, so the two sets overlap; docs/taskreg.md has
    // the table.
    enum ResultCode : int {
        Success = 0,
        UnsupportedWindows = -1,
        ComSecurityFailed = 1,
        // RegisterScheduledTask
        RegisterServiceFailed = 1,
        RegisterConnectFailed = 2,
        RegisterRootFolderFailed = 3,
        RegisterTaskFolderFailed = 4,
        NewDefinitionFailed = 5,
        RegistrationInfoFailed = 6,
        AuthorFailed = 7,
        SettingsFailed = 8,
        SettingValuesFailed = 9,
        TriggersFailed = 10,
        NewTriggerFailed = 11,
        LogonTriggerFailed = 12,
        ActionsFailed = 17,
        NewActionFailed = 18,
        ExecActionFailed = 19,
        PathFailed = 20,
        PrincipalFailed = 21,
        RegistrationFailed = 22,
        // DeleteScheduleTask
        DeleteServiceFailed = 2,
        DeleteConnectFailed = 3,
        DeleteRootFolderFailed = 4,
        DeleteTaskFolderFailed = 5,
        TaskListFailed = 6,
        TaskNotDeleted = 7, // the scheduler refused to delete a task that exists
        // Bad input: nothing is written to the Task Scheduler.
        NullTaskName = 30,
        NullProgramPath = 31,
        NullArguments = 32,
        ProgramPathTooLong = 33,
        ProgramPathHoldsQuote = 34,
    };

    // Whom a registered task runs for. Administrators: the exports' task, with
    // highest privileges, for the administrators group (the users group when
    // the system refuses that one). EveryUser: for the users group, with each
    // user's own rights.
    enum Principal { Administrators, EveryUser };

    // The maker's folder below the scheduler's root, which holds the tasks.
    static constexpr const wchar_t* FolderName = L"Tavrinex_TASK";

    static constexpr DWORD GroupNameSize = 260;
    static constexpr size_t QuotedPathSize = 270;
    static constexpr size_t MaxProgramPathLength = QuotedPathSize - 3;

    // SecurityInitialized is the process-wide record that COM security is set
    // up; the exports pass the library's one flag, tests pass their own.
    TaskRegistration(PlatformApi& Api, bool& SecurityInitialized);

    int RegisterScheduledTask(const wchar_t* TaskName, const wchar_t* ProgramPath, const wchar_t* Arguments,
                              int RunOnlyIfNetworkAvailable, Principal For = Administrators);
    int DeleteScheduleTask(const wchar_t* TaskName);

    bool IsWindowsVersionSupported();
    int GetBuiltinGroupName(DWORD Rid, wchar_t (&Name)[GroupNameSize]);

private:
    struct StartCodes;
    static const StartCodes RegisterStart;
    static const StartCodes DeleteStart;

    int Register(const wchar_t* TaskName, const wchar_t* ProgramPath, const wchar_t* Arguments,
                 int RunOnlyIfNetworkAvailable, Principal For);
    int Delete(const wchar_t* TaskName);
    int CheckRegisterInput(const wchar_t* TaskName, const wchar_t* ProgramPath, const wchar_t* Arguments);
    int Start(const StartCodes& Codes, ComPtr<ITaskService>& Service, ComPtr<ITaskFolder>& Root,
              ComPtr<ITaskFolder>& Folder);
    int PutRegistrationInfo(ITaskDefinition* Task);
    int PutSettings(ITaskDefinition* Task, int RunOnlyIfNetworkAvailable);
    int PutTrigger(ITaskDefinition* Task);
    int PutAction(ITaskDefinition* Task, const wchar_t* QuotedPath, const wchar_t* Arguments);
    int PutPrincipal(ITaskDefinition* Task, Principal For);
    int RegisterDefinition(ITaskFolder* Folder, const wchar_t* TaskName, ITaskDefinition* Task, Principal For);
    HRESULT RegisterForGroup(ITaskFolder* Folder, BSTR TaskName, ITaskDefinition* Task, const wchar_t* Group);

    int Report(int Code, const char* Format, HRESULT Result);
    __attribute__((format(gnu_printf, 2, 3))) void Print(const char* Format, ...);

    PlatformApi& FApi;
    bool& FSecurityInitialized;
};
