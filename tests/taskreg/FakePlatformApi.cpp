#include "FakePlatformApi.h"

#include <sddl.h>
#include <taskschd.h>

#include <cwchar>
#include <string>

#include "TaskSchedulerStubs.h"

namespace {

std::string SidText(PSID Sid)
{
    LPWSTR text = nullptr;
    if (!ConvertSidToStringSidW(Sid, &text))
        return "(bad SID)";
    const std::string result = Narrow(text);
    LocalFree(text);
    return result;
}

std::string Pointer(const void* Value)
{
    return Value ? "pointer" : "null";
}

} // namespace

FakePlatformApi::FakePlatformApi(FakeScheduler& Scheduler) : FScheduler(Scheduler) {}

BOOL FakePlatformApi::GetVersionExW(LPOSVERSIONINFOW VersionInformation)
{
    if (VersionCallFails || VersionInformation->dwOSVersionInfoSize != sizeof(OSVERSIONINFOW))
        return FALSE;
    VersionInformation->dwMajorVersion = MajorVersion;
    VersionInformation->dwMinorVersion = 0;
    return TRUE;
}

BOOL FakePlatformApi::LookupAccountSidW(LPCWSTR SystemName, PSID Sid, LPWSTR Name, LPDWORD NameSize, LPWSTR DomainName,
                                        LPDWORD DomainNameSize, PSID_NAME_USE Use)
{
    const HRESULT hr = FScheduler.Call("LookupAccountSidW", Narrow(SystemName) + "," + SidText(Sid));
    if (FAILED(hr)) {
        SetLastError(ERROR_NONE_MAPPED);
        return FALSE;
    }
    const DWORD rid = *GetSidSubAuthority(Sid, *GetSidSubAuthorityCount(Sid) - 1);
    const std::wstring name = GroupNames[rid];
    const std::wstring domain = L"VORDEFINIERT";
    if (*NameSize <= name.size() || *DomainNameSize <= domain.size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    wcscpy(Name, name.c_str());
    wcscpy(DomainName, domain.c_str());
    *NameSize = static_cast<DWORD>(name.size());
    *DomainNameSize = static_cast<DWORD>(domain.size());
    *Use = SidTypeAlias;
    return TRUE;
}

HRESULT FakePlatformApi::CoInitializeSecurity(PSECURITY_DESCRIPTOR SecurityDescriptor, LONG AuthenticationServiceCount,
                                              SOLE_AUTHENTICATION_SERVICE* AuthenticationServices, void* Reserved1,
                                              DWORD AuthenticationLevel, DWORD ImpersonationLevel,
                                              void* AuthenticationList, DWORD Capabilities, void* Reserved3)
{
    ++SecurityCalls;
    return FScheduler.Call("CoInitializeSecurity",
                           Pointer(SecurityDescriptor) + "," + std::to_string(AuthenticationServiceCount) + "," +
                               Pointer(AuthenticationServices) + "," + Pointer(Reserved1) + "," +
                               std::to_string(AuthenticationLevel) + "," + std::to_string(ImpersonationLevel) + "," +
                               Pointer(AuthenticationList) + "," + std::to_string(Capabilities) + "," +
                               Pointer(Reserved3));
}

HRESULT FakePlatformApi::CoCreateInstance(REFCLSID Clsid, LPUNKNOWN Outer, DWORD Context, REFIID Iid, LPVOID* Object)
{
    *Object = nullptr;
    const std::string clsid = IsEqualCLSID(Clsid, CLSID_TaskScheduler) ? "TaskScheduler" : "other";
    const std::string iid = IsEqualIID(Iid, __uuidof(ITaskService)) ? "ITaskService" : "other";
    const HRESULT hr =
        FScheduler.Call("CoCreateInstance", clsid + "," + Pointer(Outer) + "," + std::to_string(Context) + "," + iid);
    if (FAILED(hr))
        return hr;
    if (clsid != "TaskScheduler" || iid != "ITaskService")
        return REGDB_E_CLASSNOTREG;
    *Object = FScheduler.NewService();
    return S_OK;
}

void FakePlatformApi::CoUninitialize()
{
    ++Uninitializations;
    LiveAtUninitialize = StubObjects::Live();
    FScheduler.Log.push_back("CoUninitialize");
}
