// The package's logon task "Portica Dock Help": registered, deleted or looked
// for with taskreg's own code, on a thread of its own that is given a time
// limit, so that a scheduler that does not answer cannot hold up the
// installation. Each operation leaves one line for the installation log.
//
// An operation that runs out of time may still finish later. Registrations
// and deletions therefore take turns through a semaphore that only SYSTEM
// and administrators can open (the installer runs one installation at a
// time): the next one waits for the one still running, within the same
// limit, and otherwise leaves the task alone.
//
// The installer's change of the task looks up what is there first, in the
// same turn, and records it in a file of its rollback partner's knowing (in
// the installer's own folder, which only administrators and SYSTEM can
// write), together with its own end, however late that comes. The rollback
// and the commit wait for that end, log it, and remove the record.
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
    static constexpr int BadData = 59;
    static constexpr int StillThere = 60;

    // How long a rollback or commit waits for this installation's own change
    // still in flight.
    static constexpr DWORD FlightLimit = 5 * 60 * 1000;

    // Api is the platform taskreg's code calls; it must outlive any
    // operation that runs out of time. Each operation is given TimeLimit;
    // Restore and Commit wait up to WaitLimit for a change still running.
    LogonTask(PlatformApi& Api, DWORD TimeLimit, DWORD WaitLimit = FlightLimit);

    // Carries out Operation (Register for ProgramPath) and returns its
    // result: 0 on success (for Find: the task exists), else a taskreg code
    // or one of the above. A deletion succeeds only when the task is gone
    // afterwards (StillThere when it is not).
    int Run(Operation What, const std::wstring& ProgramPath = std::wstring());

    // The installer's actions, Data their CustomActionData: "RECORD|PATH"
    // (Change for Register, Restore), "RECORD" (Change for Delete, Commit),
    // RECORD the file that tells the rollback what was there before.
    // Change looks up the task, records what it found, then carries out
    // What. Restore waits for that change, registers the task again for PATH
    // when it was present, deletes it when it was absent, and leaves it as
    // it is when that is not known (LeftAlone). Commit waits for the change
    // and logs its end. Restore and Commit remove the record.
    int Change(Operation What, const std::wstring& Data);
    int Restore(const std::wstring& Data);
    int Commit(const std::wstring& Data);

    // "present", "absent", "unknown"; any other text reads as Unknown.
    static const wchar_t* StateName(State Value);
    static State StateFromName(const std::wstring& Text);

    // One line per operation: "register PATH: TEXT (result N)".
    const std::vector<std::wstring>& Lines() const { return FLines; }

private:
    struct Job;
    static DWORD WINAPI Work(void* Parameter);
    int Carry(Job* Piece, std::string& Text);
    int Start(Operation What, const std::wstring& ProgramPath, const std::wstring& Record);
    State Finish(const std::wstring& Record);

    PlatformApi& FApi;
    DWORD FTimeLimit;
    DWORD FWaitLimit;
    std::vector<std::wstring> FLines;
};
