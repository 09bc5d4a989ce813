// Entry point and exports of taskreg.dll.

#include <type_traits>

#include "TaskRegistration.h"

#include "taskreg.h"

namespace {

// Set once COM security is in place for the process; shared by both exports
// and never reset.
bool securityInitialized = false;

} // namespace

extern "C" {

// The library refuses to load before Windows Vista (major version 6).
BOOL WINAPI DllMain(HINSTANCE, DWORD Reason, LPVOID)
{
    if (Reason == DLL_PROCESS_ATTACH || Reason == DLL_THREAD_ATTACH) {
        PlatformApi api;
        return TaskRegistration(api, securityInitialized).IsWindowsVersionSupported();
    }
    return TRUE;
}

int WINAPI RegisterScheduledTask(const wchar_t* TaskName, const wchar_t* ProgramPath, const wchar_t* Arguments,
                                 int RunOnlyIfNetworkAvailable)
{
    PlatformApi api;
    return TaskRegistration(api, securityInitialized)
        .RegisterScheduledTask(TaskName, ProgramPath, Arguments, RunOnlyIfNetworkAvailable);
}

int WINAPI DeleteScheduleTask(const wchar_t* TaskName)
{
    PlatformApi api;
    return TaskRegistration(api, securityInitialized).DeleteScheduleTask(TaskName);
}
}

// The types that hosts bind the exports with must match the definitions.
static_assert(std::is_same<decltype(&RegisterScheduledTask), RegisterScheduledTaskProc>::value,
              "RegisterScheduledTask");
static_assert(std::is_same<decltype(&DeleteScheduleTask), DeleteScheduleTaskProc>::value, "DeleteScheduleTask");
