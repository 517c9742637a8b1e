#include "editor/shell/player_link.h"

#include <algorithm>

#include "shared/macro_library.h"
#include "shared/protocol_messages.h"

namespace wdx::editor {

void PlayerLink::Tell(int code, std::int64_t argument) {
  if (player_ == platform::kNoWindow) return;
  windows_.PostMessage(player_, UM_CONTROL, static_cast<std::uint64_t>(code), argument);
}

bool PlayerLink::GetGlobDataItem(int group, int macro) { return hook::GetGlobDataItem(hook_, glob_, group, macro); }

void PlayerLink::CopyAllGroups() {
  for (int group = 0; group <= 14; ++group) {
    if (group != data_group::kMacroEntries) GetGlobDataItem(group);
  }
  const int count = std::clamp(glob_.MacroCount(), 0, kGlobMaxMacros);
  for (int m = 1; m <= count; ++m) GetGlobDataItem(data_group::kMacroEntries, m);
}

void PlayerLink::SetHotKeys() {
  RebuildHotKeyMap(glob_);
  hook_.WdxUpKeys(glob_);
  Tell(control::kDataGroup, data_group::kHotKeyMap);
}

void PlayerLink::UpNumKeys() {
  hook_.WdxUpNumKeys(glob_);
  Tell(control::kDataGroup, data_group::kMacroCount);
}

void PlayerLink::UpCapture() {
  hook_.WdxUpCapture(glob_);
  Tell(control::kDataGroup, data_group::kCaptureSetUp);
}

void PlayerLink::UpCaptureOn() {
  hook_.WdxUpCaptureOn(glob_);
  Tell(control::kDataGroup, data_group::kCaptureOn);
}

void PlayerLink::SetSecWind(platform::WindowHandle w, bool on) {
  glob_.SetSecondaryWindow(static_cast<std::uint32_t>(w), on);
  hook_.WdxUpWindow2(glob_);
  Tell(control::kDataGroup, data_group::kSecondaryWindow);
}

void PlayerLink::SetCapWind(platform::WindowHandle w, bool on) {
  glob_.SetCaptureWindow(static_cast<std::uint32_t>(w), on);
  hook_.WdxUpWindow2(glob_);
  Tell(control::kDataGroup, data_group::kSecondaryWindow);
}

}  // namespace wdx::editor
