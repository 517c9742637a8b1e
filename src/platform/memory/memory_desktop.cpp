#include "platform/memory/memory_desktop.h"

#include <algorithm>
#include <limits>

#include "platform/kernel_objects.h"
#include "platform/memory/no_case.h"

namespace wdx::platform {

namespace {
// Windows raises shorter timer intervals to this minimum; it also keeps a zero interval from
// firing without end inside one pump.
constexpr std::uint32_t kMinTimerInterval = 10;
}  // namespace

MemoryDesktop::MemoryDesktop(MemoryClock& clock) : clock_(clock) {}

MemoryDesktop::Window* MemoryDesktop::Find(WindowHandle w) {
  auto it = windows_.find(w);
  return it == windows_.end() ? nullptr : &it->second;
}

WindowHandle MemoryDesktop::NewHandle() {
  WindowHandle h = nextHandle_;
  nextHandle_ += 4;
  return h;
}

void MemoryDesktop::ToFront(WindowHandle w) {
  zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), w), zOrder_.end());
  zOrder_.insert(zOrder_.begin(), w);
}

WindowHandle MemoryDesktop::CreateOwnWindow(const std::string& className, const std::string& title,
                                            MessageHandler handler) {
  WindowHandle h = NewHandle();
  Window win;
  win.className = className;
  win.title = title;
  win.own = true;
  win.processId = ownProcessId_;
  win.handler = std::make_shared<MessageHandler>(std::move(handler));
  windows_[h] = std::move(win);
  ToFront(h);
  return h;
}

WindowHandle MemoryDesktop::AddForeignWindow(const std::string& title, const std::string& className,
                                             std::uint32_t processId, const Rect& rect) {
  WindowHandle h = NewHandle();
  Window win;
  win.className = className;
  win.title = title;
  win.visible = true;
  win.rect = rect;
  win.processId = processId;
  windows_[h] = std::move(win);
  ToFront(h);
  return h;
}

void MemoryDesktop::SetForeignHandler(WindowHandle w, MessageHandler handler) {
  if (Window* win = Find(w); win && !win->own) win->handler = std::make_shared<MessageHandler>(std::move(handler));
}

void MemoryDesktop::DropWindow(WindowHandle w) {
  windows_.erase(w);
  zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), w), zOrder_.end());
  queue_.erase(std::remove_if(queue_.begin(), queue_.end(), [w](const Message& m) { return m.window == w; }),
               queue_.end());
  for (auto it = timers_.begin(); it != timers_.end();) {
    it = it->first.first == w ? timers_.erase(it) : std::next(it);
  }
  if (foreground_ == w) ActivateNext(w);
}

void MemoryDesktop::ActivateNext(WindowHandle leaving) {
  // As Windows activates the next window in line when the active one goes away.
  foreground_ = kNoWindow;
  for (WindowHandle z : zOrder_) {
    const Window& next = windows_.at(z);
    if (z != leaving && next.visible && !next.minimized) {
      foreground_ = z;
      return;
    }
  }
}

void MemoryDesktop::DestroyOwnWindow(WindowHandle w) {
  Window* win = Find(w);
  if (!win || !win->own) return;
  SendMessage(w, msg::kDestroy, 0, 0);
  DropWindow(w);
}

void MemoryDesktop::RemoveWindow(WindowHandle w) {
  if (Find(w)) DropWindow(w);
}

bool MemoryDesktop::PostMessage(WindowHandle w, std::uint32_t message, std::uint64_t wparam, std::int64_t lparam) {
  Window* win = Find(w);
  if (!win) return false;
  Message m{w, message, wparam, lparam};
  if (win->own) {
    queue_.push_back(m);
  } else {
    foreignMessages.push_back(m);
  }
  return true;
}

std::int64_t MemoryDesktop::SendMessage(WindowHandle w, std::uint32_t message, std::uint64_t wparam,
                                        std::int64_t lparam) {
  Window* win = Find(w);
  if (!win) return 0;
  Message m{w, message, wparam, lparam};
  if (!win->own) {
    foreignMessages.push_back(m);
    auto handler = win->handler;
    return handler && *handler ? (*handler)(m) : 0;
  }
  return Deliver(m);
}

std::int64_t MemoryDesktop::Deliver(const Message& m) {
  Window* win = Find(m.window);
  if (!win) return 0;
  delivered.push_back(m);
  // Hold the handler: it may destroy its own window while it runs.
  auto handler = win->handler;
  return handler && *handler ? (*handler)(m) : 0;
}

std::vector<WindowHandle> MemoryDesktop::EnumTopLevelWindows() { return zOrder_; }

bool MemoryDesktop::IsWindow(WindowHandle w) { return Find(w) != nullptr; }

bool MemoryDesktop::IsVisible(WindowHandle w) {
  Window* win = Find(w);
  return win && win->visible;
}

bool MemoryDesktop::IsMinimized(WindowHandle w) {
  Window* win = Find(w);
  return win && win->minimized;
}

std::string MemoryDesktop::GetTitle(WindowHandle w) {
  Window* win = Find(w);
  return win ? win->title : std::string();
}

bool MemoryDesktop::SetTitle(WindowHandle w, const std::string& title) {
  Window* win = Find(w);
  if (!win) return false;
  win->title = title;
  return true;
}

std::string MemoryDesktop::GetClassName(WindowHandle w) {
  Window* win = Find(w);
  return win ? win->className : std::string();
}

WindowHandle MemoryDesktop::FindWindow(const std::string& className, const std::string& title) {
  for (WindowHandle z : zOrder_) {
    const Window& win = windows_.at(z);
    if (!className.empty() && !EqualsNoCase(win.className, className)) continue;
    if (!title.empty() && !EqualsNoCase(win.title, title)) continue;
    return z;
  }
  return kNoWindow;
}

WindowHandle MemoryDesktop::GetForegroundWindow() { return foreground_; }

void MemoryDesktop::SetForeground(WindowHandle w) {
  if (w != kNoWindow && !Find(w)) return;
  foreground_ = w;
  if (w != kNoWindow) ToFront(w);
}

bool MemoryDesktop::BringToFront(WindowHandle w) {
  bringToFrontCalls.push_back(w);
  if (refuseBringToFront_ || !Find(w)) return false;
  SetForeground(w);
  return true;
}

bool MemoryDesktop::ShowWindow(WindowHandle w, ShowMode mode) {
  Window* win = Find(w);
  if (!win) return false;
  switch (mode) {
    case ShowMode::kHide:
      win->visible = false;
      break;
    case ShowMode::kMinimize:
    case ShowMode::kShowMinimized:
      win->visible = true;
      win->minimized = true;
      break;
    case ShowMode::kShowNoActivate:
      win->visible = true;
      break;
    case ShowMode::kShowNormal:
    case ShowMode::kShow:
    case ShowMode::kMaximize:
    case ShowMode::kRestore:
      win->visible = true;
      win->minimized = false;
      SetForeground(w);
      return true;
  }
  if (foreground_ == w && (!win->visible || win->minimized)) ActivateNext(w);
  return true;
}

Rect MemoryDesktop::GetWindowRect(WindowHandle w) {
  Window* win = Find(w);
  return win ? win->rect : Rect{};
}

bool MemoryDesktop::MoveWindow(WindowHandle w, const Rect& r) {
  Window* win = Find(w);
  if (!win) return false;
  win->rect = r;
  return true;
}

bool MemoryDesktop::SetWindowSize(WindowHandle w, std::int32_t width, std::int32_t height) {
  Window* win = Find(w);
  if (!win) return false;
  win->rect.right = win->rect.left + width;
  win->rect.bottom = win->rect.top + height;
  return true;
}

bool MemoryDesktop::SetWindowPosition(WindowHandle w, std::int32_t left, std::int32_t top) {
  Window* win = Find(w);
  if (!win) return false;
  win->rect = {left, top, left + (win->rect.right - win->rect.left), top + (win->rect.bottom - win->rect.top)};
  return true;
}

bool MemoryDesktop::ForegroundCaret(Point& screen) {
  Window* win = Find(foreground_);
  if (!win || !win->caret) return false;
  screen = *win->caret;
  return true;
}

void MemoryDesktop::SetCaret(WindowHandle w, std::optional<Point> screen) {
  if (Window* win = Find(w)) win->caret = screen;
}

std::uint32_t MemoryDesktop::GetWindowProcessId(WindowHandle w) {
  Window* win = Find(w);
  return win ? win->processId : 0;
}

// --- Message loop

bool MemoryDesktop::SetTimer(WindowHandle w, std::uint32_t id, std::uint32_t intervalMs) {
  Window* win = Find(w);
  if (!win || !win->own) return false;
  Timer t;
  t.interval = std::max(intervalMs, kMinTimerInterval);
  t.due = clock_.Monotonic() + t.interval;
  t.order = timerOrder_++;
  timers_[{w, id}] = t;
  return true;
}

void MemoryDesktop::KillTimer(WindowHandle w, std::uint32_t id) { timers_.erase({w, id}); }

bool MemoryDesktop::HasTimer(WindowHandle w, std::uint32_t id) const { return timers_.count({w, id}) != 0; }

bool MemoryDesktop::NextTimerDue(std::uint64_t* due) const {
  if (timers_.empty()) return false;
  std::uint64_t best = std::numeric_limits<std::uint64_t>::max();
  for (const auto& [key, t] : timers_) best = std::min(best, t.due);
  *due = best;
  return true;
}

bool MemoryDesktop::DeliverOne() {
  if (!queue_.empty()) {
    Message m = queue_.front();
    queue_.pop_front();
    Deliver(m);
    return true;
  }
  // Timers come after posted messages, as Windows generates them only for an otherwise
  // empty queue; the one due first goes first.
  const std::uint64_t now = clock_.Monotonic();
  auto best = timers_.end();
  for (auto it = timers_.begin(); it != timers_.end(); ++it) {
    if (it->second.due > now) continue;
    if (best == timers_.end() || it->second.due < best->second.due ||
        (it->second.due == best->second.due && it->second.order < best->second.order)) {
      best = it;
    }
  }
  if (best == timers_.end()) return false;
  // Missed intervals are not caught up: one message, and the next interval starts now.
  best->second.due = now + best->second.interval;
  Message m{best->first.first, msg::kTimer, best->first.second, 0};
  Deliver(m);
  return true;
}

bool MemoryDesktop::PumpPending() {
  // Messages that handlers post while this pump runs wait for the next pump, so a handler
  // that posts to itself cannot keep one pump busy for ever; a timer fires at most once.
  std::size_t budget = queue_.size() + timers_.size();
  while (!quitRequested_ && budget > 0 && DeliverOne()) --budget;
  return !quitRequested_;
}

bool MemoryDesktop::WaitAndPump(std::uint32_t timeoutMs) {
  if (quitRequested_) return false;
  const std::uint64_t now = clock_.Monotonic();
  std::uint64_t due = 0;
  bool timerDueNow = NextTimerDue(&due) && due <= now;
  if (queue_.empty() && !timerDueNow) {
    std::uint64_t until = timeoutMs == kInfinite ? std::numeric_limits<std::uint64_t>::max() : now + timeoutMs;
    if (NextTimerDue(&due)) until = std::min(until, due);
    if (until != std::numeric_limits<std::uint64_t>::max()) clock_.Advance(until - now);
  }
  return PumpPending();
}

void MemoryDesktop::Quit(int code) {
  quitRequested_ = true;
  quitCode_ = code;
}

int MemoryDesktop::Run() {
  const std::uint64_t start = clock_.Monotonic();
  for (;;) {
    if (quitRequested_) {
      // The outermost loop consumes the quit, as GetMessage consumes WM_QUIT.
      quitRequested_ = false;
      return quitCode_;
    }
    if (DeliverOne()) continue;
    std::uint64_t due = 0;
    if (!NextTimerDue(&due) || due - start > runLimitMs_) return kRunIdle;
    clock_.Advance(due - clock_.Monotonic());
  }
}

}  // namespace wdx::platform
