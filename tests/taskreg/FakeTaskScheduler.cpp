#include "FakeTaskScheduler.h"

#include <algorithm>

#include "TaskSchedulerStubs.h"

namespace {

const wchar_t TaskFolderName[] = L"Tavrinex_TASK";
const HRESULT NotFound = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
const HRESULT NotEmpty = HRESULT_FROM_WIN32(ERROR_DIR_NOT_EMPTY);

std::string Text(long Value)
{
    return std::to_string(Value);
}

class FakeRegisteredTask : public StubRegisteredTask {};

class FakeTaskCollection : public StubRegisteredTaskCollection {
public:
    FakeTaskCollection(FakeScheduler& Scheduler, LONG Count) : FScheduler(Scheduler), FCount(Count) {}

    HRESULT STDMETHODCALLTYPE get_Count(LONG* Count) override
    {
        const HRESULT hr = FScheduler.Call("IRegisteredTaskCollection::get_Count");
        if (SUCCEEDED(hr))
            *Count = FCount;
        return hr;
    }

private:
    FakeScheduler& FScheduler;
    LONG FCount;
};

class FakeRegistrationInfo : public StubRegistrationInfo {
public:
    explicit FakeRegistrationInfo(FakeScheduler& Scheduler) : FScheduler(Scheduler) {}

    HRESULT STDMETHODCALLTYPE put_Author(BSTR Author) override
    {
        return FScheduler.Call("IRegistrationInfo::put_Author", Narrow(Author));
    }

private:
    FakeScheduler& FScheduler;
};

class FakeTaskSettings : public StubTaskSettings {
public:
    explicit FakeTaskSettings(FakeScheduler& Scheduler) : FScheduler(Scheduler) {}

    HRESULT STDMETHODCALLTYPE put_ExecutionTimeLimit(BSTR Limit) override
    {
        return FScheduler.Call("ITaskSettings::put_ExecutionTimeLimit", Narrow(Limit));
    }
    HRESULT STDMETHODCALLTYPE put_MultipleInstances(TASK_INSTANCES_POLICY Policy) override
    {
        return FScheduler.Call("ITaskSettings::put_MultipleInstances", Text(Policy));
    }
    HRESULT STDMETHODCALLTYPE put_StartWhenAvailable(VARIANT_BOOL Start) override
    {
        return FScheduler.Call("ITaskSettings::put_StartWhenAvailable", Text(Start));
    }
    HRESULT STDMETHODCALLTYPE put_StopIfGoingOnBatteries(VARIANT_BOOL Stop) override
    {
        return FScheduler.Call("ITaskSettings::put_StopIfGoingOnBatteries", Text(Stop));
    }
    HRESULT STDMETHODCALLTYPE put_DisallowStartIfOnBatteries(VARIANT_BOOL Disallow) override
    {
        return FScheduler.Call("ITaskSettings::put_DisallowStartIfOnBatteries", Text(Disallow));
    }
    HRESULT STDMETHODCALLTYPE put_RunOnlyIfNetworkAvailable(VARIANT_BOOL RunOnly) override
    {
        return FScheduler.Call("ITaskSettings::put_RunOnlyIfNetworkAvailable", Text(RunOnly));
    }

private:
    FakeScheduler& FScheduler;
};

class FakeLogonTrigger : public StubLogonTrigger {
public:
    explicit FakeLogonTrigger(FakeScheduler& Scheduler) : FScheduler(Scheduler) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override
    {
        if (IsEqualIID(Iid, __uuidof(ILogonTrigger))) {
            const HRESULT hr = FScheduler.Call("ITrigger::QueryInterface", "ILogonTrigger");
            if (FAILED(hr)) {
                *Object = nullptr;
                return hr;
            }
        }
        return StubLogonTrigger::QueryInterface(Iid, Object);
    }
    HRESULT STDMETHODCALLTYPE put_Id(BSTR Id) override { return FScheduler.Call("ILogonTrigger::put_Id", Narrow(Id)); }

protected:
    bool Implements(REFIID Iid) override { return IsEqualIID(Iid, __uuidof(ITrigger)); }

private:
    FakeScheduler& FScheduler;
};

class FakeTriggerCollection : public StubTriggerCollection {
public:
    explicit FakeTriggerCollection(FakeScheduler& Scheduler) : FScheduler(Scheduler) {}

    HRESULT STDMETHODCALLTYPE Create(TASK_TRIGGER_TYPE2 Type, ITrigger** Trigger) override
    {
        const HRESULT hr = FScheduler.Call("ITriggerCollection::Create", Text(Type));
        *Trigger = SUCCEEDED(hr) ? new FakeLogonTrigger(FScheduler) : nullptr;
        return hr;
    }

private:
    FakeScheduler& FScheduler;
};

class FakeExecAction : public StubExecAction {
public:
    explicit FakeExecAction(FakeScheduler& Scheduler) : FScheduler(Scheduler) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override
    {
        if (IsEqualIID(Iid, __uuidof(IExecAction))) {
            const HRESULT hr = FScheduler.Call("IAction::QueryInterface", "IExecAction");
            if (FAILED(hr)) {
                *Object = nullptr;
                return hr;
            }
        }
        return StubExecAction::QueryInterface(Iid, Object);
    }
    HRESULT STDMETHODCALLTYPE put_Path(BSTR Path) override
    {
        return FScheduler.Call("IExecAction::put_Path", Narrow(Path));
    }
    HRESULT STDMETHODCALLTYPE put_Arguments(BSTR Arguments) override
    {
        return FScheduler.Call("IExecAction::put_Arguments", Narrow(Arguments));
    }

protected:
    bool Implements(REFIID Iid) override { return IsEqualIID(Iid, __uuidof(IAction)); }

private:
    FakeScheduler& FScheduler;
};

class FakeActionCollection : public StubActionCollection {
public:
    explicit FakeActionCollection(FakeScheduler& Scheduler) : FScheduler(Scheduler) {}

    HRESULT STDMETHODCALLTYPE Create(TASK_ACTION_TYPE Type, IAction** Action) override
    {
        const HRESULT hr = FScheduler.Call("IActionCollection::Create", Text(Type));
        *Action = SUCCEEDED(hr) ? new FakeExecAction(FScheduler) : nullptr;
        return hr;
    }

private:
    FakeScheduler& FScheduler;
};

class FakePrincipal : public StubPrincipal {
public:
    explicit FakePrincipal(FakeScheduler& Scheduler) : FScheduler(Scheduler) {}

    HRESULT STDMETHODCALLTYPE put_RunLevel(TASK_RUNLEVEL_TYPE Level) override
    {
        return FScheduler.Call("IPrincipal::put_RunLevel", Text(Level));
    }

private:
    FakeScheduler& FScheduler;
};

// Hands out a new part object for a getter that succeeds.
template <class Part, class Interface>
HRESULT GetPart(FakeScheduler& Scheduler, const std::string& Method, Interface** Object)
{
    const HRESULT hr = Scheduler.Call(Method);
    *Object = SUCCEEDED(hr) ? new Part(Scheduler) : nullptr;
    return hr;
}

class FakeTaskDefinition : public StubTaskDefinition {
public:
    explicit FakeTaskDefinition(FakeScheduler& Scheduler) : FScheduler(Scheduler) {}

    HRESULT STDMETHODCALLTYPE get_RegistrationInfo(IRegistrationInfo** Info) override
    {
        return GetPart<FakeRegistrationInfo>(FScheduler, "ITaskDefinition::get_RegistrationInfo", Info);
    }
    HRESULT STDMETHODCALLTYPE get_Settings(ITaskSettings** Settings) override
    {
        return GetPart<FakeTaskSettings>(FScheduler, "ITaskDefinition::get_Settings", Settings);
    }
    HRESULT STDMETHODCALLTYPE get_Triggers(ITriggerCollection** Triggers) override
    {
        return GetPart<FakeTriggerCollection>(FScheduler, "ITaskDefinition::get_Triggers", Triggers);
    }
    HRESULT STDMETHODCALLTYPE get_Actions(IActionCollection** Actions) override
    {
        return GetPart<FakeActionCollection>(FScheduler, "ITaskDefinition::get_Actions", Actions);
    }
    HRESULT STDMETHODCALLTYPE get_Principal(IPrincipal** Principal) override
    {
        return GetPart<FakePrincipal>(FScheduler, "ITaskDefinition::get_Principal", Principal);
    }

protected:
    void Released() override
    {
        if (FScheduler.LastDefinition == this)
            FScheduler.LastDefinition = nullptr;
    }

private:
    FakeScheduler& FScheduler;
};

// The root folder (Path "\") or the task folder (Path "\Tavrinex_TASK").
// Folder calls are logged with the folder they were made on.
class FakeFolder : public StubTaskFolder {
public:
    FakeFolder(FakeScheduler& Scheduler, const std::string& Path) : FScheduler(Scheduler), FPath(Path) {}

    HRESULT STDMETHODCALLTYPE GetFolder(BSTR Path, ITaskFolder** Folder) override
    {
        *Folder = nullptr;
        HRESULT hr = Call("GetFolder", Narrow(Path));
        if (SUCCEEDED(hr) && !IsTaskFolder(Path))
            hr = NotFound;
        if (SUCCEEDED(hr))
            *Folder = new FakeFolder(FScheduler, "\\Tavrinex_TASK");
        return hr;
    }
    HRESULT STDMETHODCALLTYPE CreateFolder(BSTR Path, VARIANT Sddl, ITaskFolder** Folder) override
    {
        *Folder = nullptr;
        HRESULT hr = Call("CreateFolder", Narrow(Path) + "," + DescribeVariant(Sddl));
        if (SUCCEEDED(hr) && (FPath != "\\" || !Path || wcscmp(Path, TaskFolderName) != 0))
            hr = E_INVALIDARG;
        if (SUCCEEDED(hr) && FScheduler.FolderExists)
            hr = HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
        if (SUCCEEDED(hr)) {
            FScheduler.FolderExists = true;
            *Folder = new FakeFolder(FScheduler, "\\Tavrinex_TASK");
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE DeleteFolder(BSTR Path, LONG Flags) override
    {
        HRESULT hr = Call("DeleteFolder", Narrow(Path) + "," + Text(Flags));
        if (SUCCEEDED(hr) && !IsTaskFolder(Path))
            hr = NotFound;
        if (SUCCEEDED(hr) && !FScheduler.Tasks.empty())
            hr = NotEmpty;
        if (SUCCEEDED(hr))
            FScheduler.FolderExists = false;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE DeleteTask(BSTR Name, LONG Flags) override
    {
        HRESULT hr = Call("DeleteTask", Narrow(Name) + "," + Text(Flags));
        auto task = Find(Name);
        if (SUCCEEDED(hr) && task == FScheduler.Tasks.end())
            hr = NotFound;
        if (SUCCEEDED(hr))
            FScheduler.Tasks.erase(task);
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetTask(BSTR Name, IRegisteredTask** Task) override
    {
        HRESULT hr = Call("GetTask", Narrow(Name));
        if (SUCCEEDED(hr) && Find(Name) == FScheduler.Tasks.end())
            hr = NotFound;
        *Task = SUCCEEDED(hr) ? new FakeRegisteredTask : nullptr;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetTasks(LONG Flags, IRegisteredTaskCollection** Tasks) override
    {
        const HRESULT hr = Call("GetTasks", Text(Flags));
        *Tasks =
            SUCCEEDED(hr) ? new FakeTaskCollection(FScheduler, static_cast<LONG>(FScheduler.Tasks.size())) : nullptr;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE RegisterTaskDefinition(BSTR Name, ITaskDefinition* Definition, LONG Flags, VARIANT User,
                                                     VARIANT Password, TASK_LOGON_TYPE LogonType, VARIANT Sddl,
                                                     IRegisteredTask** Task) override
    {
        *Task = nullptr;
        const std::string definition = Definition && Definition == FScheduler.LastDefinition ? "definition" : "other";
        const HRESULT hr = Call("RegisterTaskDefinition", Narrow(Name) + "," + definition + "," + Text(Flags) + "," +
                                                              DescribeVariant(User) + "," + DescribeVariant(Password) +
                                                              "," + Text(LogonType) + "," + DescribeVariant(Sddl));
        if (FAILED(hr))
            return hr;
        if (Find(Name) == FScheduler.Tasks.end())
            FScheduler.Tasks.push_back(Name);
        *Task = new FakeRegisteredTask;
        return hr;
    }

private:
    HRESULT Call(const std::string& Method, const std::string& Arguments)
    {
        return FScheduler.Call("ITaskFolder::" + Method, Arguments, FPath);
    }
    bool IsTaskFolder(BSTR Path) const
    {
        return FPath == "\\" && Path && wcscmp(Path, TaskFolderName) == 0 && FScheduler.FolderExists;
    }
    std::vector<std::wstring>::iterator Find(BSTR Name)
    {
        return std::find(FScheduler.Tasks.begin(), FScheduler.Tasks.end(), std::wstring(Name ? Name : L""));
    }

    FakeScheduler& FScheduler;
    std::string FPath;
};

class FakeTaskService : public StubTaskService {
public:
    explicit FakeTaskService(FakeScheduler& Scheduler) : FScheduler(Scheduler) {}

    HRESULT STDMETHODCALLTYPE Connect(VARIANT Server, VARIANT User, VARIANT Domain, VARIANT Password) override
    {
        return FScheduler.Call("ITaskService::Connect", DescribeVariant(Server) + "," + DescribeVariant(User) + "," +
                                                            DescribeVariant(Domain) + "," + DescribeVariant(Password));
    }
    HRESULT STDMETHODCALLTYPE GetFolder(BSTR Path, ITaskFolder** Folder) override
    {
        HRESULT hr = FScheduler.Call("ITaskService::GetFolder", Narrow(Path));
        const std::string path = Narrow(Path);
        if (SUCCEEDED(hr) && path != "\\" && (path != "\\Tavrinex_TASK" || !FScheduler.FolderExists))
            hr = NotFound;
        *Folder = SUCCEEDED(hr) ? new FakeFolder(FScheduler, path) : nullptr;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE NewTask(DWORD Flags, ITaskDefinition** Definition) override
    {
        const HRESULT hr = FScheduler.Call("ITaskService::NewTask", Text(Flags));
        *Definition = SUCCEEDED(hr) ? new FakeTaskDefinition(FScheduler) : nullptr;
        FScheduler.LastDefinition = *Definition;
        return hr;
    }

protected:
    void Released() override { FScheduler.Log.push_back("ITaskService released"); }

private:
    FakeScheduler& FScheduler;
};

} // namespace

void FakeScheduler::Fail(const std::string& Method, HRESULT Result, int Times)
{
    FFailures[Method] = {Result, Times};
}

HRESULT FakeScheduler::Call(const std::string& Method, const std::string& Arguments, const std::string& Target)
{
    Log.push_back(Method + "(" + Arguments + ")" + (Target.empty() ? "" : " on " + Target));
    auto failure = FFailures.find(Method);
    if (failure == FFailures.end() || failure->second.Times <= 0)
        return S_OK;
    --failure->second.Times;
    return failure->second.Result;
}

ITaskService* FakeScheduler::NewService()
{
    return new FakeTaskService(*this);
}

bool FakeScheduler::Logged(const std::string& Prefix) const
{
    for (const std::string& entry : Log)
        if (entry.compare(0, Prefix.size(), Prefix) == 0)
            return true;
    return false;
}

std::string Narrow(const wchar_t* Text)
{
    if (!Text)
        return "(null)";
    std::string text;
    for (; *Text; ++Text)
        text += *Text < 128 ? static_cast<char>(*Text) : '?';
    return text;
}

std::string DescribeVariant(const VARIANT& Value)
{
    if (Value.vt == VT_EMPTY)
        return "VT_EMPTY";
    if (Value.vt == VT_BSTR)
        return "VT_BSTR:" + Narrow(Value.bstrVal);
    return "vt=" + std::to_string(Value.vt);
}
