#include "platform/memory/memory_shell_icons.h"

#include <algorithm>

namespace wdx::platform {

namespace {
constexpr IconHandle kFirstFile = 100;
constexpr const char* kImageNames[] = {"idle", "running", "recording", "menu"};
}  // namespace

bool MemoryShellIcons::Notify(NotifyCommand command, const NotifyIcon& icon) {
  calls.push_back({command, icon});
  if (refuse) return false;
  auto at = std::find_if(shown.begin(), shown.end(),
                         [&](const NotifyIcon& s) { return s.window == icon.window && s.id == icon.id; });
  switch (command) {
    case NotifyCommand::kAdd:
      if (at != shown.end()) return false;
      shown.push_back(icon);
      shown.back().tip = icon.tip.substr(0, kNotifyTipMax);
      return true;
    case NotifyCommand::kModify:
      if (at == shown.end()) return false;
      *at = icon;
      at->tip = icon.tip.substr(0, kNotifyTipMax);
      return true;
    case NotifyCommand::kDelete:
      if (at == shown.end()) return false;
      shown.erase(at);
      return true;
  }
  return false;
}

IconHandle MemoryShellIcons::ProgramIcon(ProgramImage image) { return static_cast<IconHandle>(image) + 1; }

IconHandle MemoryShellIcons::LoadIconFile(const std::string& path) {
  files_.push_back(path);
  return kFirstFile + files_.size() - 1;
}

void MemoryShellIcons::DestroyIcon(IconHandle icon) { destroyed.push_back(icon); }

const NotifyIcon* MemoryShellIcons::Find(WindowHandle window, std::uint32_t id) const {
  for (const NotifyIcon& s : shown)
    if (s.window == window && s.id == id) return &s;
  return nullptr;
}

std::string MemoryShellIcons::ImageName(IconHandle icon) const {
  if (icon >= 1 && icon <= 4) return kImageNames[icon - 1];
  if (icon >= kFirstFile && icon - kFirstFile < files_.size()) return files_[icon - kFirstFile];
  return {};
}

}  // namespace wdx::platform
