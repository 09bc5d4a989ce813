#include "LogonTask.h"

#include <objbase.h>
#include <taskschd.h>

#include <cstdio>

#include "ComPtr.h"
#include "OleString.h"
#include "OleVariant.h"
#include "PlatformApi.h"
#include "TaskRegistration.h"

namespace {

// The platform as taskreg uses it, with its text collected instead of
// written to standard output.
class CollectingApi : public PlatformApi {
public:
    explicit CollectingApi(std::string& Text)
        : FText(Text)
    {
    }
    void Write(const char* Text) override { FText += Text; }

private:
    std::string& FText;
};

std::string HexText(const char* What, HRESULT Result)
{
    char text[96];
    snprintf(text, sizeof(text), "%s: %x", What, static_cast<unsigned>(Result));
    return text;
}

bool IsMissing(HRESULT Result)
{
    return Result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) || Result == HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

} // namespace

// One piece of work, shared by the caller and the thread, which may outlive
// the caller's wait: whichever lets go last frees it.
struct LogonTask::Job {
    Operation What;
    std::wstring ProgramPath;
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
    HRESULT hr = CoCreateInstance(
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
    CollectingApi api(Text);
    bool securityInitialized = false;
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
    job->Release();
    return 0;
}

LogonTask::LogonTask(DWORD TimeLimit)
    : FTimeLimit(TimeLimit)
{
}

int LogonTask::Run(Operation What, const std::wstring& ProgramPath)
{
    Job* job = new Job;
    job->What = What;
    job->ProgramPath = ProgramPath;
    HANDLE thread = CreateThread(nullptr, 0, Work, job, 0, nullptr);
    if (!thread) {
        FText = "Cannot start a thread: error " + std::to_string(GetLastError());
        delete job;
        return NoThread;
    }
    const DWORD waited = WaitForSingleObject(thread, FTimeLimit);
    CloseHandle(thread);
    if (waited != WAIT_OBJECT_0) {
        // The thread still runs this library's code: it must stay loaded.
        HMODULE self;
        FText = "The Task Scheduler did not answer within " + std::to_string(FTimeLimit / 1000) + " s.";
        if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                reinterpret_cast<LPCWSTR>(&LogonTask::Work), &self))
            FText += " The action library cannot be kept loaded: error " + std::to_string(GetLastError()) + ".";
        job->Release();
        return TimedOut;
    }
    FText = job->Text;
    const int result = job->Result;
    job->Release();
    return result;
}
