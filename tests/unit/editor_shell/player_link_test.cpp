// The player link: UM_CONTROL from the player, the hot key map, and the end of a recording.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "editor_fixture.h"
#include "shared/protocol_messages.h"

namespace wdx::editor::testing {
namespace {

void Post(EditorFixture& f, std::uint32_t message, std::uint64_t wparam, std::int64_t lparam) {
  f.mem.desktop.PostMessage(f.Main().Handle(), message, wparam, lparam);
  f.mem.desktop.PumpPending();
}

TEST(PlayerLink, ThePlayersNoticesReachTheTablesAndTheList) {
  EditorFixture f;
  f.WriteLibrary({{"first", 0}, {"second", 1}});
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  TMainWin& main = f.Main();
  TGlobData& glob = *f.editor->Context().glob;

  // 20: the player rewrote a record.
  std::vector<TMacroRec> records = f.ReadLibrary();
  records[1].SetNickname("renamed");
  records[1].SetActivationCode(activation::kNone);
  {
    std::ofstream out(f.mem.NativePath(kLibrary), std::ios::binary | std::ios::trunc);
    for (const TMacroRec& r : records) out.write(reinterpret_cast<const char*>(r.data()), kMacroRecSize);
  }
  Post(f, UM_CONTROL, editor_notice::kRecordWritten, 2);
  EXPECT_EQ(main.SelectedMacro(), 2);
  EXPECT_EQ(f.Row(main.MyGrid.row()), "None | renamed | GLOBAL");

  // 8 and 6: data groups copied back from the hook library.
  TGlobData pushed;
  pushed.SetMacroCount(7);
  pushed.SetScopeKind(2, scope::kProgram);
  f.hook.Push(PushGroup::kNumKeys, pushed);
  f.hook.Push(PushGroup::kItem, pushed, 2);
  Post(f, UM_CONTROL, editor_notice::kMacroEntries, 2);
  EXPECT_EQ(glob.ScopeKind(2), scope::kProgram);
  Post(f, UM_CONTROL, editor_notice::kDataGroup, data_group::kMacroCount);
  EXPECT_EQ(glob.MacroCount(), 7);

  // 21: everything again from the file.
  Post(f, UM_CONTROL, editor_notice::kReloadAll, 0);
  EXPECT_EQ(glob.MacroCount(), 7);
  EXPECT_EQ(glob.ScopeKind(2), scope::kGlobal);
  EXPECT_EQ(main.List().count(), 7);

  // Numbers that name no macro change nothing.
  for (std::int64_t bad : {-1ll, 0ll, 501ll, 70000ll}) {
    Post(f, UM_CONTROL, editor_notice::kRecordWritten, bad);
    Post(f, UM_CONTROL, editor_notice::kMacroEntries, bad);
    Post(f, UM_CONTROL, editor_notice::kFloaterClosed, bad);
  }
  Post(f, UM_CONTROL, 99, 1);
  EXPECT_EQ(main.List().count(), 7);
  EXPECT_TRUE(f.mem.boxes.shown.empty());
}

TEST(PlayerLink, AClosedFloatingMenuIsSwitchedOffAndThePlayerTold) {
  EditorFixture f;
  f.WriteLibrary({{"menu", activation::kFloatingMenu, scope::kFloatingMenu}, {"other", 3}});
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  f.TakeNotices();
  Post(f, UM_CONTROL, editor_notice::kFloaterClosed, 1);
  EXPECT_EQ(f.ReadLibrary()[0].Active(), 0);
  EXPECT_FALSE(f.editor->Context().glob->MacroActive(1));
  EXPECT_EQ(f.TakeNotices(), (std::vector<std::pair<int, std::int64_t>>{
                                 {control::kMacroEntries, 1}, {control::kReopenFloaters, 0}, {control::kDataGroup, 14}}));
}

TEST(PlayerLink, TheHotKeyMapHoldsActiveHotKeyMacrosOnly) {
  EditorFixture f;
  f.WriteLibrary({{"on", 5}, {"off", 6, 1, "", "", 0}, {"abbrev", activation::kAbbrekey, 1, "", "x"},
                  {"timed", activation::kTimed}, {"stray", 800}});
  ASSERT_EQ(f.Start(), StartCheck::kRun);
  f.TakeNotices();
  f.editor->Context().link->SetHotKeys();
  const TGlobData& glob = *f.editor->Context().glob;
  std::vector<int> mapped;
  for (int k = 0; k < kGlobHotKeyCount; ++k)
    if (glob.HotKeyMapped(k)) mapped.push_back(k);
  EXPECT_EQ(mapped, (std::vector<int>{5, 261, 262, 263, 264, 265}));
  EXPECT_TRUE(glob.AbbrekeysPresent());
  EXPECT_EQ(f.TakeNotices(), (std::vector<std::pair<int, std::int64_t>>{{control::kDataGroup, 14}}));
  // The hook library got the map.
  std::vector<std::uint8_t> library(kGlobDataSize);
  f.hook.WdxGetGlob(library);
  EXPECT_TRUE(TGlobData(library).HotKeyMapped(261));
}

class Recording : public ::testing::Test {
 protected:
  void SetUp() override {
    f.WriteLibrary({{"rec", 7}, {"abbrev", activation::kAbbrekey, 1, "", "sig"}});
    ASSERT_EQ(f.Start(), StartCheck::kRun);
  }
  // What the capture dialog leaves when it starts a recording of `macro`.
  void Begin(int macro) {
    ASSERT_TRUE(f.Main().CaptureWork().Create());
    f.Main().BeginRecording(macro, false);
    f.editor->Context().glob->SetCaptureOn(true);
  }
  void Type(const std::string& text, int macro = 1) {
    for (char c : text) Post(f, UM_CAPTURECHAR, static_cast<std::uint64_t>(macro), static_cast<unsigned char>(c));
  }
  bool Exists(const std::string& path) { return std::filesystem::exists(f.mem.NativePath(path)); }
  EditorFixture f;
};

TEST_F(Recording, UpTo5000CharactersGoIntoTheRecord) {
  Begin(1);
  Type(std::string(5000, 'k'));
  Post(f, UM_CAPTUREDONE, 1, 0);
  const TMacroRec r = f.ReadLibrary()[0];
  EXPECT_EQ(r.Text(), std::string(5000, 'k'));
  EXPECT_FALSE(Exists("C:\\WENDRIX\\TempCap.Txt"));
  EXPECT_FALSE(f.editor->Context().glob->CaptureOn());
  ASSERT_EQ(f.mem.boxes.shown.size(), 1u);
  EXPECT_EQ(f.mem.boxes.shown[0].text, "Wendrix 2000 capture is complete for Ctrl+H.");
  EXPECT_EQ(f.mem.boxes.shown[0].caption, "Capture");

  // A second end of the same recording changes nothing, and late characters are not kept.
  Type("late");
  Post(f, UM_CAPTUREDONE, 1, 0);
  EXPECT_EQ(f.ReadLibrary()[0].Text(), std::string(5000, 'k'));
  EXPECT_EQ(f.mem.boxes.shown.size(), 1u);
  EXPECT_FALSE(Exists("C:\\WENDRIX\\TempCap.Txt"));
}

TEST_F(Recording, ALongerRecordingGoesToAFileOfItsOwn) {
  std::ofstream(f.mem.NativePath("C:\\WENDRIX\\WD0.TXT")) << "taken";
  Begin(2);
  Type(std::string(5001, 'q'), 2);
  Post(f, UM_CAPTUREDONE, 2, 0);
  EXPECT_EQ(f.ReadLibrary()[1].Text(), "<TFILE:C:\\WENDRIX\\WD1.TXT>");
  std::ifstream kept(f.mem.NativePath("C:\\WENDRIX\\WD1.TXT"), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), std::string(5001, 'q'));
  EXPECT_EQ(f.mem.boxes.shown.back().text, "Wendrix 2000 capture is complete for Abbrekey: sig.");
}

TEST_F(Recording, MessagesNoRecordingOfThisEditorAwaitsChangeNothing) {
  // Any program can post these: without a recording started here no file or record changes.
  const std::vector<TMacroRec> before = f.ReadLibrary();
  Type("abc");
  Post(f, UM_CAPTUREDONE, 1, 0);
  EXPECT_EQ(f.ReadLibrary(), before);
  EXPECT_FALSE(Exists("C:\\WENDRIX\\TempCap.Txt"));
  EXPECT_TRUE(f.mem.boxes.shown.empty());

  // The end of a started recording keeps to its own macro, whatever number the message names.
  Begin(1);
  Type("abc", 400);
  Post(f, UM_CAPTUREDONE, 400, 0);
  EXPECT_EQ(f.ReadLibrary()[0].Text(), "abc");
  EXPECT_EQ(f.ReadLibrary()[1], before[1]);
}

}  // namespace
}  // namespace wdx::editor::testing
