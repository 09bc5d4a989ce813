#include "LogonTask.h"

#include <objbase.h>
#include <sddl.h>
#include <taskschd.h>

#include <cstdio>
#include <memory>

#include "ComPtr.h"
#include "Handles.h"
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
    CollectingApi(PlatformApi& Api, std::string& Text) : FApi(Api), FText(Text) {}
    BOOL GetVersionExW(LPOSVERSIONINFOW VersionInformation) override { return FApi.GetVersionExW(VersionInformation); }
    BOOL LookupAccountSidW(LPCWSTR SystemName, PSID Sid, LPWSTR Name, LPDWORD NameSize, LPWSTR DomainName,
                           LPDWORD DomainNameSize, PSID_NAME_USE Use) override
    {
        return FApi.LookupAccountSidW(SystemName, Sid, Name, NameSize, DomainName, DomainNameSize, Use);
    }
    HRESULT CoInitializeSecurity(PSECURITY_DESCRIPTOR SecurityDescriptor, LONG AuthenticationServiceCount,
                                 SOLE_AUTHENTICATION_SERVICE* AuthenticationServices, void* Reserved1,
                                 DWORD AuthenticationLevel, DWORD ImpersonationLevel, void* AuthenticationList,
                                 DWORD Capabilities, void* Reserved3) override
    {
        return FApi.CoInitializeSecurity(SecurityDescriptor, AuthenticationServiceCount, AuthenticationServices,
                                         Reserved1, AuthenticationLevel, ImpersonationLevel, AuthenticationList,
                                         Capabilities, Reserved3);
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

// The semaphore of the task's changes, which only SYSTEM and administrators
// may open, so that no other user can hold the turn. Error is the reason
// when there is none.
HANDLE OpenTurn(DWORD& Error)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;GA;;;SY)(A;;GA;;;BA)", SDDL_REVISION_1,
                                                              &descriptor, nullptr)) {
        Error = GetLastError();
        return nullptr;
    }
    const LocalMemory owned(descriptor);
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), descriptor, FALSE};
    HANDLE turn = CreateSemaphoreW(&attributes, 1, 1, TurnName);
    Error = GetLastError();
    return turn;
}

// The record of a change for its rollback partner: UTF-16 text in a file,
// written afresh by the change (Create) and then only while it is there.
bool WriteRecord(const std::wstring& Path, const std::wstring& Text, bool Create)
{
    // The installer's folder exists on Windows, but not always under Wine;
    // whether it could be made shows in the file's creation.
    const size_t slash = Path.find_last_of(L'\\');
    if (Create && slash != std::wstring::npos)
        CreateDirectoryW(Path.substr(0, slash).c_str(), nullptr);
    const HANDLE opened = CreateFileW(Path.c_str(), GENERIC_WRITE, 0, nullptr,
                                      Create ? CREATE_ALWAYS : TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        return false;
    const KernelHandle file(opened);
    const DWORD size = static_cast<DWORD>(Text.size() * sizeof(wchar_t));
    DWORD written = 0;
    return WriteFile(file.Get(), Text.data(), size, &written, nullptr) && written == size;
}

// The record's text; empty when there is none or it cannot be read.
std::wstring ReadRecord(const std::wstring& Path)
{
    const HANDLE opened = CreateFileW(Path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE)
        return std::wstring();
    const KernelHandle file(opened);
    std::wstring text(4096, L'\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), &text[0], static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr))
        read = 0;
    text.resize(read / sizeof(wchar_t));
    return text;
}

std::string LimitText(DWORD Limit)
{
    return Limit % 1000 ? std::to_string(Limit) + " ms" : std::to_string(Limit / 1000) + " s";
}

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

// "register PATH: TEXT (result N)", the line of one operation.
std::wstring Describe(LogonTask::Operation What, const std::wstring& ProgramPath, const std::string& Text, int Result)
{
    static const wchar_t* const names[] = {L"register", L"delete", L"find"};
    std::wstring line = names[What];
    if (What == LogonTask::Register)
        line += L" " + ProgramPath;
    return line + L": " + OneLine(Text) + L" (result " + std::to_wstring(Result) + L")";
}

} // namespace

// One piece of work, shared by the caller and the thread, which may outlive
// the caller's wait: whichever lets go last frees it. A registration or
// deletion holds the turn until its thread ends. With a record, the work is
// the installer's change: the look-up, the operation, and the record of
// both.
struct LogonTask::Job {
    Job(PlatformApi& Platform, Operation Which, const std::wstring& Path, const std::wstring& Place)
        : Api(Platform), What(Which), ProgramPath(Path), Record(Place)
    {
    }

    PlatformApi& Api;
    Operation What;
    std::wstring ProgramPath;
    std::wstring Record;
    SemaphoreTurn Turn;
    int Result = 0;
    std::string Text;
    LONG References = 2;

    void Release()
    {
        if (InterlockedDecrement(&References) == 0)
            delete this;
    }

    int Carry();
    int Perform(Operation Which, std::string& Said);
    int FindTask(std::string& Said);
};

int LogonTask::Job::FindTask(std::string& Said)
{
    ComPtr<ITaskService> service;
    HRESULT hr = Api.CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, __uuidof(ITaskService),
                                      service.OutVoid());
    const OleVariant none;
    if (SUCCEEDED(hr))
        hr = service->Connect(none.Get(), none.Get(), none.Get(), none.Get());
    if (FAILED(hr)) {
        Said += HexText("Cannot reach the Task Scheduler", hr);
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
        Said += "The task does not exist.";
        return NotFound;
    }
    if (FAILED(hr)) {
        Said += HexText("Cannot look for the task", hr);
        return FindFailed;
    }
    Said += "The task exists.";
    return TaskRegistration::Success;
}

// taskreg's contract: COM is initialized by the caller, and a positive
// result means the library has uninitialized it already. The task starts
// the help for every user who logs on, with that user's own rights.
int LogonTask::Job::Perform(Operation Which, std::string& Said)
{
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr)) {
        Said += HexText("CoInitializeEx failed", hr);
        return ComFailed;
    }
    if (Which == Find) {
        const int code = FindTask(Said);
        CoUninitialize();
        return code;
    }
    CollectingApi api(Api, Said);
    // The installer's process owns its COM security; taskreg must not set it.
    bool securityInitialized = true;
    TaskRegistration registration(api, securityInitialized);
    const int code = Which == Register ? registration.RegisterScheduledTask(Name, ProgramPath.c_str(), L"", 0,
                                                                            TaskRegistration::EveryUser)
                                       : registration.DeleteScheduleTask(Name);
    if (code <= 0)
        CoUninitialize();
    return code;
}

// A deletion is done when the task is gone, whatever the scheduler said.
int LogonTask::Job::Carry()
{
    State before = Unknown;
    if (!Record.empty()) {
        std::string found;
        const int look = Perform(Find, found);
        before = look == TaskRegistration::Success ? Present : look == NotFound ? Absent : Unknown;
        Text = "Before: " + found + " ";
        WriteRecord(Record, StateName(before), false);
    }
    int code = Perform(What, Text);
    if (What == Delete) {
        std::string check;
        const int after = Perform(Find, check);
        Text += " After: " + check;
        code = after == NotFound                    ? TaskRegistration::Success
               : after == TaskRegistration::Success ? StillThere
               : code != TaskRegistration::Success  ? code
                                                    : after;
    }
    // Nothing can be done when the record cannot be written: the rollback
    // then does not know the end.
    if (!Record.empty())
        WriteRecord(Record, std::wstring(StateName(before)) + L"\n" + Describe(What, ProgramPath, Text, code), false);
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
    // The turn goes back with the job, when both threads are done with it.
    job->Release();
    return 0;
}

LogonTask::LogonTask(PlatformApi& Api, DWORD TimeLimit, DWORD WaitLimit)
    : FApi(Api), FTimeLimit(TimeLimit), FWaitLimit(WaitLimit)
{
}

int LogonTask::Start(Operation What, const std::wstring& ProgramPath, const std::wstring& Record)
{
    std::unique_ptr<Job> job(new Job(FApi, What, ProgramPath, Record));
    std::string text;
    const int result = Carry(job.release(), text);
    FLines.push_back(Describe(What, ProgramPath, text, result));
    return result;
}

// Runs Work on its thread and takes over its text, unless it runs out of
// time.
int LogonTask::Carry(Job* Piece, std::string& Text)
{
    std::unique_ptr<Job> job(Piece);
    if (job->What != Find) {
        DWORD error = 0;
        job->Turn.Reset(OpenTurn(error));
        if (!job->Turn.Get()) {
            Text = "Cannot create the semaphore of the task's changes: error " + std::to_string(error);
            return NoTurn;
        }
        const DWORD waited = job->Turn.Take(FTimeLimit);
        if (waited != WAIT_OBJECT_0) {
            Text = waited == WAIT_TIMEOUT
                       ? "An earlier change of the task did not end within " + LimitText(FTimeLimit) +
                             ": the task is left as it is."
                       : "Cannot wait for an earlier change of the task: error " + std::to_string(GetLastError());
            return Busy;
        }
    }
    KernelHandle thread(CreateThread(nullptr, 0, LogonTask::Work, job.get(), 0, nullptr));
    if (!thread.Get()) {
        Text = "Cannot start a thread: error " + std::to_string(GetLastError());
        return NoThread;
    }
    Job* running = job.release();
    const DWORD waited = WaitForSingleObject(thread.Get(), FTimeLimit);
    if (waited != WAIT_OBJECT_0) {
        // The thread may still run this library's code: it must stay loaded.
        HMODULE self;
        Text = waited == WAIT_TIMEOUT
                   ? "The Task Scheduler did not answer within " + LimitText(FTimeLimit) + "."
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
    return Start(What, ProgramPath, std::wstring());
}

int LogonTask::Change(Operation What, const std::wstring& Data)
{
    const size_t bar = Data.find(L'|');
    const std::wstring record = Data.substr(0, bar);
    const std::wstring programPath = bar == std::wstring::npos ? std::wstring() : Data.substr(bar + 1);
    if (record.empty() || (What == Register && programPath.empty())) {
        FLines.push_back(L"change: no record or program path in CustomActionData \"" + Data + L"\" (result " +
                         std::to_wstring(BadData) + L")");
        return BadData;
    }
    if (!WriteRecord(record, StateName(Unknown), true))
        FLines.push_back(L"record " + record + L": cannot write it: error " + std::to_wstring(GetLastError()) +
                         L": a rollback will leave the task as it is");
    return Start(What, programPath, record);
}

// Waits for the change that wrote Record to end, logs how it ended and
// removes the record. Unknown when it did not end in time.
LogonTask::State LogonTask::Finish(const std::wstring& Record)
{
    DWORD error = 0;
    SemaphoreTurn turn;
    turn.Reset(OpenTurn(error));
    const DWORD waited = turn.Get() ? turn.Take(FWaitLimit) : WAIT_FAILED;
    if (waited != WAIT_OBJECT_0)
        error = waited == WAIT_TIMEOUT ? 0 : turn.Get() ? GetLastError() : error;
    const std::wstring text = ReadRecord(Record);
    if (!DeleteFileW(Record.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND)
        FLines.push_back(L"record " + Record + L": cannot delete it: error " + std::to_wstring(GetLastError()));
    const size_t end = text.find(L'\n');
    if (waited != WAIT_OBJECT_0) {
        const std::string why = waited == WAIT_TIMEOUT ? "did not end within " + LimitText(FWaitLimit)
                                                       : "cannot be waited for: error " + std::to_string(error);
        FLines.push_back(L"change: " + OneLine("The change of the task " + why + ".") + L" (result " +
                         std::to_wstring(Busy) + L")");
        return Unknown;
    }
    FLines.push_back(L"change: " + (end == std::wstring::npos ? std::wstring(L"its end is not recorded (result " +
                                                                             std::to_wstring(FindFailed) + L")")
                                                              : L"ended: " + text.substr(end + 1)));
    return StateFromName(text.substr(0, end));
}

int LogonTask::Restore(const std::wstring& Data)
{
    const size_t bar = Data.find(L'|');
    if (bar == std::wstring::npos) {
        FLines.push_back(
            L"restore: no record and program path in CustomActionData: the task is left as it is (result " +
            std::to_wstring(BadData) + L")");
        return BadData;
    }
    const State before = Finish(Data.substr(0, bar));
    if (before == Unknown) {
        FLines.push_back(L"restore: what was there before is not known: the task is left as it is (result " +
                         std::to_wstring(LeftAlone) + L")");
        return LeftAlone;
    }
    return Run(before == Present ? Register : Delete, Data.substr(bar + 1));
}

int LogonTask::Commit(const std::wstring& Data)
{
    Finish(Data);
    return TaskRegistration::Success;
}

const wchar_t* LogonTask::StateName(State Value)
{
    return Value == Present ? L"present" : Value == Absent ? L"absent" : L"unknown";
}

LogonTask::State LogonTask::StateFromName(const std::wstring& Text)
{
    return Text == L"present" ? Present : Text == L"absent" ? Absent : Unknown;
}
