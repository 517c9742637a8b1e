#include "player/core/editor_link.h"

#include "player/core/protocol.h"
#include "shared/protocol_messages.h"

namespace wdx::player {

namespace {
constexpr std::size_t kTitleMax = 255;
}

std::string EditorStartParameters(platform::WindowHandle player) {
  return std::string(kEditorStartToken) + " /RH" + std::to_string(player);
}

bool EditorLink::Find() {
  // A remembered editor that has gone away without saying so is searched for again.
  if (found_ && !windows_.IsWindow(window_)) Forget();
  if (searched_) return found_;
  for (const platform::WindowHandle w : windows_.EnumTopLevelWindows()) {
    std::string title = windows_.GetTitle(w);
    if (title.empty()) continue;
    if (title.size() > kTitleMax) title.resize(kTitleMax);
    if (UpperAscii(title).find(kEditorTitleMark) != std::string::npos) {
      window_ = w;
      found_ = searched_ = true;
      break;
    }
  }
  return found_;
}

void EditorLink::Tell(std::uint32_t code, std::int64_t argument) {
  Post(UM_CONTROL, code, argument);
}

bool EditorLink::Post(std::uint32_t message, std::uint64_t wparam, std::int64_t lparam) {
  if (!Find()) return false;
  windows_.PostMessage(window_, message, wparam, lparam);
  return true;
}

void EditorLink::Forget() {
  found_ = searched_ = false;
  window_ = platform::kNoWindow;
}

}  // namespace wdx::player
