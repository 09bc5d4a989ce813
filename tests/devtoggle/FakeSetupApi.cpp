#include "FakeSetupApi.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string Hex(unsigned long long Value)
{
    char text[32];
    std::snprintf(text, sizeof(text), "0x%llx", Value);
    return text;
}

std::string Narrow(PCWSTR Text)
{
    if (!Text)
        return "null";
    std::string result;
    for (; *Text; ++Text)
        result += static_cast<char>(*Text);
    return result;
}

} // namespace

// {4d36e972-e325-11ce-bfc1-08002be10318}, the class of network adapters.
const GUID FakeSetupApi::NetClass = {0x4d36e972, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
HDEVINFO const FakeSetupApi::SetHandle = reinterpret_cast<HDEVINFO>(0x5e7);

FakeSetupApi::FakeSetupApi() = default;

BOOL FakeSetupApi::Fail(DWORD Error)
{
    FLastError = Error;
    return FALSE;
}

int FakeSetupApi::DeviceIndex(HDEVINFO DeviceInfoSet, PSP_DEVINFO_DATA DeviceInfoData) const
{
    if (DeviceInfoSet != SetHandle || !DeviceInfoData || DeviceInfoData->cbSize != sizeof(SP_DEVINFO_DATA) ||
        DeviceInfoData->DevInst < FirstDevInst || DeviceInfoData->DevInst >= FirstDevInst + DeviceCount)
        return -1;
    return static_cast<int>(DeviceInfoData->DevInst - FirstDevInst);
}

BOOL FakeSetupApi::SetupDiClassGuidsFromNameW(PCWSTR ClassName, LPGUID ClassGuidList, DWORD ClassGuidListSize,
                                              PDWORD RequiredSize)
{
    Calls.push_back("ClassGuidsFromName " + Narrow(ClassName) + " capacity " + std::to_string(ClassGuidListSize));
    if (!ClassLookupSucceeds)
        return Fail(ClassLookupError);
    if (RequiredSize)
        *RequiredSize = ClassGuidsFound;
    if (ClassGuidsFound > 0 && ClassGuidListSize > 0 && ClassGuidList)
        ClassGuidList[0] = NetClass;
    return TRUE;
}

HDEVINFO FakeSetupApi::SetupDiGetClassDevsW(const GUID* ClassGuid, PCWSTR Enumerator, HWND hwndParent, DWORD Flags)
{
    const bool isNet = ClassGuid && std::memcmp(ClassGuid, &NetClass, sizeof(GUID)) == 0;
    Calls.push_back(std::string("GetClassDevs ") + (isNet ? "Net" : "other") + " enumerator " + Narrow(Enumerator) +
                    " window " + Hex(reinterpret_cast<ULONG_PTR>(hwndParent)) + " flags " + Hex(Flags));
    if (DevicesResult == INVALID_HANDLE_VALUE)
        Fail(ERROR_INVALID_DATA);
    return DevicesResult;
}

BOOL FakeSetupApi::SetupDiEnumDeviceInfo(HDEVINFO DeviceInfoSet, DWORD MemberIndex, PSP_DEVINFO_DATA DeviceInfoData)
{
    Calls.push_back("Enum " + std::to_string(MemberIndex) + " size " +
                    std::to_string(DeviceInfoData ? DeviceInfoData->cbSize : 0));
    if (DeviceInfoSet != SetHandle)
        return Fail(ERROR_INVALID_HANDLE);
    if (!DeviceInfoData || DeviceInfoData->cbSize != sizeof(SP_DEVINFO_DATA))
        return Fail(ERROR_INVALID_USER_BUFFER);
    const auto error = EnumErrors.find(MemberIndex);
    if (error != EnumErrors.end())
        return Fail(error->second);
    if (MemberIndex >= DeviceCount)
        return Fail(ERROR_NO_MORE_ITEMS);
    DeviceInfoData->ClassGuid = NetClass;
    DeviceInfoData->DevInst = FirstDevInst + MemberIndex;
    DeviceInfoData->Reserved = 0;
    return TRUE;
}

BOOL FakeSetupApi::SetupDiSetClassInstallParamsA(HDEVINFO DeviceInfoSet, PSP_DEVINFO_DATA DeviceInfoData,
                                                 PSP_CLASSINSTALL_HEADER ClassInstallParams,
                                                 DWORD ClassInstallParamsSize)
{
    const int index = DeviceIndex(DeviceInfoSet, DeviceInfoData);
    Calls.push_back("SetParams device " + std::to_string(index) + " size " + std::to_string(ClassInstallParamsSize));
    if (ClassInstallParams) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(ClassInstallParams);
        Requests.emplace_back(bytes, bytes + ClassInstallParamsSize);
    }
    if (index < 0)
        return Fail(ERROR_INVALID_PARAMETER);
    const auto error = SetParamsErrors.find(index);
    if (error != SetParamsErrors.end())
        return Fail(error->second);
    if (!ClassInstallParams || ClassInstallParamsSize != sizeof(SP_PROPCHANGE_PARAMS) ||
        ClassInstallParams->cbSize != sizeof(SP_CLASSINSTALL_HEADER))
        return Fail(ERROR_INVALID_USER_BUFFER);
    FAttached[index] = *reinterpret_cast<const SP_PROPCHANGE_PARAMS*>(ClassInstallParams);
    return TRUE;
}

BOOL FakeSetupApi::SetupDiCallClassInstaller(DI_FUNCTION InstallFunction, HDEVINFO DeviceInfoSet,
                                             PSP_DEVINFO_DATA DeviceInfoData)
{
    const int index = DeviceIndex(DeviceInfoSet, DeviceInfoData);
    Calls.push_back("CallInstaller " + Hex(InstallFunction) + " device " + std::to_string(index));
    if (index < 0)
        return Fail(ERROR_INVALID_PARAMETER);
    const auto error = InstallerErrors.find(index);
    if (error != InstallerErrors.end())
        return Fail(error->second);
    DeviceEnabled.resize(DeviceCount, false);
    const auto attached = FAttached.find(index);
    if (InstallFunction == DIF_PROPERTYCHANGE && attached != FAttached.end() &&
        attached->second.ClassInstallHeader.InstallFunction == DIF_PROPERTYCHANGE) {
        if (attached->second.StateChange == DICS_ENABLE)
            DeviceEnabled[index] = true;
        else if (attached->second.StateChange == DICS_DISABLE)
            DeviceEnabled[index] = false;
    }
    return TRUE;
}

BOOL FakeSetupApi::SetupDiDestroyDeviceInfoList(HDEVINFO DeviceInfoSet)
{
    Calls.push_back("Destroy " + Hex(reinterpret_cast<ULONG_PTR>(DeviceInfoSet)));
    ++DestroyCount;
    if (DeviceInfoSet != SetHandle)
        return Fail(ERROR_INVALID_HANDLE);
    return TRUE;
}

DWORD FakeSetupApi::GetLastError()
{
    Calls.push_back("GetLastError");
    return FLastError;
}

void FakeSetupApi::OutputDebugStringA(LPCSTR OutputString)
{
    Calls.push_back("Debug");
    DebugLines.push_back(OutputString ? OutputString : "(null)");
}
