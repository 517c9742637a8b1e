#include "player/core/editor_link.h"

#include "player/core/window_activation.h"
#include "shared/protocol_messages.h"

namespace wdx::player {

std::string EditorStartParameters(platform::WindowHandle player) {
  return std::string(kEditorStartToken) + " /RH" + std::to_string(player);
}

EditorLink::EditorLink(platform::WindowSystem& windows, platform::Shell* shell, WindowActivation& activation,
                       std::string programFolder)
    : windows_(windows), shell_(shell), activation_(activation), programFolder_(std::move(programFolder)) {}

bool EditorLink::Find() {
  // A remembered editor that has gone away without saying so is searched for again.
  if (found_ && !windows_.IsWindow(window_)) Forget();
  if (searched_ || missedInNotices_) return found_;
  for (const platform::WindowHandle w : windows_.EnumTopLevelWindows()) {
    if (activation_.UpperTitle(w).find(kEditorTitleMark) != std::string::npos) {
      window_ = w;
      found_ = searched_ = true;
      return true;
    }
  }
  missedInNotices_ = notices_ > 0;
  return false;
}

void EditorLink::EndNotices() {
  if (notices_ > 0 && --notices_ == 0) missedInNotices_ = false;
}

void EditorLink::Tell(std::uint32_t code, std::int64_t argument) { Post(UM_CONTROL, code, argument); }

void EditorLink::Post(std::uint32_t message, std::uint64_t wparam, std::int64_t lparam) {
  if (Find()) windows_.PostMessage(window_, message, wparam, lparam);
}

void EditorLink::Forget() {
  found_ = searched_ = missedInNotices_ = false;
  window_ = platform::kNoWindow;
}

void EditorLink::BringUpOrStart(bool minimized) {
  if (Find()) {
    activation_.SetMainWin(window_);
    return;
  }
  // Fire and forget: the editor finds us by the handle it is given, we find it by its title.
  if (shell_)
    shell_->Execute(player_, "open", programFolder_ + "\\" + kEditorProgram, EditorStartParameters(player_),
                    std::string(), minimized ? platform::ShowMode::kMinimize : platform::ShowMode::kShowNormal);
}

void EditorLink::Quit() { Post(platform::msg::kQuit, kEditorQuitCode, 0); }

}  // namespace wdx::player
