// One message window at a time, and none lost: a message that comes while its window is up
// (raised by a timer or a message handler during the window's modal loop) waits and shows
// after it. A message the same as one still waiting is not queued again, and a burst beyond
// kMaxWaiting is counted and said in the last message shown.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>

namespace wdx::player {

class PendingMessages {
 public:
  static constexpr std::size_t kMaxWaiting = 16;
  using ShowFn = std::function<void(const std::string& caption, const std::string& text)>;

  // Shows the message now, then every message that came meanwhile; or, while a message is up,
  // queues it and returns at once.
  void Show(const std::string& caption, const std::string& text, const ShowFn& show);
  bool Open() const { return open_; }

 private:
  struct Waiting {
    std::string caption;
    std::string text;
  };
  bool open_ = false;
  std::deque<Waiting> waiting_;
  std::size_t dropped_ = 0;
};

}  // namespace wdx::player
