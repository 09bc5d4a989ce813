#pragma once

#include <windows.h>

// The exports of taskreg.dll, for hosts that load it by name and bind the
// functions with GetProcAddress. Both use the standard Windows calling
// convention, take zero-terminated UTF-16 strings and return 0 on success,
// -1 on an unsupported Windows version, otherwise the code of the failed
// step. COM must be initialized on the calling thread; a positive result
// means the library has called CoUninitialize once.
typedef int(WINAPI* RegisterScheduledTaskProc)(const wchar_t* TaskName, const wchar_t* ProgramPath,
                                               const wchar_t* Arguments, int RunOnlyIfNetworkAvailable);
typedef int(WINAPI* DeleteScheduleTaskProc)(const wchar_t* TaskName);
