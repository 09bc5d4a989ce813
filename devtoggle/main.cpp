#include "DeviceEnabler.h"
#include "SetupApi.h"

#include <windows.h>

// Started elevated by the dock software; takes no arguments, shows nothing
// and always ends with exit code 0.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    SetupApi api;
    DeviceEnabler enabler(api);
    enabler.Run();
    return 0;
}
