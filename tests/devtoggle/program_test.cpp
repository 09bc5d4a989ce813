// The shipped program itself, started from a copy beside this test.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const DWORD RunTimeoutMs = 20000;

class Handle {
public:
    explicit Handle(HANDLE Value = nullptr) : FValue(Value) {}
    ~Handle() { Reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    HANDLE Get() const { return FValue; }
    HANDLE* Receive()
    {
        Reset();
        return &FValue;
    }
    void Reset()
    {
        if (FValue && FValue != INVALID_HANDLE_VALUE)
            CloseHandle(FValue);
        FValue = nullptr;
    }

private:
    HANDLE FValue;
};

class DataFile {
public:
    explicit DataFile(const std::wstring& Path)
        : FModule(LoadLibraryExW(Path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE))
    {
    }
    ~DataFile()
    {
        if (FModule)
            FreeLibrary(FModule);
    }
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    HMODULE Get() const { return FModule; }

private:
    HMODULE FModule;
};

std::wstring ProgramPath()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return L"";
    std::wstring result(path, length);
    return result.substr(0, result.find_last_of(L"\\/") + 1) + L"devtoggle.exe";
}

struct RunResult {
    bool Finished = false;
    DWORD ExitCode = 0xFFFFFFFF;
    DWORD ElapsedMs = 0;
    std::string Output; // standard output and error together
    std::vector<std::string> DebugLines; // what the program sent to the debugger
};

std::string ReadDebugString(HANDLE Process, const OUTPUT_DEBUG_STRING_INFO& Info)
{
    std::string text;
    const SIZE_T unit = Info.fUnicode ? sizeof(wchar_t) : 1;
    std::vector<char> bytes(Info.nDebugStringLength * unit);
    SIZE_T read = 0;
    if (bytes.empty() || !ReadProcessMemory(Process, Info.lpDebugStringData, bytes.data(), bytes.size(), &read))
        return "(unreadable)";
    for (SIZE_T i = 0; i + unit <= read; i += unit) {
        const char c = bytes[i];
        if (c == 0 && (unit == 1 || bytes[i + 1] == 0))
            break;
        text += c;
    }
    return text;
}

// Starts devtoggle.exe as a debuggee with its standard handles on one pipe,
// collects its debugger output and waits for its end.
RunResult RunProgram(const std::wstring& Arguments)
{
    RunResult result;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    Handle readEnd, writeEnd;
    if (!CreatePipe(readEnd.Receive(), writeEnd.Receive(), &inherit, 0) ||
        !SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0))
        return result;

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();
    const std::wstring path = ProgramPath();
    std::wstring commandLine = L"\"" + path + L"\"" + (Arguments.empty() ? L"" : L" " + Arguments);
    PROCESS_INFORMATION info = {};
    const DWORD start = GetTickCount();
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, TRUE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                        nullptr, &startup, &info))
        return result;
    Handle process(info.hProcess), thread(info.hThread);
    writeEnd.Reset();

    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        DEBUG_EVENT event = {};
        if (elapsed >= RunTimeoutMs || !WaitForDebugEvent(&event, RunTimeoutMs - elapsed)) {
            TerminateProcess(process.Get(), 1);
            return result;
        }
        DWORD status = DBG_CONTINUE;
        switch (event.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT: Handle(event.u.CreateProcessInfo.hFile).Reset(); break;
        case LOAD_DLL_DEBUG_EVENT: Handle(event.u.LoadDll.hFile).Reset(); break;
        case OUTPUT_DEBUG_STRING_EVENT:
            result.DebugLines.push_back(ReadDebugString(process.Get(), event.u.DebugString));
            break;
        case EXCEPTION_DEBUG_EVENT:
            if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
                status = DBG_EXCEPTION_NOT_HANDLED;
            break;
        case EXIT_PROCESS_DEBUG_EVENT: result.ExitCode = event.u.ExitProcess.dwExitCode; break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
        if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT)
            break;
    }
    result.ElapsedMs = GetTickCount() - start;
    result.Finished = true;

    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(readEnd.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        result.Output.append(buffer, read);
    return result;
}

bool IsFailureLine(const std::string& Line)
{
    return Line.rfind("SetupDiSetClassInstallParams() Failed... (err=0x", 0) == 0 ||
           Line.rfind("SetupDiCallClassInstaller() Failed... (err=0x", 0) == 0;
}

std::string Resource(HMODULE Module, LPCWSTR Type, LPCWSTR Name)
{
    HRSRC info = FindResourceW(Module, Name, Type);
    if (!info)
        return "";
    HGLOBAL data = LoadResource(Module, info);
    const void* bytes = data ? LockResource(data) : nullptr;
    if (!bytes)
        return "";
    return std::string(static_cast<const char*>(bytes), SizeofResource(Module, info));
}

} // namespace

TEST(DevtoggleProgramTest, EndsWithZeroAndWritesNothingWhateverItsArguments)
{
    const std::wstring argumentSets[] = {
        L"",
        L"/?",
        L"--disable \"every device\" -x 0 ''",
        std::wstring(8000, L'n'),
    };
    for (const std::wstring& arguments : argumentSets) {
        const size_t shownLength = std::min<size_t>(40, arguments.size());
        const std::string shown(arguments.begin(), arguments.begin() + shownLength);
        const RunResult result = RunProgram(arguments);
        ASSERT_TRUE(result.Finished) << "devtoggle did not end within " << RunTimeoutMs << " ms, arguments [" << shown
                                     << "], error " << GetLastError();
        EXPECT_EQ(0u, result.ExitCode) << "arguments [" << shown << "]";
        EXPECT_EQ("", result.Output) << "arguments [" << shown << "]";
        for (const std::string& line : result.DebugLines)
            EXPECT_TRUE(IsFailureLine(line)) << "unexpected debugger output [" << line << "]";
        std::printf("devtoggle [%s] ended in %lu ms with %u debugger lines\n", shown.c_str(), result.ElapsedMs,
                    static_cast<unsigned>(result.DebugLines.size()));
    }
}

TEST(DevtoggleProgramTest, ManifestRequiresAdministrator)
{
    DataFile file(ProgramPath());
    ASSERT_NE(nullptr, file.Get()) << "cannot load devtoggle.exe as data, error " << GetLastError();
    const std::string manifest = Resource(file.Get(), RT_MANIFEST, MAKEINTRESOURCEW(1));
    ASSERT_NE("", manifest) << "no RT_MANIFEST resource with id 1";
    EXPECT_NE(std::string::npos, manifest.find("<requestedExecutionLevel level=\"requireAdministrator\""
                                               " uiAccess=\"false\"/>"))
        << manifest;
    for (const char* os : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", // 7
                           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", // 8
                           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", // 8.1
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) // 10 and 11
        EXPECT_NE(std::string::npos, manifest.find(std::string("<supportedOS Id=\"") + os + "\"/>"))
            << "supported OS " << os;
}

TEST(DevtoggleProgramTest, VersionResourceNamesTheProgram)
{
    const std::wstring path = ProgramPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_NE(0u, size) << "no version resource, error " << GetLastError();
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(VS_FFI_SIGNATURE, fixed->dwSignature);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);

    wchar_t* name = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\040904B0\\OriginalFilename",
                               reinterpret_cast<void**>(&name), &length));
    EXPECT_STREQ(L"devtoggle.exe", name);
}
