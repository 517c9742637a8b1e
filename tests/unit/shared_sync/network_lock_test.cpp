// The library lock of network mode on a temporary folder with the stand-in's clock: the stamp
// file is real, and so is the operating system's lock around each step.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "platform/memory/memory_platform.h"
#include "shared/date_time.h"
#include "shared/network_lock.h"
#include "shared_sync/file_lock_scenarios.h"

namespace wdx {
namespace {

namespace fs = std::filesystem;
using testing::FileBytes;

class RecordingHost : public LockHost {
 public:
  void ReloadEverything() override { ++reloads; }
  void SetHeartbeat(bool on) override { heartbeat = on; }
  void LockProblem(const std::string& text) override { problems.push_back(text); }
  int reloads = 0;
  bool heartbeat = false;
  std::vector<std::string> problems;
};

class NetworkLockTest : public ::testing::Test {
 public:
  NetworkLockTest() {
    settings.networkMode = true;
    settings.currentLibrary = "C:\\NET\\LIB.WDX";
    fs::create_directories(mem.NativePath("C:\\NET"));
  }

  NetworkLock MakeLock(RecordingHost& h) {
    return NetworkLock(settings, mem.files, mem.clock, mem.fileLocks, h);
  }
  fs::path Stamp() const { return mem.NativePath("C:\\NET\\LIB.WDY"); }
  TSyncRec OnDisk() const {
    TSyncRec r;
    EXPECT_TRUE(ReadSyncStamp(Stamp(), r));
    return r;
  }
  // Another program's write of the stamp.
  void Put(const TSyncRec& r) { ASSERT_TRUE(WriteSyncStamp(Stamp(), r)); }
  void PutBytes(const std::string& bytes) {
    fs::permissions(Stamp(), fs::perms::owner_write, fs::perm_options::add);
    std::ofstream(Stamp(), std::ios::binary | std::ios::trunc) << bytes;
  }
  void Advance(std::uint64_t ms) { mem.clock.Advance(ms); }

  platform::MemoryPlatform mem;
  TSettingsRec settings;
  RecordingHost host;
  NetworkLock lock = MakeLock(host);
};

TEST_F(NetworkLockTest, NetworkModeOffTouchesNothing) {
  settings.networkMode = false;
  EXPECT_EQ(lock.Acquire(), LockAnswer::kOff);
  EXPECT_FALSE(lock.FileInUse());
  lock.ReleaseSyncFile(1);
  lock.NetTimerTimer();
  EXPECT_FALSE(fs::exists(Stamp()));
  EXPECT_EQ(host.reloads, 0);
  EXPECT_FALSE(host.heartbeat);
}

TEST_F(NetworkLockTest, TakeRefuseOwnLockAndRelease) {
  // At start the missing stamp is created free with counter 1, which becomes the known one.
  lock.ReadKnownCounter();
  EXPECT_EQ(OnDisk(), (TSyncRec{1, sync_state::kFree, 0.0}));
  EXPECT_EQ(lock.KnownCounter(), 1);

  const double now = mem.clock.Now();
  EXPECT_EQ(lock.Acquire(), LockAnswer::kTaken);
  EXPECT_TRUE(host.heartbeat);
  EXPECT_EQ(OnDisk(), (TSyncRec{1, sync_state::kInUse, now}));
  EXPECT_EQ(FileBytes(Stamp()).size(), kSyncRecSize);

  // Its own lock is refused, however long it holds it.
  Advance(10 * 60000);
  EXPECT_EQ(lock.Acquire(), LockAnswer::kHeld);
  EXPECT_TRUE(lock.FileInUse());
  EXPECT_EQ(OnDisk(), (TSyncRec{1, sync_state::kInUse, now}));

  // The heartbeat rewrites the time every beat.
  lock.NetTimerTimer();
  EXPECT_EQ(OnDisk().heartbeat, mem.clock.Now());

  lock.ReleaseSyncFile(1);
  EXPECT_FALSE(host.heartbeat);
  EXPECT_FALSE(lock.Holding());
  EXPECT_EQ(OnDisk().counter, 2);
  EXPECT_EQ(OnDisk().state, sync_state::kFree);
  EXPECT_EQ(lock.KnownCounter(), 2);
  // Nothing to release twice; and the counter is not raised again.
  lock.ReleaseSyncFile(1);
  EXPECT_EQ(OnDisk().counter, 2);
  EXPECT_EQ(lock.Acquire(), LockAnswer::kTaken);
  EXPECT_EQ(host.reloads, 0);
  EXPECT_TRUE(host.problems.empty());
}

TEST_F(NetworkLockTest, CounterMovedByAnotherUserReloadsOnce) {
  lock.ReadKnownCounter();
  Put({3, sync_state::kFree, 1.0});  // another user released after changing two macros
  EXPECT_EQ(lock.Acquire(), LockAnswer::kChanged);
  EXPECT_EQ(host.reloads, 1);
  EXPECT_EQ(lock.KnownCounter(), 3);
  EXPECT_FALSE(host.heartbeat);
  EXPECT_EQ(OnDisk(), (TSyncRec{3, sync_state::kFree, 1.0}));
  EXPECT_EQ(lock.Acquire(), LockAnswer::kTaken);
  EXPECT_EQ(host.reloads, 1);

  // The hot-key road's look at the counter.
  lock.ReleaseSyncFile(0);
  EXPECT_FALSE(lock.CounterMoved());
  Put({9, sync_state::kFree, 1.0});
  EXPECT_TRUE(lock.CounterMoved());
  EXPECT_FALSE(lock.CounterMoved());
  EXPECT_EQ(lock.KnownCounter(), 9);
}

TEST_F(NetworkLockTest, StaleLockIsTakenOverAfterAMinuteOfTheSameHeartbeat) {
  lock.ReadKnownCounter();
  Put({1, sync_state::kInUse, 36000.25});
  EXPECT_EQ(lock.Acquire(), LockAnswer::kHeld);  // first sight
  Advance(59000);
  EXPECT_EQ(lock.Acquire(), LockAnswer::kHeld);
  // A live holder's heartbeat moves: the minute starts again from when it was seen.
  Put({1, sync_state::kInUse, 36000.26});
  Advance(30000);
  EXPECT_EQ(lock.Acquire(), LockAnswer::kHeld);
  Advance(59999);
  EXPECT_EQ(lock.Acquire(), LockAnswer::kHeld);
  Advance(1);
  EXPECT_EQ(lock.Acquire(), LockAnswer::kTaken);
  EXPECT_EQ(OnDisk(), (TSyncRec{1, sync_state::kInUse, mem.clock.Now()}));
  EXPECT_EQ(host.reloads, 0);
}

TEST_F(NetworkLockTest, StaleTimeCountsWholeDateTimes) {
  lock.ReadKnownCounter();
  mem.clock.SetNow(EncodeDateTime({2001, 6, 15, 10, 0, 0, 0}));
  Put({1, sync_state::kInUse, 1.0});
  EXPECT_EQ(lock.Acquire(), LockAnswer::kHeld);
  // A day and thirty seconds later: the time of day alone would say thirty seconds.
  mem.clock.SetNow(EncodeDateTime({2001, 6, 16, 10, 0, 30, 0}));
  EXPECT_EQ(lock.Acquire(), LockAnswer::kTaken);
  lock.ReleaseSyncFile(0);

  // A clock set back does not make the holder look dead, nor stall the minute for good.
  Put({1, sync_state::kInUse, 2.0});
  EXPECT_EQ(lock.Acquire(), LockAnswer::kHeld);
  mem.clock.SetNow(EncodeDateTime({2001, 6, 16, 9, 0, 0, 0}));
  EXPECT_EQ(lock.Acquire(), LockAnswer::kHeld);
  Advance(60000);
  EXPECT_EQ(lock.Acquire(), LockAnswer::kTaken);
}

TEST_F(NetworkLockTest, DeadHoldersLockAfterOtherChangesIsFreedAndReloadedFirst) {
  lock.ReadKnownCounter();
  Put({5, sync_state::kInUse, 1.5});
  EXPECT_EQ(lock.Acquire(), LockAnswer::kHeld);
  Advance(60000);
  EXPECT_EQ(lock.Acquire(), LockAnswer::kChanged);
  EXPECT_EQ(host.reloads, 1);
  EXPECT_EQ(OnDisk(), (TSyncRec{5, sync_state::kFree, 1.5}));
  EXPECT_EQ(lock.Acquire(), LockAnswer::kTaken);
}

TEST_F(NetworkLockTest, LockTakenOverFromThisProgramStaysTheNewHolders) {
  lock.ReadKnownCounter();
  ASSERT_EQ(lock.Acquire(), LockAnswer::kTaken);
  // This program was silent for a minute; another took the lock, changed four macros and
  // released, and a third program holds it now.
  Put({5, sync_state::kInUse, 7.0});
  Advance(30000);
  lock.NetTimerTimer();
  EXPECT_EQ(OnDisk(), (TSyncRec{5, sync_state::kInUse, 7.0}));
  lock.ReleaseSyncFile(1);
  EXPECT_EQ(OnDisk(), (TSyncRec{6, sync_state::kInUse, 7.0}));
  // The other program's changes are still to be reloaded.
  EXPECT_EQ(lock.KnownCounter(), 1);
  EXPECT_EQ(lock.Acquire(), LockAnswer::kHeld);
}

TEST_F(NetworkLockTest, StepWaitsForAnotherProgramsStep) {
  lock.ReadKnownCounter();
  // Another program is between reading and writing the stamp.
  platform::LockAttempt other = mem.fileLocks.TryLock(Stamp().string());
  ASSERT_EQ(other.status, platform::LockStatus::kLocked);
  mem.clock.SetAdvanceHook([&, waited = std::uint64_t{0}](platform::MemoryClock&) mutable {
    if ((waited += kStampStepPollMs) >= 40) other.file.reset();
  });
  EXPECT_EQ(lock.Acquire(), LockAnswer::kTaken);
  EXPECT_EQ(lock.StepWaits(), 40 / kStampStepPollMs);
  mem.clock.SetAdvanceHook(nullptr);
  lock.ReleaseSyncFile(0);

  // One that never finishes: the request is refused after the wait, nothing written.
  other = mem.fileLocks.TryLock(Stamp().string());
  ASSERT_EQ(other.status, platform::LockStatus::kLocked);
  const std::string before = FileBytes(Stamp());
  const double start = mem.clock.Now();
  EXPECT_EQ(lock.Acquire(), LockAnswer::kHeld);
  EXPECT_NEAR((mem.clock.Now() - start) * 86400000.0, kStampStepWaitMs, 10);
  EXPECT_EQ(FileBytes(Stamp()), before);
  EXPECT_TRUE(host.problems.empty());
}

TEST_F(NetworkLockTest, TwoProgramsOnOneShare) {
  RecordingHost otherHost;
  NetworkLock other = MakeLock(otherHost);
  lock.ReadKnownCounter();
  other.ReadKnownCounter();
  ASSERT_EQ(lock.Acquire(), LockAnswer::kTaken);
  EXPECT_EQ(other.Acquire(), LockAnswer::kHeld);
  lock.ReleaseSyncFile(1);
  EXPECT_EQ(other.Acquire(), LockAnswer::kChanged);
  EXPECT_EQ(otherHost.reloads, 1);
  EXPECT_EQ(other.Acquire(), LockAnswer::kTaken);
  EXPECT_EQ(lock.Acquire(), LockAnswer::kHeld);
  other.ReleaseSyncFile(2);
  EXPECT_EQ(lock.Acquire(), LockAnswer::kChanged);
  EXPECT_EQ(OnDisk().counter, 4);
}

// Stamp files that cannot be used: the lock is never claimed, the user hears of it once, and
// the file is left as it was.
TEST_F(NetworkLockTest, UnusableStampFiles) {
  struct Case {
    const char* name;
    std::function<void(NetworkLockTest&)> spoil;
    const char* problem;  // the end of the message
  };
  const Case cases[] = {
      {"cut off", [](NetworkLockTest& t) { t.PutBytes("\x07\x00\x00\x00\x02"); }, "is damaged: delete it once no other program uses the macro file."},
      {"read-only", [](NetworkLockTest& t) { fs::permissions(t.Stamp(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write, fs::perm_options::remove); }, "cannot be written."},
      {"folder gone", [](NetworkLockTest& t) { t.settings.currentLibrary = "C:\\GONE\\LIB.WDX"; }, "cannot be written."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingHost h;
    NetworkLock l = MakeLock(h);
    settings.currentLibrary = "C:\\NET\\LIB.WDX";
    Put({4, sync_state::kFree, 0.0});
    l.ReadKnownCounter();  // what was known stays in memory: it must not answer for the file
    c.spoil(*this);
    const std::string before = fs::exists(Stamp()) ? FileBytes(Stamp()) : "";
    EXPECT_EQ(l.Acquire(), LockAnswer::kUnavailable);
    EXPECT_TRUE(l.FileInUse());
    EXPECT_FALSE(l.Holding());
    EXPECT_FALSE(h.heartbeat);
    ASSERT_EQ(h.problems.size(), 1u);
    EXPECT_EQ(h.problems[0], "The network lock file " + l.StampFile() + " " + c.problem);
    EXPECT_EQ(fs::exists(Stamp()) ? FileBytes(Stamp()) : "", before);
    EXPECT_FALSE(fs::exists(mem.NativePath("C:\\GONE")));
    fs::permissions(Stamp(), fs::perms::owner_write, fs::perm_options::add);
  }
}

TEST_F(NetworkLockTest, StampsOfOtherShapes) {
  lock.ReadKnownCounter();
  // Longer than a stamp: the first fourteen bytes count, and taking the lock cuts the rest.
  std::array<std::uint8_t, kSyncRecSize> bytes{};
  TSyncRec{1, sync_state::kFree, 3.0}.Encode(bytes);
  PutBytes(std::string(bytes.begin(), bytes.end()) + "trailing");
  EXPECT_EQ(lock.Acquire(), LockAnswer::kTaken);
  EXPECT_EQ(FileBytes(Stamp()).size(), kSyncRecSize);
  lock.ReleaseSyncFile(0);

  // Garbage in a stamp's size with an unknown state counts as free: the counter is taken,
  // the library reloaded, and the next request writes a proper stamp.
  PutBytes("garbage-bytes!");
  EXPECT_EQ(lock.Acquire(), LockAnswer::kChanged);
  EXPECT_EQ(lock.Acquire(), LockAnswer::kTaken);
  EXPECT_EQ(OnDisk().state, sync_state::kInUse);
  lock.ReleaseSyncFile(0);

  // A holder whose heartbeat is no number at all is still a holder that can go stale.
  Put({lock.KnownCounter(), sync_state::kInUse, std::numeric_limits<double>::quiet_NaN()});
  EXPECT_EQ(lock.Acquire(), LockAnswer::kHeld);
  Advance(60000);
  EXPECT_EQ(lock.Acquire(), LockAnswer::kTaken);

  // An empty stamp file is a new one.
  lock.ReleaseSyncFile(0);
  PutBytes("");
  EXPECT_EQ(lock.Acquire(), LockAnswer::kChanged);  // counter 1 again
  EXPECT_EQ(OnDisk().counter, 1);
  EXPECT_EQ(lock.Acquire(), LockAnswer::kTaken);
  EXPECT_TRUE(host.problems.empty());
}

TEST_F(NetworkLockTest, FailingHeartbeatIsReportedOnceAndTheProgramGoesOn) {
  lock.ReadKnownCounter();
  ASSERT_EQ(lock.Acquire(), LockAnswer::kTaken);
  fs::permissions(Stamp(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  for (int beat = 0; beat < 3; ++beat) {
    Advance(kHeartbeatMs);
    lock.NetTimerTimer();
  }
  EXPECT_EQ(host.problems.size(), 1u);
  EXPECT_TRUE(lock.Holding());
  // The share is back: the beat writes again, and a later outage is reported again.
  fs::permissions(Stamp(), fs::perms::owner_write, fs::perm_options::add);
  Advance(kHeartbeatMs);
  lock.NetTimerTimer();
  EXPECT_EQ(OnDisk().heartbeat, mem.clock.Now());
  fs::permissions(Stamp(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  lock.ReleaseSyncFile(1);
  EXPECT_EQ(host.problems.size(), 2u);
  EXPECT_FALSE(lock.Holding());
  EXPECT_FALSE(host.heartbeat);
  EXPECT_EQ(OnDisk().state, sync_state::kInUse);  // left to go stale for the others
}

TEST(MemoryFileLocks, Scenarios) {
  platform::MemoryPlatform mem;
  const fs::path dir = mem.NativePath("C:\\");
  testing::FileLockScenarios(mem.fileLocks, dir);
}

}  // namespace
}  // namespace wdx
