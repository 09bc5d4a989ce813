// The installer's task work over the fake Task Scheduler.
#include <gtest/gtest.h>

#include "FakePlatformApi.h"
#include "LogonTask.h"
#include "TaskSchedulerStubs.h"

namespace {

const wchar_t Path[] = L"C:\\Portica Dock\\dockhint.exe";
const std::vector<std::wstring> Registered = {LogonTask::Name};

// A scheduler that answers only once the gate is open; with FailAfterGate
// it then fails without touching the fake again.
struct GatedPlatform : FakePlatformApi {
  using FakePlatformApi::FakePlatformApi;
  HRESULT CoCreateInstance(REFCLSID Clsid, LPUNKNOWN Outer, DWORD Context, REFIID Iid, LPVOID* Object) override
  {
    WaitForSingleObject(Gate, INFINITE);
    const HRESULT hr = FailAfterGate ? E_FAIL : FakePlatformApi::CoCreateInstance(Clsid, Outer, Context, Iid, Object);
    SetEvent(Answered);
    return hr;
  }
  HANDLE Gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE Answered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  bool FailAfterGate = false;
};

TEST(LogonTask, LookKnowsOnlyWhatItFound)
{
  FakeScheduler scheduler;
  FakePlatformApi platform(scheduler);
  scheduler.Tasks = Registered;
  EXPECT_EQ(LogonTask::Present, LogonTask(platform, 10000).Look());
  scheduler.FolderExists = false;
  EXPECT_EQ(LogonTask::Absent, LogonTask(platform, 10000).Look());
  scheduler.FolderExists = true;
  scheduler.Fail("ITaskFolder::GetTask", E_ACCESSDENIED, 1);
  EXPECT_EQ(LogonTask::Unknown, LogonTask(platform, 10000).Look()) << "refused";

  GatedPlatform silent(scheduler);
  silent.FailAfterGate = true;
  LogonTask late(silent, 200);
  EXPECT_EQ(LogonTask::Unknown, late.Look()) << "out of time";
  EXPECT_EQ(L"find: The Task Scheduler did not answer within 200 ms. (result 54)", late.Lines().at(0));
  SetEvent(silent.Gate);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(silent.Answered, 10000));
  EXPECT_EQ(0, StubObjects::Live());
}

TEST(LogonTask, RestorePutsBackOnlyWhatWasKnown)
{
  FakeScheduler scheduler;
  FakePlatformApi platform(scheduler);
  EXPECT_EQ(0, LogonTask(platform, 10000).Restore(LogonTask::StateFromName(L"present"), Path));
  EXPECT_EQ(Registered, scheduler.Tasks);
  EXPECT_EQ(0, platform.SecurityCalls) << "the installer's COM security was set";
  EXPECT_EQ(0, LogonTask(platform, 10000).Restore(LogonTask::StateFromName(L"absent"), Path));
  EXPECT_TRUE(scheduler.Tasks.empty());

  // Unknown, or the earlier package's "1" handed over.
  for (const wchar_t* state : {L"unknown", L"1"}) {
    scheduler.Tasks = Registered;
    scheduler.Log.clear();
    EXPECT_EQ(LogonTask::LeftAlone, LogonTask(platform, 10000).Restore(LogonTask::StateFromName(state), Path));
    EXPECT_TRUE(scheduler.Log.empty() && scheduler.Tasks == Registered) << "touched for " << state;
  }
  EXPECT_EQ(0, StubObjects::Live());
}

TEST(LogonTask, ChangeWaitsForTheOneStillRunning)
{
  FakeScheduler scheduler;
  GatedPlatform platform(scheduler);
  LogonTask task(platform, 200);
  EXPECT_EQ(LogonTask::TimedOut, task.Run(LogonTask::Register, Path));
  EXPECT_EQ(LogonTask::Busy, task.Run(LogonTask::Delete));
  EXPECT_TRUE(scheduler.Log.empty()) << "the deletion overlapped the registration";

  // The late registration ends first; the deletion then takes its task.
  SetEvent(platform.Gate);
  EXPECT_EQ(0, LogonTask(platform, 10000).Run(LogonTask::Delete));
  EXPECT_TRUE(scheduler.Logged("ITaskFolder::RegisterTaskDefinition") && scheduler.Tasks.empty());
  EXPECT_EQ(0, StubObjects::Live());
}

} // namespace
