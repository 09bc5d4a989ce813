#pragma once

#include "SetupApi.h"

#include <map>
#include <string>
#include <vector>

// A device manager in memory: one class "Net", one device set of
// DeviceCount devices with an enabled state each, and per-device failures of
// the two class-installer calls. Every call is written to Calls in order, so
// tests can compare whole sequences.
class FakeSetupApi : public SetupApi {
public:
    static const GUID NetClass;
    static HDEVINFO const SetHandle;
    static const DWORD FirstDevInst = 1000;

    FakeSetupApi();

    // What the fake answers.
    BOOL ClassLookupSucceeds = TRUE;
    DWORD ClassLookupError = ERROR_INVALID_CLASS;
    DWORD ClassGuidsFound = 1;
    HDEVINFO DevicesResult = SetHandle;
    DWORD DeviceCount = 0;
    std::vector<bool> DeviceEnabled; // grown to DeviceCount on first use
    std::map<DWORD, DWORD> EnumErrors; // index -> error, ends the set early
    std::map<DWORD, DWORD> SetParamsErrors; // device index -> error
    std::map<DWORD, DWORD> InstallerErrors; // device index -> error

    // What the code under test did.
    std::vector<std::string> Calls;
    std::vector<std::string> DebugLines;
    std::vector<std::vector<unsigned char>> Requests; // bytes handed to SetClassInstallParams
    int DestroyCount = 0;

    BOOL SetupDiClassGuidsFromNameW(PCWSTR ClassName, LPGUID ClassGuidList, DWORD ClassGuidListSize,
                                    PDWORD RequiredSize) override;
    HDEVINFO SetupDiGetClassDevsW(const GUID* ClassGuid, PCWSTR Enumerator, HWND hwndParent, DWORD Flags) override;
    BOOL SetupDiEnumDeviceInfo(HDEVINFO DeviceInfoSet, DWORD MemberIndex, PSP_DEVINFO_DATA DeviceInfoData) override;
    BOOL SetupDiSetClassInstallParamsA(HDEVINFO DeviceInfoSet, PSP_DEVINFO_DATA DeviceInfoData,
                                       PSP_CLASSINSTALL_HEADER ClassInstallParams,
                                       DWORD ClassInstallParamsSize) override;
    BOOL SetupDiCallClassInstaller(DI_FUNCTION InstallFunction, HDEVINFO DeviceInfoSet,
                                   PSP_DEVINFO_DATA DeviceInfoData) override;
    BOOL SetupDiDestroyDeviceInfoList(HDEVINFO DeviceInfoSet) override;
    DWORD GetLastError() override;
    void OutputDebugStringA(LPCSTR OutputString) override;

private:
    // Index of the device a record names, or -1 when the record or set is foreign.
    int DeviceIndex(HDEVINFO DeviceInfoSet, PSP_DEVINFO_DATA DeviceInfoData) const;
    BOOL Fail(DWORD Error);

    DWORD FLastError = 0;
    std::map<DWORD, SP_PROPCHANGE_PARAMS> FAttached;
};
