#include "shared/hot_keys.h"

#include <array>

#include "platform/virtual_keys.h"
#include "shared/text_util.h"

namespace wdx {
namespace {

enum : std::uint8_t { kCtrl = 1, kAlt = 2, kShift = 4, kWin = 8 };

// A modifier combination with the spelling its names use ("Alt+Shift" for the keys,
// "Shift+Alt" for the mouse buttons).
struct Modifiers {
  std::string_view text;
  std::uint8_t flags = 0;
};

constexpr Modifiers kNone{"", 0};
constexpr Modifiers kC{"Ctrl", kCtrl};
constexpr Modifiers kA{"Alt", kAlt};
constexpr Modifiers kS{"Shift", kShift};
constexpr Modifiers kCS{"Ctrl+Shift", kCtrl | kShift};
constexpr Modifiers kAS{"Alt+Shift", kAlt | kShift};
constexpr Modifiers kCA{"Ctrl+Alt", kCtrl | kAlt};
constexpr Modifiers kCAS{"Ctrl+Alt+Shift", kCtrl | kAlt | kShift};
constexpr Modifiers kSA{"Shift+Alt", kShift | kAlt};
constexpr Modifiers kW{"Win", kWin};
constexpr Modifiers kWC{"Win+Ctrl", kWin | kCtrl};
constexpr Modifiers kWA{"Win+Alt", kWin | kAlt};

constexpr std::array<Modifiers, 7> kO7{kC, kA, kS, kCS, kAS, kCA, kCAS};
constexpr std::array<Modifiers, 6> kO6{kC, kA, kCS, kAS, kCA, kCAS};
constexpr std::array<Modifiers, 8> kO8{kNone, kC, kA, kS, kCS, kAS, kCA, kCAS};
constexpr std::array<Modifiers, 4> kO4{kNone, kC, kA, kCA};
constexpr std::array<Modifiers, 7> kOM{kNone, kS, kC, kA, kCS, kCA, kSA};

struct Key {
  std::string_view name;
  std::uint8_t vk = 0;
  MouseButtonKind mouse = MouseButtonKind::kNone;
  // The keypad keys are spelled "KeyPad" alone or with Shift, "Keypad" with Ctrl, Alt or Win;
  // stored names and imported item names depend on that exact spelling.
  std::string_view modifiedName = {};
};

constexpr std::string_view kAlnum = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr std::array<std::string_view, 12> kFNames{"F1", "F2", "F3", "F4",  "F5",  "F6",
                                                   "F7", "F8", "F9", "F10", "F11", "F12"};

constexpr std::array<Key, 12> MakeFKeys() {
  std::array<Key, 12> keys{};
  for (std::size_t i = 0; i < keys.size(); ++i) keys[i] = {kFNames[i], static_cast<std::uint8_t>(vk::kF1 + i)};
  return keys;
}
constexpr std::array<Key, 12> kFKeys = MakeFKeys();

// A..Z, 0..9, F1..F12: the 48 keys of the big blocks.
constexpr std::array<Key, 48> MakeK48() {
  std::array<Key, 48> keys{};
  for (std::size_t i = 0; i < 26; ++i) keys[i] = {kAlnum.substr(i, 1), static_cast<std::uint8_t>(vk::kA + i)};
  for (std::size_t i = 0; i < 10; ++i) keys[26 + i] = {kAlnum.substr(26 + i, 1), static_cast<std::uint8_t>(vk::k0 + i)};
  for (std::size_t i = 0; i < 12; ++i) keys[36 + i] = kFKeys[i];
  return keys;
}
constexpr std::array<Key, 48> kK48 = MakeK48();

constexpr Key kEnter{"Enter", vk::kReturn};
constexpr Key kTabKey{"Tab", vk::kTab};
constexpr Key kBackspace{"Backspace", vk::kBack};
constexpr Key kSpaceKey{"Space", vk::kSpace};
constexpr Key kInsertKey{"Insert", vk::kInsert};
constexpr Key kDeleteKey{"Delete", vk::kDelete};
constexpr Key kHomeKey{"Home", vk::kHome};
constexpr Key kEndKey{"End", vk::kEnd};
constexpr Key kPageUp{"Page Up", vk::kPrior};
constexpr Key kPageDown{"Page Down", vk::kNext};
constexpr Key kLeftArrow{"Left Arrow", vk::kLeft};
constexpr Key kRightArrow{"Right Arrow", vk::kRight};
constexpr Key kUpArrow{"Up Arrow", vk::kUp};
constexpr Key kDownArrow{"Down Arrow", vk::kDown};
constexpr Key kEscKey{"ESC", vk::kEscape};

// The punctuation keys of a US keyboard (the OEM virtual keys).
constexpr std::array<Key, 11> kPunctuation{{
    {".", 190}, {",", 188}, {"/", 191}, {";", 186}, {"'", 222}, {"\\", 220},
    {"[", 219}, {"]", 221}, {"-", 189}, {"=", 187}, {"`", 192},
}};

constexpr std::array<Key, 4> kKeypadOperators{{
    {"KeyPad /", vk::kDivide, MouseButtonKind::kNone, "Keypad /"},
    {"KeyPad *", vk::kMultiply, MouseButtonKind::kNone, "Keypad *"},
    {"KeyPad -", vk::kSubtract, MouseButtonKind::kNone, "Keypad -"},
    {"KeyPad +", vk::kAdd, MouseButtonKind::kNone, "Keypad +"},
}};

constexpr std::array<Key, 10> kNavigation{kInsertKey, kDeleteKey, kHomeKey,     kEndKey,   kPageUp,
                                          kPageDown,  kLeftArrow, kRightArrow, kUpArrow, kDownArrow};
constexpr std::array<Key, 6> kPagesAndArrows{kPageUp, kPageDown, kLeftArrow, kRightArrow, kUpArrow, kDownArrow};

constexpr std::string_view kKeypadDigitNames[10][2] = {
    {"KeyPad 0", "Keypad 0"}, {"KeyPad 1", "Keypad 1"}, {"KeyPad 2", "Keypad 2"}, {"KeyPad 3", "Keypad 3"},
    {"KeyPad 4", "Keypad 4"}, {"KeyPad 5", "Keypad 5"}, {"KeyPad 6", "Keypad 6"}, {"KeyPad 7", "Keypad 7"},
    {"KeyPad 8", "Keypad 8"}, {"KeyPad 9", "Keypad 9"}};
constexpr std::array<Key, 10> MakeKeypadDigits() {
  std::array<Key, 10> keys{};
  for (std::size_t i = 0; i < keys.size(); ++i) {
    keys[i] = {kKeypadDigitNames[i][0], static_cast<std::uint8_t>(vk::kNumpad0 + i), MouseButtonKind::kNone,
               kKeypadDigitNames[i][1]};
  }
  return keys;
}
constexpr std::array<Key, 10> kKeypadDigits = MakeKeypadDigits();

constexpr Key kLMouse{"LMouse", 0, MouseButtonKind::kLeft};
constexpr Key kRMouse{"RMouse", 0, MouseButtonKind::kRight};
constexpr Key kMMouse{"MMouse", 0, MouseButtonKind::kMiddle};

struct Entry {
  std::array<char, kHotKeyNameMax> name{};
  std::uint8_t length = 0;
  HotKey key;
};

struct Table {
  std::array<Entry, kHotKeyCount> entries{};
  int count = 0;
};

// Evaluated at compile time: an entry past 720 or a name longer than 26 characters stops the
// build instead of overrunning at run time.
constexpr void Append(Entry& e, std::string_view text) {
  for (char c : text) e.name[e.length++] = c;
}

constexpr void Add(Table& t, const Key& key, const Modifiers& m) {
  Entry& e = t.entries[static_cast<std::size_t>(t.count++)];
  e.key = {key.vk, key.mouse, (m.flags & kCtrl) != 0, (m.flags & kAlt) != 0, (m.flags & kShift) != 0,
           (m.flags & kWin) != 0};
  Append(e, m.text);
  if (!m.text.empty()) Append(e, "+");
  const bool plainSpelling = (m.flags & ~kShift) == 0;
  Append(e, plainSpelling || key.modifiedName.empty() ? key.name : key.modifiedName);
}

// Keys outer, modifiers inner: the order of the index within a group.
template <std::size_t NK, std::size_t NM>
constexpr void AddGroup(Table& t, const std::array<Key, NK>& keys, const std::array<Modifiers, NM>& mods) {
  for (const Key& k : keys)
    for (const Modifiers& m : mods) Add(t, k, m);
}
template <std::size_t NM>
constexpr void AddGroup(Table& t, const Key& key, const std::array<Modifiers, NM>& mods) {
  for (const Modifiers& m : mods) Add(t, key, m);
}
template <std::size_t NK>
constexpr void AddGroup(Table& t, const std::array<Key, NK>& keys, const Modifiers& m) {
  for (const Key& k : keys) Add(t, k, m);
}

constexpr Table BuildTable() {
  Table t;
  for (const Modifiers& m : {kC, kA, kCS, kCA, kAS, kCAS}) AddGroup(t, kK48, m);  // 0..287
  AddGroup(t, kFKeys, kNone);                                                     // 288..299
  AddGroup(t, kFKeys, kS);                                                        // 300..311
  AddGroup(t, kEnter, kO7);                                                       // 312..318
  AddGroup(t, kTabKey, std::array<Modifiers, 5>{kC, kS, kCS, kCA, kCAS});         // 319..323
  AddGroup(t, kBackspace, kO7);                                                   // 324..330
  AddGroup(t, kSpaceKey, kO7);                                                    // 331..337
  AddGroup(t, kInsertKey, kO7);                                                   // 338..344
  AddGroup(t, kDeleteKey, std::array<Modifiers, 5>{kC, kA, kS, kCS, kAS});        // 345..349
  AddGroup(t, kHomeKey, kO7);                                                     // 350..356
  AddGroup(t, kEndKey, kO7);                                                      // 357..363
  AddGroup(t, kPunctuation, kO6);                                                 // 364..429
  AddGroup(t, kKeypadOperators, kO8);                                             // 430..461
  AddGroup(t, kNavigation, kNone);                                                // 462..471
  AddGroup(t, kPagesAndArrows, kO7);                                              // 472..513
  AddGroup(t, kKeypadDigits, kO4);                                                // 514..553
  AddGroup(t, kK48, kW);                                                          // 554..601
  AddGroup(t, kK48, kWC);                                                         // 602..649
  AddGroup(t, kK48, kWA);                                                         // 650..697
  Add(t, kEscKey, kNone);                                                         // 698
  AddGroup(t, kLMouse, kOM);                                                      // 699..705
  AddGroup(t, kRMouse, kOM);                                                      // 706..712
  AddGroup(t, kMMouse, kOM);                                                      // 713..719
  Add(t, kSpaceKey, kW);                                                          // 720
  return t;
}

constexpr Table kTable = BuildTable();
static_assert(kTable.count == kHotKeyCount, "the hot key layout must fill 0..720 exactly");

constexpr std::array<int, 10> kReserved{89, 185, 233, 590, 557, 558, 559, 566, 571, 607};

}  // namespace

HotKey DecipherKey(int index) {
  if (!IsHotKeyIndex(index)) return {};
  return kTable.entries[static_cast<std::size_t>(index)].key;
}

std::string_view HotKeyName(int index) {
  if (!IsHotKeyIndex(index)) return {};
  const Entry& e = kTable.entries[static_cast<std::size_t>(index)];
  return {e.name.data(), e.length};
}

int FindHotKeyByName(std::string_view name) {
  // The names are plain ASCII, so ASCII folding matches exactly what upper-casing both sides
  // in the Windows code page would.
  for (int i = 0; i < kHotKeyCount; ++i)
    if (EqualsNoCase(HotKeyName(i), name)) return i;
  return -1;
}

bool IsReservedHotKey(int index) {
  for (int r : kReserved)
    if (r == index) return true;
  return false;
}

std::string ReservedHotKeyQuestion(int index) {
  if (!IsReservedHotKey(index)) return {};
  const std::string name(HotKeyName(index));
  return name + " may be used internally by Windows 95, 98 or NT.  This may cause the hot key not to function "
                "correctly. Would you still like to use " + name + "?";
}

HotKeyRowColumns SplitHotKeyListRow(std::string_view row) {
  const std::size_t open = row.find("  (");
  HotKeyRowColumns columns{std::string(row.substr(0, open)), {}};
  if (open != std::string_view::npos) {
    columns.use = std::string(row.substr(open + 3));
    if (!columns.use.empty() && columns.use.back() == ')') columns.use.pop_back();
  }
  return columns;
}

std::string HotKeyListRow(int index, int macrosUsingIt) {
  std::string row(HotKeyName(index));
  if (macrosUsingIt <= 0) return row + "  (Not in Use)";
  if (macrosUsingIt == 1) return row + "  (1 macro in use)";
  return row + "  (" + std::to_string(macrosUsingIt) + " macros in use)";
}

}  // namespace wdx
