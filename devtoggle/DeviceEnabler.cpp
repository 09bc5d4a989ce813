#include "DeviceEnabler.h"

#include <cstdio>
#include <cstring>

namespace {

const wchar_t NetClassName[] = L"Net";

}

DeviceEnabler::DeviceEnabler(SetupApi& Api) : FApi(Api) {}

void DeviceEnabler::Run()
{
    GUID classGuid = {};
    DWORD guidCount = 0;
    if (!FApi.SetupDiClassGuidsFromNameW(NetClassName, &classGuid, 1, &guidCount) || guidCount == 0)
        return;

    HDEVINFO devices = FApi.SetupDiGetClassDevsW(&classGuid, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE)
        return;

    EnableDevices(devices);
    FApi.SetupDiDestroyDeviceInfoList(devices);
}

// Walks the set in its own order and stops at the first index that yields
// no device.
void DeviceEnabler::EnableDevices(HDEVINFO Devices)
{
    for (DWORD index = 0;; ++index) {
        SP_DEVINFO_DATA device = {};
        device.cbSize = sizeof(device);
        if (!FApi.SetupDiEnumDeviceInfo(Devices, index, &device))
            break;
        EnableDevice(Devices, device);
    }
}

// Sends the enable request for all hardware profiles. Devices that are
// already enabled get the same request.
void DeviceEnabler::EnableDevice(HDEVINFO Devices, SP_DEVINFO_DATA& Device)
{
    SP_PROPCHANGE_PARAMS request = {};
    request.ClassInstallHeader.cbSize = sizeof(SP_CLASSINSTALL_HEADER);
    request.ClassInstallHeader.InstallFunction = DIF_PROPERTYCHANGE;
    request.StateChange = DICS_ENABLE;
    request.Scope = DICS_FLAG_GLOBAL;
    request.HwProfile = 0;

    if (!FApi.SetupDiSetClassInstallParamsA(Devices, &Device, &request.ClassInstallHeader, sizeof(request))) {
        ReportFailure("SetupDiSetClassInstallParams() Failed... (err=0x%x,%u)\n");
        return;
    }
    if (!FApi.SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, Devices, &Device))
        ReportFailure("SetupDiCallClassInstaller() Failed... (err=0x%x,%u)\n");
}

// Formats the error of the call that just failed, in hexadecimal and in
// decimal, and hands the line to the debugger.
void DeviceEnabler::ReportFailure(const char* Format)
{
    const DWORD error = FApi.GetLastError();
    char text[260];
    std::memset(text, 0, sizeof(text));
    std::snprintf(text, sizeof(text), Format, static_cast<unsigned>(error), static_cast<unsigned>(error));
    FApi.OutputDebugStringA(text);
}
