// The rules of the direct text editor that need no window: the Abbrekey's characters, the
// stored form of the memo's text, the mouse area's numbers, the activation kinds, and the text
// files the memo is loaded from and saved to.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "forms/dialog.h"
#include "platform/files.h"
#include "shared/macro_record.h"

namespace wdx::editor {

// The longest macro text the library keeps.
inline constexpr std::size_t kMacroTextLimit = 5000;

// What activates the macro, as the editor's Properties page shows it.
namespace activation {
enum Type : std::int32_t { kHotKey = 1, kTimed = 2, kAbbrekey = 3, kNone = 6, kWindowTitle = 7, kMouseClick = 8 };
inline constexpr std::uint16_t kTimedCode = 10000;
inline constexpr std::uint16_t kMouseCode = 15000;
inline constexpr std::uint16_t kFloatingMenuCode = 17500;
inline constexpr std::uint16_t kAbbrekeyCode = 20000;
inline constexpr std::uint16_t kWindowTitleCode = 25000;
inline constexpr std::uint16_t kNoneCode = 30000;
}  // namespace activation
// The activation type of an activation code (a hot key index and anything unknown: hot key).
std::int32_t ActivationTypeOf(std::uint16_t code);

// Letters, digits and ' ! # $ % & * + , - . / ; < = > ? @ \ ^ _.
bool ValidAbbrekeyChar(char c);
bool ValidAbbrekey(std::string_view name);

// The memo's text as it is stored: every tab written "<TAB>".
std::string StoredMacroText(std::string_view memo);

// A mouse-area coordinate: the whole trimmed text a whole number (an optional sign, digits) that
// the record's 16-bit field holds; nothing otherwise.
std::optional<std::int16_t> Coordinate(std::string_view typed);

// Mouse-click activation as the panels show it. Buttons are in the record's numbering (1 left,
// 2 middle, 3 right); the hook library's click flags number them otherwise and are reached only
// through SwapButtonNumbering.
struct MouseChoice {
  enum Part { kMaximize = 1, kMinimize, kSystemMenu, kVertical, kHorizontal, kTitle, kMenu, kBorder };
  int button = 1;
  bool windowPart = false;
  int part = kTitle;
  std::string top, left, bottom, right;
};

// The area or window part and the button into the record. Each coordinate must be a whole
// number the record's 16-bit field holds ("Invalid top position entered.  Please correct." and
// so on, on the field); corners given the wrong way round are put in order.
std::optional<forms::Fault> StoreMouseChoice(const MouseChoice& choice, TMacroRec& record);

// Import: at most `limit` bytes of the file (nothing when it cannot be opened), without a
// closing end-of-file mark (byte 26). `size` is the file's whole size.
struct TextFile {
  std::string text;
  std::uintmax_t size = 0;
};
std::optional<TextFile> ReadTextFile(platform::Files& files, const std::string& path, std::size_t limit);
// Export: the text and one CR LF, replacing the file; false when it cannot be written.
bool WriteTextFile(platform::Files& files, const std::string& path, std::string_view text);

}  // namespace wdx::editor
