// The registration and deletion algorithms against the fake Task Scheduler:
// the calls made, in order and with their values, the text printed, the
// result codes and the COM contract (one CoUninitialize per failure, made
// after every scheduler object is released; security set up once).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "FakePlatformApi.h"
#include "FakeTaskScheduler.h"
#include "TaskRegistration.h"
#include "TaskSchedulerStubs.h"

namespace {

using Log = std::vector<std::string>;

const char SecurityCall[] = "CoInitializeSecurity(null,-1,null,null,6,3,null,0,null)";
const char CreateCall[] = "CoCreateInstance(TaskScheduler,null,1,ITaskService)";
const char ConnectCall[] = "ITaskService::Connect(VT_EMPTY,VT_EMPTY,VT_EMPTY,VT_EMPTY)";
const char RootCall[] = "ITaskService::GetFolder(\\)";
const char FolderCall[] = "ITaskFolder::GetFolder(Tavrinex_TASK) on \\";
const char CreateFolderCall[] = "ITaskFolder::CreateFolder(Tavrinex_TASK,VT_BSTR:) on \\";
const char DeleteFolderCall[] = "ITaskFolder::DeleteFolder(Tavrinex_TASK,0) on \\";
const char RegisterAdmins[] = "ITaskFolder::RegisterTaskDefinition(Backup,definition,6,"
                              "VT_BSTR:Administratoren,VT_EMPTY,4,VT_BSTR:) on \\Tavrinex_TASK";
const char RegisterUsers[] = "ITaskFolder::RegisterTaskDefinition(Backup,definition,6,"
                             "VT_BSTR:Benutzer,VT_EMPTY,4,VT_BSTR:) on \\Tavrinex_TASK";
const char AdminsLine[] = "DOMAIN_ALIAS_RID_USERS: Administratoren\n";
const char UsersLine[] = "DOMAIN_ALIAS_RID_USERS: Benutzer\n";
const char SuccessText[] = "\nSuccess! Task successfully registered. ";

const wchar_t ProgramPath[] = L"C:\\Program Files\\App\\app.exe";
const wchar_t Arguments[] = L"--tray  \"x y\" ";

// A path of Length characters.
std::wstring PathOfLength(size_t Length)
{
    return L"C:\\" + std::wstring(Length - 3, L'a');
}

size_t IndexOf(const Log& Entries, const std::string& Entry)
{
    for (size_t i = 0; i < Entries.size(); ++i)
        if (Entries[i] == Entry)
            return i;
    return Entries.size();
}

class TaskRegistrationTest : public testing::Test {
protected:
    void TearDown() override
    {
        EXPECT_EQ(0, StubObjects::Live()) << "scheduler objects still referenced after the call";
    }

    int Register(const wchar_t* Name = L"Backup", const wchar_t* Path = ProgramPath, const wchar_t* Args = Arguments,
                 int Network = 0)
    {
        testing::internal::CaptureStdout();
        const int code = TaskRegistration(Api, SecurityInitialized).RegisterScheduledTask(Name, Path, Args, Network);
        fflush(stdout);
        Output = testing::internal::GetCapturedStdout();
        return code;
    }

    int Delete(const wchar_t* Name = L"Backup")
    {
        testing::internal::CaptureStdout();
        const int code = TaskRegistration(Api, SecurityInitialized).DeleteScheduleTask(Name);
        fflush(stdout);
        Output = testing::internal::GetCapturedStdout();
        return code;
    }

    FakeScheduler Scheduler;
    FakePlatformApi Api{Scheduler};
    bool SecurityInitialized = false;
    std::string Output;
};

TEST_F(TaskRegistrationTest, RegisterBuildsTheDefinitionStepByStep)
{
    Scheduler.Tasks = {L"Backup"};

    EXPECT_EQ(0, Register());

    const Log expected = {
        SecurityCall,
        CreateCall,
        ConnectCall,
        RootCall,
        FolderCall,
        "ITaskService::NewTask(0)",
        "ITaskService released",
        "ITaskDefinition::get_RegistrationInfo()",
        "IRegistrationInfo::put_Author(Tavrinex)",
        "ITaskDefinition::get_Settings()",
        "ITaskSettings::put_ExecutionTimeLimit(PT0S)",
        "ITaskSettings::put_MultipleInstances(0)",
        "ITaskSettings::put_StartWhenAvailable(1)",
        "ITaskSettings::put_StopIfGoingOnBatteries(0)",
        "ITaskSettings::put_DisallowStartIfOnBatteries(0)",
        "ITaskDefinition::get_Triggers()",
        "ITriggerCollection::Create(9)",
        "ITrigger::QueryInterface(ILogonTrigger)",
        "ILogonTrigger::put_Id(Tavrin Trigger 1)",
        "ITaskDefinition::get_Actions()",
        "IActionCollection::Create(0)",
        "IAction::QueryInterface(IExecAction)",
        "IExecAction::put_Path(\"C:\\Program Files\\App\\app.exe\")",
        "IExecAction::put_Arguments(--tray  \"x y\" )",
        "ITaskDefinition::get_Principal()",
        "IPrincipal::put_RunLevel(1)",
        "LookupAccountSidW((null),S-1-5-32-544)",
        RegisterAdmins,
    };
    EXPECT_EQ(expected, Scheduler.Log);
    EXPECT_EQ(std::string(AdminsLine) + SuccessText, Output);
    EXPECT_EQ(std::vector<std::wstring>{L"Backup"}, Scheduler.Tasks) << "the task is replaced";
    EXPECT_EQ(0, Api.Uninitializations) << "success leaves COM initialized";
    EXPECT_TRUE(SecurityInitialized);
}

TEST_F(TaskRegistrationTest, NetworkFlagAddsRunOnlyIfNetworkAvailableLast)
{
    EXPECT_EQ(0, Register(L"Backup", ProgramPath, Arguments, 2));

    const size_t disallow = IndexOf(Scheduler.Log, "ITaskSettings::put_DisallowStartIfOnBatteries(0)");
    ASSERT_LT(disallow + 1, Scheduler.Log.size());
    EXPECT_EQ("ITaskSettings::put_RunOnlyIfNetworkAvailable(1)", Scheduler.Log[disallow + 1]);
    EXPECT_EQ("ITaskDefinition::get_Triggers()", Scheduler.Log[disallow + 2]);
}

TEST_F(TaskRegistrationTest, RegisterWithoutNetworkFlagLeavesTheDefault)
{
    EXPECT_EQ(0, Register(L"Backup", ProgramPath, Arguments, 0));

    EXPECT_FALSE(Scheduler.Logged("ITaskSettings::put_RunOnlyIfNetworkAvailable"));
}

TEST_F(TaskRegistrationTest, RegisterCreatesMissingFolder)
{
    Scheduler.FolderExists = false;

    EXPECT_EQ(0, Register());

    const size_t get = IndexOf(Scheduler.Log, FolderCall);
    ASSERT_LT(get + 1, Scheduler.Log.size());
    EXPECT_EQ(CreateFolderCall, Scheduler.Log[get + 1]);
    EXPECT_TRUE(Scheduler.FolderExists);
    EXPECT_EQ(std::vector<std::wstring>{L"Backup"}, Scheduler.Tasks);
}

TEST_F(TaskRegistrationTest, RefusedAdministratorsGroupFallsBackToUsers)
{
    Scheduler.Fail("ITaskFolder::RegisterTaskDefinition", E_ACCESSDENIED, 1);

    EXPECT_EQ(0, Register());

    EXPECT_EQ(std::string(AdminsLine) + UsersLine + SuccessText, Output);
    const Log tail(Scheduler.Log.end() - 4, Scheduler.Log.end());
    const Log expected = {"LookupAccountSidW((null),S-1-5-32-544)", RegisterAdmins,
                          "LookupAccountSidW((null),S-1-5-32-545)", RegisterUsers};
    EXPECT_EQ(expected, tail);
    EXPECT_EQ(0, Api.Uninitializations);
}

TEST_F(TaskRegistrationTest, FailingTriggerIdStillRegisters)
{
    Scheduler.Fail("ILogonTrigger::put_Id", E_FAIL);

    EXPECT_EQ(0, Register());

    EXPECT_EQ(std::string("\nCannot put the trigger ID: 80004005") + AdminsLine + SuccessText, Output);
    EXPECT_EQ(RegisterAdmins, Scheduler.Log.back());
}

TEST_F(TaskRegistrationTest, FailingRunLevelIsNotRegistered)
{
    Scheduler.Fail("IPrincipal::put_RunLevel", E_NOTIMPL);

    EXPECT_EQ(21, Register());

    EXPECT_EQ("\nCannot put the run level: 80004001", Output);
    EXPECT_EQ(1, Api.Uninitializations);
    EXPECT_EQ(0, Api.LiveAtUninitialize) << "objects must be released before CoUninitialize";
    EXPECT_FALSE(Scheduler.Logged("ITaskFolder::RegisterTaskDefinition"));
}

TEST_F(TaskRegistrationTest, FailedGroupLookupGivesEmptyName)
{
    Scheduler.Fail("LookupAccountSidW", E_FAIL);

    EXPECT_EQ(0, Register());

    EXPECT_EQ(std::string("DOMAIN_ALIAS_RID_USERS: \n") + SuccessText, Output);
    EXPECT_EQ("ITaskFolder::RegisterTaskDefinition(Backup,definition,6,VT_BSTR:,VT_EMPTY,4,"
              "VT_BSTR:) on \\Tavrinex_TASK",
              Scheduler.Log.back());
}

TEST_F(TaskRegistrationTest, LongestPathIsQuoted)
{
    const std::wstring path = PathOfLength(TaskRegistration::MaxProgramPathLength);

    EXPECT_EQ(0, Register(L"Backup", path.c_str()));

    EXPECT_TRUE(Scheduler.Logged("IExecAction::put_Path(\"" + Narrow(path.c_str()) + "\")"))
        << "a path of 267 characters fits the quoted buffer";
}

// Bad input: a code of its own, one CoUninitialize, nothing asked of the
// scheduler, security left as it was.
TEST_F(TaskRegistrationTest, BadInputIsRefusedBeforeAnyComCall)
{
    const std::wstring tooLong = PathOfLength(TaskRegistration::MaxProgramPathLength + 1);
    struct Case {
        const wchar_t* Name;
        const wchar_t* Path;
        const wchar_t* Args;
        int Code;
        const char* Text;
    };
    const Case cases[] = {
        {nullptr, ProgramPath, Arguments, 30, "\nInvalid task name: null pointer"},
        {L"Backup", nullptr, Arguments, 31, "\nInvalid program path: null pointer"},
        {L"Backup", ProgramPath, nullptr, 32, "\nInvalid arguments: null pointer"},
        {L"Backup", tooLong.c_str(), Arguments, 33, "\nInvalid program path: longer than 267 characters"},
        {L"Backup", L"C:\\App\\app.exe\" /evil", Arguments, 34, "\nInvalid program path: holds a double quote"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        Scheduler.Log.clear();
        Api.Uninitializations = 0;

        EXPECT_EQ(c.Code, Register(c.Name, c.Path, c.Args));

        EXPECT_EQ(c.Text, Output);
        EXPECT_EQ(Log{"CoUninitialize"}, Scheduler.Log);
        EXPECT_EQ(1, Api.Uninitializations);
        EXPECT_FALSE(SecurityInitialized);
    }
}

TEST_F(TaskRegistrationTest, DeleteWithNullNameIsRefused)
{
    EXPECT_EQ(30, Delete(nullptr));

    EXPECT_EQ("\nInvalid task name: null pointer", Output);
    EXPECT_EQ(Log{"CoUninitialize"}, Scheduler.Log);
}

TEST_F(TaskRegistrationTest, OldWindowsGetsMinusOneWithoutComCalls)
{
    Api.MajorVersion = 5;
    EXPECT_EQ(-1, Register());
    EXPECT_EQ("", Output);
    EXPECT_EQ(-1, Delete());
    EXPECT_EQ("", Output);

    Api.MajorVersion = 6;
    Api.VersionCallFails = true;
    EXPECT_EQ(-1, Register());
    EXPECT_EQ(-1, Delete());

    EXPECT_EQ(Log{}, Scheduler.Log);
    EXPECT_EQ(0, Api.Uninitializations);
}

TEST_F(TaskRegistrationTest, VistaIsSupported)
{
    Api.MajorVersion = 6;

    EXPECT_EQ(0, Delete());
}

TEST_F(TaskRegistrationTest, SecurityIsSetUpOnceForBothExports)
{
    EXPECT_EQ(0, Register());
    EXPECT_EQ(0, Register());
    EXPECT_EQ(0, Delete());

    EXPECT_EQ(1, Api.SecurityCalls);
}

TEST_F(TaskRegistrationTest, SecuritySetByTheHostIsAccepted)
{
    Scheduler.Fail("CoInitializeSecurity", RPC_E_TOO_LATE);

    EXPECT_EQ(0, Register());
    EXPECT_TRUE(SecurityInitialized);
    EXPECT_EQ(0, Delete());

    EXPECT_EQ(1, Api.SecurityCalls);
    EXPECT_EQ(0, Api.Uninitializations);
}

TEST_F(TaskRegistrationTest, FailedSecuritySetUpIsTriedAgain)
{
    Scheduler.Fail("CoInitializeSecurity", E_OUTOFMEMORY, 1);

    EXPECT_EQ(1, Register());
    EXPECT_FALSE(SecurityInitialized);
    EXPECT_EQ(0, Register());

    EXPECT_EQ(2, Api.SecurityCalls);
    EXPECT_TRUE(SecurityInitialized);
}

TEST_F(TaskRegistrationTest, DeletingTheLastTaskRemovesTheFolder)
{
    Scheduler.Tasks = {L"Backup"};

    EXPECT_EQ(0, Delete());

    const Log expected = {
        SecurityCall,
        CreateCall,
        ConnectCall,
        RootCall,
        FolderCall,
        "ITaskFolder::DeleteTask(Backup,0) on \\Tavrinex_TASK",
        "ITaskFolder::GetTasks(0) on \\Tavrinex_TASK",
        "IRegisteredTaskCollection::get_Count()",
        DeleteFolderCall,
        "ITaskService released",
    };
    EXPECT_EQ(expected, Scheduler.Log);
    EXPECT_EQ("\nTask: Backup was deleted.\nFolder: Tavrinex_TASK was deleted.", Output);
    EXPECT_FALSE(Scheduler.FolderExists);
    EXPECT_EQ(0, Api.Uninitializations);
}

TEST_F(TaskRegistrationTest, DeletingOneOfTwoTasksKeepsTheFolder)
{
    Scheduler.Tasks = {L"Backup", L"Tray"};

    EXPECT_EQ(0, Delete());

    EXPECT_EQ("\nTask: Backup was deleted.", Output);
    EXPECT_EQ(std::vector<std::wstring>{L"Tray"}, Scheduler.Tasks);
    EXPECT_TRUE(Scheduler.FolderExists);
    EXPECT_FALSE(Scheduler.Logged("ITaskFolder::DeleteFolder"));
}

TEST_F(TaskRegistrationTest, DeletingAnUnknownNameStillReportsIt)
{
    Scheduler.Tasks = {L"Tray"};

    EXPECT_EQ(0, Delete(L"Ghost"));

    EXPECT_EQ("\nTask: Ghost was deleted.", Output);
    EXPECT_EQ(std::vector<std::wstring>{L"Tray"}, Scheduler.Tasks);
}

TEST_F(TaskRegistrationTest, DeletingWithoutFolderCreatesAndRemovesIt)
{
    Scheduler.FolderExists = false;

    EXPECT_EQ(0, Delete(L"Ghost"));

    EXPECT_EQ("\nTask: Ghost was deleted.\nFolder: Tavrinex_TASK was deleted.", Output);
    EXPECT_LT(IndexOf(Scheduler.Log, CreateFolderCall), IndexOf(Scheduler.Log, DeleteFolderCall));
    EXPECT_NE(Scheduler.Log.size(), IndexOf(Scheduler.Log, DeleteFolderCall));
    EXPECT_FALSE(Scheduler.FolderExists);
}

// Without a count the folder is still asked to go; the scheduler refuses
// while it holds tasks, and the folder line follows only its consent. With a
// count of 0 a refusal is reported.
TEST_F(TaskRegistrationTest, DeletingWithoutTaskCountLeavesTheFolderToTheScheduler)
{
    struct Case {
        const char* Label;
        std::vector<std::wstring> Tasks;
        bool Counted;
        HRESULT DeleteFolderResult;
        const char* Text;
        bool FolderKept;
    };
    const Case cases[] = {
        {"only task",
         {L"Backup"},
         false,
         S_OK,
         "\nTask: Backup was deleted.\nFolder: Tavrinex_TASK was deleted.",
         false},
        {"one of two", {L"Backup", L"Tray"}, false, S_OK, "\nTask: Backup was deleted.", true},
        {"counted, refused",
         {L"Backup"},
         true,
         E_ACCESSDENIED,
         "\nTask: Backup was deleted.\nCannot delete the folder: 80070005",
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Label);
        Scheduler.Log.clear();
        Scheduler.Tasks = c.Tasks;
        Scheduler.FolderExists = true;
        Scheduler.Fail("IRegisteredTaskCollection::get_Count", E_NOTIMPL, c.Counted ? 0 : 1);
        Scheduler.Fail("ITaskFolder::DeleteFolder", c.DeleteFolderResult, 1);

        EXPECT_EQ(0, Delete());

        EXPECT_EQ(c.Text, Output);
        EXPECT_TRUE(Scheduler.Logged(DeleteFolderCall));
        EXPECT_EQ(c.FolderKept, Scheduler.FolderExists);
        EXPECT_EQ(0, Api.Uninitializations);
    }
}

// One failing step of either export.
struct FailureCase {
    const char* Label;
    bool Deleting;
    const char* Method;
    HRESULT Result;
    int Code;
    std::string Output;
    int Network = 0;
    bool FolderMissing = false;
};

std::ostream& operator<<(std::ostream& Stream, const FailureCase& Case)
{
    return Stream << Case.Label;
}

class TaskRegistrationFailureTest : public TaskRegistrationTest, public testing::WithParamInterface<FailureCase> {};

TEST_P(TaskRegistrationFailureTest, FailureReportsCodeAndTextAndUninitializesOnce)
{
    const FailureCase& c = GetParam();
    Scheduler.Tasks = {L"Backup"};
    Scheduler.FolderExists = !c.FolderMissing;
    Scheduler.Fail(c.Method, c.Result);

    const int code = c.Deleting ? Delete() : Register(L"Backup", ProgramPath, Arguments, c.Network);

    EXPECT_EQ(c.Code, code);
    EXPECT_EQ(c.Output, Output);
    EXPECT_EQ(1, Api.Uninitializations);
    EXPECT_EQ(0, Api.LiveAtUninitialize) << "objects must be released before CoUninitialize";
    EXPECT_EQ("CoUninitialize", Scheduler.Log.back());
    if (std::string(c.Method) != "ITaskFolder::RegisterTaskDefinition") {
        Log calls = Scheduler.Log;
        calls.erase(std::remove(calls.begin(), calls.end(), "ITaskService released"), calls.end());
        ASSERT_LE(2u, calls.size());
        const std::string failed = calls[calls.size() - 2];
        EXPECT_EQ(c.Method, failed.substr(0, failed.find('('))) << "the failed call is the last one";
        EXPECT_FALSE(Scheduler.Logged("ITaskFolder::RegisterTaskDefinition"));
    }
}

const FailureCase RegisterFailures[] = {
    {"Security", false, "CoInitializeSecurity", E_OUTOFMEMORY, 1, "\nCoInitializeSecurity failed: 8007000e"},
    {"Scheduler", false, "CoCreateInstance", REGDB_E_CLASSNOTREG, 1,
     "Failed to create an instance of ITaskService: 80040154"},
    {"Connect", false, "ITaskService::Connect", E_ACCESSDENIED, 2, "ITaskService::Connect failed: 80070005"},
    {"RootFolder", false, "ITaskService::GetFolder", E_FAIL, 3, "Cannot get Root Folder pointer: 80004005"},
    {"TaskFolder", false, "ITaskFolder::CreateFolder", E_ACCESSDENIED, 4,
     "Cannot create Tavrin Folder pointer: 80070005", 0, true},
    {"NewTask", false, "ITaskService::NewTask", E_OUTOFMEMORY, 5, "Failed to create a task definition: 8007000e"},
    {"RegistrationInfo", false, "ITaskDefinition::get_RegistrationInfo", E_FAIL, 6,
     "\nCannot get identification pointer: 80004005"},
    {"Author", false, "IRegistrationInfo::put_Author", E_INVALIDARG, 7, "\nCannot put identification info: 80070057"},
    {"Settings", false, "ITaskDefinition::get_Settings", E_FAIL, 8, "\nCannot get settings pointer: 80004005"},
    {"TimeLimit", false, "ITaskSettings::put_ExecutionTimeLimit", E_INVALIDARG, 9,
     "\nCannot put setting info: 80070057"},
    {"Instances", false, "ITaskSettings::put_MultipleInstances", E_INVALIDARG, 9,
     "\nCannot put setting info: 80070057"},
    {"StartWhenAvailable", false, "ITaskSettings::put_StartWhenAvailable", E_FAIL, 9,
     "\nCannot put setting info: 80004005"},
    {"StopOnBatteries", false, "ITaskSettings::put_StopIfGoingOnBatteries", E_FAIL, 9,
     "\nCannot put setting info: 80004005"},
    {"DisallowOnBatteries", false, "ITaskSettings::put_DisallowStartIfOnBatteries", E_FAIL, 9,
     "\nCannot put setting info: 80004005"},
    {"Network", false, "ITaskSettings::put_RunOnlyIfNetworkAvailable", E_FAIL, 9, "\nCannot put setting info: 80004005",
     1},
    {"Triggers", false, "ITaskDefinition::get_Triggers", E_FAIL, 10, "\nCannot get trigger collection: 80004005"},
    {"NewTrigger", false, "ITriggerCollection::Create", E_NOTIMPL, 11, "\nCannot create the trigger: 80004001"},
    {"LogonTrigger", false, "ITrigger::QueryInterface", E_NOINTERFACE, 12,
     "\nQueryInterface call failed for ILogonTrigger: 80004002"},
    {"Actions", false, "ITaskDefinition::get_Actions", E_FAIL, 17, "\nCannot get Task collection pointer: 80004005"},
    {"NewAction", false, "IActionCollection::Create", E_FAIL, 18, "\nCannot create the action: 80004005"},
    {"ExecAction", false, "IAction::QueryInterface", E_NOINTERFACE, 19,
     "\nQueryInterface call failed for IExecAction: 80004002"},
    {"Path", false, "IExecAction::put_Path", E_INVALIDARG, 20, "\nCannot set path of executable: 80070057"},
    {"Arguments", false, "IExecAction::put_Arguments", E_INVALIDARG, 20, "\nCannot set path of executable: 80070057"},
    {"Principal", false, "ITaskDefinition::get_Principal", E_FAIL, 21, "\nCannot get Principal: 80004005"},
    {"Registration", false, "ITaskFolder::RegisterTaskDefinition", E_ACCESSDENIED, 22,
     std::string(AdminsLine) + UsersLine + "\nError saving the Task : 80070005"},
};

const FailureCase DeleteFailures[] = {
    {"Security", true, "CoInitializeSecurity", E_OUTOFMEMORY, 1, "\nCoInitializeSecurity failed: 8007000e"},
    {"Scheduler", true, "CoCreateInstance", REGDB_E_CLASSNOTREG, 2,
     "Failed to create an instance of ITaskService: 80040154"},
    {"Connect", true, "ITaskService::Connect", E_ACCESSDENIED, 3, "ITaskService::Connect failed: 80070005"},
    {"RootFolder", true, "ITaskService::GetFolder", E_FAIL, 4, "\nCannot get Root Folder pointer: 80004005"},
    {"TaskFolder", true, "ITaskFolder::CreateFolder", E_ACCESSDENIED, 5,
     "\nCannot create Tavrin Folder pointer: 80070005", 0, true},
    {"TaskList", true, "ITaskFolder::GetTasks", E_FAIL, 6, "\nTask: Backup was deleted."},
    {"Task", true, "ITaskFolder::DeleteTask", E_ACCESSDENIED, 7, "\nCannot delete the task: 80070005"},
};

std::string CaseName(const testing::TestParamInfo<FailureCase>& Info)
{
    return Info.param.Label;
}

INSTANTIATE_TEST_SUITE_P(Register, TaskRegistrationFailureTest, testing::ValuesIn(RegisterFailures), CaseName);
INSTANTIATE_TEST_SUITE_P(Delete, TaskRegistrationFailureTest, testing::ValuesIn(DeleteFailures), CaseName);

} // namespace
