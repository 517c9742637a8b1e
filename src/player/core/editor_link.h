// How the player finds and tells the editor Wendforge: the editor is the first top-level window
// whose upper-cased title contains "WENDRIX EDITOR". Once found it is remembered (until the
// editor says it is closing, or its window is gone); a search that finds nothing is repeated at
// the next use; when no editor runs nothing is sent and nothing waits.
#pragma once

#include <cstdint>
#include <string>

#include "platform/window_system.h"

namespace wdx::player {

inline constexpr char kEditorTitleMark[] = "WENDRIX EDITOR";
inline constexpr char kEditorProgram[] = "wendforge.exe";
inline constexpr char kEditorStartToken[] = "-RXB";

// The editor's start parameters: the start token, " /RH" and the player's window in decimal.
std::string EditorStartParameters(platform::WindowHandle player);

class EditorLink {
 public:
  explicit EditorLink(platform::WindowSystem& windows) : windows_(windows) {}

  // Searches when not searched yet (or when the remembered window is gone); true when found.
  bool Find();
  // Posts UM_CONTROL (code, argument) to the editor when there is one.
  void Tell(std::uint32_t code, std::int64_t argument);
  // Posts any message to the editor when there is one; false when none was found.
  bool Post(std::uint32_t message, std::uint64_t wparam, std::int64_t lparam);
  // The editor is closing (UM_CONTROL 4): search again next time.
  void Forget();

  bool Found() const { return found_; }
  bool Searched() const { return searched_; }
  platform::WindowHandle Window() const { return window_; }

 private:
  platform::WindowSystem& windows_;
  platform::WindowHandle window_ = platform::kNoWindow;
  bool found_ = false;
  bool searched_ = false;
};

}  // namespace wdx::player
