#pragma once
// A test double of the Task Scheduler: a root folder with the task folder
// "Tavrinex_TASK" (present or not) holding named tasks. Every call made on its
// objects is logged as "Interface::Method(arguments)", and any method can be
// made to fail.

#include <windows.h>
#include <taskschd.h>

#include <climits>
#include <map>
#include <string>
#include <vector>

class FakeScheduler {
public:
    // The first Times calls of Method ("Interface::Method") return Result.
    void Fail(const std::string& Method, HRESULT Result, int Times = INT_MAX);

    // Logs "Method(Arguments)", followed by " on Target" for calls on a folder,
    // and returns the result configured for the method, or S_OK.
    HRESULT Call(const std::string& Method, const std::string& Arguments = "", const std::string& Target = "");

    // A new scheduler object (one reference) whose objects act on this state.
    ITaskService* NewService();

    // True when an entry of the log starts with Prefix.
    bool Logged(const std::string& Prefix) const;

    std::vector<std::string> Log;
    bool FolderExists = true;
    std::vector<std::wstring> Tasks;
    // The definition handed out by the last NewTask, to recognise it when it
    // comes back for registration.
    ITaskDefinition* LastDefinition = nullptr;

private:
    struct Failure {
        HRESULT Result;
        int Times;
    };
    std::map<std::string, Failure> FFailures;
};

// ASCII text of a wide string for the log ("(null)" for a null pointer).
std::string Narrow(const wchar_t* Text);
// "VT_EMPTY", "VT_BSTR:text" or "vt=N".
std::string DescribeVariant(const VARIANT& Value);
