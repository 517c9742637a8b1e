// The prompts of the block commands: the repeat-count prompt TRepeatPrompt ("<PROMPTREP>" and
// the prompted "<REP3:") and the question box TShowAQuestion ("<IFMESS:").
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "forms/controls.h"
#include "forms/dialog.h"
#include "platform/message_boxes.h"
#include "player/interpreter/interpreter_host.h"
#include "player/interpreter/macro_prompts.h"
#include "player/prompts/prompt_form.h"

namespace wdx::player {

// What the repeat prompt edits: the count as typed, and the count it stands for.
struct RepeatCountModel {
  std::string text;
  std::int32_t count = 0;
  // A whole number of 0 or more (the field holds four characters): a minus or anything that is
  // no number is refused, so no answer can turn into a huge count.
  std::optional<forms::Fault> Check();
};

// "Macro Repeat": "Times To Repeat", a four-character field and Ok. Every way of closing it
// (Ok, Enter, the close box) needs a valid count, unless the run is being aborted.
class TRepeatPrompt : public PromptForm {
 public:
  static constexpr int kClientWidth = 167;
  static constexpr int kClientHeight = 56;

  TRepeatPrompt(RepeatCountModel& model, platform::MessageBoxes& boxes, const RunState& state, int screenWidth,
                int screenHeight);

  forms::Label TheMessage{this, "TheMessage", "Times To Repeat"};
  forms::Edit NumReps{this, "NumReps"};
  forms::Button OkButton{this, "OkButton", "&Ok"};

  // Closed with a valid count (false when the run's abort closed it).
  bool accepted = false;

 private:
  void FormShow();
  void OkButtonClick();
  void FormCloseQuery(bool& canClose);

  RepeatCountModel& model_;
  platform::MessageBoxes& boxes_;
  const RunState& state_;
  int screenWidth_;
  int screenHeight_;
};

// The question box: the caption and question of the command, two buttons; true when the first
// one is chosen, false for the second and for the close box.
class TShowAQuestion : public PromptForm {
 public:
  static constexpr int kClientWidth = 299;
  static constexpr int kWrapLimit = 292;
  static constexpr int kLineHeight = 16;

  // `width` measures a text in the label's font.
  TShowAQuestion(const QuestionText& question, std::function<int(std::string_view)> width, int screenWidth,
                 int screenHeight);

  forms::Label TheMessage{this, "TheMessage"};
  forms::Button OkButton{this, "OkButton", "&Ok"};
  forms::Button CancelButton{this, "CancelButton", "&Cancel"};

  bool result = false;
  int lineCount = 0;

 private:
  void FormShow();
  void OkButtonClick();
  void CancelButtonClick();

  std::string question_;
  std::function<int(std::string_view)> width_;
  int screenWidth_;
  int screenHeight_;
};

}  // namespace wdx::player
