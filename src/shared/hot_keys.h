// The hot key index: the number 0..720 that a macro's activation code holds when a key (with a
// set of modifiers) or a mouse button starts it. The player, the editor, the wizard and the
// hook library all agree on this numbering, so it lives here once: the decoding into a virtual
// key, a mouse button and modifier flags, and the 721 names the user sees.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace wdx {

constexpr int kHotKeyCount = 721;
// The names are kept as short strings of at most this many characters.
constexpr std::size_t kHotKeyNameMax = 26;

enum class MouseButtonKind : std::uint8_t { kNone = 0, kLeft = 1, kRight = 2, kMiddle = 3 };

struct HotKey {
  std::uint8_t virtualKey = 0;  // 0 for the mouse-button indexes
  MouseButtonKind mouse = MouseButtonKind::kNone;
  bool ctrl = false;
  bool alt = false;
  bool shift = false;
  bool win = false;
  friend bool operator==(const HotKey&, const HotKey&) = default;
};

// Activation codes 10000 and up are other kinds of activation, never hot keys.
constexpr bool IsHotKeyIndex(int code) { return code >= 0 && code < kHotKeyCount; }

// The key, mouse button and modifiers of an index; everything clear (no key) for a code that is
// no hot key index, so a stray activation code never presses anything.
HotKey DecipherKey(int index);

// "Ctrl+A" .. "Win+Space"; empty for a code that is no hot key index.
std::string_view HotKeyName(int index);

// The first index whose name equals the text without regard to case, or -1.
int FindHotKeyByName(std::string_view name);

// Keys the system itself may take (Alt+F6, Win+D, ...): choosing one asks the user first.
bool IsReservedHotKey(int index);

// The question asked before a reserved key is taken; empty for any other index.
std::string ReservedHotKeyQuestion(int index);

// A row of the hot key lists: the name and how many macros use the key.
std::string HotKeyListRow(int index, int macrosUsingIt);
// The two columns a row is drawn in: the key's name, and the use without its parentheses.
struct HotKeyRowColumns {
  std::string name;
  std::string use;
};
HotKeyRowColumns SplitHotKeyListRow(std::string_view row);

}  // namespace wdx
