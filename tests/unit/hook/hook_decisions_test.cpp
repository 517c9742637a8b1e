// The stand-in hook turns fed key and mouse events into the player's messages as the flags of
// its block say.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "hook/hook_core.h"
#include "hook/in_process_hook.h"
#include "platform/memory/memory_platform.h"
#include "platform/virtual_keys.h"
#include "shared/hot_keys.h"
#include "shared/remap_keys.h"
#include "shared/protocol_messages.h"
#include "shared/shared_blocks.h"

namespace wdx::hook {
namespace {

using Msg = std::tuple<std::uint32_t, std::uint32_t, std::uint64_t, std::int64_t>;  // window, message, wParam, lParam

class HookDecisions : public ::testing::Test {
 protected:
  void SetUp() override {
    player = mem.desktop.AddForeignWindow("Wendrix Player", "TMainWin", 1);
    front = mem.desktop.AddForeignWindow("Untitled - Notepad", "Notepad", 2, {100, 50, 740, 530});
    mem.desktop.SetForeground(front);
    block.SetPlayerWindow(player);
    block.SetCaptureWindow(player, false);
    block.SetSecondaryWindow(player, false);
    block.SetMacroCount(3);
    lib.Flush(block);
    keyboardHook = lib.WdxHookKeyboard();
    lib.WdxHookMouse();
  }

  std::vector<Msg> Take() {
    std::vector<Msg> out;
    for (const platform::Message& m : mem.desktop.foreignMessages) out.emplace_back(m.window, m.message, m.wparam, m.lparam);
    mem.desktop.foreignMessages.clear();
    return out;
  }
  Msg ToPlayer(std::uint32_t msg, std::uint64_t w = 0, std::int64_t l = 0) const { return {player, msg, w, l}; }
  // Types text on the US layout, pressing Shift where needed.
  void Type(const std::string& text) {
    for (char c : text) {
      const std::int16_t scan = platform::UsVkKeyScan(c);
      const auto k = static_cast<std::uint8_t>(scan & 0xFF);
      if (scan & 0x100) lib.FeedKey(vk::kLShift, false);
      lib.FeedKeyPress(k);
      if (scan & 0x100) lib.FeedKey(vk::kLShift, true);
    }
  }

  platform::MemoryPlatform mem;
  InProcessHookLibrary lib{mem.desktop, &mem.kernel};
  TGlobData block;
  platform::WindowHandle player = 0, front = 0;
  std::uint32_t keyboardHook = 0;
};

TEST_F(HookDecisions, MappedHotKeyIsSwallowedAndPosted) {
  block.SetHotKeyMapped(0, true);    // Ctrl+A
  block.SetHotKeyMapped(698, true);  // ESC
  lib.Flush(block);

  EXPECT_FALSE(lib.FeedKey(vk::kLControl, false));
  EXPECT_TRUE(lib.FeedKey('A', false));
  EXPECT_TRUE(lib.FeedKey('A', false));  // auto-repeat: swallowed, not posted again
  EXPECT_TRUE(lib.FeedKey('A', true));
  EXPECT_FALSE(lib.FeedKeyPress('B'));      // Ctrl+B is no mapped hot key
  EXPECT_FALSE(lib.FeedKey(vk::kLControl, true));
  EXPECT_EQ(Take(), (std::vector<Msg>{ToPlayer(UM_HOTKEY, 0, front)}));

  // Caps Lock on: the report says so, and the hot key carries bit 0x8000.
  lib.FeedKeyPress(vk::kCapital);
  EXPECT_TRUE(lib.FeedKeyPress(vk::kEscape));
  EXPECT_EQ(Take(), (std::vector<Msg>{ToPlayer(UM_CAPSLOCKSTATE, 1), ToPlayer(UM_HOTKEY, 698 | 0x8000, front)}));
}

// A swallowed hot key's Alt or Win would, let go alone, open the menu bar or the Start menu, so
// the host taps a harmless key first; with Ctrl held neither opens, and no tap holds up the keys.
TEST(HookMask, AltOrWinWithoutCtrlIsMasked) {
  class QuietHost : public HookHost {
    void Post(platform::WindowHandle, std::uint32_t, std::uint32_t, std::int32_t) override {}
    void PostClick(platform::WindowHandle, std::uint32_t, platform::Point) override {}
    platform::WindowHandle ForegroundWindow() override { return 0; }
    platform::Rect WindowRect(platform::WindowHandle) override { return {}; }
    char KeyChar(std::uint8_t, std::uint16_t, bool, bool) override { return 0; }
  } host;
  const struct {
    const char* name;
    std::vector<std::uint8_t> modifiers;
    bool masked;
  } cases[] = {
      {"Alt+A", {vk::kLMenu}, true},
      {"Win+A", {vk::kLWin}, true},
      {"Alt+Shift+A", {vk::kLMenu, vk::kLShift}, true},
      {"Win+Alt+A", {vk::kLWin, vk::kRMenu}, true},
      {"Ctrl+Alt+A", {vk::kLControl, vk::kLMenu}, false},
      {"Win+Ctrl+A", {vk::kRWin, vk::kRControl}, false},
      {"Ctrl+A", {vk::kLControl}, false},
      {"Shift+F1", {vk::kLShift}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const int index = FindHotKeyByName(c.name);
    ASSERT_GE(index, 0);
    TGlobData block;
    block.SetHotKeyMapped(index, true);
    ByteRecord bytes(kGlobDataSize);
    std::copy(block.Raw().begin(), block.Raw().end(), bytes.data());
    HookCore core(bytes.span(), host);
    for (const std::uint8_t m : c.modifiers) EXPECT_FALSE(core.OnKey({m, 0, false, false, 0}).swallow);
    const std::uint8_t key = std::string_view(c.name).ends_with("F1") ? vk::kF1 : 'A';
    const KeyVerdict v = core.OnKey({key, 0, false, false, 0});
    EXPECT_TRUE(v.swallow);
    EXPECT_EQ(v.maskModifier, c.masked);
  }
}

TEST_F(HookDecisions, NothingWithoutTheKeyboardHook) {
  block.SetHotKeyMapped(288, true);  // F1
  lib.Flush(block);
  ASSERT_TRUE(lib.WdxUnHook(keyboardHook));
  EXPECT_FALSE(lib.FeedKeyPress(vk::kF1));
  EXPECT_TRUE(Take().empty());
  lib.WdxHookKeyboard();
  EXPECT_TRUE(lib.FeedKeyPress(vk::kF1));
  EXPECT_EQ(Take().size(), 1u);
}

TEST_F(HookDecisions, SecondaryWindowGetsEveryIndexInsteadOfTheHotKey) {
  const platform::WindowHandle dialog = mem.desktop.AddForeignWindow("Capture Complete", "TCapComplete", 1);
  block.SetHotKeyMapped(89, true);
  block.SetSecondaryWindow(dialog, true);
  lib.Flush(block);
  lib.FeedKey(vk::kLMenu, false);
  EXPECT_TRUE(lib.FeedKeyPress(vk::kF1 + 5));  // Alt+F6
  lib.FeedKey(vk::kLMenu, true);
  EXPECT_TRUE(lib.FeedKeyPress(vk::kF1 + 1));  // F2: unmapped, still an index
  EXPECT_FALSE(lib.FeedKeyPress('Q'));         // plain Q has no index
  EXPECT_EQ(Take(), (std::vector<Msg>{{dialog, UM_HOTKEYINDEX, 89, 0}, {dialog, UM_HOTKEYINDEX, 289, 0}}));
}

TEST_F(HookDecisions, TypedCharactersForAbbrekeysAndTheTextWait) {
  block.SetAbbrekeysPresent(true);
  lib.Flush(block);
  Type("sI");
  lib.FeedKeyPress(vk::kBack);
  lib.FeedKeyPress(vk::kLeft);  // the word no longer stands before the caret
  lib.FeedKeyPress(vk::kRight);  // already reset: nothing more
  EXPECT_EQ(Take(), (std::vector<Msg>{ToPlayer(UM_ABBREKEYCHAR, 0, 's'), ToPlayer(UM_ABBREKEYCHAR, 0, 'I'),
                                      ToPlayer(UM_ABBREKEYCHAR, 0, 8), ToPlayer(UM_ABBREKEYCHAR, 1, 0)}));

  lib.FeedKeyPress(vk::kCapital);
  Type("g");
  EXPECT_EQ(Take(), (std::vector<Msg>{ToPlayer(UM_CAPSLOCKSTATE, 1), ToPlayer(UM_ABBREKEYCHAR, 2, 'G')}));

  // While a macro is in use its own typing is not reported, nor the user's.
  block.SetInUse(true);
  lib.Flush(block);
  Type("x");
  lib.FeedKeyPress('X', true);
  block.SetWaitFlag(glob::kWaitText, true);
  lib.Flush(block);
  Type("y");  // the text wait still hears the user
  EXPECT_EQ(Take(), (std::vector<Msg>{ToPlayer(UM_TYPEDCHAR, 0, 'Y')}));

  // No macro with an Abbrekey: no Abbrekey characters at all.
  block.SetAbbrekeysPresent(false);
  block.SetInUse(false);
  block.SetWaitFlag(glob::kWaitText, false);
  lib.Flush(block);
  Type("z");
  EXPECT_TRUE(Take().empty());
}

TEST_F(HookDecisions, MarkerKeyEndsTheKeystrokeSyncOrTheInUseFlag) {
  block.SetHotKeyMapped(288, true);
  block.SetInUse(true);
  block.SetWaitFlag(glob::kWaitKeySync, true);
  lib.Flush(block);

  // The macro's own keys pass untouched while in use, hot keys included.
  EXPECT_FALSE(lib.FeedKeyPress(vk::kF1, true));
  EXPECT_TRUE(lib.FeedKeyPress(vk::kExecute, true));
  EXPECT_EQ(Take(), (std::vector<Msg>{ToPlayer(UM_KEYSYNCDONE)}));
  EXPECT_FALSE(lib.Block().WaitFlag(glob::kWaitKeySync));
  EXPECT_TRUE(lib.Block().InUse());

  EXPECT_TRUE(lib.FeedKeyPress(vk::kExecute, true));  // the end of the run's keys
  EXPECT_FALSE(lib.Block().InUse());
  EXPECT_TRUE(Take().empty());
  // Now a synthesised hot key counts again (the player re-sends a key after a reload).
  EXPECT_TRUE(lib.FeedKeyPress(vk::kF1, true));
  EXPECT_EQ(Take(), (std::vector<Msg>{ToPlayer(UM_HOTKEY, 288, front)}));
  EXPECT_FALSE(lib.FeedKeyPress(vk::kExecute, true));  // nothing to mark: the key passes
}

TEST_F(HookDecisions, WaitsForAKeyAndAClickAndTheAbortKey) {
  block.SetWaitFlag(glob::kWaitKey, true);
  block.SetWaitFlag(glob::kWaitClick, true);
  lib.Flush(block);
  lib.FeedKeyPress(vk::kRShift);
  lib.FeedKeyPress(vk::kReturn);
  lib.FeedMouse(MouseAction::kDown, 2, {5, 5});
  lib.FeedMouse(MouseAction::kUp, 2, {5, 5});
  lib.FeedKeyPress(vk::kPause);
  EXPECT_EQ(Take(), (std::vector<Msg>{ToPlayer(UM_KEYSEEN, vk::kShift), ToPlayer(UM_KEYSEEN, vk::kReturn),
                                      ToPlayer(UM_MOUSESEEN, 2), ToPlayer(UM_KEYSEEN, vk::kPause),
                                      ToPlayer(UM_ABORTMACRO)}));
}

TEST_F(HookDecisions, MouseHotKeysAndClickMacros) {
  block.SetHotKeyMapped(699, true);  // LMouse
  block.SetHotKeyMapped(700, true);  // Shift+LMouse
  block.SetMouseClickFlag(3, true);  // a middle-button click macro exists
  lib.Flush(block);
  lib.SetHitTest(2);

  EXPECT_FALSE(lib.FeedMouse(MouseAction::kDown, 1, {10, 20}));  // plain click: reported, not eaten
  EXPECT_FALSE(lib.FeedMouse(MouseAction::kUp, 1, {10, 20}));
  lib.FeedKey(vk::kLShift, false);
  EXPECT_TRUE(lib.FeedMouse(MouseAction::kDown, 1, {10, 20}));
  EXPECT_TRUE(lib.FeedMouse(MouseAction::kUp, 1, {10, 20}));
  lib.FeedKey(vk::kLShift, true);
  EXPECT_FALSE(lib.FeedMouse(MouseAction::kDown, 3, {300, 7}));
  EXPECT_FALSE(lib.FeedMouse(MouseAction::kDown, 2, {1, 1}));  // no right-button macro
  EXPECT_EQ(Take(), (std::vector<Msg>{ToPlayer(UM_HOTKEY, 699, front), ToPlayer(UM_HOTKEY, 700, front),
                                      ToPlayer(UM_MOUSEMIDDLE, 2, (300 << 16) | 7)}));

  // Swapped buttons: the right button is the user's left one.
  TGlobData swapped = lib.Block();
  swapped.SetMouseButtonsSwapped(true);
  lib.Flush(swapped);
  lib.FeedMouse(MouseAction::kDown, 2, {0, 0});
  EXPECT_EQ(Take(), (std::vector<Msg>{ToPlayer(UM_HOTKEY, 699, front)}));
}

TEST_F(HookDecisions, IdleEndsOncePerPeriod) {
  block.SetIdle(true, false, 120);
  lib.Flush(block);
  lib.FeedMouse(MouseAction::kMove, 0, {3, 3});
  lib.FeedKeyPress('K');
  EXPECT_EQ(Take(), (std::vector<Msg>{ToPlayer(UM_IDLEENDED)}));
  EXPECT_EQ(lib.Block().IdleSeconds(), 0);
  block.SetIdle(false, true, 500);  // tracking off: activity changes nothing
  lib.Flush(block);
  lib.FeedKeyPress('K');
  EXPECT_TRUE(Take().empty());
}

TEST_F(HookDecisions, ForegroundAndProgramsGoToTheCbtBlocksWindow) {
  MainWindowBlocks blocks;
  const platform::WindowHandle cbtTarget = mem.desktop.AddForeignWindow("other", "X", 1);
  ASSERT_TRUE(blocks.CreateCbtBlock(mem.kernel, cbtTarget, true));
  lib.FeedForeground(front);  // no CBT hook yet
  EXPECT_TRUE(Take().empty());
  lib.WdxHookCBT();
  lib.FeedForeground(front);
  lib.FeedForeground(front);
  lib.FeedForeground(platform::kNoWindow);  // nothing in front: no report
  lib.FeedProgramsChanged();
  lib.FeedForeground(player);
  EXPECT_EQ(Take(), (std::vector<Msg>{{cbtTarget, UM_FOREGROUND, front, 0},
                                      {cbtTarget, UM_PROGRAMSCHANGED, 0, 0},
                                      {cbtTarget, UM_FOREGROUND, player, 0}}));
}

TEST_F(HookDecisions, RemapHookTypesTheReplacement) {
  MainWindowBlocks blocks;
  ASSERT_TRUE(blocks.CreateSwapBlock(mem.kernel, player));
  SwapTable table{};
  const std::string neutral =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`}~";
  ASSERT_EQ(neutral.size(), 93u);
  for (std::size_t i = 0; i < 93; ++i) table[i] = static_cast<std::uint8_t>(neutral[i]);
  table[26] = 'b';  // the key a types b
  blocks.Swap().SetTable(table);
  ASSERT_NE(lib.WdxHookSwap(), 0u);
  block.SetAbbrekeysPresent(true);
  lib.Flush(block);

  EXPECT_TRUE(lib.FeedKeyPress('A'));
  EXPECT_FALSE(lib.FeedKeyPress('C'));
  lib.FeedKey(vk::kLShift, false);
  EXPECT_FALSE(lib.FeedKeyPress('A'));  // A is not remapped
  lib.FeedKey(vk::kLShift, true);
  EXPECT_EQ(lib.remapped, std::vector<char>{'b'});
  EXPECT_EQ(Take(), (std::vector<Msg>{ToPlayer(UM_ABBREKEYCHAR, 0, 'b'), ToPlayer(UM_ABBREKEYCHAR, 0, 'c'),
                                      ToPlayer(UM_ABBREKEYCHAR, 0, 'A')}));
}

// A typed stream through a table of several replacements: only the remapped keys are
// swallowed, each gives its replacement once, in order; Ctrl combinations and the keys the
// player itself types pass as they are.
TEST_F(HookDecisions, RemapTableAppliedToAKeyStream) {
  MainWindowBlocks blocks;
  ASSERT_TRUE(blocks.CreateSwapBlock(mem.kernel, player));
  SwapTable table = NeutralSwapTable();
  table[static_cast<std::size_t>(SwapSlot('q'))] = 'z';
  table[static_cast<std::size_t>(SwapSlot('Q'))] = 'X';
  table[static_cast<std::size_t>(SwapSlot('4'))] = '$';
  table[static_cast<std::size_t>(SwapSlot('!'))] = '?';
  table[static_cast<std::size_t>(SwapSlot('u'))] = 0;  // no replacement: types itself
  blocks.Swap().SetTable(table);
  ASSERT_NE(lib.WdxHookSwap(), 0u);
  lib.Flush(block);

  Type("Quiz 42!q");
  EXPECT_EQ(lib.remapped, (std::vector<char>{'X', '$', '?', 'z'}));
  lib.remapped.clear();
  lib.FeedKey(vk::kLControl, false);
  EXPECT_FALSE(lib.FeedKeyPress('Q'));
  lib.FeedKey(vk::kLControl, true);
  EXPECT_FALSE(lib.FeedKeyPress('Q', true));  // typed by the player
  EXPECT_TRUE(lib.remapped.empty());
}

class HookCapture : public HookDecisions {
 protected:
  void StartCapture(bool keys, bool mouse, bool clicksOnly, int relative, bool time) {
    capture = mem.desktop.AddForeignWindow("Capture", "TCapture", 1);
    block.SetCaptureWindow(capture, true);
    block.SetCaptureMacro(12);
    block.WriteStopKey(1, {0, 'X', true, true, true, false});  // Ctrl+Alt+Shift+X
    block.WriteCaptureOptions({keys, mouse, clicksOnly, static_cast<std::uint8_t>(relative), time});
    block.SetHotKeyMapped(0, true);
    lib.Flush(block);
    block.SetCaptureOn(true);
    lib.Flush(block);
  }
  std::string Recorded() {
    std::string text;
    for (const Msg& m : Take()) {
      EXPECT_EQ(std::get<0>(m), capture);
      if (std::get<1>(m) == UM_CAPTURECHAR) {
        EXPECT_EQ(std::get<2>(m), 12u);
        text += static_cast<char>(std::get<3>(m));
      } else if (std::get<1>(m) == UM_CAPTUREDONE) {
        text += "|DONE " + std::to_string(std::get<2>(m));
      }
    }
    return text;
  }
  platform::WindowHandle capture = 0;
};

TEST_F(HookCapture, KeysBecomeMacroTextUntilTheStopKey) {
  StartCapture(true, false, false, 1, false);
  Type("Hi!");
  lib.FeedKeyPress(vk::kReturn);
  lib.FeedKey(vk::kLControl, false);
  EXPECT_FALSE(lib.FeedKeyPress('A'));  // a hot key does not fire while recording
  lib.FeedKey(vk::kLControl, true);
  lib.FeedKey(vk::kLShift, false);
  lib.FeedKeyPress(vk::kHome);
  lib.FeedKey(vk::kLShift, true);
  lib.FeedKey(vk::kLWin, false);
  lib.FeedKeyPress('E');
  lib.FeedKey(vk::kLWin, true);
  lib.FeedKeyPress(vk::kF1 + 4);
  lib.FeedMouse(MouseAction::kDown, 1, {1, 1});  // mouse not recorded
  lib.FeedKey(vk::kLControl, false);
  lib.FeedKey(vk::kLMenu, false);
  lib.FeedKey(vk::kLShift, false);
  EXPECT_TRUE(lib.FeedKey('X', false));
  EXPECT_TRUE(lib.FeedKey('X', true));
  lib.FeedKey(vk::kLShift, true);
  lib.FeedKey(vk::kLMenu, true);
  lib.FeedKey(vk::kLControl, true);
  Type("late");  // after the stop key nothing is recorded
  EXPECT_EQ(Recorded(), "Hi!<ENTER><CTRL>a<SHIFT><HOME><WIND>e<WINU><F5>|DONE 12");
  EXPECT_FALSE(lib.Block().CaptureOn());
}

TEST_F(HookCapture, LoneAltIsKeptWithDoubleAlt) {
  StartCapture(true, false, false, 1, false);
  lib.FeedKeyPress(vk::kLMenu);  // without the option: dropped
  block.SetDoubleAlt(true);
  lib.Flush(block);
  lib.FeedKeyPress(vk::kLMenu);
  lib.FeedKeyPress('F');
  EXPECT_EQ(Recorded(), "<ALT><ALT>f");
}

TEST_F(HookCapture, MouseClicksWithPositionsAndTiming) {
  StartCapture(false, true, false, 2, true);
  lib.FeedMouse(MouseAction::kDown, 1, {150, 80}, false, 1000);
  lib.FeedMouse(MouseAction::kUp, 1, {150, 80}, false, 1100);
  lib.FeedMouse(MouseAction::kDown, 2, {90, 40}, false, 13100);
  lib.FeedMouse(MouseAction::kUp, 2, {95, 40}, false, 13105);
  lib.FeedKeyPress('Q');  // keys not recorded
  EXPECT_EQ(Recorded(),
            "<MMW:00050,00030><LDN><MSD:0100><LUP><DELAY:12.00><MMW:-0010,-0010><RDN><MMW:-0005,-0010><RUP>");
}

TEST_F(HookCapture, ClicksOnlyAndTheMouseStopKey) {
  StartCapture(false, true, true, 1, false);
  block.WriteStopKey(2, {3, 0, false, false, false, false});  // middle button ends it too
  block.SetSecondStopKeyOn(true);
  lib.Flush(block);
  lib.FeedMouse(MouseAction::kDown, 1, {1, 2});
  lib.FeedMouse(MouseAction::kUp, 1, {1, 2});
  EXPECT_TRUE(lib.FeedMouse(MouseAction::kDown, 3, {1, 2}));
  EXPECT_TRUE(lib.FeedMouse(MouseAction::kUp, 3, {1, 2}));
  EXPECT_EQ(Recorded(), "<LCLK>|DONE 12");
}

}  // namespace
}  // namespace wdx::hook
