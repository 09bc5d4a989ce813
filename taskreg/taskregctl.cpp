// taskregctl: the console host of taskreg.dll, for installers and
// administrators.
//
//   taskregctl register NAME PROGRAM [ARGS] [--network]
//   taskregctl delete NAME
//
// Loads taskreg.dll by name, initializes COM on this thread, calls the
// export and exits with its result. The library's text appears on standard
// output, followed by one line break. Codes of its own: 40 for a wrong
// command line, 41 when the library or an export cannot be found, 42 when
// COM cannot be initialized.

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cwchar>
#include <vector>

#include "taskreg.h"

namespace {

const int UsageError = 40;
const int LibraryMissing = 41;
const int ComFailed = 42;

const wchar_t NetworkFlag[] = L"--network";

void PrintUsage()
{
    fprintf(stderr, "usage: taskregctl register NAME PROGRAM [ARGS] [--network]\n"
                    "       taskregctl delete NAME\n");
}

// The loaded library, freed when the host ends.
class Library {
public:
    explicit Library(const wchar_t* Name) : FModule(LoadLibraryW(Name)) {}
    ~Library()
    {
        if (FModule)
            FreeLibrary(FModule);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    HMODULE Module() const { return FModule; }

private:
    HMODULE FModule;
};

// Calls the library with COM initialized. A positive result means the
// library has already uninitialized COM; otherwise the host does.
int Call(HMODULE Module, bool Register, const std::vector<const wchar_t*>& Values, bool Network)
{
    FARPROC proc = GetProcAddress(Module, Register ? "RegisterScheduledTask" : "DeleteScheduleTask");
    if (!proc) {
        fprintf(stderr, "taskregctl: taskreg.dll has no export %s\n",
                Register ? "RegisterScheduledTask" : "DeleteScheduleTask");
        return LibraryMissing;
    }

    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr)) {
        fprintf(stderr, "taskregctl: CoInitializeEx failed: %x\n", static_cast<unsigned>(hr));
        return ComFailed;
    }

    int result;
    if (Register) {
        const wchar_t* arguments = Values.size() > 2 ? Values[2] : L"";
        result = reinterpret_cast<RegisterScheduledTaskProc>(proc)(Values[0], Values[1], arguments, Network ? 1 : 0);
    } else {
        result = reinterpret_cast<DeleteScheduleTaskProc>(proc)(Values[0]);
    }
    if (result <= 0)
        CoUninitialize();
    return result;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2) {
        PrintUsage();
        return UsageError;
    }
    const bool registering = wcscmp(argv[1], L"register") == 0;
    const bool deleting = wcscmp(argv[1], L"delete") == 0;

    std::vector<const wchar_t*> values;
    bool network = false;
    for (int i = 2; i < argc; ++i) {
        if (wcscmp(argv[i], NetworkFlag) == 0)
            network = true;
        else
            values.push_back(argv[i]);
    }
    const bool valid =
        (registering && (values.size() == 2 || values.size() == 3)) || (deleting && values.size() == 1 && !network);
    if (!valid) {
        PrintUsage();
        return UsageError;
    }

    const Library library(L"taskreg.dll");
    if (!library.Module()) {
        fprintf(stderr, "taskregctl: cannot load taskreg.dll: error %lu\n", GetLastError());
        return LibraryMissing;
    }

    const int result = Call(library.Module(), registering, values, network);
    printf("\n");
    fflush(stdout);
    return result;
}
