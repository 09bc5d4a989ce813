#include "LogonTask.h"

#include <objbase.h>
#include <taskschd.h>

#include <cstdio>
#include <memory>

#include "ComPtr.h"
#include "OleString.h"
#include "OleVariant.h"
#include "PlatformApi.h"
#include "TaskRegistration.h"

namespace {

// The semaphore through which registrations and deletions take turns.
const wchar_t TurnName[] = L"Local\\PorticaDockLogonTask";

// The platform as taskreg uses it, with its text collected instead of
// written to standard output.
class CollectingApi : public PlatformApi {
public:
    CollectingApi(PlatformApi& Api, std::string& Text)
        : FApi(Api)
        , FText(Text)
    {
    }
    BOOL GetVersionExW(LPOSVERSIONINFOW VersionInformation) override
    {
        return FApi.GetVersionExW(VersionInformation);
    }
    BOOL LookupAccountSidW(LPCWSTR SystemName, PSID Sid, LPWSTR Name, LPDWORD NameSize, LPWSTR DomainName,
        LPDWORD DomainNameSize, PSID_NAME_USE Use) override
    {
        return FApi.LookupAccountSidW(SystemName, Sid, Name, NameSize, DomainName, DomainNameSize, Use);
    }
    HRESULT CoInitializeSecurity(PSECURITY_DESCRIPTOR SecurityDescriptor, LONG AuthenticationServiceCount,
        SOLE_AUTHENTICATION_SERVICE* AuthenticationServices, void* Reserved1, DWORD AuthenticationLevel,
        DWORD ImpersonationLevel, void* AuthenticationList, DWORD Capabilities, void* Reserved3) override
    {
        return FApi.CoInitializeSecurity(SecurityDescriptor, AuthenticationServiceCount, AuthenticationServices,
            Reserved1, AuthenticationLevel, ImpersonationLevel, AuthenticationList, Capabilities, Reserved3);
    }
    HRESULT CoCreateInstance(REFCLSID Clsid, LPUNKNOWN Outer, DWORD Context, REFIID Iid, LPVOID* Object) override
    {
        return FApi.CoCreateInstance(Clsid, Outer, Context, Iid, Object);
    }
    void CoUninitialize() override { FApi.CoUninitialize(); }
    void Write(const char* Text) override { FText += Text; }

private:
    PlatformApi& FApi;
    std::string& FText;
};

// A kernel handle closed when it goes out of scope.
class KernelHandle {
public:
    explicit KernelHandle(HANDLE Handle = nullptr)
        : FHandle(Handle)
    {
    }
    ~KernelHandle()
    {
        if (FHandle)
            CloseHandle(FHandle);
    }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;

    HANDLE Get() const { return FHandle; }
    void Reset(HANDLE Handle)
    {
        if (FHandle)
            CloseHandle(FHandle);
        FHandle = Handle;
    }

private:
    HANDLE FHandle;
};

std::string HexText(const char* What, HRESULT Result)
{
    char text[96];
    snprintf(text, sizeof(text), "%s: %x", What, static_cast<unsigned>(Result));
    return text;
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

bool IsMissing(HRESULT Result)
{
    return Result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || Result == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

} // namespace


// One piece of work, shared by the caller and the thread, which may outlive
// the caller's wait: whichever lets go last frees it. A registration or
// deletion holds the turn until its thread ends.
struct LogonTask::Job {
    Job(PlatformApi& Platform, Operation Which, const std::wstring& Path)
        : Api(Platform)
        , What(Which)
        , ProgramPath(Path)
    {
    }

    PlatformApi& Api;
    Operation What;
    std::wstring ProgramPath;
    KernelHandle Turn;
    int Result = 0;
    std::string Text;
    LONG References = 2;

    void Release()
    {
        if (InterlockedDecrement(&References) == 0)
            delete this;
    }

    int Carry();
    int FindTask();
};

int LogonTask::Job::FindTask()
{
    ComPtr<ITaskService> service;
    HRESULT hr = Api.CoCreateInstance(
        CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskService), service.OutVoid());
    const OleVariant none;
    if (SUCCEEDED(hr))
        hr = service->Connect(none.Get(), none.Get(), none.Get(), none.Get());
    if (FAILED(hr)) {
        Text = HexText("Cannot reach the Task Scheduler", hr);
        return FindFailed;
    }
    const std::wstring folderPath = std::wstring(L"\\") + TaskRegistration::FolderName;
    const OleString folderName(folderPath.c_str());
    const OleString taskName(Name);
    ComPtr<ITaskFolder> folder;
    ComPtr<IRegisteredTask> task;
    hr = folderName.Valid() ? service->GetFolder(folderName.Get(), folder.Out()) : E_OUTOFMEMORY;
    if (SUCCEEDED(hr))
        hr = taskName.Valid() ? folder->GetTask(taskName.Get(), task.Out()) : E_OUTOFMEMORY;
    if (IsMissing(hr)) {
        Text = "The task does not exist.";
        return NotFound;
    }
    if (FAILED(hr)) {
        Text = HexText("Cannot look for the task", hr);
        return FindFailed;
    }
    Text = "The task exists.";
    return TaskRegistration::Success;
}

// taskreg's contract: COM is initialized by the caller, and a positive
// result means the library has uninitialized it already.
int LogonTask::Job::Carry()
{
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr)) {
        Text = HexText("CoInitializeEx failed", hr);
        return ComFailed;
    }
    if (What == Find) {
        const int code = FindTask();
        CoUninitialize();
        return code;
    }
    CollectingApi api(Api, Text);
    // The installer's process owns its COM security; taskreg must not set it.
    bool securityInitialized = true;
    TaskRegistration registration(api, securityInitialized);
    const int code = What == Register ? registration.RegisterScheduledTask(Name, ProgramPath.c_str(), L"", 0)
                                      : registration.DeleteScheduleTask(Name);
    if (code <= 0)
        CoUninitialize();
    return code;
}

// Nothing may throw out of the thread.
DWORD WINAPI LogonTask::Work(void* Parameter)
{
    Job* job = static_cast<Job*>(Parameter);
    try {
        job->Result = job->Carry();
    } catch (...) {
        job->Result = OutOfMemory;
    }
    // Nothing can be done when giving the turn back fails.
    if (job->Turn.Get())
        ReleaseSemaphore(job->Turn.Get(), 1, nullptr);
    job->Release();
    return 0;
}

LogonTask::LogonTask(PlatformApi& Api, DWORD TimeLimit)
    : FApi(Api)
    , FTimeLimit(TimeLimit)
{
}

int LogonTask::Carry(Operation What, const std::wstring& ProgramPath, std::string& Text)
{
    const std::string limit
        = FTimeLimit % 1000 ? std::to_string(FTimeLimit) + " ms" : std::to_string(FTimeLimit / 1000) + " s";
    std::unique_ptr<Job> job(new Job(FApi, What, ProgramPath));
    if (What != Find) {
        job->Turn.Reset(CreateSemaphoreW(nullptr, 1, 1, TurnName));
        if (!job->Turn.Get()) {
            Text = "Cannot create the semaphore of the task's changes: error " + std::to_string(GetLastError());
            return NoTurn;
        }
        const DWORD waited = WaitForSingleObject(job->Turn.Get(), FTimeLimit);
        if (waited != WAIT_OBJECT_0) {
            Text = waited == WAIT_TIMEOUT
                ? "An earlier change of the task did not end within " + limit + ": the task is left as it is."
                : "Cannot wait for an earlier change of the task: error " + std::to_string(GetLastError());
            return Busy;
        }
    }
    KernelHandle thread(CreateThread(nullptr, 0, Work, job.get(), 0, nullptr));
    if (!thread.Get()) {
        Text = "Cannot start a thread: error " + std::to_string(GetLastError());
        if (job->Turn.Get())
            ReleaseSemaphore(job->Turn.Get(), 1, nullptr);
        return NoThread;
    }
    Job* running = job.release();
    const DWORD waited = WaitForSingleObject(thread.Get(), FTimeLimit);
    if (waited != WAIT_OBJECT_0) {
        // The thread may still run this library's code: it must stay loaded.
        HMODULE self;
        Text = waited == WAIT_TIMEOUT ? "The Task Scheduler did not answer within " + limit + "."
                                      : "Cannot wait for the Task Scheduler: error " + std::to_string(GetLastError()) + ".";
        if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                reinterpret_cast<LPCWSTR>(&LogonTask::Work), &self))
            Text += " The action library cannot be kept loaded: error " + std::to_string(GetLastError()) + ".";
        running->Release();
        return TimedOut;
    }
    Text = running->Text;
    const int result = running->Result;
    running->Release();
    return result;
}

int LogonTask::Run(Operation What, const std::wstring& ProgramPath)
{
    static const wchar_t* const names[] = { L"register", L"delete", L"find" };
    std::string text;
    const int result = Carry(What, ProgramPath, text);
    std::wstring line = names[What];
    if (What == Register)
        line += L" " + ProgramPath;
    FLines.push_back(line + L": " + OneLine(text) + L" (result " + std::to_wstring(result) + L")");
    return result;
}

LogonTask::State LogonTask::Look()
{
    const int result = Run(Find);
    return result == TaskRegistration::Success ? Present : result == NotFound ? Absent : Unknown;
}

int LogonTask::Restore(State Before, const std::wstring& ProgramPath)
{
    if (Before == Unknown) {
        FLines.push_back(L"restore: what was there before is not known: the task is left as it is (result "
            + std::to_wstring(LeftAlone) + L")");
        return LeftAlone;
    }
    if (Before == Present) {
        const int result = Run(Register, ProgramPath);
        // A failed registration leaves at least the maker's folder: it goes,
        // unless an earlier change still runs.
        if (result == TaskRegistration::Success || result == Busy)
            return result;
    }
    return Run(Delete);
}

const wchar_t* LogonTask::StateName(State Value)
{
    return Value == Present ? L"present" : Value == Absent ? L"absent" : L"unknown";
}

LogonTask::State LogonTask::StateFromName(const std::wstring& Text)
{
    return Text == L"present" ? Present : Text == L"absent" ? Absent : Unknown;
}
