// TDoPlayAVI, the video clip player of "<AVI:", "<AVII:" and "<AVIE:": the clip in a small modal
// window above its play, pause and stop buttons. It plays at once (kPlay), plays to its end and
// closes by itself (kPlayAndClose), or waits for the user's buttons (kOpenOnly).
#pragma once

#include <cstdint>
#include <string>

#include "forms/controls.h"
#include "platform/media_control.h"
#include "player/prompts/prompt_form.h"

namespace wdx::player {

enum class ClipMode : std::int32_t { kPlay = 1, kPlayAndClose = 2, kOpenOnly = 3 };

struct ClipPlayerModel {
  std::string file;
  ClipMode mode = ClipMode::kOpenOnly;
  // After the window closed: why the clip could not be opened (empty when it was).
  std::string error;
};

class TDoPlayAVI : public PromptForm {
 public:
  static constexpr int kPlayerWidth = 253;
  static constexpr int kPanelHeight = 29;
  static constexpr int kBelowClip = 31;

  TDoPlayAVI(ClipPlayerModel& model, platform::MediaControl& media, int screenWidth, int screenHeight);
  ~TDoPlayAVI() override;

  forms::Panel PlayPanel{this, "PlayPanel"};
  forms::Panel Panel1{this, "Panel1"};
  forms::Button PlayButton{&Panel1, "PlayButton", "&Play"};
  forms::Button PauseButton{&Panel1, "PauseButton", "P&ause"};
  forms::Button StopButton{&Panel1, "StopButton", "&Stop"};
  forms::Timer MyTimer{this, "MyTimer", 1000, false};

 private:
  void FormShow();
  void MyTimerTimer();
  void CloseClip();

  ClipPlayerModel& model_;
  platform::MediaControl& media_;
  int screenWidth_;
  int screenHeight_;
  std::uint32_t device_ = 0;  // 0: no clip open
};

}  // namespace wdx::player
