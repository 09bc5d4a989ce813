#pragma once

#include <windows.h>
#include <objbase.h>

// The platform functions the library calls besides the Task Scheduler
// interfaces themselves. The default implementation forwards to the system;
// tests derive from it to count and fail the calls and to hand out a stand-in
// for the scheduler object.
class PlatformApi {
public:
    virtual ~PlatformApi() = default;

    virtual BOOL GetVersionExW(LPOSVERSIONINFOW VersionInformation);
    virtual BOOL LookupAccountSidW(LPCWSTR SystemName, PSID Sid, LPWSTR Name, LPDWORD NameSize, LPWSTR DomainName,
                                   LPDWORD DomainNameSize, PSID_NAME_USE Use);

    virtual HRESULT CoInitializeSecurity(PSECURITY_DESCRIPTOR SecurityDescriptor, LONG AuthenticationServiceCount,
                                         SOLE_AUTHENTICATION_SERVICE* AuthenticationServices, void* Reserved1,
                                         DWORD AuthenticationLevel, DWORD ImpersonationLevel, void* AuthenticationList,
                                         DWORD Capabilities, void* Reserved3);
    virtual HRESULT CoCreateInstance(REFCLSID Clsid, LPUNKNOWN Outer, DWORD Context, REFIID Iid, LPVOID* Object);
    virtual void CoUninitialize();

    // The library's progress and failure text: standard output, flushed at
    // once, since the host may write to the same stream through a C runtime
    // of its own and the order of the lines must hold.
    virtual void Write(const char* Text);
};
