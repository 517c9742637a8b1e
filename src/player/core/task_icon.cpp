#include "player/core/task_icon.h"

namespace wdx::player {

TTaskIcon::TTaskIcon(platform::WindowSystem& windows, platform::ShellIcons& shell, platform::Input* input)
    : windows_(windows), shell_(shell), input_(input) {
  data_.callbackMessage = kTaskIconMessage;
  data_.window = windows_.CreateOwnWindow(kTaskIconClass, "", [this](const platform::Message& m) { return HandleMessage(m); });
}

TTaskIcon::~TTaskIcon() {
  if (active_) shell_.Notify(platform::NotifyCommand::kDelete, data_);
  FreeImage();
  if (data_.window != platform::kNoWindow) windows_.DestroyOwnWindow(data_.window);
}

void TTaskIcon::SetActive(bool active) {
  if (active == active_) return;
  if (shell_.Notify(active ? platform::NotifyCommand::kAdd : platform::NotifyCommand::kDelete, data_)) active_ = active;
}

void TTaskIcon::Modify() {
  if (active_) shell_.Notify(platform::NotifyCommand::kModify, data_);
}

void TTaskIcon::FreeImage() {
  if (ownsImage_) shell_.DestroyIcon(data_.icon);
  ownsImage_ = false;
}

void TTaskIcon::SetIcon(platform::IconHandle image, bool owned) {
  if (image == data_.icon) return;
  FreeImage();
  data_.icon = image;
  ownsImage_ = owned;
  Modify();
}

void TTaskIcon::SetToolTip(const std::string& tip) {
  const std::string cut = tip.substr(0, platform::kNotifyTipMax);
  if (cut == data_.tip) return;
  data_.tip = cut;
  Modify();
}

void TTaskIcon::SetTaskIconID(std::uint32_t id) {
  if (id == data_.id) return;
  // The shell knows the icon by its id: the old one goes, the new one comes.
  const bool wasActive = active_;
  SetActive(false);
  data_.id = id;
  if (wasActive) SetActive(true);
}

std::int64_t TTaskIcon::HandleMessage(const platform::Message& m) {
  if (m.message != kTaskIconMessage || m.wparam != data_.id) return 0;
  switch (m.lparam) {
    case kLeftButtonUp:
      if (onClick) onClick();
      break;
    case kLeftButtonDoubleClick:
      if (onDblClick) onDblClick();
      break;
    case kRightButtonUp:
      if (onRightClick) onRightClick(input_ ? input_->GetCursorPos() : platform::Point{});
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace wdx::player
