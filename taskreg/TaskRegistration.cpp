#include "TaskRegistration.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>

#include "LogonTrigger.h"
#include "OleString.h"
#include "OleVariant.h"

namespace {

const wchar_t RootFolderPath[] = L"\\";
const wchar_t Author[] = L"Tavrinex";
const wchar_t NoTimeLimit[] = L"PT0S";
const wchar_t TriggerId[] = L"Tavrin Trigger 1";

// A SID from AllocateAndInitializeSid, freed with FreeSid.
struct SidFreeing {
    void operator()(void* Sid) const { FreeSid(Sid); }
};
using AllocatedSid = std::unique_ptr<void, SidFreeing>;

} // namespace

// The common start reports the same failures with different codes, and two
// of them with a different text, in the two exports.
struct TaskRegistration::StartCodes {
    int Service;
    int Connect;
    int Root;
    int Folder;
    const char* RootText;
    const char* FolderText;
};

const TaskRegistration::StartCodes TaskRegistration::RegisterStart = {RegisterServiceFailed,
                                                                      RegisterConnectFailed,
                                                                      RegisterRootFolderFailed,
                                                                      RegisterTaskFolderFailed,
                                                                      "Cannot get Root Folder pointer: %x",
                                                                      "Cannot create Tavrin Folder pointer: %x"};
const TaskRegistration::StartCodes TaskRegistration::DeleteStart = {DeleteServiceFailed,
                                                                    DeleteConnectFailed,
                                                                    DeleteRootFolderFailed,
                                                                    DeleteTaskFolderFailed,
                                                                    "\nCannot get Root Folder pointer: %x",
                                                                    "\nCannot create Tavrin Folder pointer: %x"};

TaskRegistration::TaskRegistration(PlatformApi& Api, bool& SecurityInitialized)
    : FApi(Api), FSecurityInitialized(SecurityInitialized)
{
}

// The work is done by Register and Delete, whose scheduler objects are all
// released when they return; only then is COM uninitialized on failure.
int TaskRegistration::RegisterScheduledTask(const wchar_t* TaskName, const wchar_t* ProgramPath,
                                            const wchar_t* Arguments, int RunOnlyIfNetworkAvailable, Principal For)
{
    if (!IsWindowsVersionSupported())
        return UnsupportedWindows;
    const int code = Register(TaskName, ProgramPath, Arguments, RunOnlyIfNetworkAvailable, For);
    if (code != Success)
        FApi.CoUninitialize();
    return code;
}

int TaskRegistration::DeleteScheduleTask(const wchar_t* TaskName)
{
    if (!IsWindowsVersionSupported())
        return UnsupportedWindows;
    const int code = Delete(TaskName);
    if (code != Success)
        FApi.CoUninitialize();
    return code;
}

bool TaskRegistration::IsWindowsVersionSupported()
{
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    return FApi.GetVersionExW(&version) && version.dwMajorVersion > 5;
}

// Looks up the local name of a built-in group by its well-known SID (NT
// authority, built-in domain, Rid). The name is empty when the lookup fails.
int TaskRegistration::GetBuiltinGroupName(DWORD Rid, wchar_t (&Name)[GroupNameSize])
{
    Name[0] = L'\0';
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID allocated = nullptr;
    if (AllocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, Rid, 0, 0, 0, 0, 0, 0, &allocated)) {
        const AllocatedSid sid(allocated);
        wchar_t name[GroupNameSize] = {};
        wchar_t domain[GroupNameSize] = {};
        DWORD nameSize = GroupNameSize;
        DWORD domainSize = GroupNameSize;
        SID_NAME_USE use;
        if (FApi.LookupAccountSidW(nullptr, sid.get(), name, &nameSize, domain, &domainSize, &use)) {
            name[GroupNameSize - 1] = L'\0';
            wcscpy(Name, name);
        }
    }
    Print("DOMAIN_ALIAS_RID_USERS: %S\n", Name);
    return 0;
}

int TaskRegistration::Report(int Code, const char* Format, HRESULT Result)
{
    Print(Format, static_cast<unsigned>(Result));
    return Code;
}

// The text goes out through the platform, a whole message at a time.
void TaskRegistration::Print(const char* Format, ...)
{
    va_list arguments;
    va_start(arguments, Format);
    va_list counting;
    va_copy(counting, arguments);
    const int length = vsnprintf(nullptr, 0, Format, counting);
    va_end(counting);
    if (length > 0) {
        std::string text(static_cast<size_t>(length) + 1, '\0');
        vsnprintf(&text[0], text.size(), Format, arguments);
        text.resize(static_cast<size_t>(length));
        FApi.Write(text.c_str());
    }
    va_end(arguments);
}

int TaskRegistration::CheckRegisterInput(const wchar_t* TaskName, const wchar_t* ProgramPath, const wchar_t* Arguments)
{
    if (!TaskName) {
        Print("\nInvalid task name: null pointer");
        return NullTaskName;
    }
    if (!ProgramPath) {
        Print("\nInvalid program path: null pointer");
        return NullProgramPath;
    }
    if (!Arguments) {
        Print("\nInvalid arguments: null pointer");
        return NullArguments;
    }
    if (wcsnlen(ProgramPath, MaxProgramPathLength + 1) > MaxProgramPathLength) {
        Print("\nInvalid program path: longer than %u characters", static_cast<unsigned>(MaxProgramPathLength));
        return ProgramPathTooLong;
    }
    // A quote inside the path would end the quoted path early and turn the
    // rest into arguments of a program that runs with highest privileges.
    if (wcschr(ProgramPath, L'"')) {
        Print("\nInvalid program path: holds a double quote");
        return ProgramPathHoldsQuote;
    }
    return Success;
}

int TaskRegistration::Start(const StartCodes& Codes, ComPtr<ITaskService>& Service, ComPtr<ITaskFolder>& Root,
                            ComPtr<ITaskFolder>& Folder)
{
    if (!FSecurityInitialized) {
        const HRESULT hr = FApi.CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT_PRIVACY,
                                                     RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
        // RPC_E_TOO_LATE: the host has set the process's security already.
        if (FAILED(hr) && hr != RPC_E_TOO_LATE)
            return Report(ComSecurityFailed, "\nCoInitializeSecurity failed: %x", hr);
        FSecurityInitialized = true;
    }

    HRESULT hr = FApi.CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskService),
                                       Service.OutVoid());
    if (FAILED(hr))
        return Report(Codes.Service, "Failed to create an instance of ITaskService: %x", hr);

    const OleVariant none;
    hr = Service->Connect(none.Get(), none.Get(), none.Get(), none.Get());
    if (FAILED(hr))
        return Report(Codes.Connect, "ITaskService::Connect failed: %x", hr);

    const OleString rootPath(RootFolderPath);
    hr = rootPath.Valid() ? Service->GetFolder(rootPath.Get(), Root.Out()) : E_OUTOFMEMORY;
    if (FAILED(hr))
        return Report(Codes.Root, Codes.RootText, hr);

    const OleString folderName(FolderName);
    hr = folderName.Valid() ? Root->GetFolder(folderName.Get(), Folder.Out()) : E_OUTOFMEMORY;
    if (FAILED(hr)) {
        const OleVariant securityDescriptor(L"");
        hr = folderName.Valid() && securityDescriptor.Valid()
                 ? Root->CreateFolder(folderName.Get(), securityDescriptor.Get(), Folder.Out())
                 : E_OUTOFMEMORY;
        if (FAILED(hr))
            return Report(Codes.Folder, Codes.FolderText, hr);
    }
    return Success;
}

int TaskRegistration::Register(const wchar_t* TaskName, const wchar_t* ProgramPath, const wchar_t* Arguments,
                               int RunOnlyIfNetworkAvailable, Principal For)
{
    int code = CheckRegisterInput(TaskName, ProgramPath, Arguments);
    if (code != Success)
        return code;
    // The checked length leaves room for the two quotes and the terminator.
    const size_t length = wcslen(ProgramPath);
    wchar_t quotedPath[QuotedPathSize];
    quotedPath[0] = L'"';
    wmemcpy(quotedPath + 1, ProgramPath, length);
    quotedPath[length + 1] = L'"';
    quotedPath[length + 2] = L'\0';

    ComPtr<ITaskService> service;
    ComPtr<ITaskFolder> root;
    ComPtr<ITaskFolder> folder;
    code = Start(RegisterStart, service, root, folder);
    if (code != Success)
        return code;

    // A task of that name is replaced by the registration itself (create or
    // update), so a registration that fails leaves it as it was.
    ComPtr<ITaskDefinition> task;
    const HRESULT hr = service->NewTask(0, task.Out());
    service.Reset();
    if (FAILED(hr))
        return Report(NewDefinitionFailed, "Failed to create a task definition: %x", hr);

    if ((code = PutRegistrationInfo(task.Get())) != Success ||
        (code = PutSettings(task.Get(), RunOnlyIfNetworkAvailable)) != Success ||
        (code = PutTrigger(task.Get())) != Success ||
        (code = PutAction(task.Get(), quotedPath, Arguments)) != Success ||
        (code = PutPrincipal(task.Get(), For)) != Success ||
        (code = RegisterDefinition(folder.Get(), TaskName, task.Get(), For)) != Success)
        return code;

    Print("\nSuccess! Task successfully registered. ");
    return Success;
}

int TaskRegistration::PutRegistrationInfo(ITaskDefinition* Task)
{
    ComPtr<IRegistrationInfo> info;
    HRESULT hr = Task->get_RegistrationInfo(info.Out());
    if (FAILED(hr))
        return Report(RegistrationInfoFailed, "\nCannot get identification pointer: %x", hr);
    const OleString author(Author);
    hr = author.Valid() ? info->put_Author(author.Get()) : E_OUTOFMEMORY;
    if (FAILED(hr))
        return Report(AuthorFailed, "\nCannot put identification info: %x", hr);
    return Success;
}

// Every setting is checked: a task with a time limit or battery rules the
// caller did not ask for must not be reported as registered.
int TaskRegistration::PutSettings(ITaskDefinition* Task, int RunOnlyIfNetworkAvailable)
{
    ComPtr<ITaskSettings> settings;
    HRESULT hr = Task->get_Settings(settings.Out());
    if (FAILED(hr))
        return Report(SettingsFailed, "\nCannot get settings pointer: %x", hr);

    const OleString noTimeLimit(NoTimeLimit);
    hr = noTimeLimit.Valid() ? settings->put_ExecutionTimeLimit(noTimeLimit.Get()) : E_OUTOFMEMORY;
    if (SUCCEEDED(hr))
        hr = settings->put_MultipleInstances(TASK_INSTANCES_PARALLEL);
    if (SUCCEEDED(hr))
        hr = settings->put_StartWhenAvailable(1);
    if (SUCCEEDED(hr))
        hr = settings->put_StopIfGoingOnBatteries(0);
    if (SUCCEEDED(hr))
        hr = settings->put_DisallowStartIfOnBatteries(0);
    if (SUCCEEDED(hr) && RunOnlyIfNetworkAvailable)
        hr = settings->put_RunOnlyIfNetworkAvailable(1);
    if (FAILED(hr))
        return Report(SettingValuesFailed, "\nCannot put setting info: %x", hr);
    return Success;
}

// A trigger without its id still fires at every logon, so a failing put_Id
// is reported and the registration goes on.
int TaskRegistration::PutTrigger(ITaskDefinition* Task)
{
    ComPtr<ITriggerCollection> triggers;
    HRESULT hr = Task->get_Triggers(triggers.Out());
    if (FAILED(hr))
        return Report(TriggersFailed, "\nCannot get trigger collection: %x", hr);

    ComPtr<ITrigger> trigger;
    hr = triggers->Create(TASK_TRIGGER_LOGON, trigger.Out());
    if (FAILED(hr))
        return Report(NewTriggerFailed, "\nCannot create the trigger: %x", hr);

    ComPtr<ILogonTrigger> logonTrigger;
    hr = trigger->QueryInterface(__uuidof(ILogonTrigger), logonTrigger.OutVoid());
    if (FAILED(hr))
        return Report(LogonTriggerFailed, "\nQueryInterface call failed for ILogonTrigger: %x", hr);

    const OleString id(TriggerId);
    hr = id.Valid() ? logonTrigger->put_Id(id.Get()) : E_OUTOFMEMORY;
    if (FAILED(hr))
        Print("\nCannot put the trigger ID: %x", static_cast<unsigned>(hr));
    return Success;
}

// Both the path and the arguments are checked: a task without its program
// must not be reported as registered.
int TaskRegistration::PutAction(ITaskDefinition* Task, const wchar_t* QuotedPath, const wchar_t* Arguments)
{
    ComPtr<IActionCollection> actions;
    HRESULT hr = Task->get_Actions(actions.Out());
    if (FAILED(hr))
        return Report(ActionsFailed, "\nCannot get Task collection pointer: %x", hr);

    ComPtr<IAction> action;
    hr = actions->Create(TASK_ACTION_EXEC, action.Out());
    if (FAILED(hr))
        return Report(NewActionFailed, "\nCannot create the action: %x", hr);

    ComPtr<IExecAction> execAction;
    hr = action->QueryInterface(__uuidof(IExecAction), execAction.OutVoid());
    if (FAILED(hr))
        return Report(ExecActionFailed, "\nQueryInterface call failed for IExecAction: %x", hr);

    const OleString path(QuotedPath);
    const OleString arguments(Arguments);
    hr = path.Valid() ? execAction->put_Path(path.Get()) : E_OUTOFMEMORY;
    if (SUCCEEDED(hr))
        hr = arguments.Valid() ? execAction->put_Arguments(arguments.Get()) : E_OUTOFMEMORY;
    if (FAILED(hr))
        return Report(PathFailed, "\nCannot set path of executable: %x", hr);
    return Success;
}

// A task without the run level asked for must not be reported as
// registered: a failing run level fails the principal step.
int TaskRegistration::PutPrincipal(ITaskDefinition* Task, Principal For)
{
    ComPtr<IPrincipal> principal;
    HRESULT hr = Task->get_Principal(principal.Out());
    if (FAILED(hr))
        return Report(PrincipalFailed, "\nCannot get Principal: %x", hr);
    hr = principal->put_RunLevel(For == EveryUser ? TASK_RUNLEVEL_LUA : TASK_RUNLEVEL_HIGHEST);
    if (FAILED(hr))
        return Report(PrincipalFailed, "\nCannot put the run level: %x", hr);
    return Success;
}

// Registers for the built-in administrators group, and for the users group
// when the system refuses the first; a task for every user goes to the users
// group only.
int TaskRegistration::RegisterDefinition(ITaskFolder* Folder, const wchar_t* TaskName, ITaskDefinition* Task,
                                         Principal For)
{
    const OleString name(TaskName);
    wchar_t group[GroupNameSize];
    HRESULT hr = E_FAIL;
    if (For == Administrators) {
        GetBuiltinGroupName(DOMAIN_ALIAS_RID_ADMINS, group);
        hr = RegisterForGroup(Folder, name.Get(), Task, group);
    }
    if (FAILED(hr)) {
        GetBuiltinGroupName(DOMAIN_ALIAS_RID_USERS, group);
        hr = RegisterForGroup(Folder, name.Get(), Task, group);
    }
    if (FAILED(hr))
        return Report(RegistrationFailed, "\nError saving the Task : %x", hr);
    return Success;
}

HRESULT TaskRegistration::RegisterForGroup(ITaskFolder* Folder, BSTR TaskName, ITaskDefinition* Task,
                                           const wchar_t* Group)
{
    const OleVariant user(Group);
    const OleVariant noPassword;
    const OleVariant securityDescriptor(L"");
    // A null name would make the scheduler invent one.
    if (!TaskName || !user.Valid() || !securityDescriptor.Valid())
        return E_OUTOFMEMORY;
    ComPtr<IRegisteredTask> registered;
    return Folder->RegisterTaskDefinition(TaskName, Task, TASK_CREATE_OR_UPDATE, user.Get(), noPassword.Get(),
                                          TASK_LOGON_GROUP, securityDescriptor.Get(), registered.Out());
}

int TaskRegistration::Delete(const wchar_t* TaskName)
{
    if (!TaskName) {
        Print("\nInvalid task name: null pointer");
        return NullTaskName;
    }

    ComPtr<ITaskService> service;
    ComPtr<ITaskFolder> root;
    ComPtr<ITaskFolder> folder;
    const int code = Start(DeleteStart, service, root, folder);
    if (code != Success)
        return code;

    // Whether the task existed does not matter; a task that is still there
    // after a refusal is reported as such.
    const OleString name(TaskName);
    const HRESULT deleted = name.Valid() ? folder->DeleteTask(name.Get(), 0) : E_OUTOFMEMORY;
    if (FAILED(deleted) && deleted != HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) &&
        deleted != HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND))
        return Report(TaskNotDeleted, "\nCannot delete the task: %x", deleted);
    Print("\nTask: %S was deleted.", TaskName);

    ComPtr<IRegisteredTaskCollection> tasks;
    if (FAILED(folder->GetTasks(0, tasks.Out())))
        return TaskListFailed;

    // When the tasks cannot be counted, the folder is deleted all the same:
    // the scheduler refuses to delete a folder that still holds tasks, so it
    // goes only when empty, and is reported only when it went.
    const OleString folderName(FolderName);
    LONG count = 0;
    if (FAILED(tasks->get_Count(&count))) {
        if (folderName.Valid() && SUCCEEDED(root->DeleteFolder(folderName.Get(), 0)))
            Print("\nFolder: %S was deleted.", FolderName);
        return Success;
    }

    if (count == 0) {
        const HRESULT hr = folderName.Valid() ? root->DeleteFolder(folderName.Get(), 0) : E_OUTOFMEMORY;
        if (SUCCEEDED(hr))
            Print("\nFolder: %S was deleted.", FolderName);
        else
            Print("\nCannot delete the folder: %x", static_cast<unsigned>(hr));
    }
    return Success;
}
