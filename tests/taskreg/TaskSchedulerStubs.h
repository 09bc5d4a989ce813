#pragma once
// Stand-ins for the Task Scheduler 2.0 interfaces: every method fails with
// E_NOTIMPL until a fake overrides it. Objects count themselves so that the
// tests can see that every reference has been released.

#include <windows.h>
#include <taskschd.h>

#include "LogonTrigger.h"

#define STUB(Name, ...)                                                                                                \
    HRESULT STDMETHODCALLTYPE Name(__VA_ARGS__) override                                                               \
    {                                                                                                                  \
        return E_NOTIMPL;                                                                                              \
    }

// The number of stand-in objects alive in the process.
class StubObjects {
public:
    static long Live() { return FLive; }

protected:
    StubObjects() { ++FLive; }
    ~StubObjects() { --FLive; }

private:
    static inline long FLive = 0;
};

// IUnknown with reference counting, and an IDispatch that supports nothing.
// Answers QueryInterface for IUnknown, IDispatch, Interface and whatever
// Implements adds (the base interfaces of derived ones).
template <class Interface>
class DispatchStub : public Interface, public StubObjects {
public:
    DispatchStub() = default;
    virtual ~DispatchStub() = default;
    DispatchStub(const DispatchStub&) = delete;
    DispatchStub& operator=(const DispatchStub&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Iid, void** Object) override
    {
        if (!Object)
            return E_POINTER;
        *Object = nullptr;
        if (!IsEqualIID(Iid, IID_IUnknown) && !IsEqualIID(Iid, IID_IDispatch) &&
            !IsEqualIID(Iid, __uuidof(Interface)) && !Implements(Iid))
            return E_NOINTERFACE;
        *Object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++FReferences; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --FReferences;
        if (left == 0) {
            Released();
            delete this;
        }
        return left;
    }

    STUB(GetTypeInfoCount, UINT*)
    STUB(GetTypeInfo, UINT, LCID, ITypeInfo**)
    STUB(GetIDsOfNames, REFIID, LPOLESTR*, UINT, LCID, DISPID*)
    STUB(Invoke, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)

protected:
    virtual bool Implements(REFIID) { return false; }
    // Called once, when the last reference goes.
    virtual void Released() {}

private:
    ULONG FReferences = 1;
};

class StubTaskService : public DispatchStub<ITaskService> {
public:
    STUB(GetFolder, BSTR, ITaskFolder**)
    STUB(GetRunningTasks, LONG, IRunningTaskCollection**)
    STUB(NewTask, DWORD, ITaskDefinition**)
    STUB(Connect, VARIANT, VARIANT, VARIANT, VARIANT)
    STUB(get_Connected, VARIANT_BOOL*)
    STUB(get_TargetServer, BSTR*)
    STUB(get_ConnectedUser, BSTR*)
    STUB(get_ConnectedDomain, BSTR*)
    STUB(get_HighestVersion, DWORD*)
};

class StubTaskFolder : public DispatchStub<ITaskFolder> {
public:
    STUB(get_Name, BSTR*)
    STUB(get_Path, BSTR*)
    STUB(GetFolder, BSTR, ITaskFolder**)
    STUB(GetFolders, LONG, ITaskFolderCollection**)
    STUB(CreateFolder, BSTR, VARIANT, ITaskFolder**)
    STUB(DeleteFolder, BSTR, LONG)
    STUB(GetTask, BSTR, IRegisteredTask**)
    STUB(GetTasks, LONG, IRegisteredTaskCollection**)
    STUB(DeleteTask, BSTR, LONG)
    STUB(RegisterTask, BSTR, BSTR, LONG, VARIANT, VARIANT, TASK_LOGON_TYPE, VARIANT, IRegisteredTask**)
    STUB(RegisterTaskDefinition, BSTR, ITaskDefinition*, LONG, VARIANT, VARIANT, TASK_LOGON_TYPE, VARIANT,
         IRegisteredTask**)
    STUB(GetSecurityDescriptor, LONG, BSTR*)
    STUB(SetSecurityDescriptor, BSTR, LONG)
};

class StubTaskDefinition : public DispatchStub<ITaskDefinition> {
public:
    STUB(get_RegistrationInfo, IRegistrationInfo**)
    STUB(put_RegistrationInfo, IRegistrationInfo*)
    STUB(get_Triggers, ITriggerCollection**)
    STUB(put_Triggers, ITriggerCollection*)
    STUB(get_Settings, ITaskSettings**)
    STUB(put_Settings, ITaskSettings*)
    STUB(get_Data, BSTR*)
    STUB(put_Data, BSTR)
    STUB(get_Principal, IPrincipal**)
    STUB(put_Principal, IPrincipal*)
    STUB(get_Actions, IActionCollection**)
    STUB(put_Actions, IActionCollection*)
    STUB(get_XmlText, BSTR*)
    STUB(put_XmlText, BSTR)
};

class StubRegistrationInfo : public DispatchStub<IRegistrationInfo> {
public:
    STUB(get_Description, BSTR*)
    STUB(put_Description, BSTR)
    STUB(get_Author, BSTR*)
    STUB(put_Author, BSTR)
    STUB(get_Version, BSTR*)
    STUB(put_Version, BSTR)
    STUB(get_Date, BSTR*)
    STUB(put_Date, BSTR)
    STUB(get_Documentation, BSTR*)
    STUB(put_Documentation, BSTR)
    STUB(get_XmlText, BSTR*)
    STUB(put_XmlText, BSTR)
    STUB(get_URI, BSTR*)
    STUB(put_URI, BSTR)
    STUB(get_SecurityDescriptor, VARIANT*)
    STUB(put_SecurityDescriptor, VARIANT)
    STUB(get_Source, BSTR*)
    STUB(put_Source, BSTR)
};

class StubTaskSettings : public DispatchStub<ITaskSettings> {
public:
    STUB(get_AllowDemandStart, VARIANT_BOOL*)
    STUB(put_AllowDemandStart, VARIANT_BOOL)
    STUB(get_RestartInterval, BSTR*)
    STUB(put_RestartInterval, BSTR)
    STUB(get_RestartCount, INT*)
    STUB(put_RestartCount, INT)
    STUB(get_MultipleInstances, TASK_INSTANCES_POLICY*)
    STUB(put_MultipleInstances, TASK_INSTANCES_POLICY)
    STUB(get_StopIfGoingOnBatteries, VARIANT_BOOL*)
    STUB(put_StopIfGoingOnBatteries, VARIANT_BOOL)
    STUB(get_DisallowStartIfOnBatteries, VARIANT_BOOL*)
    STUB(put_DisallowStartIfOnBatteries, VARIANT_BOOL)
    STUB(get_AllowHardTerminate, VARIANT_BOOL*)
    STUB(put_AllowHardTerminate, VARIANT_BOOL)
    STUB(get_StartWhenAvailable, VARIANT_BOOL*)
    STUB(put_StartWhenAvailable, VARIANT_BOOL)
    STUB(get_XmlText, BSTR*)
    STUB(put_XmlText, BSTR)
    STUB(get_RunOnlyIfNetworkAvailable, VARIANT_BOOL*)
    STUB(put_RunOnlyIfNetworkAvailable, VARIANT_BOOL)
    STUB(get_ExecutionTimeLimit, BSTR*)
    STUB(put_ExecutionTimeLimit, BSTR)
    STUB(get_Enabled, VARIANT_BOOL*)
    STUB(put_Enabled, VARIANT_BOOL)
    STUB(get_DeleteExpiredTaskAfter, BSTR*)
    STUB(put_DeleteExpiredTaskAfter, BSTR)
    STUB(get_Priority, INT*)
    STUB(put_Priority, INT)
    STUB(get_Compatibility, TASK_COMPATIBILITY*)
    STUB(put_Compatibility, TASK_COMPATIBILITY)
    STUB(get_Hidden, VARIANT_BOOL*)
    STUB(put_Hidden, VARIANT_BOOL)
    STUB(get_IdleSettings, IIdleSettings**)
    STUB(put_IdleSettings, IIdleSettings*)
    STUB(get_RunOnlyIfIdle, VARIANT_BOOL*)
    STUB(put_RunOnlyIfIdle, VARIANT_BOOL)
    STUB(get_WakeToRun, VARIANT_BOOL*)
    STUB(put_WakeToRun, VARIANT_BOOL)
    STUB(get_NetworkSettings, INetworkSettings**)
    STUB(put_NetworkSettings, INetworkSettings*)
};

class StubTriggerCollection : public DispatchStub<ITriggerCollection> {
public:
    STUB(get_Count, LONG*)
    STUB(get_Item, LONG, ITrigger**)
    STUB(get__NewEnum, IUnknown**)
    STUB(Create, TASK_TRIGGER_TYPE2, ITrigger**)
    STUB(Remove, VARIANT)
    STUB(Clear)
};

class StubActionCollection : public DispatchStub<IActionCollection> {
public:
    STUB(get_Count, LONG*)
    STUB(get_Item, LONG, IAction**)
    STUB(get__NewEnum, IUnknown**)
    STUB(get_XmlText, BSTR*)
    STUB(put_XmlText, BSTR)
    STUB(Create, TASK_ACTION_TYPE, IAction**)
    STUB(Remove, VARIANT)
    STUB(Clear)
    STUB(get_Context, BSTR*)
    STUB(put_Context, BSTR)
};

class StubPrincipal : public DispatchStub<IPrincipal> {
public:
    STUB(get_Id, BSTR*)
    STUB(put_Id, BSTR)
    STUB(get_DisplayName, BSTR*)
    STUB(put_DisplayName, BSTR)
    STUB(get_UserId, BSTR*)
    STUB(put_UserId, BSTR)
    STUB(get_LogonType, TASK_LOGON_TYPE*)
    STUB(put_LogonType, TASK_LOGON_TYPE)
    STUB(get_GroupId, BSTR*)
    STUB(put_GroupId, BSTR)
    STUB(get_RunLevel, TASK_RUNLEVEL_TYPE*)
    STUB(put_RunLevel, TASK_RUNLEVEL_TYPE)
};

class StubRegisteredTaskCollection : public DispatchStub<IRegisteredTaskCollection> {
public:
    STUB(get_Count, LONG*)
    STUB(get_Item, VARIANT, IRegisteredTask**)
    STUB(get__NewEnum, IUnknown**)
};

class StubRegisteredTask : public DispatchStub<IRegisteredTask> {
public:
    STUB(get_Name, BSTR*)
    STUB(get_Path, BSTR*)
    STUB(get_State, TASK_STATE*)
    STUB(get_Enabled, VARIANT_BOOL*)
    STUB(put_Enabled, VARIANT_BOOL)
    STUB(Run, VARIANT, IRunningTask**)
    STUB(RunEx, VARIANT, LONG, LONG, BSTR, IRunningTask**)
    STUB(GetInstances, LONG, IRunningTaskCollection**)
    STUB(get_LastRunTime, DATE*)
    STUB(get_LastTaskResult, LONG*)
    STUB(get_NumberOfMissedRuns, LONG*)
    STUB(get_NextRunTime, DATE*)
    STUB(get_Definition, ITaskDefinition**)
    STUB(get_Xml, BSTR*)
    STUB(GetSecurityDescriptor, LONG, BSTR*)
    STUB(SetSecurityDescriptor, BSTR, LONG)
    STUB(Stop, LONG)
    STUB(GetRunTimes, const LPSYSTEMTIME, const LPSYSTEMTIME, DWORD*, LPSYSTEMTIME*)
};

template <class Interface = ITrigger>
class StubTrigger : public DispatchStub<Interface> {
public:
    STUB(get_Type, TASK_TRIGGER_TYPE2*)
    STUB(get_Id, BSTR*)
    STUB(put_Id, BSTR)
    STUB(get_Repetition, IRepetitionPattern**)
    STUB(put_Repetition, IRepetitionPattern*)
    STUB(get_ExecutionTimeLimit, BSTR*)
    STUB(put_ExecutionTimeLimit, BSTR)
    STUB(get_StartBoundary, BSTR*)
    STUB(put_StartBoundary, BSTR)
    STUB(get_EndBoundary, BSTR*)
    STUB(put_EndBoundary, BSTR)
    STUB(get_Enabled, VARIANT_BOOL*)
    STUB(put_Enabled, VARIANT_BOOL)
};

template <class Interface = IAction>
class StubAction : public DispatchStub<Interface> {
public:
    STUB(get_Id, BSTR*)
    STUB(put_Id, BSTR)
    STUB(get_Type, TASK_ACTION_TYPE*)
};

class StubLogonTrigger : public StubTrigger<ILogonTrigger> {
public:
    STUB(get_Delay, BSTR*)
    STUB(put_Delay, BSTR)
    STUB(get_UserId, BSTR*)
    STUB(put_UserId, BSTR)
};

class StubExecAction : public StubAction<IExecAction> {
public:
    STUB(get_Path, BSTR*)
    STUB(put_Path, BSTR)
    STUB(get_Arguments, BSTR*)
    STUB(put_Arguments, BSTR)
    STUB(get_WorkingDirectory, BSTR*)
    STUB(put_WorkingDirectory, BSTR)
};

#undef STUB
