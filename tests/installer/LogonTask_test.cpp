// The installer's logon task work against the fake Task Scheduler: the state
// is known only when the look-up said so, a rollback restores only what was
// known, a change waits for one that ran out of time, and the installer's
// COM security is left alone.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "FakePlatformApi.h"
#include "FakeTaskScheduler.h"
#include "LogonTask.h"
#include "TaskSchedulerStubs.h"

namespace {

const wchar_t ProgramPath[] = L"C:\\Program Files (x86)\\Tavrinex\\Portica Dock\\dockhint.exe";
const DWORD Limit = 10000;
const DWORD ShortLimit = 200;

// A scheduler that does not answer until the test opens the gate; then it
// answers as the fake does, or, with FailAfterGate, fails without touching
// the fake again, so that a thread the caller gave up on ends by itself.
class GatedPlatform : public FakePlatformApi {
public:
  using FakePlatformApi::FakePlatformApi;
  ~GatedPlatform() override
  {
    CloseHandle(Gate);
    CloseHandle(Answered);
  }

  HRESULT CoCreateInstance(REFCLSID Clsid, LPUNKNOWN Outer, DWORD Context, REFIID Iid,
                           LPVOID* Object) override
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

bool Logged(const FakeScheduler& Scheduler, const std::string& Method)
{
  return std::any_of(Scheduler.Log.begin(), Scheduler.Log.end(),
                     [&](const std::string& Entry) { return Entry.find(Method) != std::string::npos; });
}

class LogonTaskTest : public testing::Test {
protected:
  void TearDown() override
  {
    EXPECT_EQ(0, StubObjects::Live()) << "scheduler objects still referenced";
  }

  FakeScheduler Scheduler;
};

TEST_F(LogonTaskTest, LookKnowsOnlyWhatItFound)
{
  FakePlatformApi platform(Scheduler);
  Scheduler.Tasks = {LogonTask::Name};
  EXPECT_EQ(LogonTask::Present, LogonTask(platform, Limit).Look());
  Scheduler.Tasks.clear();
  EXPECT_EQ(LogonTask::Absent, LogonTask(platform, Limit).Look());
  Scheduler.FolderExists = false;
  EXPECT_EQ(LogonTask::Absent, LogonTask(platform, Limit).Look()) << "no maker's folder";

  Scheduler.Fail("ITaskFolder::GetTask", E_ACCESSDENIED, 1);
  Scheduler.FolderExists = true;
  LogonTask denied(platform, Limit);
  EXPECT_EQ(LogonTask::Unknown, denied.Look());
  EXPECT_EQ(L"find: Cannot look for the task: 80070005 (result 51)", denied.Lines().at(0));

  GatedPlatform silent(Scheduler);
  silent.FailAfterGate = true;
  LogonTask late(silent, ShortLimit);
  EXPECT_EQ(LogonTask::Unknown, late.Look()) << "a look-up that ran out of time";
  EXPECT_EQ(L"find: The Task Scheduler did not answer within 200 ms. (result 54)", late.Lines().at(0));
  SetEvent(silent.Gate);
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(silent.Answered, Limit));
}

TEST_F(LogonTaskTest, RestorePutsBackOnlyWhatWasKnown)
{
  FakePlatformApi platform(Scheduler);
  LogonTask present(platform, Limit);
  EXPECT_EQ(0, present.Restore(LogonTask::StateFromName(LogonTask::StateName(LogonTask::Present)), ProgramPath));
  EXPECT_EQ(std::vector<std::wstring>{LogonTask::Name}, Scheduler.Tasks) << "registered again";
  EXPECT_EQ(0, platform.SecurityCalls) << "the installer's COM security was set";

  LogonTask absent(platform, Limit);
  EXPECT_EQ(0, absent.Restore(LogonTask::StateFromName(LogonTask::StateName(LogonTask::Absent)), ProgramPath));
  EXPECT_TRUE(Scheduler.Tasks.empty()) << "deleted";

  // Unknown, and what an earlier package or the command line could hand over.
  for (const wchar_t* state : {L"unknown", L"", L"1", L"Present"}) {
    Scheduler.Tasks = {LogonTask::Name};
    Scheduler.Log.clear();
    LogonTask unknown(platform, Limit);
    EXPECT_EQ(LogonTask::LeftAlone, unknown.Restore(LogonTask::StateFromName(state), ProgramPath));
    EXPECT_TRUE(Scheduler.Log.empty()) << "the scheduler was asked for state '" << state << "'";
    EXPECT_EQ(std::vector<std::wstring>{LogonTask::Name}, Scheduler.Tasks);
    EXPECT_EQ(L"restore: what was there before is not known: the task is left as it is (result 58)",
              unknown.Lines().at(0));
  }
}

TEST_F(LogonTaskTest, ChangeWaitsForTheOneStillRunning)
{
  GatedPlatform platform(Scheduler);
  LogonTask task(platform, ShortLimit);
  EXPECT_EQ(LogonTask::TimedOut, task.Run(LogonTask::Register, ProgramPath));
  EXPECT_EQ(LogonTask::Busy, task.Run(LogonTask::Delete));
  EXPECT_EQ(L"delete: An earlier change of the task did not end within 200 ms: the task is left as it is. "
            L"(result 56)",
            task.Lines().at(1));
  EXPECT_FALSE(Logged(Scheduler, "DeleteTask")) << "the deletion overlapped the registration";

  // The late registration ends first; the deletion then takes the task away.
  SetEvent(platform.Gate);
  EXPECT_EQ(0, LogonTask(platform, Limit).Run(LogonTask::Delete));
  EXPECT_TRUE(Logged(Scheduler, "RegisterTaskDefinition"));
  EXPECT_TRUE(Scheduler.Tasks.empty()) << "the late registration outlived the deletion";
}

} // namespace
