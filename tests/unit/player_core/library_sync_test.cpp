// The player in network mode: the auto-sync timer, the lock's heartbeat timer, what a reload
// reaches and in which order, and a lock file that cannot be used.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "player_fixture.h"
#include "shared/sync_stamp.h"

namespace wdx::player::testing {
namespace {

constexpr char kStamp[] = "C:\\WENDRIX\\WENDX.WDY";

// One reload of everything, in its order (the editor's notices left out).
const Log kReload = {"tray menu icons gone", "floaters closed", "mouse areas gone", "schedules",
                     "tray menu icons",      "floaters open",   "mouse areas"};

// Starts `player` with every collaborator logging into `parts`, as the program block does: in
// network mode the stamp is read before the main window is created.
void StartLogging(StandAlonePlayer& player, LoggingParts& parts) {
  player.AddMacros(SystemMacros());
  player.configs->LoadAllSettings();
  player.main = std::make_unique<TMainWin>(player.p, *player.hook, player.block, player.settings, *player.configs,
                                           kFolder, parts.All());
  if (player.settings.networkMode) player.main->Sync().ReadStamp();
  ASSERT_TRUE(player.main->Create());
  parts.log.clear();
}

class LibrarySyncTest : public PlayerFixture {
 protected:
  void Network(const char* mode, const char* autoSync, const char* minutes) {
    mem.profile.WriteString(kSettingsFileName, "Network", "Network Mode", mode);
    mem.profile.WriteString(kSettingsFileName, "Network", "Auto Sync", autoSync);
    mem.profile.WriteString(kSettingsFileName, "Network", "Sync Minutes", minutes);
  }
  void StartWith(LoggingParts& parts) { StartLogging(*this, parts); }
  // The calls of the reload steps in `log`, in order.
  static Log ReloadSteps(const Log& log) {
    const std::set<std::string> steps(kReload.begin(), kReload.end());
    Log out;
    std::copy_if(log.begin(), log.end(), std::back_inserter(out), [&](const std::string& s) { return steps.count(s); });
    return out;
  }
  // Minutes of the clock, with the messages they bring.
  void Minutes(int n) {
    for (int i = 0; i < n; ++i) {
      mem.clock.Advance(60000);
      Pump();
    }
  }
  TSyncRec Stamp() {
    TSyncRec r;
    EXPECT_TRUE(ReadSyncStamp(Native(kStamp), r));
    return r;
  }
};

TEST_F(LibrarySyncTest, AutoSyncReloadsEverythingEverySyncMinutesInOrder) {
  Network("Yes", "Yes", "3");
  LoggingParts parts;
  StartWith(parts);
  Minutes(2);
  EXPECT_EQ(ReloadSteps(parts.log), Log{});
  // Another user adds a macro on Ctrl+B: the third minute's reload brings it to the hot keys.
  AddMacros({{"b", kCtrlB, scope::kGlobal, "", "bee"}});
  Minutes(1);
  EXPECT_EQ(ReloadSteps(parts.log), kReload);
  EXPECT_TRUE(hook->Block().HotKeyMapped(kCtrlB));
  parts.log.clear();
  Minutes(3);
  EXPECT_EQ(ReloadSteps(parts.log), kReload);
}

TEST_F(LibrarySyncTest, WhenTheSyncTimerRuns) {
  const struct {
    const char* mode;
    const char* autoSync;
    const char* minutes;
    int reloadsInThreeMinutes;
  } cases[] = {
      {"Yes", "Yes", "0", 3},  // 0 and 1: every minute
      {"Yes", "Yes", "1", 3},
      {"Yes", "No", "1", 0},
      {"No", "Yes", "1", 0},  // auto sync belongs to network mode
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.mode) + " " + c.autoSync + " " + c.minutes);
    StandAlonePlayer player;
    player.mem.profile.WriteString(kSettingsFileName, "Network", "Network Mode", c.mode);
    player.mem.profile.WriteString(kSettingsFileName, "Network", "Auto Sync", c.autoSync);
    player.mem.profile.WriteString(kSettingsFileName, "Network", "Sync Minutes", c.minutes);
    LoggingParts parts;
    StartLogging(player, parts);
    for (int i = 0; i < 3; ++i) {
      player.mem.clock.Advance(60000);
      player.Pump();
    }
    const Log steps = ReloadSteps(parts.log);
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "tray menu icons gone"), c.reloadsInThreeMinutes);
    EXPECT_EQ(std::filesystem::exists(player.Native(kStamp)), std::string(c.mode) == "Yes");
  }
}

TEST_F(LibrarySyncTest, TheHeartbeatRunsWhileThePlayerHoldsTheLock) {
  Network("Yes", "No", "10");
  LoggingParts parts;
  StartWith(parts);
  EXPECT_EQ(Stamp().counter, 1);  // created at start, its counter known
  EXPECT_FALSE(main->Sync().FileInUse());
  EXPECT_TRUE(mem.desktop.HasTimer(main->MainWindow(), kNetTimerId));
  mem.clock.Advance(kHeartbeatMs);
  Pump();
  EXPECT_EQ(Stamp(), (TSyncRec{1, sync_state::kInUse, mem.clock.Now()}));
  main->Sync().ReleaseSyncFile(1);
  EXPECT_FALSE(mem.desktop.HasTimer(main->MainWindow(), kNetTimerId));
  EXPECT_EQ(Stamp().counter, 2);
  EXPECT_EQ(Stamp().state, sync_state::kFree);
  EXPECT_EQ(main->Sync().KnownCounter(), 2);
  EXPECT_EQ(ReloadSteps(parts.log), Log{});

  // Closing gives back a lock still held, without a change.
  EXPECT_FALSE(main->Sync().FileInUse());
  main->RequestClose();
  EXPECT_EQ(Stamp().state, sync_state::kFree);
  EXPECT_EQ(Stamp().counter, 2);
}

TEST_F(LibrarySyncTest, AnotherUsersChangeIsReloadedAndRefusedOnce) {
  Network("Yes", "No", "10");
  LoggingParts parts;
  StartWith(parts);
  ASSERT_TRUE(WriteSyncStamp(Native(kStamp), TSyncRec{3, sync_state::kFree, 0.0}));
  EXPECT_TRUE(main->Sync().FileInUse());
  EXPECT_EQ(ReloadSteps(parts.log), kReload);
  EXPECT_FALSE(main->Sync().FileInUse());
  main->Sync().ReleaseSyncFile(0);
}

TEST_F(LibrarySyncTest, NetworkModeOffTouchesNoFile) {
  Network("No", "Yes", "1");
  LoggingParts parts;
  StartWith(parts);
  EXPECT_FALSE(main->Sync().FileInUse());
  main->Sync().ReleaseSyncFile(1);
  EXPECT_FALSE(mem.desktop.HasTimer(main->MainWindow(), kNetTimerId));
  EXPECT_FALSE(std::filesystem::exists(Native(kStamp)));
}

TEST_F(LibrarySyncTest, ALockFileThatCannotBeWrittenIsSaidOnce) {
  Network("Yes", "No", "10");
  LoggingParts parts;
  StartWith(parts);
  namespace fs = std::filesystem;
  const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(Native(kStamp), write, fs::perm_options::remove);
  EXPECT_TRUE(main->Sync().FileInUse());
  EXPECT_TRUE(main->Sync().FileInUse());
  EXPECT_EQ(BoxTexts(), std::vector<std::string>{std::string(kLockProblemCaption) + ": The network lock file " + kStamp +
                                                 " cannot be written."});
  EXPECT_FALSE(mem.desktop.HasTimer(main->MainWindow(), kNetTimerId));
  fs::permissions(Native(kStamp), write, fs::perm_options::add);
  EXPECT_FALSE(main->Sync().FileInUse());
  main->Sync().ReleaseSyncFile(0);
}

}  // namespace
}  // namespace wdx::player::testing
