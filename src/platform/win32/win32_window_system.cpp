#include "platform/win32/win32_window_system.h"

#include <memory>
#include <vector>

#include "platform/win32/front_input.h"
#include "platform/win32/windows_api.h"

namespace wdx::platform {

using win32::ToHandle;
using win32::ToHwnd;

namespace {

// Our handler, kept with the window from WM_NCCREATE to WM_NCDESTROY.
struct WindowData {
  std::shared_ptr<MessageHandler> handler;
};

// What CreateWindowEx carries to WM_NCCREATE; `adopted` tells whether the window took the data
// (and so frees it at WM_NCDESTROY) when creation fails.
struct CreateParams {
  WindowData* data;
  bool adopted;
};

bool HandlerWants(UINT message, WPARAM wparam) {
  switch (message) {
    case WM_SYSCOMMAND:
      return (wparam & 0xFFF0) == SC_MINIMIZE || (wparam & 0xFFF0) == SC_SCREENSAVE;
    case WM_CLOSE:
    case WM_DESTROY:
    case WM_TIMER:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
      return true;
    default:
      return message >= WM_USER;
  }
}

LRESULT CALLBACK OwnWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* params = reinterpret_cast<CreateParams*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
    params->adopted = true;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(params->data));
  }
  auto* data = reinterpret_cast<WindowData*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    delete data;
    return DefWindowProcA(hwnd, message, wparam, lparam);
  }
  if (data && HandlerWants(message, wparam)) {
    // Hold the handler: it may destroy its own window while it runs.
    std::shared_ptr<MessageHandler> handler = data->handler;
    Message m{ToHandle(hwnd), message, static_cast<std::uint64_t>(wparam), static_cast<std::int64_t>(lparam)};
    const std::int64_t answer = *handler ? (*handler)(m) : 0;
    if (answer == kDefaultHandling) return DefWindowProcA(hwnd, message, wparam, lparam);
    const auto result = static_cast<LRESULT>(answer);
    if (message == WM_DESTROY) DefWindowProcA(hwnd, message, wparam, lparam);
    return result;
  }
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lparam) {
  reinterpret_cast<std::vector<WindowHandle>*>(lparam)->push_back(ToHandle(hwnd));
  return TRUE;
}

}  // namespace

Win32WindowSystem::Win32WindowSystem() = default;
Win32WindowSystem::~Win32WindowSystem() = default;

WindowHandle Win32WindowSystem::CreateOwnWindow(const std::string& className, const std::string& title,
                                                MessageHandler handler) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!registeredClasses_.count(className)) {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = OwnWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className.c_str();
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return kNoWindow;
    registeredClasses_.insert(className);
  }
  CreateParams params{new WindowData{std::make_shared<MessageHandler>(std::move(handler))}, false};
  HWND hwnd = CreateWindowExA(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, &params);
  if (!hwnd) {
    if (!params.adopted) delete params.data;
    return kNoWindow;
  }
  return ToHandle(hwnd);
}

void Win32WindowSystem::DestroyOwnWindow(WindowHandle w) { DestroyWindow(ToHwnd(w)); }

bool Win32WindowSystem::PostMessage(WindowHandle w, std::uint32_t message, std::uint64_t wparam,
                                    std::int64_t lparam) {
  if (w == kNoWindow) return false;
  return PostMessageA(ToHwnd(w), message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam)) != 0;
}

std::int64_t Win32WindowSystem::SendMessage(WindowHandle w, std::uint32_t message, std::uint64_t wparam,
                                            std::int64_t lparam) {
  HWND hwnd = ToHwnd(w);
  if (w == kNoWindow || !::IsWindow(hwnd)) return 0;
  if (GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId()) {
    return SendMessageA(hwnd, message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam));
  }
  // Another thread's window may hang: give up on it rather than hang with it.
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(hwnd, message, static_cast<WPARAM>(wparam), static_cast<LPARAM>(lparam),
                           SMTO_ABORTIFHUNG, 5000, &result)) {
    return 0;
  }
  return static_cast<std::int64_t>(result);
}

std::vector<WindowHandle> Win32WindowSystem::EnumTopLevelWindows() {
  std::vector<WindowHandle> out;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&out));
  return out;
}

bool Win32WindowSystem::IsWindow(WindowHandle w) { return w != kNoWindow && ::IsWindow(ToHwnd(w)); }

bool Win32WindowSystem::IsVisible(WindowHandle w) { return w != kNoWindow && IsWindowVisible(ToHwnd(w)); }

bool Win32WindowSystem::IsMinimized(WindowHandle w) { return w != kNoWindow && IsIconic(ToHwnd(w)); }

std::string Win32WindowSystem::GetTitle(WindowHandle w) {
  if (w == kNoWindow) return std::string();
  HWND hwnd = ToHwnd(w);
  int len = GetWindowTextLengthA(hwnd);
  if (len <= 0) return std::string();
  std::string text(static_cast<std::size_t>(len) + 1, '\0');
  int got = GetWindowTextA(hwnd, text.data(), len + 1);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

bool Win32WindowSystem::SetTitle(WindowHandle w, const std::string& title) {
  return w != kNoWindow && SetWindowTextA(ToHwnd(w), title.c_str());
}

std::string Win32WindowSystem::GetClassName(WindowHandle w) {
  if (w == kNoWindow) return std::string();
  char name[257] = {};
  int got = GetClassNameA(ToHwnd(w), name, sizeof(name));
  return std::string(name, got > 0 ? static_cast<std::size_t>(got) : 0);
}

WindowHandle Win32WindowSystem::FindWindow(const std::string& className, const std::string& title) {
  return ToHandle(FindWindowA(className.empty() ? nullptr : className.c_str(), title.empty() ? nullptr : title.c_str()));
}

WindowHandle Win32WindowSystem::GetForegroundWindow() { return ToHandle(::GetForegroundWindow()); }

bool Win32WindowSystem::BringToFront(WindowHandle w) {
  HWND hwnd = ToHwnd(w);
  if (w == kNoWindow || !::IsWindow(hwnd)) return false;
  // Windows lets only the foreground thread move the foreground; sharing its input state for
  // the moment of the switch makes us count as that thread. The focus moves with it, so the
  // keys that thread still holds are let through to their window first.
  win32::LetFrontTakeItsKeys();
  HWND front = ::GetForegroundWindow();
  DWORD frontThread = front ? GetWindowThreadProcessId(front, nullptr) : 0;
  DWORD self = GetCurrentThreadId();
  bool attached = frontThread && frontThread != self && AttachThreadInput(self, frontThread, TRUE);
  SetForegroundWindow(hwnd);
  BringWindowToTop(hwnd);
  SetFocus(hwnd);
  if (attached) AttachThreadInput(self, frontThread, FALSE);
  return ::GetForegroundWindow() == hwnd;
}

bool Win32WindowSystem::ShowWindow(WindowHandle w, ShowMode mode) {
  HWND hwnd = ToHwnd(w);
  if (w == kNoWindow || !::IsWindow(hwnd)) return false;
  int cmd = SW_SHOWNORMAL;
  switch (mode) {
    case ShowMode::kHide:
      cmd = SW_HIDE;
      break;
    case ShowMode::kShowNormal:
      cmd = SW_SHOWNORMAL;
      break;
    case ShowMode::kShow:
      cmd = SW_SHOW;
      break;
    case ShowMode::kMinimize:
      cmd = SW_MINIMIZE;
      break;
    case ShowMode::kShowMinimized:
      cmd = SW_SHOWMINIMIZED;
      break;
    case ShowMode::kMaximize:
      cmd = SW_MAXIMIZE;
      break;
    case ShowMode::kRestore:
      cmd = SW_RESTORE;
      break;
    case ShowMode::kShowNoActivate:
      cmd = SW_SHOWNOACTIVATE;
      break;
  }
  // Showing one of ours activates it (all but hiding and the no-activate mode).
  if (cmd != SW_HIDE && cmd != SW_SHOWNOACTIVATE && ::GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId()) {
    win32::LetFrontTakeItsKeys();
  }
  ::ShowWindow(hwnd, cmd);  // returns the previous visibility, not success
  return true;
}

Rect Win32WindowSystem::GetWindowRect(WindowHandle w) {
  RECT r{};
  if (w == kNoWindow || !::GetWindowRect(ToHwnd(w), &r)) return Rect{};
  return Rect{r.left, r.top, r.right, r.bottom};
}

bool Win32WindowSystem::MoveWindow(WindowHandle w, const Rect& r) {
  return w != kNoWindow && ::MoveWindow(ToHwnd(w), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
}

bool Win32WindowSystem::SetWindowSize(WindowHandle w, std::int32_t width, std::int32_t height) {
  return w != kNoWindow && SetWindowPos(ToHwnd(w), nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE) != 0;
}

bool Win32WindowSystem::SetWindowPosition(WindowHandle w, std::int32_t left, std::int32_t top) {
  return w != kNoWindow && SetWindowPos(ToHwnd(w), nullptr, left, top, 0, 0, SWP_NOZORDER | SWP_NOSIZE) != 0;
}

// The focus and the caret belong to the thread of the program in front: this thread reads them
// while its input is attached to that thread, and always detaches again.
bool Win32WindowSystem::ForegroundCaret(Point& screen) {
  HWND front = ::GetForegroundWindow();
  if (front == nullptr) return false;
  const DWORD self = GetCurrentThreadId();
  const DWORD frontThread = GetWindowThreadProcessId(front, nullptr);
  const bool attached = frontThread != 0 && frontThread != self && AttachThreadInput(self, frontThread, TRUE) != 0;
  bool found = false;
  HWND focus = GetFocus();
  POINT caret{};
  if (focus != nullptr && GetCaretPos(&caret) && ClientToScreen(focus, &caret)) {
    // A control that shows no caret leaves the position at 0,0 of itself; the caret window
    // tells whether one exists.
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    found = GetGUIThreadInfo(frontThread, &info) == 0 || info.hwndCaret != nullptr;
    screen = Point{caret.x, caret.y};
  }
  if (attached) AttachThreadInput(self, frontThread, FALSE);
  return found;
}

std::uint32_t Win32WindowSystem::GetWindowProcessId(WindowHandle w) {
  if (w == kNoWindow) return 0;
  DWORD pid = 0;
  if (!GetWindowThreadProcessId(ToHwnd(w), &pid)) return 0;
  return pid;
}

// --- Message loop

int Win32MessageLoop::Run() {
  MSG m;
  int code = 0;
  for (;;) {
    BOOL got = GetMessageA(&m, nullptr, 0, 0);
    if (got == 0) {
      code = static_cast<int>(m.wParam);
      break;
    }
    if (got == -1) {
      code = -1;
      break;
    }
    TranslateMessage(&m);
    DispatchMessageA(&m);
  }
  quitRequested_ = false;
  return code;
}

bool Win32MessageLoop::PumpPending() {
  if (quitRequested_) return false;
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      // Leave the quit for the outermost loop.
      quitRequested_ = true;
      PostQuitMessage(static_cast<int>(m.wParam));
      return false;
    }
    TranslateMessage(&m);
    DispatchMessageA(&m);
    if (quitRequested_) return false;
  }
  return true;
}

bool Win32MessageLoop::WaitAndPump(std::uint32_t timeoutMs) {
  if (quitRequested_) return false;
  MsgWaitForMultipleObjectsEx(0, nullptr, timeoutMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  return PumpPending();
}

void Win32MessageLoop::Quit(int code) {
  quitRequested_ = true;
  PostQuitMessage(code);
}

bool Win32MessageLoop::SetTimer(WindowHandle w, std::uint32_t id, std::uint32_t intervalMs) {
  if (w == kNoWindow) return false;
  return ::SetTimer(ToHwnd(w), id, intervalMs, nullptr) != 0;
}

void Win32MessageLoop::KillTimer(WindowHandle w, std::uint32_t id) {
  if (w != kNoWindow) ::KillTimer(ToHwnd(w), id);
}

}  // namespace wdx::platform
