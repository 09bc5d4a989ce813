#pragma once
// The platform seen by the library in the tests: a Windows version of the
// test's choice, built-in groups with local names, a COM runtime that counts
// its calls and hands out the fake scheduler.

#include <map>

#include "FakeTaskScheduler.h"
#include "PlatformApi.h"

class FakePlatformApi : public PlatformApi {
public:
    explicit FakePlatformApi(FakeScheduler& Scheduler);

    BOOL GetVersionExW(LPOSVERSIONINFOW VersionInformation) override;
    BOOL LookupAccountSidW(LPCWSTR SystemName, PSID Sid, LPWSTR Name, LPDWORD NameSize, LPWSTR DomainName,
                           LPDWORD DomainNameSize, PSID_NAME_USE Use) override;
    HRESULT CoInitializeSecurity(PSECURITY_DESCRIPTOR SecurityDescriptor, LONG AuthenticationServiceCount,
                                 SOLE_AUTHENTICATION_SERVICE* AuthenticationServices, void* Reserved1,
                                 DWORD AuthenticationLevel, DWORD ImpersonationLevel, void* AuthenticationList,
                                 DWORD Capabilities, void* Reserved3) override;
    HRESULT CoCreateInstance(REFCLSID Clsid, LPUNKNOWN Outer, DWORD Context, REFIID Iid, LPVOID* Object) override;
    void CoUninitialize() override;

    // GetVersionExW fails when VersionCallFails is set.
    DWORD MajorVersion = 10;
    bool VersionCallFails = false;
    // Local names of the built-in groups by RID (a German system).
    std::map<DWORD, std::wstring> GroupNames = {{DOMAIN_ALIAS_RID_ADMINS, L"Administratoren"},
                                                {DOMAIN_ALIAS_RID_USERS, L"Benutzer"}};

    int SecurityCalls = 0;
    int Uninitializations = 0;
    // Scheduler objects still alive at the last CoUninitialize.
    long LiveAtUninitialize = 0;

private:
    FakeScheduler& FScheduler;
};
