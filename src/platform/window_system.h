// Top-level windows and the messages between them.
#pragma once

#include <string>
#include <vector>

#include "platform/types.h"

namespace wdx::platform {

// kShowMinimized shows the window minimised and leaves it active (a program started minimised);
// kMinimize hands the activation to the next window.
enum class ShowMode { kHide, kShowNormal, kShow, kMinimize, kMaximize, kRestore, kShowNoActivate, kShowMinimized };

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // Creates a top-level window of our own, hidden, whose messages go to `handler`: msg::kClose
  // (the window stays until the handler destroys it), kDestroy, kTimer, the key messages, the
  // system commands of sc:: and every message from kUser up; Windows' housekeeping messages get
  // the default treatment, and so does a message whose handler answers kDefaultHandling.
  virtual WindowHandle CreateOwnWindow(const std::string& className, const std::string& title,
                                       MessageHandler handler) = 0;
  virtual void DestroyOwnWindow(WindowHandle w) = 0;

  // Post queues the message and returns at once (false when the window does not exist);
  // Send delivers it now and returns the handler's result.
  virtual bool PostMessage(WindowHandle w, std::uint32_t message, std::uint64_t wparam, std::int64_t lparam) = 0;
  virtual std::int64_t SendMessage(WindowHandle w, std::uint32_t message, std::uint64_t wparam, std::int64_t lparam) = 0;

  // Top-level windows in Z order, front first.
  virtual std::vector<WindowHandle> EnumTopLevelWindows() = 0;
  virtual bool IsWindow(WindowHandle w) = 0;
  virtual bool IsVisible(WindowHandle w) = 0;
  virtual bool IsMinimized(WindowHandle w) = 0;
  virtual std::string GetTitle(WindowHandle w) = 0;
  virtual bool SetTitle(WindowHandle w, const std::string& title) = 0;
  virtual std::string GetClassName(WindowHandle w) = 0;
  // Exact title match, case-insensitive as Windows compares window titles; 0 when none.
  // An empty className or title matches any.
  virtual WindowHandle FindWindow(const std::string& className, const std::string& title) = 0;

  virtual WindowHandle GetForegroundWindow() = 0;
  // Brings the window to the front and gives it the keyboard focus; false when refused.
  virtual bool BringToFront(WindowHandle w) = 0;
  virtual bool ShowWindow(WindowHandle w, ShowMode mode) = 0;
  virtual Rect GetWindowRect(WindowHandle w) = 0;
  virtual bool MoveWindow(WindowHandle w, const Rect& r) = 0;
  // A new outer size, the top-left corner and the Z order kept; a new top-left corner, the size
  // and the Z order kept. Sizes and places beyond the screen are the system's to clamp or keep.
  virtual bool SetWindowSize(WindowHandle w, std::int32_t width, std::int32_t height) = 0;
  virtual bool SetWindowPosition(WindowHandle w, std::int32_t left, std::int32_t top) = 0;
  // The text caret of the focused control of the program in front, in screen pixels; false when
  // that program shows no caret (or no program is in front).
  virtual bool ForegroundCaret(Point& screen) = 0;
  // Process id of the window's owner (0 when the window is gone).
  virtual std::uint32_t GetWindowProcessId(WindowHandle w) = 0;
};

}  // namespace wdx::platform
