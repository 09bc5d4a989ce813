#include "PlatformApi.h"

#include <cstdio>

BOOL PlatformApi::GetVersionExW(LPOSVERSIONINFOW VersionInformation)
{
    return ::GetVersionExW(VersionInformation);
}

BOOL PlatformApi::LookupAccountSidW(LPCWSTR SystemName, PSID Sid, LPWSTR Name, LPDWORD NameSize, LPWSTR DomainName,
                                    LPDWORD DomainNameSize, PSID_NAME_USE Use)
{
    return ::LookupAccountSidW(SystemName, Sid, Name, NameSize, DomainName, DomainNameSize, Use);
}

HRESULT PlatformApi::CoInitializeSecurity(PSECURITY_DESCRIPTOR SecurityDescriptor, LONG AuthenticationServiceCount,
                                          SOLE_AUTHENTICATION_SERVICE* AuthenticationServices, void* Reserved1,
                                          DWORD AuthenticationLevel, DWORD ImpersonationLevel, void* AuthenticationList,
                                          DWORD Capabilities, void* Reserved3)
{
    return ::CoInitializeSecurity(SecurityDescriptor, AuthenticationServiceCount, AuthenticationServices, Reserved1,
                                  AuthenticationLevel, ImpersonationLevel, AuthenticationList, Capabilities, Reserved3);
}

HRESULT PlatformApi::CoCreateInstance(REFCLSID Clsid, LPUNKNOWN Outer, DWORD Context, REFIID Iid, LPVOID* Object)
{
    return ::CoCreateInstance(Clsid, Outer, Context, Iid, Object);
}

void PlatformApi::CoUninitialize()
{
    ::CoUninitialize();
}

void PlatformApi::Write(const char* Text)
{
    fputs(Text, stdout);
    fflush(stdout);
}
