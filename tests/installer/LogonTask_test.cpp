// The installer's task work over the fake Task Scheduler, with the
// CustomActionData Windows Installer would pass.
#include <gtest/gtest.h>

#include <aclapi.h>
#include <sddl.h>

#include "FakePlatformApi.h"
#include "LogonTask.h"
#include "TaskSchedulerStubs.h"

namespace {

const wchar_t Path[] = L"C:\\Portica Dock\\dockhint.exe";
const char PathCall[] = "IExecAction::put_Path(\"C:\\Portica Dock\\dockhint.exe\")";
const std::vector<std::wstring> Registered = {LogonTask::Name};

// The record in the test's own folder, and the restore's data "RECORD|PATH".
std::wstring Record()
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + L"LogonTask_test.txt";
}
std::wstring Data()
{
    return Record() + L"|" + Path;
}

// A scheduler that answers only once the gate is open.
struct GatedPlatform : FakePlatformApi {
    using FakePlatformApi::FakePlatformApi;
    HRESULT CoCreateInstance(REFCLSID Clsid, LPUNKNOWN Outer, DWORD Context, REFIID Iid, LPVOID* Object) override
    {
        WaitForSingleObject(Gate, INFINITE);
        return FakePlatformApi::CoCreateInstance(Clsid, Outer, Context, Iid, Object);
    }
    HANDLE Gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

TEST(LogonTask, TheHelpStartsForEveryUserWithTheirOwnRights)
{
    FakeScheduler scheduler;
    FakePlatformApi platform(scheduler);
    EXPECT_EQ(0, LogonTask(platform, 10000).Change(LogonTask::Register, Data()));
    EXPECT_TRUE(scheduler.Logged("IPrincipal::put_RunLevel(0)"));
    EXPECT_TRUE(scheduler.Logged("ITaskFolder::RegisterTaskDefinition(Portica Dock Help,definition,6,"
                                 "VT_BSTR:Benutzer,VT_EMPTY,4,VT_BSTR:)"));
    EXPECT_TRUE(scheduler.Logged(PathCall));
    EXPECT_EQ(0, platform.SecurityCalls) << "the installer's COM security was set";
    EXPECT_EQ(0, LogonTask(platform, 10000).Commit(Record()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Record().c_str())) << "the record stayed";
}

TEST(LogonTask, RollbackPutsBackWhatTheChangeFound)
{
    FakeScheduler scheduler;
    FakePlatformApi platform(scheduler);
    scheduler.Tasks = Registered;
    EXPECT_EQ(0, LogonTask(platform, 10000).Change(LogonTask::Delete, Record()));
    EXPECT_EQ(0, LogonTask(platform, 10000).Restore(Data()));
    EXPECT_TRUE(scheduler.Logged(PathCall) && scheduler.Tasks == Registered) << "present, not put back";

    scheduler.Tasks.clear();
    EXPECT_EQ(0, LogonTask(platform, 10000).Change(LogonTask::Register, Data()));
    EXPECT_EQ(0, LogonTask(platform, 10000).Restore(Data()));
    EXPECT_TRUE(scheduler.Tasks.empty()) << "absent, not put back";

    // The look-up refused: the rollback leaves the task alone.
    scheduler.FolderExists = true;
    scheduler.Fail("ITaskFolder::GetTask", E_ACCESSDENIED, 1);
    EXPECT_EQ(0, LogonTask(platform, 10000).Change(LogonTask::Register, Data()));
    scheduler.Log.clear();
    EXPECT_EQ(LogonTask::LeftAlone, LogonTask(platform, 10000).Restore(Data()));
    EXPECT_TRUE(scheduler.Log.empty() && scheduler.Tasks == Registered);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Record().c_str())) << "the record stayed";

    // A deletion the scheduler refuses is not reported as done.
    scheduler.Fail("ITaskFolder::DeleteTask", E_ACCESSDENIED);
    EXPECT_EQ(LogonTask::StillThere, LogonTask(platform, 10000).Run(LogonTask::Delete));
    EXPECT_EQ(0, StubObjects::Live());
}

// The rollback waits for its own change still running (here a
// registration that ran out of time), logs how it ended and only then
// decides; when the change does not end in time it leaves the task alone.
TEST(LogonTask, RollbackWaitsForTheChangeStillRunning)
{
    FakeScheduler scheduler;
    GatedPlatform platform(scheduler);
    EXPECT_EQ(LogonTask::TimedOut, LogonTask(platform, 200).Change(LogonTask::Register, Data()));
    // Only SYSTEM and administrators may open the turn it holds.
    HANDLE turn = OpenSemaphoreW(READ_CONTROL, FALSE, L"Local\\PorticaDockLogonTask");
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    LPWSTR dacl = nullptr;
    EXPECT_EQ(ERROR_SUCCESS, GetSecurityInfo(turn, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                                             nullptr, nullptr, &descriptor));
    EXPECT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                                     DACL_SECURITY_INFORMATION, &dacl, nullptr));
    EXPECT_STREQ(L"D:P(A;;GA;;;SY)(A;;GA;;;BA)", dacl);
    LocalFree(dacl);
    LocalFree(descriptor);
    CloseHandle(turn);
    LogonTask early(platform, 200, 200);
    EXPECT_EQ(LogonTask::LeftAlone, early.Restore(Data()));
    EXPECT_EQ(L"change: The change of the task did not end within 200 ms. (result 56)", early.Lines().at(0));
    SetEvent(platform.Gate);
    EXPECT_EQ(0, LogonTask(platform, 200, 10000).Commit(Record()));
    EXPECT_TRUE(scheduler.Tasks == Registered && !scheduler.Logged("ITaskFolder::DeleteTask"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(Record().c_str())) << "a late change left its record";

    scheduler.Tasks.clear();
    scheduler.Log.clear();
    ResetEvent(platform.Gate);
    EXPECT_EQ(LogonTask::TimedOut, LogonTask(platform, 200).Change(LogonTask::Register, Data()));
    SetEvent(platform.Gate);
    LogonTask waiting(platform, 10000, 10000);
    EXPECT_EQ(0, waiting.Restore(Data()));
    EXPECT_EQ(L"change: ended: register C:\\Portica Dock\\dockhint.exe: Before: The task does not exist. "
              L"DOMAIN_ALIAS_RID_USERS: Benutzer Success! Task successfully registered. (result 0)",
              waiting.Lines().at(0));
    EXPECT_TRUE(scheduler.Tasks.empty()) << "absent before, not put back";
    EXPECT_EQ(0, StubObjects::Live());
}

} // namespace
