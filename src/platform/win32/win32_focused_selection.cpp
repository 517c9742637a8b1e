#include "platform/win32/win32_focused_selection.h"

#include <windows.h>

#include <cstring>

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

// Formats whose data is a handle of another kind than global memory, which cannot be copied
// as bytes (a bitmap survives through CF_DIB, which the system makes from it).
bool MemoryFormat(UINT format) {
  switch (format) {
    case CF_BITMAP:
    case CF_METAFILEPICT:
    case CF_PALETTE:
    case CF_ENHMETAFILE:
    case CF_OWNERDISPLAY:
    case CF_DSPBITMAP:
    case CF_DSPMETAFILEPICT:
    case CF_DSPENHMETAFILE:
      return false;
    default:
      return !(format >= CF_PRIVATEFIRST && format <= CF_GDIOBJLAST);
  }
}

}  // namespace

Win32FocusedSelection::~Win32FocusedSelection() {
  if (owner_ != nullptr) DestroyWindow(static_cast<HWND>(owner_));
}

bool Win32FocusedSelection::OpenClipboardOwned() {
  if (owner_ == nullptr) {
    owner_ = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                             nullptr);
  }
  // Another program may hold the clipboard for a moment.
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(static_cast<HWND>(owner_))) return true;
    Sleep(10);
  }
  return false;
}

bool Win32FocusedSelection::SendEdit(EditCommand command) {
  const HWND focus = FocusOfForeground();
  if (focus == nullptr) return false;
  DWORD_PTR result = 0;
  SendMessageTimeoutA(focus, command == EditCommand::kCopy ? WM_COPY : WM_PASTE, 0, 0, SMTO_NORMAL, kEditTimeoutMs,
                      &result);
  return true;
}

ClipboardSnapshot Win32FocusedSelection::SaveClipboard() {
  ClipboardSnapshot snapshot;
  if (!OpenClipboardOwned()) return snapshot;
  for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
    if (!MemoryFormat(format)) continue;
    const HANDLE data = GetClipboardData(format);
    if (data == nullptr) continue;
    const SIZE_T size = GlobalSize(data);
    const void* bytes = GlobalLock(data);
    if (bytes == nullptr) continue;
    snapshot.formats.push_back({format, std::string(static_cast<const char*>(bytes), size)});
    GlobalUnlock(data);
  }
  CloseClipboard();
  return snapshot;
}

void Win32FocusedSelection::RestoreClipboard(const ClipboardSnapshot& snapshot) {
  if (!OpenClipboardOwned()) return;
  EmptyClipboard();
  for (const auto& [format, bytes] : snapshot.formats) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.empty() ? 1 : bytes.size());
    if (memory == nullptr) continue;
    if (void* target = GlobalLock(memory)) {
      std::memcpy(target, bytes.data(), bytes.size());
      GlobalUnlock(memory);
      // The clipboard owns the memory only once it is stored.
      if (SetClipboardData(format, memory) != nullptr) continue;
    }
    GlobalFree(memory);
  }
  CloseClipboard();
}

}  // namespace wdx::platform
