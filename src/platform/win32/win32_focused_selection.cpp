#include "platform/win32/win32_focused_selection.h"

#include <windows.h>


namespace wdx::platform {

namespace {

// A program that does not answer must not hold the player: the edit command is given this
// long.
constexpr UINT kEditTimeoutMs = 5000;

// The focused control of the thread that owns the window in front; nullptr when none.
HWND FocusOfForeground() {
  const HWND front = GetForegroundWindow();
  if (front == nullptr) return nullptr;
  const DWORD thread = GetWindowThreadProcessId(front, nullptr);
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr) return info.hwndFocus;
  // Some systems tell another thread's focus only to a thread attached to its input.
  const DWORD self = GetCurrentThreadId();
  if (thread == self) return GetFocus();
  if (!AttachThreadInput(self, thread, TRUE)) return nullptr;
  const HWND focus = GetFocus();
  AttachThreadInput(self, thread, FALSE);
  return focus;
}

}  // namespace

bool Win32FocusedSelection::SendEdit(EditCommand command) {
  const HWND focus = FocusOfForeground();
  if (focus == nullptr) return false;
  DWORD_PTR result = 0;
  SendMessageTimeoutA(focus, command == EditCommand::kCopy ? WM_COPY : WM_PASTE, 0, 0, SMTO_NORMAL, kEditTimeoutMs,
                      &result);
  return true;
}

}  // namespace wdx::platform
