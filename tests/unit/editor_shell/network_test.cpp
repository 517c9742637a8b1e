// Network mode in the editor (the library lock around a change, its heartbeat, the reload of a
// library changed by another user, the sync timer, the network dialog) and the companion files
// that follow the library: the categories file and the remap keys in the player's block.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "editor_fixture.h"
#include "editor/shell/companion_files.h"
#include "editor/shell/network_dialog.h"
#include "forms/user.h"
#include "shared/protocol_messages.h"
#include "shared/remap_keys.h"
#include "shared/sync_stamp.h"

namespace wdx::editor::testing {
namespace {

constexpr char kStamp[] = "C:\\LIBS\\ABC.WDY";
constexpr char kCategories[] = "C:\\LIBS\\ABC.WDC";

std::string ReadText(EditorFixture& f, const std::string& path) {
  std::ifstream in(f.mem.NativePath(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteText(EditorFixture& f, const std::string& path, const std::string& text) {
  std::ofstream(f.mem.NativePath(path), std::ios::binary | std::ios::trunc) << text;
}

TSyncRec ReadStamp(EditorFixture& f) {
  const std::string bytes = ReadText(f, kStamp);
  TSyncRec r;
  if (bytes.size() >= kSyncRecSize) r.Decode(ConstBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), kSyncRecSize));
  return r;
}

void WriteStamp(EditorFixture& f, const TSyncRec& r) {
  std::array<std::uint8_t, kSyncRecSize> bytes{};
  r.Encode(Bytes(bytes.data(), bytes.size()));
  std::ofstream(f.mem.NativePath(kStamp), std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// An editor over a library of two macros, in network mode unless told otherwise.
class NetworkEditor : public ::testing::Test {
 protected:
  void Start(bool network = true, bool autoSync = false, int minutes = 2) {
    f.WriteLibrary({{"first", 0}, {"second", 1}});
    f.mem.profile.WriteString("WENDX.INI", "Network", "Network Mode", network ? "Yes" : "No");
    f.mem.profile.WriteString("WENDX.INI", "Network", "Auto Sync", autoSync ? "Yes" : "No");
    f.mem.profile.WriteString("WENDX.INI", "Network", "Sync Minutes", std::to_string(minutes));
    ASSERT_EQ(f.Start(), StartCheck::kRun);
    f.TakeNotices();
  }
  LibrarySync& Lock() { return *f.editor->Context().sync; }
  // Another user's change: a macro appended and the counter raised by two.
  void ChangedByAnother() {
    std::vector<TMacroRec> records = f.ReadLibrary();
    records.push_back(MakeRecord({"theirs", activation::kNone}));
    std::ofstream out(f.mem.NativePath(kLibrary), std::ios::binary | std::ios::trunc);
    for (const TMacroRec& r : records) out.write(reinterpret_cast<const char*>(r.data()), kMacroRecSize);
    out.close();
    TSyncRec stamp = ReadStamp(f);
    stamp.counter += 2;
    WriteStamp(f, stamp);
  }
  EditorFixture f;
};

TEST_F(NetworkEditor, OutsideNetworkModeTheLockIsNeverAskedAndNoStampIsMade) {
  Start(false);
  EXPECT_FALSE(Lock().FileInUse());
  Lock().ReleaseSyncFile(1);
  EXPECT_FALSE(std::filesystem::exists(f.mem.NativePath(kStamp)));
  EXPECT_FALSE(f.Main().NetTimer.enabled());
  EXPECT_FALSE(f.Main().SyncTimer.enabled());
  EXPECT_TRUE(f.mem.boxes.shown.empty());
}

TEST_F(NetworkEditor, AChangeTakesTheLockBeatsTheHeartAndGivesItBackCounted) {
  Start();
  ASSERT_FALSE(Lock().FileInUse());
  EXPECT_EQ(ReadStamp(f).state, sync_state::kInUse);
  EXPECT_TRUE(f.Main().NetTimer.enabled()) << "the heartbeat runs while the lock is held";
  const double before = ReadStamp(f).heartbeat;
  f.mem.clock.Advance(30000);
  forms::user::FireTimer(f.Main().NetTimer);
  EXPECT_GT(ReadStamp(f).heartbeat, before);

  const std::int32_t counter = ReadStamp(f).counter;
  Lock().ReleaseSyncFile(1);
  EXPECT_EQ(ReadStamp(f), (TSyncRec{counter + 1, sync_state::kFree, ReadStamp(f).heartbeat}));
  EXPECT_FALSE(f.Main().NetTimer.enabled());
  // A second release gives back nothing: only a held lock counts a change.
  Lock().ReleaseSyncFile(1);
  EXPECT_EQ(ReadStamp(f).counter, counter + 1);
  EXPECT_TRUE(f.mem.boxes.shown.empty());
}

TEST_F(NetworkEditor, AnotherUsersLockRefusesUntilItsHeartbeatStoodStillAMinute) {
  Start();
  WriteStamp(f, TSyncRec{Lock().Lock().KnownCounter(), sync_state::kInUse, 46000.25});
  EXPECT_TRUE(Lock().FileInUse());
  ASSERT_EQ(f.mem.boxes.shown.size(), 1u);
  EXPECT_EQ(f.mem.boxes.shown[0].text, "Macro File in use by another user.  Please try again later.");
  EXPECT_EQ(f.mem.boxes.shown[0].caption, "Error");
  f.mem.clock.Advance(59000);
  EXPECT_TRUE(Lock().FileInUse()) << "still within the minute";
  f.mem.clock.Advance(2000);
  EXPECT_FALSE(Lock().FileInUse()) << "a dead holder's lock is taken over";
  EXPECT_EQ(ReadStamp(f).state, sync_state::kInUse);
  Lock().ReleaseSyncFile(0);
  EXPECT_EQ(ReadStamp(f).state, sync_state::kFree);
}

TEST_F(NetworkEditor, ALibraryChangedByAnotherIsReloadedOnceAndTheChangeRefused) {
  Start();
  f.Main().MyGrid.SetRow(2);
  ChangedByAnother();
  EXPECT_TRUE(Lock().FileInUse());
  ASSERT_EQ(f.mem.boxes.shown.size(), 1u);
  EXPECT_EQ(f.mem.boxes.shown[0].caption, "Notice");
  EXPECT_EQ(f.mem.boxes.shown[0].text,
            "Macro File has changed by another user.  Changed macro file will be reloaded after clicking \"ok\".");
  EXPECT_EQ(f.Main().List().count(), 8) << "their macro is listed";
  EXPECT_EQ(f.Main().MyGrid.row(), 2) << "the chosen row stays";
  EXPECT_EQ(f.TakeNotices(), (std::vector<std::pair<int, std::int64_t>>{
                                 {control::kDataGroup, data_group::kHotKeyMap},
                                 {control::kLibraryReplaced, 0},
                                 {control::kSchedulesChanged, 0}}));
  EXPECT_EQ(ReadStamp(f).state, sync_state::kFree) << "nothing was taken";
  EXPECT_FALSE(Lock().FileInUse()) << "the next attempt goes ahead on the fresh library";
  Lock().ReleaseSyncFile(1);
}

TEST_F(NetworkEditor, AClosedFloatingMenuStaysActiveWhileAnotherHoldsTheLock) {
  f.WriteLibrary({{"menu", activation::kFloatingMenu, scope::kFloatingMenu}});
  f.mem.profile.WriteString("WENDX.INI", "Network", "Network Mode", "Yes");
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  WriteStamp(f, TSyncRec{f.editor->Context().sync->Lock().KnownCounter(), sync_state::kInUse, 46000.5});
  f.mem.desktop.PostMessage(f.Main().Handle(), UM_CONTROL, editor_notice::kFloaterClosed, 1);
  f.mem.desktop.PumpPending();
  EXPECT_EQ(f.ReadLibrary()[0].Active(), 1);
  ASSERT_EQ(f.mem.boxes.shown.size(), 1u);
  EXPECT_EQ(f.mem.boxes.shown[0].text, kInUseText);
}

TEST_F(NetworkEditor, TheSyncTimerReloadsEverySyncMinutesOnlyInNetworkModeWithAutoSync) {
  struct Case {
    bool network, autoSync;
  };
  for (const Case c : {Case{true, false}, Case{false, true}}) {
    EditorFixture g;
    g.WriteLibrary({{"a", 0}});
    g.mem.profile.WriteString("WENDX.INI", "Network", "Network Mode", c.network ? "Yes" : "No");
    g.mem.profile.WriteString("WENDX.INI", "Network", "Auto Sync", c.autoSync ? "Yes" : "No");
    ASSERT_EQ(g.Start(), StartCheck::kRun);
    EXPECT_FALSE(g.Main().SyncTimer.enabled()) << c.network << c.autoSync;
  }

  Start(true, true, 2);
  ASSERT_TRUE(f.Main().SyncTimer.enabled());
  EXPECT_EQ(f.Main().SyncTimer.interval(), 60000u);
  ChangedByAnother();
  forms::user::FireTimer(f.Main().SyncTimer);
  EXPECT_EQ(f.Main().List().count(), 7) << "one minute of two";
  forms::user::FireTimer(f.Main().SyncTimer);
  EXPECT_EQ(f.Main().List().count(), 8);
  EXPECT_TRUE(f.mem.boxes.shown.empty()) << "a timed reload asks nobody";
  for (const auto& [code, arg] : f.TakeNotices()) EXPECT_NE(code, control::kLibraryReplaced) << "nor tells the player";
}

TEST_F(NetworkEditor, TheNetworkDialogAppliesHoweverItCloses) {
  Start(false, true, 10);
  // Switched on and closed by the close box: applied, the stamp read at once.
  WriteStamp(f, TSyncRec{41, sync_state::kFree, 0.0});
  f.runner.Then([](forms::Form& form) {
    auto& dialog = static_cast<TNetworkConsiderations&>(form);
    EXPECT_FALSE(dialog.AutoSync.enabled()) << "off with network mode";
    forms::user::Click(dialog.NetworkOption);
    EXPECT_TRUE(dialog.AutoSync.enabled());
    forms::user::CloseBox(dialog);
  });
  forms::user::ChooseMenu(f.Main(), "MenuNetwork");
  ASSERT_EQ(f.runner.shown.back().caption, "Network Considerations");
  EXPECT_EQ(f.mem.profile.GetString("WENDX.INI", "Network", "Network Mode", "", 10), "Yes");
  EXPECT_EQ(Lock().Lock().KnownCounter(), 41) << "switching on takes the stamp's counter as known";
  EXPECT_TRUE(f.Main().SyncTimer.enabled());
  EXPECT_EQ(f.TakeNotices(), (std::vector<std::pair<int, std::int64_t>>{{control::kReadNetwork, 0}}));
  EXPECT_FALSE(Lock().FileInUse()) << "the library as loaded is not taken for changed";
  Lock().ReleaseSyncFile(0);

  // No minutes with auto sync checked: auto sync is stored off and the timer stops.
  f.runner.Then([](forms::Form& form) {
    auto& dialog = static_cast<TNetworkConsiderations&>(form);
    forms::user::EnterText(dialog.Minutes, "  ");
    forms::user::Click(dialog.OKButton);
  });
  forms::user::ChooseMenu(f.Main(), "MenuNetwork");
  EXPECT_EQ(f.mem.profile.GetString("WENDX.INI", "Network", "Auto Sync", "", 10), "No");
  EXPECT_EQ(f.mem.profile.GetString("WENDX.INI", "Network", "Sync Minutes", "", 10), "0");
  EXPECT_FALSE(f.Main().SyncTimer.enabled());

  // Switched off with Esc: the stamp is left as it is.
  const std::string stamp = ReadText(f, kStamp);
  f.runner.Then([](forms::Form& form) {
    auto& dialog = static_cast<TNetworkConsiderations&>(form);
    forms::user::Click(dialog.NetworkOption);
    forms::user::PressEscape(dialog);
  });
  forms::user::ChooseMenu(f.Main(), "MenuNetwork");
  EXPECT_EQ(f.mem.profile.GetString("WENDX.INI", "Network", "Network Mode", "", 10), "No");
  EXPECT_EQ(ReadText(f, kStamp), stamp);
}

TEST(NetworkModel, MinutesAreAWholeDecimalNumberKeptTo16Bits) {
  struct Case {
    const char* text;
    std::uint16_t minutes;
  };
  for (const Case c : {Case{"15", 15}, Case{" 7 ", 7}, Case{"", 0}, Case{"1a", 0}, Case{"-3", 65533}, Case{"x", 0}}) {
    NetworkModel m;
    m.minutes = c.text;
    EXPECT_EQ(m.SyncMinutes(), c.minutes) << c.text;
  }
}

TEST(CategoriesFile, PairsOfNameAndIdSortedWithTheFixedEntriesNeverSaved) {
  platform::MemoryPlatform mem;
  std::filesystem::create_directories(mem.NativePath("C:\\LIBS"));
  const std::filesystem::path file = mem.NativePath(kCategories);
  // An id of 0 or text is skipped, and a name without its id line at the end is ignored.
  std::ofstream(file, std::ios::binary) << "Work\r\n7\r\nzero\r\n0\r\nword\r\nabc\r\nhome\r\n3\r\nlonely\r\n";
  CategoryList list;
  list.Load(file);
  EXPECT_EQ(list.entries(), (std::vector<Category>{
                                {" *All Categories* ", 0}, {" *Unassigned* ", 0}, {"home", 3}, {"Work", 7}}));
  EXPECT_EQ(list.MaxCategoryId(), 7);
  ASSERT_TRUE(list.Save(file));
  std::ifstream in(file, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "home\r\n3\r\nWork\r\n7\r\n");

  list.Load(mem.NativePath("C:\\LIBS\\NONE.WDC"));
  EXPECT_EQ(list.entries().size(), 2u);
  EXPECT_EQ(list.MaxCategoryId(), 1);
  EXPECT_EQ(CategoriesFileName("C:\\LIBS\\x.wdx"), "C:\\LIBS\\x.WDC");
  EXPECT_EQ(SwapFileName("C:\\LIBS\\x.wdx"), "C:\\LIBS\\x.WDS");
}

TEST(CompanionFiles, TheLibrarysCategoriesAndRemapKeysFollowItWhenItOpens) {
  EditorFixture f;
  f.WriteLibrary({{"a", 0}});
  WriteText(f, kCategories, "Games\r\n2\r\n");
  // The player's remap block and its mutex, as a running player has them.
  auto mutex = f.mem.kernel.CreateMutex(kSwapMutexName, false);
  auto block = f.mem.kernel.CreateSharedMemory(kSwapBlockName, kSwapBlockSize);
  SwapTable remapped = NeutralSwapTable();
  remapped[0] = 'Q';
  ASSERT_TRUE(SaveSwapKeys(f.mem.NativePath("C:\\LIBS\\ABC.WDS"), remapped));
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  EXPECT_EQ(f.Main().CatList.items(), (std::vector<std::string>{" *All Categories* ", " *Unassigned* ", "Games"}));
  EXPECT_EQ(f.Main().CatList.itemIndex(), 0);
  EXPECT_EQ(f.Main().CategoryFilter(), kAllCategories);
  EXPECT_EQ(TSwapKeysShare(Bytes(block->Data(), kSwapBlockSize)).Table(), remapped);

  // Another library without companion files: both are made, the remap table neutral.
  f.WriteLibrary({{"b", 0}}, "C:\\LIBS\\NEW.WDX");
  f.Main().OpenSaveFile("C:\\LIBS\\NEW.WDX");
  EXPECT_EQ(ReadText(f, "C:\\LIBS\\NEW.WDC"), "");
  EXPECT_TRUE(std::filesystem::exists(f.mem.NativePath("C:\\LIBS\\NEW.WDS")));
  EXPECT_EQ(TSwapKeysShare(Bytes(block->Data(), kSwapBlockSize)).Table(), NeutralSwapTable());
  EXPECT_EQ(f.Main().CatList.count(), 2);

  // Without the player's mutex nothing is copied.
  mutex.reset();
  EXPECT_FALSE(SharedSwapTable(f.mem.kernel).WriteTable(remapped));
  EXPECT_EQ(TSwapKeysShare(Bytes(block->Data(), kSwapBlockSize)).Table(), NeutralSwapTable());
}

}  // namespace
}  // namespace wdx::editor::testing
