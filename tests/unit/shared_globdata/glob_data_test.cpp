#include "shared/glob_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <set>
#include <vector>

namespace wdx {
namespace {

// A block written byte by byte, independent of the codec: the layout as another program (the
// hook library, the editor) sees it.
std::vector<std::uint8_t> HandMadeFixture() {
  std::vector<std::uint8_t> b(19793, 0);
  auto put32 = [&](std::size_t o, std::uint32_t v) {
    b[o] = v & 0xFF, b[o + 1] = (v >> 8) & 0xFF, b[o + 2] = (v >> 16) & 0xFF, b[o + 3] = v >> 24;
  };
  auto put16 = [&](std::size_t o, std::uint16_t v) { b[o] = v & 0xFF, b[o + 1] = v >> 8; };
  auto putStr = [&](std::size_t o, const char* s) {
    b[o] = static_cast<std::uint8_t>(std::strlen(s));
    std::memcpy(&b[o + 1], s, std::strlen(s));
  };
  put32(0, 0x00012345);       // player window
  b[17 + 0] = 1;              // hot key 0 mapped
  b[17 + 720] = 1;            // hot key 720 mapped
  b[738] = 1;                 // recording on
  put16(739, 42);             // macro recorded
  put32(745, 0xA0000001);     // mouse hook
  put32(749, 0xB0000002);     // keyboard hook
  put32(753, 0x00022222);     // secondary window
  b[757] = 1;
  put32(758, 0x00033333);     // capture window
  b[762] = 1;
  put16(763, 2);              // stop key: right button...
  put16(765, 0x51);           // ...virtual key Q
  b[767] = 1, b[768] = 0, b[769] = 1, b[770] = 1;  // Ctrl, -, Shift, Win
  put16(775, 0x70);           // second stop key F1
  b[778] = 1;                 // Alt
  b[783] = 1;                 // in use
  put16(814 + 2 * 1, 1);      // macro 1 global
  putStr(1795 + 21 * 1, "NOTEPAD");
  b[12315 + 1] = 1;
  put16(12814 + 2 * 1, 315);
  b[13815 + 1] = 1;
  put16(814 + 2 * 500, 3);    // macro 500 program-scoped
  putStr(1795 + 21 * 500, "ABCDEFGHIJKLMNOPQRST");
  b[12315 + 500] = 1;
  put16(12814 + 2 * 500, 25000);
  put32(14316, 500);          // macro count
  b[14322] = 1;               // Abbrekeys present
  putStr(14323, "WENDPLAY.EXE");
  put32(14574, 2);
  putStr(14589, "EXPLORER.EXE");
  putStr(14589 + 26 * 199, "LAST.EXE");
  b[14579] = 1, b[14580] = 1;  // idle tracking, fired
  put32(14585, 3600);
  b[14582] = 1;               // waiting for a key
  b[19790] = 1;               // right-button click macro
  return b;
}

TEST(GlobData, ReadsEveryFieldOfTheHandMadeFixture) {
  const auto fixture = HandMadeFixture();
  const TGlobData g(fixture);

  EXPECT_EQ(g.Raw().size(), 19793u);
  EXPECT_EQ(g.PlayerWindow(), 0x12345u);
  EXPECT_TRUE(g.HotKeyMapped(0));
  EXPECT_TRUE(g.HotKeyMapped(720));
  EXPECT_FALSE(g.HotKeyMapped(1));
  EXPECT_FALSE(g.HotKeyMapped(721));  // outside the map: never mapped
  EXPECT_TRUE(g.CaptureOn());
  EXPECT_EQ(g.CaptureMacro(), 42);
  EXPECT_EQ(g.MouseHook(), 0xA0000001u);
  EXPECT_EQ(g.KeyboardHook(), 0xB0000002u);
  EXPECT_EQ(g.SecondaryWindow(), 0x22222u);
  EXPECT_TRUE(g.SecondaryWindowOn());
  EXPECT_EQ(g.CaptureWindow(), 0x33333u);
  EXPECT_TRUE(g.CaptureWindowFlag());
  EXPECT_EQ(g.ReadStopKey(1), (StopKey{2, 0x51, true, false, true, true}));
  EXPECT_EQ(g.ReadStopKey(2), (StopKey{0, 0x70, false, true, false, false}));
  EXPECT_TRUE(g.InUse());
  EXPECT_EQ(g.ScopeKind(1), 1);
  EXPECT_EQ(g.ScopeText(1), "NOTEPAD");
  EXPECT_TRUE(g.MacroActive(1));
  EXPECT_EQ(g.ActivationCode(1), 315);
  EXPECT_EQ(g.WindowMatch(1), 1);
  EXPECT_EQ(g.ScopeKind(500), 3);
  EXPECT_EQ(g.ScopeText(500), "ABCDEFGHIJKLMNOPQRST");
  EXPECT_TRUE(g.MacroActive(500));
  EXPECT_EQ(g.ActivationCode(500), 25000);
  EXPECT_EQ(g.MacroCount(), 500);
  EXPECT_TRUE(g.AbbrekeysPresent());
  EXPECT_EQ(g.ForegroundProgram(), "WENDPLAY.EXE");
  EXPECT_EQ(g.RunningCount(), 2);
  EXPECT_EQ(g.RunningProgram(1), "EXPLORER.EXE");
  EXPECT_EQ(g.RunningProgram(200), "LAST.EXE");
  EXPECT_TRUE(g.IdleTracking());
  EXPECT_TRUE(g.IdleFired());
  EXPECT_EQ(g.IdleSeconds(), 3600);
  EXPECT_TRUE(g.WaitFlag(glob::kWaitKey));
  EXPECT_FALSE(g.WaitFlag(glob::kWaitClick));
  EXPECT_FALSE(g.MouseClickFlag(1));
  EXPECT_TRUE(g.MouseClickFlag(2));
}

TEST(GlobData, WritingTheSameValuesGivesTheFixtureByteForByte) {
  TGlobData g;
  g.SetPlayerWindow(0x12345);
  g.SetHotKeyMapped(0, true);
  g.SetHotKeyMapped(720, true);
  g.SetCaptureOn(true);
  g.SetCaptureMacro(42);
  g.SetMouseHook(0xA0000001);
  g.SetKeyboardHook(0xB0000002);
  g.SetSecondaryWindow(0x22222, true);
  g.SetCaptureWindow(0x33333, true);
  g.WriteStopKey(1, {2, 0x51, true, false, true, true});
  g.WriteStopKey(2, {0, 0x70, false, true, false, false});
  g.SetInUse(true);
  g.SetScopeKind(1, 1);
  g.SetScopeText(1, "NOTEPAD");
  g.SetMacroActive(1, true);
  g.SetActivationCode(1, 315);
  g.SetWindowMatch(1, 1);
  g.SetScopeKind(500, 3);
  g.SetScopeText(500, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");  // cut to 20
  g.SetMacroActive(500, true);
  g.SetActivationCode(500, 25000);
  g.SetMacroCount(500);
  g.SetAbbrekeysPresent(true);
  g.SetForegroundProgram("WENDPLAY.EXE");
  g.SetRunningCount(2);
  g.SetRunningProgram(1, "EXPLORER.EXE");
  g.SetRunningProgram(200, "LAST.EXE");
  g.SetIdle(true, true, 3600);
  g.SetWaitFlag(glob::kWaitKey, true);
  g.SetMouseClickFlag(2, true);

  const auto fixture = HandMadeFixture();
  ASSERT_EQ(g.Raw().size(), fixture.size());
  for (std::size_t i = 0; i < fixture.size(); ++i) ASSERT_EQ(g.Raw()[i], fixture[i]) << "offset " << i;
}

TEST(GlobData, EmptiedTablesHoldNoScopeNoActivationAndNothingElse) {
  TGlobData g(HandMadeFixture());
  g.ClearMacroTables();
  for (int i : {1, 250, 500}) {
    EXPECT_EQ(g.ScopeKind(i), 0);
    EXPECT_EQ(g.ScopeText(i), "");
    EXPECT_FALSE(g.MacroActive(i));
    EXPECT_EQ(g.ActivationCode(i), activation::kNone);
    EXPECT_EQ(g.WindowMatch(i), 0);
  }
  // The fields around the tables stay.
  EXPECT_EQ(g.MacroCount(), 500);
  EXPECT_TRUE(g.HotKeyMapped(720));
  EXPECT_TRUE(g.InUse());
}

TEST(GlobData, MacroNumbersOutsideTheTablesTouchNothing) {
  TGlobData g;
  const TGlobData before = g;
  for (int bad : {-1, 501, 100000}) {
    g.SetScopeKind(bad, 7);
    g.SetScopeText(bad, "X");
    g.SetMacroActive(bad, true);
    g.SetActivationCode(bad, 9);
    g.SetWindowMatch(bad, 1);
    g.SetRunningProgram(bad, "X.EXE");
    g.SetHotKeyMapped(bad == 501 ? 721 : bad, true);
    g.SetMouseClickFlag(bad, true);
    EXPECT_EQ(g.ScopeKind(bad), 0);
    EXPECT_EQ(g.ScopeText(bad), "");
  }
  g.SetRunningProgram(0, "X.EXE");
  EXPECT_TRUE(g == before);
}

// The tables start at macro 1: the places a macro 0 would have (814, 1795, 12315, 12814, 13815)
// are the upper half of the 32-bit field at 812, the scope kinds of macros 491..500, the last
// character of macro 500's scope text, the active bytes of macros 499 and 500, and the high
// byte of macro 500's activation code.
TEST(GlobData, MacroZeroHasNoEntriesAndTouchesItsNeighbours) {
  std::vector<std::uint8_t> b(19793, 0);
  b[812] = 0x11, b[813] = 0x22, b[814] = 0x33, b[815] = 0x44;  // the field at 812
  b[814 + 2 * 491] = 2;                                      // macro 491: window scope
  b[814 + 2 * 500] = 3;                                      // macro 500: program scope
  b[1795 + 21 * 500] = 20;                                   // macro 500's scope text, 20 characters
  for (int k = 1; k <= 20; ++k) b[1795 + 21 * 500 + k] = static_cast<std::uint8_t>('A' + k - 1);
  b[12315 + 499] = 1, b[12315 + 500] = 1;                    // macros 499, 500 active
  b[12814 + 2 * 500] = 0xA8, b[12814 + 2 * 500 + 1] = 0x61;  // macro 500: 25000
  TGlobData g(b);
  const TGlobData before = g;

  g.SetScopeKind(0, 7);
  g.SetScopeText(0, "X");
  g.SetMacroActive(0, false);
  g.SetActivationCode(0, 9);
  g.SetWindowMatch(0, 1);
  EXPECT_TRUE(g == before);
  EXPECT_EQ(g.ScopeKind(0), 0);
  EXPECT_EQ(g.ScopeText(0), "");
  EXPECT_FALSE(g.MacroActive(0));
  EXPECT_EQ(g.ActivationCode(0), 0);
  EXPECT_EQ(g.WindowMatch(0), 0);

  // Nor does a data group 7 for macro 0 copy anything over them.
  std::vector<std::uint8_t> library(19793, 0x5A);
  EXPECT_TRUE(MacroEntryRanges(0).empty());
  EXPECT_FALSE(g.CopyDataGroup(library, 7, 0));
  EXPECT_TRUE(g == before);
  EXPECT_EQ(g.ScopeText(500), "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(g.ActivationCode(500), 25000);
}

// The expected bytes of each data group, written out from the layout table.
std::set<std::size_t> Expand(std::initializer_list<std::pair<std::size_t, std::size_t>> ranges) {
  std::set<std::size_t> s;
  for (auto [from, to] : ranges)
    for (std::size_t i = from; i <= to; ++i) s.insert(i);
  return s;
}

TEST(GlobData, EachDataGroupCopiesExactlyItsFields) {
  struct Case {
    int group;
    int macro;
    std::set<std::size_t> bytes;
  };
  const std::vector<Case> cases = {
      {0, 0, Expand({{739, 740}, {742, 742}, {763, 782}, {785, 789}, {798, 799}})},
      {1, 0, Expand({{738, 738}})},
      {2, 0, Expand({{783, 783}})},
      {3, 0, Expand({{749, 752}})},
      {4, 0, Expand({{745, 748}})},
      {5, 0, Expand({{0, 3}})},
      {6, 0, Expand({{753, 762}})},
      {7, 12, Expand({{838, 839}, {2047, 2067}, {12327, 12327}, {12838, 12839}, {13827, 13827}})},
      {7, 500, Expand({{1814, 1815}, {12295, 12315}, {12815, 12815}, {13814, 13815}, {14315, 14315}})},
      {8, 0, Expand({{14316, 14319}})},
      {9, 0, Expand({{14323, 14573}})},
      {10, 0, Expand({{14574, 14577}, {14589, 19788}})},
      {11, 0, Expand({{4, 4}, {741, 741}, {743, 744}, {790, 797}, {14320, 14321}, {14578, 14578}})},
      {12, 0, Expand({{14579, 14579}, {14585, 14588}})},
      {13, 0, Expand({{14581, 14584}})},
      {14, 0, Expand({{17, 737}, {14322, 14322}})},
  };
  std::vector<std::uint8_t> library(19793, 0xA5);
  for (const Case& c : cases) {
    TGlobData g;
    ASSERT_TRUE(g.CopyDataGroup(library, c.group, c.macro)) << c.group;
    for (std::size_t i = 0; i < g.Raw().size(); ++i) {
      const bool expected = c.bytes.count(i) > 0;
      ASSERT_EQ(g.Raw()[i] == 0xA5, expected) << "group " << c.group << " offset " << i;
    }
  }
}

TEST(GlobData, DataGroupEdgeCases) {
  std::vector<std::uint8_t> library(19793, 0x5A);
  TGlobData g;
  const TGlobData empty;
  // No such group: nothing copied.
  EXPECT_FALSE(g.CopyDataGroup(library, 15));
  EXPECT_FALSE(g.CopyDataGroup(library, -1));
  EXPECT_FALSE(g.CopyDataGroup(library, 7, 501));
  EXPECT_TRUE(g == empty);

  // A macro the editor just appended: its entries come over although the count is still lower.
  TGlobData lib;
  lib.SetMacroCount(11);
  lib.SetScopeKind(11, 2);
  lib.SetScopeText(11, "EDITOR");
  lib.SetActivationCode(11, 20000);
  g.SetMacroCount(10);
  EXPECT_TRUE(g.CopyDataGroup(lib.Raw(), 7, 11));
  EXPECT_EQ(g.ScopeKind(11), 2);
  EXPECT_EQ(g.ScopeText(11), "EDITOR");
  EXPECT_EQ(g.ActivationCode(11), 20000);
  EXPECT_EQ(g.MacroCount(), 10);
  EXPECT_TRUE(g.CopyDataGroup(lib.Raw(), 8));
  EXPECT_EQ(g.MacroCount(), 11);

  // Group 11 leaves the field at 812 zero whatever either block holds there.
  std::vector<std::uint8_t> held(kGlobDataSize, 0);
  held[812] = 77;
  TGlobData h(held);
  EXPECT_TRUE(h.CopyDataGroup(library, 11));
  EXPECT_EQ(h.ZeroedAfterGroup11(), 0);

  // A buffer shorter than a block copies nothing.
  std::vector<std::uint8_t> shortBuf(100, 1);
  EXPECT_FALSE(g.CopyDataGroup(shortBuf, 5));
}

// The stop key of a recording is the system macro's hot key, its modifiers at 767..770 in the
// order Ctrl, Alt, Shift, Win, as the hook library reads them.
TEST(GlobData, StopKeyOfAHotKeyIndex) {
  const struct {
    int index;
    std::array<std::uint8_t, 8> bytes;  // 763..770
  } cases[] = {
      {233, {0, 0, 0x75, 0, 0, 1, 1, 0}},  // Alt+Shift+F6
      {607, {0, 0, 'F', 0, 1, 0, 0, 1}},   // Win+Ctrl+F
      {263, {0, 0, 'X', 0, 1, 1, 1, 0}},   // Ctrl+Alt+Shift+X
      {-1, {0, 0, 0, 0, 0, 0, 0, 0}},      // no hot key: nothing held, no key
  };
  for (const auto& c : cases) {
    TGlobData g;
    g.WriteStopKey(1, StopKeyOf(c.index));
    std::array<std::uint8_t, 8> got{};
    std::memcpy(got.data(), g.Raw().data() + glob::kStopKey1, got.size());
    EXPECT_EQ(got, c.bytes) << c.index;
  }
}

}  // namespace
}  // namespace wdx
