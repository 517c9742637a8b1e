// The stand-in desktop: top-level windows (our own and other programs'), their message queue
// and timers. One object serves as both the WindowSystem and the MessageLoop because the two
// share the windows and the queue.
//
// Time is the MemoryClock's: a timer is due once the clock passed its due time, and it is
// delivered only while messages are pumped. When Run or WaitAndPump finds nothing to do it
// moves the clock to the next due timer (WaitAndPump at most by its time-out; with no timer
// and an endless time-out it returns at once), so a test never waits in real time.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory/memory_clock.h"
#include "platform/message_loop.h"
#include "platform/window_system.h"

namespace wdx::platform {

class MemoryDesktop : public WindowSystem, public MessageLoop {
 public:
  // Run gives up (returning kRunIdle) when nothing can ever happen again: no message pending
  // and no timer set; or after this much simulated time without a quit.
  static constexpr int kRunIdle = -1;
  static constexpr std::uint64_t kDefaultRunLimitMs = 24ull * 3600 * 1000;

  explicit MemoryDesktop(MemoryClock& clock);

  // --- WindowSystem
  WindowHandle CreateOwnWindow(const std::string& className, const std::string& title,
                               MessageHandler handler) override;
  void DestroyOwnWindow(WindowHandle w) override;
  bool PostMessage(WindowHandle w, std::uint32_t message, std::uint64_t wparam, std::int64_t lparam) override;
  std::int64_t SendMessage(WindowHandle w, std::uint32_t message, std::uint64_t wparam,
                           std::int64_t lparam) override;
  std::vector<WindowHandle> EnumTopLevelWindows() override;
  bool IsWindow(WindowHandle w) override;
  bool IsVisible(WindowHandle w) override;
  bool IsMinimized(WindowHandle w) override;
  std::string GetTitle(WindowHandle w) override;
  bool SetTitle(WindowHandle w, const std::string& title) override;
  std::string GetClassName(WindowHandle w) override;
  WindowHandle FindWindow(const std::string& className, const std::string& title) override;
  WindowHandle GetForegroundWindow() override;
  bool BringToFront(WindowHandle w) override;
  bool ShowWindow(WindowHandle w, ShowMode mode) override;
  Rect GetWindowRect(WindowHandle w) override;
  bool MoveWindow(WindowHandle w, const Rect& r) override;
  bool SetWindowSize(WindowHandle w, std::int32_t width, std::int32_t height) override;
  bool SetWindowPosition(WindowHandle w, std::int32_t left, std::int32_t top) override;
  bool ForegroundCaret(Point& screen) override;
  std::uint32_t GetWindowProcessId(WindowHandle w) override;

  // --- MessageLoop
  int Run() override;
  bool PumpPending() override;
  bool WaitAndPump(std::uint32_t timeoutMs) override;
  void Quit(int code) override;
  bool QuitRequested() const override { return quitRequested_; }
  bool SetTimer(WindowHandle w, std::uint32_t id, std::uint32_t intervalMs) override;
  void KillTimer(WindowHandle w, std::uint32_t id) override;

  // --- Test controls and records
  // Adds another program's window, visible, at the front of the Z order (not foreground).
  WindowHandle AddForeignWindow(const std::string& title, const std::string& className,
                                std::uint32_t processId, const Rect& rect = {0, 0, 640, 480});
  // Removes a window as its program would (closing it); its queued messages and timers go.
  void RemoveWindow(WindowHandle w);
  // Makes `w` the foreground window and the front of the Z order, as the user would
  // (not recorded in bringToFrontCalls). kNoWindow leaves no window in front.
  void SetForeground(WindowHandle w);
  // Optional handler of a foreign window: answers SendMessage (posts are only recorded).
  void SetForeignHandler(WindowHandle w, MessageHandler handler);
  // BringToFront fails (returns false, changes nothing) while refused.
  void SetRefuseBringToFront(bool refuse) { refuseBringToFront_ = refuse; }
  // The caret the window's program shows, in screen pixels (nullopt: none), as ForegroundCaret
  // reports it while the window is in front.
  void SetCaret(WindowHandle w, std::optional<Point> screen);
  void SetOwnProcessId(std::uint32_t pid) { ownProcessId_ = pid; }
  std::uint32_t OwnProcessId() const { return ownProcessId_; }
  std::size_t PendingCount() const { return queue_.size(); }
  bool HasTimer(WindowHandle w, std::uint32_t id) const;
  // Limit of simulated time one Run may span (see kRunIdle).
  void SetRunLimit(std::uint64_t ms) { runLimitMs_ = ms; }

  // Messages posted or sent to other programs' windows, in order.
  std::vector<Message> foreignMessages;
  // Every window BringToFront was called for (refused ones too), in order.
  std::vector<WindowHandle> bringToFrontCalls;
  // Every message delivered to one of our own handlers (posted, sent, timers), in order.
  std::vector<Message> delivered;

 private:
  struct Window {
    std::string className;
    std::string title;
    bool own = false;
    bool visible = false;
    bool minimized = false;
    Rect rect;
    std::uint32_t processId = 0;
    std::optional<Point> caret;
    std::shared_ptr<MessageHandler> handler;
  };
  struct Timer {
    std::uint32_t interval = 0;
    std::uint64_t due = 0;
    std::uint64_t order = 0;  // creation order breaks ties between timers due together
  };
  using TimerKey = std::pair<WindowHandle, std::uint32_t>;

  Window* Find(WindowHandle w);
  WindowHandle NewHandle();
  void ToFront(WindowHandle w);
  std::int64_t Deliver(const Message& m);
  // Delivers one pending item (posted message first, then a due timer); false when none.
  bool DeliverOne();
  bool NextTimerDue(std::uint64_t* due) const;
  void DropWindow(WindowHandle w);
  void ActivateNext(WindowHandle leaving);

  MemoryClock& clock_;
  std::map<WindowHandle, Window> windows_;
  std::vector<WindowHandle> zOrder_;  // front first
  std::deque<Message> queue_;
  std::map<TimerKey, Timer> timers_;
  std::uint64_t timerOrder_ = 0;
  WindowHandle nextHandle_ = 0x00010010;
  WindowHandle foreground_ = kNoWindow;
  bool refuseBringToFront_ = false;
  std::uint32_t ownProcessId_ = 0x1000;
  bool quitRequested_ = false;
  int quitCode_ = 0;
  std::uint64_t runLimitMs_ = kDefaultRunLimitMs;
};

}  // namespace wdx::platform
