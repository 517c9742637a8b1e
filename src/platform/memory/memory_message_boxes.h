// The stand-in message boxes: answers come from a script the test queues, and every box shown
// is recorded.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "platform/message_boxes.h"

namespace wdx::platform {

struct ShownBox {
  WindowHandle owner = kNoWindow;
  std::string text;
  std::string caption;
  std::uint32_t flags = 0;
};

class MemoryMessageBoxes : public MessageBoxes {
 public:
  int Show(WindowHandle owner, const std::string& text, const std::string& caption, std::uint32_t flags) override;

  // The next box returns `answer`; with the queue empty a box returns its first button.
  void QueueAnswer(int answer) { answers_.push_back(answer); }
  std::size_t PendingAnswers() const { return answers_.size(); }
  // Called while a box is "open" (after it is recorded, before it returns): lets a test act
  // as the user would while the box waits, e.g. post a message.
  void SetOnShow(std::function<void(const ShownBox&)> hook) { onShow_ = std::move(hook); }
  // The first button of a button set (what Enter presses in a fresh box).
  static int FirstButton(std::uint32_t flags);

  std::vector<ShownBox> shown;

 private:
  std::deque<int> answers_;
  std::function<void(const ShownBox&)> onShow_;
};

}  // namespace wdx::platform
