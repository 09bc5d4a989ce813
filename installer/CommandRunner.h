// Runs a command line without a window and collects what it writes to
// standard output and standard error, and its exit code.
#pragma once

#include <windows.h>

#include <string>

class CommandRunner {
public:
    // Runs CommandLine to its end. False when the program could not be
    // started; Error() then holds the Win32 error code.
    bool Run(const std::wstring& CommandLine);

    const std::string& Output() const { return FOutput; }
    DWORD ExitCode() const { return FExitCode; }
    DWORD Error() const { return FError; }

private:
    bool Fail();

    std::string FOutput;
    DWORD FExitCode = 0;
    DWORD FError = 0;
};
