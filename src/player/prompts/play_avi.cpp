#include "player/prompts/play_avi.h"

#include <algorithm>

#include "player/prompts/message_windows.h"

namespace wdx::player {

TDoPlayAVI::TDoPlayAVI(ClipPlayerModel& model, platform::MediaControl& media, int screenWidth, int screenHeight)
    : PromptForm("DoPlayAVI", "Video Clip Player"),
      model_(model),
      media_(media),
      screenWidth_(screenWidth),
      screenHeight_(screenHeight) {
  SetBorderStyle(forms::BorderStyle::kDialog);
  SetStayOnTop(true);
  SetKeyPreview(true);
  forms::Font f = font();
  f.name = "Arial";
  f.height = 17;
  SetFont(f);
  PlayPanel.SetBevel(false);
  Panel1.SetBevel(false);
  PlayButton.SetBounds(0, 2, 84, 25);
  PauseButton.SetBounds(84, 2, 84, 25);
  StopButton.SetBounds(168, 2, 85, 25);
  PlayButton.onClick = [this] {
    if (device_ != 0) media_.Play(device_, std::nullopt, false);
  };
  PauseButton.onClick = [this] {
    if (device_ != 0) media_.Pause(device_);
  };
  StopButton.onClick = [this] {
    if (device_ != 0) media_.Stop(device_);
  };
  MyTimer.onTimer = [this] { MyTimerTimer(); };
  onShow = [this] { FormShow(); };
  onClose = [this](forms::CloseAction&) { CloseClip(); };
}

TDoPlayAVI::~TDoPlayAVI() { CloseClip(); }

void TDoPlayAVI::CloseClip() {
  MyTimer.SetEnabled(false);
  if (device_ != 0) media_.Close(device_);
  device_ = 0;
}

void TDoPlayAVI::FormShow() {
  std::uint32_t device = 0;
  const std::uint32_t opened = media_.OpenClip(model_.file, Handle(), device);
  if (opened != 0) {
    model_.error = media_.ErrorText(opened);
    Close();
    return;
  }
  device_ = device;
  // The clip keeps its own size; the window is at least as wide as the buttons.
  std::int32_t width = 0;
  std::int32_t height = 0;
  media_.ClipSize(device_, width, height);
  width = std::max<std::int32_t>(width, 0);
  height = std::max<std::int32_t>(height, 0);
  const int clientWidth = std::max<int>(width, kPlayerWidth);
  SetClientSize(clientWidth, height + kBelowClip);
  PlayPanel.SetBounds(0, 0, clientWidth, height);
  Panel1.SetBounds(0, height + kBelowClip - kPanelHeight, clientWidth, kPanelHeight);
  // A clip narrower than the buttons stands in the middle above them.
  const std::int32_t left = (clientWidth - width) / 2;
  media_.PutClip(device_, {left, 0, left + width, height});
  CentreOnScreen(*this, screenWidth_, screenHeight_);
  Shown();
  if (model_.mode == ClipMode::kOpenOnly) return;
  media_.Play(device_, std::nullopt, false);
  // The window closes itself once the clip has ended, looked at every second.
  if (model_.mode == ClipMode::kPlayAndClose) MyTimer.SetEnabled(true);
}

void TDoPlayAVI::MyTimerTimer() {
  std::uint32_t mode = 0;
  if (device_ == 0 || media_.Status(device_, platform::media_status::kMode, std::nullopt, mode) != 0 ||
      mode != platform::media_mode::kPlaying) {
    Close();
  }
}

}  // namespace wdx::player
