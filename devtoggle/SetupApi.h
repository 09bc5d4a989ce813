#pragma once

#include <windows.h>
#include <setupapi.h>

// The SetupAPI class-installer functions and the two kernel functions that
// the device enable tool uses. The default implementation forwards to the
// system; tests derive from it to stand in for the device manager.
class SetupApi {
public:
    virtual ~SetupApi() = default;

    virtual BOOL SetupDiClassGuidsFromNameW(PCWSTR ClassName, LPGUID ClassGuidList, DWORD ClassGuidListSize,
                                            PDWORD RequiredSize);
    virtual HDEVINFO SetupDiGetClassDevsW(const GUID* ClassGuid, PCWSTR Enumerator, HWND hwndParent, DWORD Flags);
    virtual BOOL SetupDiEnumDeviceInfo(HDEVINFO DeviceInfoSet, DWORD MemberIndex, PSP_DEVINFO_DATA DeviceInfoData);
    virtual BOOL SetupDiSetClassInstallParamsA(HDEVINFO DeviceInfoSet, PSP_DEVINFO_DATA DeviceInfoData,
                                               PSP_CLASSINSTALL_HEADER ClassInstallParams,
                                               DWORD ClassInstallParamsSize);
    virtual BOOL SetupDiCallClassInstaller(DI_FUNCTION InstallFunction, HDEVINFO DeviceInfoSet,
                                           PSP_DEVINFO_DATA DeviceInfoData);
    virtual BOOL SetupDiDestroyDeviceInfoList(HDEVINFO DeviceInfoSet);

    virtual DWORD GetLastError();
    virtual void OutputDebugStringA(LPCSTR OutputString);
};
