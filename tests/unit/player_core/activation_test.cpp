// Window-title and mouse-click macros, on the whole player over the stand-in: the hook library
// reports foreground changes and clicks, the player runs what matches.
#include <gtest/gtest.h>

#include "player/core/mouse_areas.h"
#include "player_fixture.h"
#include "shared/mouse_buttons.h"
#include "shared/protocol_messages.h"

namespace wdx::player::testing {
namespace {

constexpr int kTitle = activation::kWindowTitle;
constexpr int kClick = activation::kMouseClick;

// A program-scoped window-title macro: its program is named in the record's program fields.
void AppendProgramScoped(StandAlonePlayer& p, const std::string& nickname, const std::string& titleText,
                         const std::string& program, const std::string& text) {
  TMacroRec r = MakeRecord({nickname, kTitle, scope::kProgram, titleText, text});
  r.SetProgramName(program);
  std::ofstream out(p.Native(kLibrary), std::ios::binary | std::ios::app);
  out.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(kMacroRecSize));
}

struct Area {
  std::int16_t top, left, bottom, right;
  std::uint8_t button;  // the record's numbering
  std::uint8_t kind = 0;
};

void AppendClickMacro(StandAlonePlayer& p, const MacroSpec& spec, const Area& a) {
  TMacroRec r = MakeRecord(spec);
  r.SetMouseTop(a.top);
  r.SetMouseLeft(a.left);
  r.SetMouseBottom(a.bottom);
  r.SetMouseRight(a.right);
  r.SetMouseButton(a.button);
  r.SetWindowPartFlag(a.kind);
  std::ofstream out(p.Native(kLibrary), std::ios::binary | std::ios::app);
  out.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(kMacroRecSize));
}

class WindowTitleTest : public PlayerFixture {};

TEST_F(WindowTitleTest, EveryMatchRunsInMacroOrderAndAProgramMatchSuppressesTheRest) {
  AddMacros({{"one", kTitle, scope::kWindow, "NOTEPAD", "a"},
             {"off", kTitle, scope::kWindow, "NOTEPAD", "x", false},
             {"other", kTitle, scope::kWindow, "CALCULATOR", "y"},
             {"two", kTitle, scope::kGlobal, "notepad", "b"}});
  AppendProgramScoped(*this, "prog", "NOTEPAD", "notepad.exe", "p");
  AppendProgramScoped(*this, "elsewhere", "NOTEPAD", "write.exe", "w");
  Start();

  // In another program: the program-scoped ones do not match, the two others run in order.
  hook->FeedForeground(Front("Untitled - Notepad", 0x300, "editor.exe"));
  Pump();
  EXPECT_EQ(Typed(), "AB");

  // In Notepad itself: only the program-scoped macro of Notepad runs.
  hook->FeedForeground(Front("Untitled - Notepad", 0x301, "NOTEPAD.EXE"));
  Pump();
  EXPECT_EQ(Typed(), "ABP");
}

TEST_F(WindowTitleTest, AWindowWithoutTitleTakesTheProgramButRunsNothing) {
  AddMacros({{"any", kTitle, scope::kGlobal, "PAD", "a"}});
  Start();
  const platform::WindowHandle pad = Front("Notepad", 0x300, "notepad.exe");
  hook->FeedForeground(pad);
  Pump();
  ASSERT_EQ(Typed(), "A");
  hook->FeedForeground(Front("", 0x301, "calc.exe"));
  Pump();
  EXPECT_EQ(block.ForegroundProgram(), "CALC.EXE");
  EXPECT_EQ(Typed(), "A");
}

TEST_F(WindowTitleTest, WaitReportsAreKeptForTheWaitCommands) {
  Start();
  const platform::WindowHandle w = main->MainWindow();
  block.SetWaitFlag(glob::kWaitKeySync, true);
  for (const std::uint64_t button : {2u, 4u, 0u}) mem.desktop.PostMessage(w, UM_MOUSESEEN, button, 0);
  mem.desktop.PostMessage(w, UM_KEYSEEN, 0x41, 0);
  mem.desktop.PostMessage(w, UM_KEYSYNCDONE, 0, 0);
  // A trace request names no file the player would write.
  mem.desktop.PostMessage(w, UM_HOOKTRACE, 5, 65);
  Pump();
  EXPECT_EQ(main->State().clickSeen, (std::array<bool, 3>{false, true, false}));
  EXPECT_EQ(main->State().keySeenCode, 0x41u);
  EXPECT_FALSE(block.WaitFlag(glob::kWaitKeySync));
  EXPECT_FALSE(std::filesystem::exists(Native("C:\\test")));
}

TEST(MouseButtons, TheTwoNumberingsConvertBothWays) {
  // Record: 1 left, 2 middle, 3 right. Click flags: 1 left, 2 right, 3 middle.
  EXPECT_EQ(SwapButtonNumbering(1), 1);
  EXPECT_EQ(SwapButtonNumbering(2), 3);
  EXPECT_EQ(SwapButtonNumbering(3), 2);
  for (const int other : {0, 4, -1, 255}) EXPECT_EQ(SwapButtonNumbering(other), 0);
  for (int b = 1; b <= 3; ++b) EXPECT_EQ(SwapButtonNumbering(SwapButtonNumbering(b)), b);
}

TEST(MouseAreaHit, HitTestCodesNameTheWindowParts) {
  const std::vector<std::pair<std::int64_t, int>> table = {
      {-2, 0}, {-1, 0}, {0, 0}, {1, 0}, {2, 6}, {3, 3}, {4, 0}, {5, 7}, {6, 5}, {7, 4}, {8, 2}, {9, 1},
      {10, 8}, {11, 8}, {12, 8}, {13, 8}, {14, 8}, {15, 8}, {16, 8}, {17, 8}, {18, 8}, {19, 0}, {20, 0}};
  for (const auto& [code, part] : table) EXPECT_EQ(WindowPartOfHitTest(code), part) << code;
  const MouseArea titleBar{window_part::kTitleBar, 0, 0, 0, 1, 1, 1};
  EXPECT_TRUE(AreaHit(titleBar, 2, 500, 500));
  EXPECT_FALSE(AreaHit(titleBar, 1, 500, 500));
}

TEST(MouseAreaHit, RectanglesIncludeTheirBoundsWhateverTheOrderOfTheirCorners) {
  struct Case {
    MouseArea area;
    std::int16_t low, high;
    bool hit;
  };
  const std::vector<Case> cases = {
      {{0, 0, 10, 10, 1, 0, 1}, 10, 10, true},    {{0, 0, 10, 10, 1, 0, 1}, 0, 0, true},
      {{0, 0, 10, 10, 1, 0, 1}, 11, 10, false},   {{0, 0, 10, 10, 1, 0, 1}, 10, 11, false},
      {{10, 10, 0, 0, 1, 0, 1}, 5, 5, true},      // corners swapped: the same rectangle
      {{-20, -30, -10, -5, 1, 0, 1}, -15, -6, true},  // left of and above the main screen
      {{-20, -30, -10, -5, 1, 0, 1}, 0, 0, false},
  };
  for (const Case& c : cases) EXPECT_EQ(AreaHit(c.area, 1, c.low, c.high), c.hit) << c.low << "," << c.high;
}

class MouseClickTest : public PlayerFixture {
 protected:
  // A click of the left (1), right (2) or middle (3) button, as the hook library reports it.
  void ClickAt(int flagButton, int x, int y, std::uint32_t hitTest = 1) {
    hook->SetHitTest(hitTest);
    hook->FeedMouse(hook::MouseAction::kDown, flagButton, {x, y});
    hook->FeedMouse(hook::MouseAction::kUp, flagButton, {x, y});
    Pump();
  }
};

TEST_F(MouseClickTest, ScopedAreasComeFirstThenGlobalOnesLowestNumberFirst) {
  const Area box{100, 100, 200, 200, 1};
  AppendClickMacro(*this, {"global", kClick, scope::kGlobal, "", "g"}, box);
  AppendClickMacro(*this, {"global too", kClick, scope::kGlobal, "", "x"}, box);
  AppendClickMacro(*this, {"in front", kClick, scope::kWindow, "NOTEPAD", "n", true, 1}, box);
  AppendClickMacro(*this, {"brought up", kClick, scope::kWindow, "CALC", "c", true, 0}, box);
  AppendClickMacro(*this, {"right", kClick, scope::kGlobal, "", "r"}, {0, 0, 50, 50, 3});
  AppendClickMacro(*this, {"off", kClick, scope::kGlobal, "", "o", false}, {0, 0, 50, 50, 2});
  Start();
  // The flags the hook library hears: left and right in use, middle only by an inactive macro.
  EXPECT_TRUE(hook->Block().MouseClickFlag(1));
  EXPECT_TRUE(hook->Block().MouseClickFlag(2));
  EXPECT_TRUE(hook->Block().MouseClickFlag(3));

  // Notepad in front: its window-matched macro wins.
  Front("Untitled - Notepad", 0x300, "notepad.exe");
  ClickAt(1, 150, 150);
  EXPECT_EQ(Typed(), "N");
  // No Notepad in front, no calculator anywhere: the first global one.
  Front("Paint", 0x301, "paint.exe");
  ClickAt(1, 200, 100);
  EXPECT_EQ(Typed(), "NG");
  // A calculator behind: it comes to the front, then its macro plays.
  const platform::WindowHandle calc = Window("Calculator", 0x302, true);
  Front("Paint", 0x301, "paint.exe");
  ClickAt(1, 150, 150);
  EXPECT_EQ(Typed(), "NGC");
  EXPECT_EQ(mem.desktop.GetForegroundWindow(), calc);
  // Outside the area, the wrong button, an inactive macro: nothing.
  ClickAt(1, 201, 150);
  ClickAt(1, 10, 10);
  ClickAt(3, 10, 10);
  EXPECT_EQ(Typed(), "NGC");
  // The right button's macro.
  ClickAt(2, 10, 10);
  EXPECT_EQ(Typed(), "NGCR");
}

TEST_F(MouseClickTest, WindowPartsAndAReloadThatRenumbersTheMacros) {
  AppendClickMacro(*this, {"border", kClick, scope::kGlobal, "", "b"}, {window_part::kBorder, 0, 0, 0, 1, 1});
  Start();
  ClickAt(1, 5, 5, 1);  // client area
  ClickAt(1, 5, 5, 13);
  ClickAt(1, 5, 5, 18);
  EXPECT_EQ(Typed(), "BB");

  // The editor puts another macro in front of it: the areas follow the new numbers.
  std::filesystem::remove(Native(kLibrary));
  AddMacros({{"first", kCtrlA, scope::kGlobal, "", "f"}});
  AppendClickMacro(*this, {"border", kClick, scope::kGlobal, "", "c"}, {window_part::kBorder, 0, 0, 0, 1, 1});
  mem.desktop.PostMessage(main->MainWindow(), UM_CONTROL, control::kReload, 0);
  Pump();
  ClickAt(1, 5, 5, 10);
  EXPECT_EQ(Typed(), "BBC");
}

}  // namespace
}  // namespace wdx::player::testing
