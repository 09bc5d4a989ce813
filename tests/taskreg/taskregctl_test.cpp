// taskregctl and taskreg.dll end to end, against the platform's own Task
// Scheduler. The test prepares and inspects the folder "Tavrinex_TASK"
// directly through the scheduler's interfaces.
//
// Wine 8's scheduler has no logon triggers: ITriggerCollection::Create
// answers E_NOTIMPL, so a registration ends with the library's code 11 after
// the folder was made and the old task deleted. (Its put_RunLevel answers
// E_NOTIMPL too, but that step comes later.) Its task collections cannot be
// counted (get_Count answers E_NOTIMPL); like Windows, it refuses to delete a
// folder that still holds tasks (ERROR_DIR_NOT_EMPTY), and the deletion
// tests below rely on that refusal.

#include <gtest/gtest.h>

#include <windows.h>
#include <taskschd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ComPtr.h"
#include "OleString.h"
#include "OleVariant.h"

namespace {

const wchar_t FolderName[] = L"Tavrinex_TASK";
const DWORD RunTimeoutMs = 60000;
// How long the scheduler service may take to come up in a new session.
const DWORD ServiceStartTimeoutMs = 60000;
// The scheduler service is not running (it could not be started).
const HRESULT ServiceNotRunning = static_cast<HRESULT>(0x80041315);
const wchar_t* const TaskNames[] = {L"Backup", L"Tray", L"Ghost"};

class Handle {
public:
    explicit Handle(HANDLE Value = nullptr) : FValue(Value) {}
    ~Handle()
    {
        if (FValue && FValue != INVALID_HANDLE_VALUE)
            CloseHandle(FValue);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE Get() const { return FValue; }
    HANDLE* Out() { return &FValue; }
    void Close()
    {
        if (FValue)
            CloseHandle(FValue);
        FValue = nullptr;
    }

private:
    HANDLE FValue;
};

// The Windows path of the host built beside the library.
std::wstring ControlPath()
{
    std::wstring path = L"Z:";
    for (const char* c = TASKREGCTL_PATH; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path;
}

struct ControlRun {
    DWORD ExitCode = 0xDEADBEEF;
    std::string Output;
};

// Runs taskregctl with the given command-line tail and collects its
// standard output.
ControlRun RunControl(const std::wstring& Arguments)
{
    ControlRun run;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    Handle readEnd;
    Handle writeEnd;
    if (!CreatePipe(readEnd.Out(), writeEnd.Out(), &inherit, 0)) {
        ADD_FAILURE() << "CreatePipe failed: " << GetLastError();
        return run;
    }
    SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();
    PROCESS_INFORMATION process = {};
    const std::wstring path = ControlPath();
    std::wstring commandLine = L"\"" + path + L"\" " + Arguments;
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        ADD_FAILURE() << "cannot start taskregctl: " << GetLastError();
        return run;
    }
    Handle processHandle(process.hProcess);
    Handle threadHandle(process.hThread);
    writeEnd.Close();

    // The output is a few lines, far less than the pipe holds.
    if (WaitForSingleObject(processHandle.Get(), RunTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(processHandle.Get(), 1);
        ADD_FAILURE() << "taskregctl did not end within " << RunTimeoutMs << " ms";
        return run;
    }
    GetExitCodeProcess(processHandle.Get(), &run.ExitCode);
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        run.Output.append(buffer, read);
    return run;
}

// The platform's scheduler, seen from the test.
class Scheduler {
public:
    // The result of the first step that failed, or S_OK. While a new Wine
    // session starts its services, the service manager may refuse to start
    // the scheduler for a while; each attempt waits a few seconds itself.
    HRESULT Open()
    {
        const DWORD start = GetTickCount();
        HRESULT hr;
        do
            hr = TryOpen();
        while (hr == ServiceNotRunning && GetTickCount() - start < ServiceStartTimeoutMs);
        return hr;
    }

    HRESULT TryOpen()
    {
        FRoot.Reset();
        FService.Reset();
        const OleVariant none;
        const OleString rootPath(L"\\");
        HRESULT hr = CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskService),
                                      FService.OutVoid());
        if (SUCCEEDED(hr))
            hr = FService->Connect(none.Get(), none.Get(), none.Get(), none.Get());
        if (SUCCEEDED(hr))
            hr = FService->GetFolder(rootPath.Get(), FRoot.Out());
        return hr;
    }

    bool FolderExists()
    {
        ComPtr<ITaskFolder> folder;
        return OpenFolder(folder);
    }

    bool HasTask(const wchar_t* Name)
    {
        ComPtr<ITaskFolder> folder;
        ComPtr<IRegisteredTask> task;
        const OleString taskName(Name);
        return OpenFolder(folder) && SUCCEEDED(folder->GetTask(taskName.Get(), task.Out()));
    }

    // A task without trigger in the folder, which is created when missing.
    void AddTask(const wchar_t* Name)
    {
        ComPtr<ITaskFolder> folder;
        if (!OpenFolder(folder)) {
            const OleString folderName(FolderName);
            const OleVariant sddl(L"");
            ASSERT_HRESULT_SUCCEEDED(FRoot->CreateFolder(folderName.Get(), sddl.Get(), folder.Out()));
        }
        ComPtr<ITaskDefinition> task;
        ComPtr<IActionCollection> actions;
        ComPtr<IAction> action;
        ComPtr<IExecAction> exec;
        const OleString path(L"C:\\windows\\system32\\notepad.exe");
        ASSERT_HRESULT_SUCCEEDED(FService->NewTask(0, task.Out()));
        ASSERT_HRESULT_SUCCEEDED(task->get_Actions(actions.Out()));
        ASSERT_HRESULT_SUCCEEDED(actions->Create(TASK_ACTION_EXEC, action.Out()));
        ASSERT_HRESULT_SUCCEEDED(action->QueryInterface(__uuidof(IExecAction), exec.OutVoid()));
        ASSERT_HRESULT_SUCCEEDED(exec->put_Path(path.Get()));
        const OleString name(Name);
        const OleVariant none;
        const OleVariant sddl(L"");
        ComPtr<IRegisteredTask> registered;
        ASSERT_HRESULT_SUCCEEDED(folder->RegisterTaskDefinition(name.Get(), task.Get(), TASK_CREATE_OR_UPDATE,
                                                                none.Get(), none.Get(), TASK_LOGON_INTERACTIVE_TOKEN,
                                                                sddl.Get(), registered.Out()));
    }

    // Removes the tasks the tests use, then the folder. (Wine's task
    // collections cannot be counted or enumerated, so the names are known.)
    void Clear()
    {
        ComPtr<ITaskFolder> folder;
        if (!OpenFolder(folder))
            return;
        for (const wchar_t* name : TaskNames) {
            const OleString taskName(name);
            folder->DeleteTask(taskName.Get(), 0);
        }
        const OleString folderName(FolderName);
        FRoot->DeleteFolder(folderName.Get(), 0);
    }

    // Releases the scheduler's objects, before COM is uninitialized.
    void Close()
    {
        FRoot.Reset();
        FService.Reset();
    }

private:
    bool OpenFolder(ComPtr<ITaskFolder>& Folder)
    {
        const OleString folderName(FolderName);
        return SUCCEEDED(FRoot->GetFolder(folderName.Get(), Folder.Out()));
    }

    ComPtr<ITaskService> FService;
    ComPtr<ITaskFolder> FRoot;
};

class TaskRegCtlTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
        ASSERT_HRESULT_SUCCEEDED(FScheduler.Open()) << "the platform's Task Scheduler";
        FOpened = true;
        FScheduler.Clear();
        ASSERT_FALSE(FScheduler.FolderExists());
    }
    void TearDown() override
    {
        if (FOpened)
            FScheduler.Clear();
        FScheduler.Close();
        CoUninitialize();
    }

    Scheduler FScheduler;
    bool FOpened = false;
};

// The host's standard output is in text mode: each "\n" of the library
// reaches the pipe as "\r\n".

TEST_F(TaskRegCtlTest, RegisterEndsAtTheMissingLogonTrigger)
{
    FScheduler.AddTask(L"Backup");

    const ControlRun run = RunControl(L"register Backup C:\\windows\\system32\\notepad.exe \"--tray -x\"");

    EXPECT_EQ(11u, run.ExitCode) << "Wine 8 cannot create logon triggers";
    EXPECT_EQ("\r\nCannot create the trigger: 80004001\r\n", run.Output);
    EXPECT_TRUE(FScheduler.HasTask(L"Backup")) << "a failed registration lost the task";
    EXPECT_TRUE(FScheduler.FolderExists());
}

TEST_F(TaskRegCtlTest, RegisterCreatesTheFolder)
{
    const ControlRun run = RunControl(L"register Backup C:\\windows\\system32\\notepad.exe --network");

    EXPECT_EQ(11u, run.ExitCode);
    EXPECT_TRUE(FScheduler.FolderExists());
}

// The remaining tasks cannot be counted under Wine: the folder goes only
// when the scheduler lets it, that is when it is empty.
TEST_F(TaskRegCtlTest, DeleteRemovesOnlyTheNamedTask)
{
    FScheduler.AddTask(L"Backup");
    FScheduler.AddTask(L"Tray");

    const ControlRun run = RunControl(L"delete Backup");

    EXPECT_EQ(0u, run.ExitCode);
    EXPECT_EQ("\r\nTask: Backup was deleted.\r\n", run.Output);
    EXPECT_FALSE(FScheduler.HasTask(L"Backup"));
    EXPECT_TRUE(FScheduler.HasTask(L"Tray"));
    EXPECT_TRUE(FScheduler.FolderExists()) << "a folder holding a task is kept";
}

TEST_F(TaskRegCtlTest, DeleteOfTheLastTaskRemovesTheFolder)
{
    FScheduler.AddTask(L"Tray");

    const ControlRun run = RunControl(L"delete Tray");

    EXPECT_EQ(0u, run.ExitCode);
    EXPECT_EQ("\r\nTask: Tray was deleted.\r\nFolder: Tavrinex_TASK was deleted.\r\n", run.Output);
    EXPECT_FALSE(FScheduler.HasTask(L"Tray"));
    EXPECT_FALSE(FScheduler.FolderExists());
}

TEST_F(TaskRegCtlTest, DeleteWithoutFolderLeavesNone)
{
    const ControlRun run = RunControl(L"delete Ghost");

    EXPECT_EQ(0u, run.ExitCode);
    EXPECT_EQ("\r\nTask: Ghost was deleted.\r\nFolder: Tavrinex_TASK was deleted.\r\n", run.Output);
    EXPECT_FALSE(FScheduler.FolderExists()) << "the folder made for the call is deleted again";
}

TEST_F(TaskRegCtlTest, QuotedProgramPathWritesNothing)
{
    // \" on the command line is a literal quote inside the argument.
    const ControlRun run = RunControl(L"register Backup C:\\Apps\\\"x.exe");

    EXPECT_EQ(34u, run.ExitCode);
    EXPECT_EQ("\r\nInvalid program path: holds a double quote\r\n", run.Output);
    EXPECT_FALSE(FScheduler.FolderExists());
}

TEST_F(TaskRegCtlTest, WrongCommandLineIsAUsageError)
{
    EXPECT_EQ(40u, RunControl(L"register Backup").ExitCode);
    EXPECT_EQ(40u, RunControl(L"delete Backup --network").ExitCode);
    EXPECT_EQ(40u, RunControl(L"list").ExitCode);
    EXPECT_FALSE(FScheduler.FolderExists());
}

} // namespace
