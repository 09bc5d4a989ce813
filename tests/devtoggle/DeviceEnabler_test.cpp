#include "DeviceEnabler.h"
#include "FakeSetupApi.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

const std::string LookupCall = "ClassGuidsFromName Net capacity 1";
const std::string GetDevicesCall = "GetClassDevs Net enumerator null window 0x0 flags 0x2";
const std::string DestroyCall = "Destroy 0x5e7";

std::string SetParamsCall(int device)
{
    return "SetParams device " + std::to_string(device) + " size 20";
}

std::string InstallerCall(int device)
{
    return "CallInstaller 0x12 device " + std::to_string(device);
}

std::string EnumCall(int index)
{
    return "Enum " + std::to_string(index) + " size " + std::to_string(sizeof(SP_DEVINFO_DATA));
}

void RunEnabler(FakeSetupApi& api)
{
    DeviceEnabler enabler(api);
    enabler.Run();
}

} // namespace

TEST(DeviceEnablerTest, StopsWhenTheClassLookupFails)
{
    FakeSetupApi api;
    api.ClassLookupSucceeds = FALSE;
    api.DeviceCount = 2;
    RunEnabler(api);
    EXPECT_EQ(Calls({LookupCall}), api.Calls) << "only the lookup of \"Net\" is made";
    EXPECT_EQ(0u, api.DebugLines.size()) << "a missing class is not reported";
}

TEST(DeviceEnablerTest, StopsWhenTheLookupReturnsNoGuid)
{
    FakeSetupApi api;
    api.ClassGuidsFound = 0;
    api.DeviceCount = 2;
    RunEnabler(api);
    EXPECT_EQ(Calls({LookupCall}), api.Calls) << "no device set is asked for without a GUID";
    EXPECT_EQ(0u, api.DebugLines.size());
}

TEST(DeviceEnablerTest, StopsWithoutDestroyingWhenNoDeviceSetIsReturned)
{
    FakeSetupApi api;
    api.DevicesResult = INVALID_HANDLE_VALUE;
    api.DeviceCount = 2;
    RunEnabler(api);
    EXPECT_EQ(Calls({LookupCall, GetDevicesCall}), api.Calls) << "an invalid set is neither enumerated nor destroyed";
    EXPECT_EQ(0, api.DestroyCount);
    EXPECT_EQ(0u, api.DebugLines.size());
}

TEST(DeviceEnablerTest, ZeroDevicesEnumeratesOnceAndDestroysTheSet)
{
    FakeSetupApi api;
    RunEnabler(api);
    EXPECT_EQ(Calls({LookupCall, GetDevicesCall, EnumCall(0), DestroyCall}), api.Calls);
    EXPECT_EQ(1, api.DestroyCount) << "the set is destroyed exactly once";
    EXPECT_EQ(0u, api.DebugLines.size()) << "no output without devices";
}

TEST(DeviceEnablerTest, EveryDeviceGetsTheRequestInEnumerationOrder)
{
    FakeSetupApi api;
    api.DeviceCount = 3;
    RunEnabler(api);
    EXPECT_EQ(Calls({LookupCall, GetDevicesCall, EnumCall(0), SetParamsCall(0), InstallerCall(0), EnumCall(1),
                     SetParamsCall(1), InstallerCall(1), EnumCall(2), SetParamsCall(2), InstallerCall(2), EnumCall(3),
                     DestroyCall}),
              api.Calls);
    EXPECT_EQ(1, api.DestroyCount);
    EXPECT_EQ(0u, api.DebugLines.size()) << "success writes nothing";
}

TEST(DeviceEnablerTest, EnabledDevicesGetTheSameRequestAndStayEnabled)
{
    FakeSetupApi api;
    api.DeviceCount = 3;
    api.DeviceEnabled = {true, false, true};
    RunEnabler(api);
    ASSERT_EQ(3u, api.Requests.size()) << "one request per device, whatever its state";
    EXPECT_EQ(api.Requests[1], api.Requests[0]) << "enabled and disabled devices get the same bytes";
    EXPECT_EQ(api.Requests[1], api.Requests[2]);
    EXPECT_EQ(std::vector<bool>({true, true, true}), api.DeviceEnabled);
}

TEST(DeviceEnablerTest, RequestIsAGlobalEnableForTheCurrentProfile)
{
    EXPECT_EQ(8u, sizeof(SP_CLASSINSTALL_HEADER)) << "header size on this platform";
    EXPECT_EQ(20u, sizeof(SP_PROPCHANGE_PARAMS)) << "full request size on this platform";

    FakeSetupApi api;
    api.DeviceCount = 1;
    RunEnabler(api);
    ASSERT_EQ(1u, api.Requests.size());
    ASSERT_EQ(20u, api.Requests[0].size()) << "the request is handed over with its full size";
    SP_PROPCHANGE_PARAMS request;
    std::memcpy(&request, api.Requests[0].data(), sizeof(request));
    EXPECT_EQ(8u, request.ClassInstallHeader.cbSize) << "cbSize is the header's size";
    EXPECT_EQ(0x12u, request.ClassInstallHeader.InstallFunction) << "DIF_PROPERTYCHANGE";
    EXPECT_EQ(1u, request.StateChange) << "DICS_ENABLE";
    EXPECT_EQ(1u, request.Scope) << "DICS_FLAG_GLOBAL";
    EXPECT_EQ(0u, request.HwProfile) << "current hardware profile";
}

TEST(DeviceEnablerTest, AttachFailureIsReportedAndTheNextDeviceProcessed)
{
    FakeSetupApi api;
    api.DeviceCount = 3;
    api.SetParamsErrors[1] = ERROR_ACCESS_DENIED;
    RunEnabler(api);
    EXPECT_EQ(Calls({LookupCall, GetDevicesCall, EnumCall(0), SetParamsCall(0), InstallerCall(0), EnumCall(1),
                     SetParamsCall(1), "GetLastError", "Debug", EnumCall(2), SetParamsCall(2), InstallerCall(2),
                     EnumCall(3), DestroyCall}),
              api.Calls)
        << "no installer call for the refused device";
    ASSERT_EQ(1u, api.DebugLines.size());
    EXPECT_EQ("SetupDiSetClassInstallParams() Failed... (err=0x5,5)\n", api.DebugLines[0]);
    EXPECT_EQ(std::vector<bool>({true, false, true}), api.DeviceEnabled);
}

TEST(DeviceEnablerTest, InstallerFailureIsReportedAndTheNextDeviceProcessed)
{
    FakeSetupApi api;
    api.DeviceCount = 3;
    api.InstallerErrors[0] = ERROR_ACCESS_DENIED;
    RunEnabler(api);
    EXPECT_EQ(Calls({LookupCall, GetDevicesCall, EnumCall(0), SetParamsCall(0), InstallerCall(0), "GetLastError",
                     "Debug", EnumCall(1), SetParamsCall(1), InstallerCall(1), EnumCall(2), SetParamsCall(2),
                     InstallerCall(2), EnumCall(3), DestroyCall}),
              api.Calls);
    ASSERT_EQ(1u, api.DebugLines.size());
    EXPECT_EQ("SetupDiCallClassInstaller() Failed... (err=0x5,5)\n", api.DebugLines[0]);
    EXPECT_EQ(std::vector<bool>({false, true, true}), api.DeviceEnabled);
}

TEST(DeviceEnablerTest, EachFailureGivesOneLineInDeviceOrder)
{
    FakeSetupApi api;
    api.DeviceCount = 4;
    api.InstallerErrors[0] = 0xE0000219; // setup error codes carry the top bits
    api.SetParamsErrors[2] = ERROR_INVALID_PARAMETER;
    api.InstallerErrors[3] = ERROR_NOT_READY;
    RunEnabler(api);
    ASSERT_EQ(3u, api.DebugLines.size());
    EXPECT_EQ("SetupDiCallClassInstaller() Failed... (err=0xe0000219,3758096921)\n", api.DebugLines[0])
        << "hexadecimal in lower case, decimal unsigned";
    EXPECT_EQ("SetupDiSetClassInstallParams() Failed... (err=0x57,87)\n", api.DebugLines[1]);
    EXPECT_EQ("SetupDiCallClassInstaller() Failed... (err=0x15,21)\n", api.DebugLines[2]);
    EXPECT_EQ(1, api.DestroyCount) << "failures do not change how the set is released";
}

TEST(DeviceEnablerTest, EnumerationEndsAtTheFirstMissingIndex)
{
    FakeSetupApi api;
    api.DeviceCount = 3;
    api.EnumErrors[1] = ERROR_INVALID_DATA;
    RunEnabler(api);
    EXPECT_EQ(
        Calls({LookupCall, GetDevicesCall, EnumCall(0), SetParamsCall(0), InstallerCall(0), EnumCall(1), DestroyCall}),
        api.Calls)
        << "devices after a gap are not looked for";
    EXPECT_EQ(0u, api.DebugLines.size()) << "the end of the set is not reported";
}
