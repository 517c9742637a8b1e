#include "shared/hot_keys.h"

#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

namespace wdx {
namespace {

TEST(HotKeyNames, FixedIndexes) {
  struct Case {
    int index;
    const char* name;
  } cases[] = {
      {0, "Ctrl+A"},
      {25, "Ctrl+Z"},
      {26, "Ctrl+0"},
      {36, "Ctrl+F1"},
      {47, "Ctrl+F12"},
      {48, "Alt+A"},
      {89, "Alt+F6"},
      {96, "Ctrl+Shift+A"},
      {144, "Ctrl+Alt+A"},
      {185, "Ctrl+Alt+F6"},
      {192, "Alt+Shift+A"},
      {233, "Alt+Shift+F6"},
      {240, "Ctrl+Alt+Shift+A"},
      // The five system macros' keys.
      {261, "Ctrl+Alt+Shift+V"},
      {262, "Ctrl+Alt+Shift+W"},
      {263, "Ctrl+Alt+Shift+X"},
      {264, "Ctrl+Alt+Shift+Y"},
      {265, "Ctrl+Alt+Shift+Z"},
      {283, "Ctrl+Alt+Shift+F8"},
      {288, "F1"},
      {299, "F12"},
      {300, "Shift+F1"},
      {311, "Shift+F12"},
      {312, "Ctrl+Enter"},
      {314, "Shift+Enter"},
      {315, "Ctrl+Shift+Enter"},
      {318, "Ctrl+Alt+Shift+Enter"},
      {319, "Ctrl+Tab"},
      {320, "Shift+Tab"},
      {322, "Ctrl+Alt+Tab"},
      {323, "Ctrl+Alt+Shift+Tab"},
      {324, "Ctrl+Backspace"},
      {337, "Ctrl+Alt+Shift+Space"},
      {338, "Ctrl+Insert"},
      {345, "Ctrl+Delete"},
      {349, "Alt+Shift+Delete"},
      {350, "Ctrl+Home"},
      {363, "Ctrl+Alt+Shift+End"},
      {364, "Ctrl+."},
      {366, "Ctrl+Shift+."},
      {375, "Ctrl+Alt+Shift+,"},
      {394, "Ctrl+\\"},
      {424, "Ctrl+`"},
      {429, "Ctrl+Alt+Shift+`"},
      {430, "KeyPad /"},
      {431, "Ctrl+Keypad /"},
      {433, "Shift+KeyPad /"},
      {434, "Ctrl+Shift+Keypad /"},
      {441, "Shift+KeyPad *"},
      {454, "KeyPad +"},
      {457, "Shift+KeyPad +"},
      {461, "Ctrl+Alt+Shift+Keypad +"},
      {462, "Insert"},
      {466, "Page Up"},
      {471, "Down Arrow"},
      {472, "Ctrl+Page Up"},
      {479, "Ctrl+Page Down"},
      {493, "Ctrl+Right Arrow"},
      {499, "Ctrl+Alt+Shift+Right Arrow"},  // the longest name: 26 characters
      {513, "Ctrl+Alt+Shift+Down Arrow"},
      {514, "KeyPad 0"},
      {515, "Ctrl+Keypad 0"},
      {516, "Alt+Keypad 0"},
      {542, "KeyPad 7"},
      {553, "Ctrl+Alt+Keypad 9"},
      {554, "Win+A"},
      {557, "Win+D"},
      {571, "Win+R"},
      {590, "Win+F1"},
      {601, "Win+F12"},
      {602, "Win+Ctrl+A"},
      {607, "Win+Ctrl+F"},
      {650, "Win+Alt+A"},
      {697, "Win+Alt+F12"},
      {698, "ESC"},
      {699, "LMouse"},
      {700, "Shift+LMouse"},
      {701, "Ctrl+LMouse"},
      {702, "Alt+LMouse"},
      {703, "Ctrl+Shift+LMouse"},
      {704, "Ctrl+Alt+LMouse"},
      {705, "Shift+Alt+LMouse"},
      {706, "RMouse"},
      {712, "Shift+Alt+RMouse"},
      {713, "MMouse"},
      {719, "Shift+Alt+MMouse"},
      {720, "Win+Space"},
  };
  for (const auto& c : cases) EXPECT_EQ(HotKeyName(c.index), c.name) << "index " << c.index;
}

TEST(HotKeyNames, NoNameOutsideTheIndexRange) {
  for (int code : {-1, 721, 10000, 15000, 17500, 20000, 25000, 30000}) {
    EXPECT_TRUE(HotKeyName(code).empty()) << code;
    EXPECT_EQ(DecipherKey(code), HotKey{}) << code;
    EXPECT_FALSE(IsHotKeyIndex(code));
  }
}

// Every name is short enough for its stored field, unique without regard to case (the import
// looks names up that way), and spells exactly the modifiers that DecipherKey reports.
TEST(HotKeyNames, AgreeWithDecodingForEveryIndex) {
  std::set<std::string> upperNames;
  for (int i = 0; i < kHotKeyCount; ++i) {
    std::string name(HotKeyName(i));
    ASSERT_FALSE(name.empty()) << i;
    EXPECT_LE(name.size(), kHotKeyNameMax) << name;

    std::string upper = name;
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    EXPECT_TRUE(upperNames.insert(upper).second) << "duplicate " << name;

    HotKey fromName;
    std::string rest = name;
    for (;;) {
      if (rest.rfind("Ctrl+", 0) == 0) {
        fromName.ctrl = true, rest.erase(0, 5);
      } else if (rest.rfind("Alt+", 0) == 0) {
        fromName.alt = true, rest.erase(0, 4);
      } else if (rest.rfind("Shift+", 0) == 0) {
        fromName.shift = true, rest.erase(0, 6);
      } else if (rest.rfind("Win+", 0) == 0) {
        fromName.win = true, rest.erase(0, 4);
      } else {
        break;
      }
    }
    HotKey k = DecipherKey(i);
    EXPECT_EQ(k.ctrl, fromName.ctrl) << name;
    EXPECT_EQ(k.alt, fromName.alt) << name;
    EXPECT_EQ(k.shift, fromName.shift) << name;
    EXPECT_EQ(k.win, fromName.win) << name;
    const bool mouseName = rest == "LMouse" || rest == "RMouse" || rest == "MMouse";
    EXPECT_EQ(k.mouse != MouseButtonKind::kNone, mouseName) << name;
    EXPECT_EQ(k.virtualKey == 0, mouseName) << name;
    if (rest.size() == 1 && ((rest[0] >= 'A' && rest[0] <= 'Z') || (rest[0] >= '0' && rest[0] <= '9'))) {
      EXPECT_EQ(k.virtualKey, static_cast<std::uint8_t>(rest[0])) << name;
    }
  }
}

TEST(DecipherKey, Table) {
  using M = MouseButtonKind;
  struct Case {
    int index;
    HotKey key;
  } cases[] = {
      {0, {0x41, M::kNone, true, false, false, false}},
      {35, {0x39, M::kNone, true, false, false, false}},
      {47, {0x7B, M::kNone, true, false, false, false}},
      {261, {'V', M::kNone, true, true, true, false}},
      {265, {'Z', M::kNone, true, true, true, false}},
      {288, {0x70, M::kNone, false, false, false, false}},
      {300, {0x70, M::kNone, false, false, true, false}},
      {312, {13, M::kNone, true, false, false, false}},
      {320, {9, M::kNone, false, false, true, false}},
      {326, {8, M::kNone, false, false, true, false}},
      {331, {32, M::kNone, true, false, false, false}},
      {345, {46, M::kNone, true, false, false, false}},
      {364, {190, M::kNone, true, false, false, false}},
      {375, {188, M::kNone, true, true, true, false}},
      {429, {192, M::kNone, true, true, true, false}},
      {433, {111, M::kNone, false, false, true, false}},
      {438, {106, M::kNone, false, false, false, false}},
      {446, {109, M::kNone, false, false, false, false}},
      {454, {107, M::kNone, false, false, false, false}},
      {462, {45, M::kNone, false, false, false, false}},
      {471, {40, M::kNone, false, false, false, false}},
      {472, {33, M::kNone, true, false, false, false}},
      {515, {96, M::kNone, true, false, false, false}},
      {542, {103, M::kNone, false, false, false, false}},
      {553, {105, M::kNone, true, true, false, false}},
      {554, {0x41, M::kNone, false, false, false, true}},
      {607, {'F', M::kNone, true, false, false, true}},
      {697, {0x7B, M::kNone, false, true, false, true}},
      {698, {27, M::kNone, false, false, false, false}},
      {699, {0, M::kLeft, false, false, false, false}},
      {705, {0, M::kLeft, false, true, true, false}},
      {706, {0, M::kRight, false, false, false, false}},
      {710, {0, M::kRight, true, false, true, false}},
      {713, {0, M::kMiddle, false, false, false, false}},
      {718, {0, M::kMiddle, true, true, false, false}},
      {720, {32, M::kNone, false, false, false, true}},
  };
  for (const auto& c : cases) EXPECT_EQ(DecipherKey(c.index), c.key) << "index " << c.index;
}

TEST(HotKeyLookup, FindsNamesWithoutRegardToCase) {
  EXPECT_EQ(FindHotKeyByName("ctrl+a"), 0);
  EXPECT_EQ(FindHotKeyByName("Win+Space"), 720);
  EXPECT_EQ(FindHotKeyByName("KEYPAD 7"), 542);
  EXPECT_EQ(FindHotKeyByName("shift+keypad /"), 433);
  EXPECT_EQ(FindHotKeyByName("Ctrl+A "), -1);
  EXPECT_EQ(FindHotKeyByName(""), -1);
  for (int i = 0; i < kHotKeyCount; ++i) ASSERT_EQ(FindHotKeyByName(HotKeyName(i)), i) << HotKeyName(i);
}

TEST(HotKeyLookup, ReservedKeysAreTheTenTheSystemMayTake) {
  std::set<std::string> reserved;
  for (int i = 0; i < kHotKeyCount; ++i)
    if (IsReservedHotKey(i)) reserved.insert(std::string(HotKeyName(i)));
  EXPECT_EQ(reserved, (std::set<std::string>{"Alt+F6", "Ctrl+Alt+F6", "Alt+Shift+F6", "Win+F1", "Win+D", "Win+E",
                                             "Win+F", "Win+M", "Win+R", "Win+Ctrl+F"}));
  EXPECT_FALSE(IsReservedHotKey(-1));
  EXPECT_FALSE(IsReservedHotKey(10000));
}

TEST(HotKeyLookup, ListRowsCountTheMacrosUsingTheKey) {
  EXPECT_EQ(HotKeyListRow(0, 0), "Ctrl+A  (Not in Use)");
  EXPECT_EQ(HotKeyListRow(720, 1), "Win+Space  (1 macro in use)");
  EXPECT_EQ(HotKeyListRow(698, 12), "ESC  (12 macros in use)");
}

}  // namespace
}  // namespace wdx
