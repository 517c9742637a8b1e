// The prompt windows that a running macro opens. The interpreter's families ask for them
// through this interface; the prompts library (src/player/prompts) shows them with the form
// toolkit, so the interpreter itself never links the toolkit. A host gives its prompts through
// InterpreterHost::Prompts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace wdx::player {

// The pause window's size, which the pause command needs to keep the window on the screen:
// without a message 224 by 94 pixels; a message adds one line of 19 pixels per full 30
// characters, and one more.
struct PauseWindowSize {
  static constexpr int kWidth = 224;
  static constexpr int kHeight = 94;
  static constexpr int kLineHeight = 19;
  static constexpr int kCharactersPerLine = 30;
  static constexpr int MessageHeight(std::size_t length) {
    return length == 0 ? 0 : static_cast<int>(length / kCharactersPerLine) * kLineHeight + kLineHeight;
  }
};

// What the question box of "<IFMESS:" shows: its caption, the question and its two buttons.
struct QuestionText {
  std::string caption;
  std::string question;
  std::string first;   // the answer that makes the condition true
  std::string second;
};

class MacroPrompts {
 public:
  virtual ~MacroPrompts() = default;

  // The pause window at the given place (already kept on the screen) with the message: true
  // for Resume, false for Abort; nullopt when no window can be shown.
  virtual std::optional<bool> Pause(int top, int left, const std::string& message) = 0;

  // The repeat-count prompt: the count entered (a whole number of 0 to 9999); nullopt when no
  // window can be shown or the run was aborted while it was up.
  virtual std::optional<std::int32_t> RepeatCount() { return std::nullopt; }
  // The question box: true when the user chose the first button, false for the second or the
  // close box; nullopt when no window can be shown.
  virtual std::optional<bool> Question(const QuestionText& /*question*/) { return std::nullopt; }
};

}  // namespace wdx::player
