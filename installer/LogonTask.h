// The package's logon task "Portica Dock Help": registered, deleted or looked
// for with taskreg's own code, on a thread of its own that is given a time
// limit, so that a scheduler that does not answer cannot hold up the
// installation. The text of the work is kept for the installation log.
#pragma once

#include <windows.h>

#include <string>

class LogonTask {
public:
    enum Operation { Register, Delete, Find };

    static constexpr const wchar_t* Name = L"Portica Dock Help";
    // Results of this class's own, beside taskreg's codes.
    static constexpr int NotFound = 50;
    static constexpr int FindFailed = 51;
    static constexpr int ComFailed = 52;
    static constexpr int NoThread = 53;
    static constexpr int TimedOut = 54;
    static constexpr int OutOfMemory = 55;

    explicit LogonTask(DWORD TimeLimit);

    // Carries out Operation (Register for ProgramPath) and returns its
    // result: 0 on success (for Find: the task exists), else a taskreg code
    // or one of the above.
    int Run(Operation What, const std::wstring& ProgramPath = std::wstring());
    const std::string& Text() const { return FText; }

private:
    struct Job;
    static DWORD WINAPI Work(void* Parameter);

    DWORD FTimeLimit;
    std::string FText;
};
