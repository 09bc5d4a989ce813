// The package's logon task "Portica Dock Help": registered, deleted or looked
// for with taskreg's own code, on a thread of its own that is given a time
// limit, so that a scheduler that does not answer cannot hold up the
// installation. Each operation leaves one line for the installation log.
//
// An operation that runs out of time may still finish later. Registrations
// and deletions therefore take turns through a semaphore of the session
// (the installer runs one installation at a time): the next one waits for
// the one still running, within the same limit, and otherwise leaves the
// task alone.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "PlatformApi.h"

class LogonTask {
public:
    enum Operation { Register, Delete, Find };
    // What is known of the task before an installation changes it.
    enum State { Unknown, Absent, Present };

    static constexpr const wchar_t* Name = L"Portica Dock Help";
    // Results of this class's own, beside taskreg's codes.
    static constexpr int NotFound = 50;
    static constexpr int FindFailed = 51;
    static constexpr int ComFailed = 52;
    static constexpr int NoThread = 53;
    static constexpr int TimedOut = 54;
    static constexpr int OutOfMemory = 55;
    static constexpr int Busy = 56;
    static constexpr int NoTurn = 57;
    static constexpr int LeftAlone = 58;

    // Api is the platform taskreg's code calls; it must outlive any
    // operation that runs out of time.
    LogonTask(PlatformApi& Api, DWORD TimeLimit);

    // Carries out Operation (Register for ProgramPath) and returns its
    // result: 0 on success (for Find: the task exists), else a taskreg code
    // or one of the above.
    int Run(Operation What, const std::wstring& ProgramPath = std::wstring());
    // Looks for the task. Unknown when the look-up failed or ran out of time.
    State Look();
    // Puts back the task as it was before: registers it again when it was
    // Present (and deletes what a failed registration left), deletes it when
    // it was Absent, and leaves it alone when that is Unknown (LeftAlone).
    int Restore(State Before, const std::wstring& ProgramPath);

    // "present", "absent", "unknown"; any other text reads as Unknown.
    static const wchar_t* StateName(State Value);
    static State StateFromName(const std::wstring& Text);

    // One line per operation: "register PATH: TEXT (result N)".
    const std::vector<std::wstring>& Lines() const { return FLines; }

private:
    struct Job;
    static DWORD WINAPI Work(void* Parameter);
    int Carry(Operation What, const std::wstring& ProgramPath, std::string& Text);

    PlatformApi& FApi;
    DWORD FTimeLimit;
    std::vector<std::wstring> FLines;
};
