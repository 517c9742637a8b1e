#include "player/prompts/pending_messages.h"

#include <algorithm>

namespace wdx::player {

void PendingMessages::Show(const std::string& caption, const std::string& text, const ShowFn& show) {
  if (open_) {
    const bool queued = std::any_of(waiting_.begin(), waiting_.end(), [&](const Waiting& w) {
      return w.caption == caption && w.text == text;
    });
    if (queued) return;
    if (waiting_.size() >= kMaxWaiting) {
      ++dropped_;
      return;
    }
    waiting_.push_back({caption, text});
    return;
  }
  open_ = true;
  show(caption, text);
  while (!waiting_.empty()) {
    Waiting next = std::move(waiting_.front());
    waiting_.pop_front();
    if (waiting_.empty() && dropped_ > 0) {
      next.text += "\r\n\r\n(" + std::to_string(dropped_) + " more message" + (dropped_ == 1 ? "" : "s") +
                   " came meanwhile and could not be shown.)";
      dropped_ = 0;
    }
    show(next.caption, next.text);
  }
  open_ = false;
}

}  // namespace wdx::player
