// Windows' own windows and message loop behind the platform interfaces.
//
// Our windows hand their handler the messages the system acts on: msg::kClose, kDestroy,
// kTimer, the key messages, and everything from msg::kUser up (including registered message
// numbers). Windows' housekeeping messages (creation, painting, text, sizing...) get the
// default treatment, so a handler never has to know about them. kClose does not destroy the
// window: the handler decides.
#pragma once

#include <set>
#include <string>

#include "platform/message_loop.h"
#include "platform/window_system.h"

namespace wdx::platform {

class Win32WindowSystem : public WindowSystem {
 public:
  Win32WindowSystem();
  ~Win32WindowSystem() override;

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

 private:
  std::set<std::string> registeredClasses_;
};

class Win32MessageLoop : public MessageLoop {
 public:
  int Run() override;
  bool PumpPending() override;
  bool WaitAndPump(std::uint32_t timeoutMs) override;
  void Quit(int code) override;
  bool QuitRequested() const override { return quitRequested_; }
  bool SetTimer(WindowHandle w, std::uint32_t id, std::uint32_t intervalMs) override;
  void KillTimer(WindowHandle w, std::uint32_t id) override;

 private:
  bool quitRequested_ = false;
};

}  // namespace wdx::platform
