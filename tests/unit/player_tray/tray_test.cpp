// The tray: the icons the player puts in the notification area (as the stand-in of the shell
// records them), what a run and the close do to them, the icons of popup-menu macros, and what
// the mouse on the icons and the tray menu do.
#include <gtest/gtest.h>

#include "forms/scripted_runner.h"
#include "player/core/player_tray.h"
#include "player_fixture.h"
#include "shared/protocol_messages.h"

namespace wdx::player::testing {
namespace {

using platform::NotifyCommand;

class TrayTest : public PlayerFixture {
 protected:
  TrayTest() : runner(mem.desktop, mem.desktop) { forms = &runner; }
  // The mouse on an icon, as the shell reports it to the icon's window.
  void Mouse(const platform::NotifyIcon& icon, std::int64_t what) {
    mem.desktop.PostMessage(icon.window, icon.callbackMessage, icon.id, what);
    Pump();
  }
  const platform::NotifyIcon& MainIcon() const { return mem.shellIcons.shown.at(0); }
  forms::ScriptedRunner runner;
};

TEST_F(TrayTest, TheMainIconShowsTheRunAndGoesAtTheClose) {
  AddMacros({{"hello", kCtrlAltH, scope::kGlobal, "", "hi"}});
  Start();
  ASSERT_EQ(mem.shellIcons.shown.size(), 1u);
  EXPECT_EQ(MainIcon().tip, "Wendrix 2000");
  EXPECT_EQ(MainIcon().id, 0u);
  EXPECT_EQ(MainIcon().callbackMessage, 0x400u);
  EXPECT_EQ(mem.shellIcons.ImageName(MainIcon().icon), "idle");
  EXPECT_EQ(mem.desktop.GetClassName(MainIcon().window), "TTaskIcon");

  // During the run the icon says so; the run's own keys come first.
  Front("Untitled - Notepad");
  mem.shellIcons.calls.clear();
  Press('H', true, true);
  std::vector<std::pair<std::string, std::string>> seen;
  for (const auto& c : mem.shellIcons.calls)
    if (c.command == NotifyCommand::kModify) seen.emplace_back(mem.shellIcons.ImageName(c.icon.icon), c.icon.tip);
  EXPECT_EQ(seen, (std::vector<std::pair<std::string, std::string>>{
                      {"running", "Wendrix 2000"},
                      {"running", "Macro Is Running - Right Click to Abort"},
                      {"idle", "Macro Is Running - Right Click to Abort"},
                      {"idle", "Wendrix 2000"}}));

  main->DestroyWindow();
  main.reset();
  EXPECT_TRUE(mem.shellIcons.shown.empty());
  EXPECT_EQ(mem.shellIcons.calls.back().command, NotifyCommand::kDelete);
}

TEST_F(TrayTest, WithoutTheTrayTheIconShowsOnlyDuringARun) {
  mem.profile.WriteString(kSettingsFileName, "Misc", "Use Tray", "No");
  AddMacros({{"hello", kCtrlAltH, scope::kGlobal, "", "hi"}});
  Start();
  EXPECT_TRUE(mem.shellIcons.shown.empty());
  Front("Untitled - Notepad");
  Press('H', true, true);
  EXPECT_EQ(Typed(), "HI");
  EXPECT_TRUE(mem.shellIcons.shown.empty());
  int adds = 0;
  for (const auto& c : mem.shellIcons.calls) adds += c.command == NotifyCommand::kAdd;
  EXPECT_EQ(adds, 1);
}

// A refused icon stays inactive and is asked for again next time; a long tip is cut to what the
// shell shows.
TEST_F(TrayTest, TaskIconFollowsTheShell) {
  TTaskIcon icon(mem.desktop, mem.shellIcons, &mem.input);
  icon.SetToolTip(std::string(70, 't'));
  EXPECT_EQ(icon.ToolTip(), std::string(63, 't'));
  mem.shellIcons.refuse = true;
  icon.SetActive(true);
  EXPECT_FALSE(icon.Active());
  mem.shellIcons.refuse = false;
  icon.SetActive(true);
  EXPECT_TRUE(icon.Active());
  const std::size_t calls = mem.shellIcons.calls.size();
  icon.SetToolTip(std::string(80, 't'));  // the same 63 characters: nothing to change
  EXPECT_EQ(mem.shellIcons.calls.size(), calls);
  icon.SetTaskIconID(7);
  ASSERT_NE(mem.shellIcons.Find(icon.Window(), 7), nullptr);
  EXPECT_EQ(mem.shellIcons.Find(icon.Window(), 0), nullptr);
  // Only the icon's own id is heard; other mouse messages are ignored.
  int clicks = 0;
  int doubles = 0;
  std::vector<platform::Point> rights;
  icon.onClick = [&] { ++clicks; };
  icon.onDblClick = [&] { ++doubles; };
  icon.onRightClick = [&](platform::Point at) { rights.push_back(at); };
  mem.input.SetCursorPos({300, 700});
  for (const auto& [id, what] : std::vector<std::pair<std::uint64_t, std::int64_t>>{
           {7, 0x202}, {7, 0x203}, {7, 0x205}, {0, 0x202}, {7, 0x200}, {7, 0x204}})
    mem.desktop.SendMessage(icon.Window(), kTaskIconMessage, id, what);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(doubles, 1);
  EXPECT_EQ(rights, (std::vector<platform::Point>{{300, 700}}));
}

// Sixteen popup menus flagged for the tray: the first fifteen get icons, with their own icon file
// when it exists and the menu image otherwise; a right click opens that menu.
TEST_F(TrayTest, MenuIconsForTheFirstFifteenFlaggedMenus) {
  std::vector<MacroSpec> macros;
  for (int i = 1; i <= 17; ++i) macros.push_back({"menu" + std::to_string(i), 30000, scope::kPopupMenu, "", ""});
  macros[1].active = false;
  macros[3].code = kCtrlB;
  AddMacros(macros);
  // The flag is the first option character, in the Abbrekey field; macro 1 has its own icon.
  std::filesystem::create_directories(Native("C:\\WENDRIX\\ICONS"));
  std::ofstream(Native("C:\\WENDRIX\\ICONS\\STAR.ICO")) << "icon";
  {
    std::fstream f(Native(kLibrary), std::ios::binary | std::ios::in | std::ios::out);
    for (int i = 1; i <= 17; ++i) {
      TMacroRec r = MakeRecord(macros[static_cast<std::size_t>(i - 1)]);
      r.SetMenuOptions(i == 3 ? "NNN" : "YNN");
      if (i == 1) r.SetIconName("STAR.ICO");
      f.seekp(static_cast<std::streamoff>((i - 1) * static_cast<std::streamoff>(kMacroRecSize)));
      f.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(kMacroRecSize));
    }
  }
  Start();
  ASSERT_EQ(mem.shellIcons.shown.size(), 16u);  // the main icon and 15 menus
  std::vector<std::uint32_t> ids;
  for (std::size_t i = 1; i < mem.shellIcons.shown.size(); ++i) ids.push_back(mem.shellIcons.shown[i].id);
  EXPECT_EQ(ids, (std::vector<std::uint32_t>{1, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}));
  EXPECT_EQ(mem.shellIcons.shown[1].tip, "menu1");
  EXPECT_EQ(mem.shellIcons.ImageName(mem.shellIcons.shown[1].icon), "C:\\WENDRIX\\Icons\\STAR.ICO");
  EXPECT_EQ(mem.shellIcons.ImageName(mem.shellIcons.shown[2].icon), "menu");

  // The menu opens above the task bar where the icon was clicked; its hot key centres it.
  mem.input.SetCursorPos({900, 1000});
  Mouse(mem.shellIcons.shown[2], kRightButtonUp);
  EXPECT_EQ(menus.popupsShown, (std::vector<int>{4}));
  EXPECT_EQ(menus.popupPositions, (std::vector<int>{900}));
  // While a popup menu shows, another menu icon does nothing.
  menus.duringPopup = [this] { Mouse(mem.shellIcons.shown[3], kRightButtonUp); };
  Mouse(mem.shellIcons.shown[2], kRightButtonUp);
  EXPECT_EQ(menus.popupsShown, (std::vector<int>{4, 4}));
  menus.duringPopup = nullptr;
  PostHotKey(kCtrlB, platform::kNoWindow);
  Pump();
  EXPECT_EQ(menus.popupPositions, (std::vector<int>{900, 900, -1}));

  // A library change takes the menu icons away and back; the file's icon is freed.
  mem.desktop.PostMessage(main->MainWindow(), UM_CONTROL, control::kReload, 1);
  Pump();
  EXPECT_EQ(mem.shellIcons.shown.size(), 16u);
  EXPECT_EQ(mem.shellIcons.destroyed.size(), 1u);
}

TEST_F(TrayTest, RightClickOpensTheTrayMenuOrAbortsTheRun) {
  AddMacros({{"long", kCtrlAltH, scope::kGlobal, "", "ab<DELAY:00010>cd"}});
  Start();
  Mouse(MainIcon(), kRightButtonUp);
  ASSERT_EQ(runner.popups.size(), 1u);
  EXPECT_EQ(runner.popups[0].captions, (std::vector<std::string>{"&Open Editor", "&Tools", "&Help", "&About", "-",
                                                                 "&Terminate Wendrix"}));
  EXPECT_EQ(runner.popups[0].owner, main->MainWindow());

  runner.ThenPick("MenuAboutClick");
  Mouse(MainIcon(), kRightButtonUp);
  ASSERT_EQ(runner.shown.size(), 1u);
  EXPECT_EQ(runner.shown[0].caption, "About");

  runner.ThenPick("PopHelpClick");
  Mouse(MainIcon(), kRightButtonUp);
  ASSERT_EQ(mem.help.asked.size(), 1u);
  EXPECT_EQ(mem.help.asked[0].file, "C:\\WENDRIX\\WENDRIX.HLP");
  EXPECT_TRUE(mem.help.asked[0].contents);

  // A right click while the macro plays aborts it; no menu opens.
  const platform::NotifyIcon icon = MainIcon();
  Front("Untitled - Notepad");
  hook->FeedKey(vk::kControl, false);
  hook->FeedKey(vk::kMenu, false);
  hook->FeedKeyPress('H');
  hook->FeedKey(vk::kMenu, true);
  hook->FeedKey(vk::kControl, true);
  mem.desktop.PostMessage(icon.window, icon.callbackMessage, icon.id, kRightButtonUp);
  Pump();
  EXPECT_EQ(Typed(), "A");  // the click arrived after the first key: the run stopped at its next step
  EXPECT_EQ(runner.popups.size(), 3u);

  runner.ThenPick("PopTermClick");
  Mouse(MainIcon(), kRightButtonUp);
  EXPECT_TRUE(main->Closing());
}

}  // namespace
}  // namespace wdx::player::testing
