// The rules of the direct text editor that need no window: the Abbrekey's characters, the
// stored form of the memo's text, the mouse area's numbers, the activation kinds, and the text
// files the memo is loaded from and saved to.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

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
