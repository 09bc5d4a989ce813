#pragma once

#include "SetupApi.h"

// Enables every present device of the setup class "Net" through the class
// installer. A device that refuses costs one line of debugger output; the
// run goes on with the next device.
class DeviceEnabler {
public:
    explicit DeviceEnabler(SetupApi& Api);

    void Run();

private:
    void EnableDevices(HDEVINFO Devices);
    void EnableDevice(HDEVINFO Devices, SP_DEVINFO_DATA& Device);
    void ReportFailure(const char* Format);

    SetupApi& FApi;
};
