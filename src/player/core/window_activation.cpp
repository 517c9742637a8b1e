#include "player/core/window_activation.h"

#include "player/core/protocol.h"

namespace wdx::player {

namespace {
constexpr std::size_t kTitleMax = 255;
}

std::string WindowActivation::UpperTitle(platform::WindowHandle w) {
  std::string title = p_.windows->GetTitle(w);
  if (title.size() > kTitleMax) title.resize(kTitleMax);
  return UpperAscii(title);
}

platform::WindowHandle WindowActivation::Walk(const std::string& upperSearch) {
  for (const platform::WindowHandle w : p_.windows->EnumTopLevelWindows()) {
    const std::string title = UpperTitle(w);
    if (title.empty()) continue;
    if (title.find(upperSearch) != std::string::npos) return w;
  }
  return platform::kNoWindow;
}

platform::WindowHandle WindowActivation::GetWinHandle(const std::string& title) {
  if (platform::WindowHandle w = p_.windows->FindWindow(std::string(), title); w != platform::kNoWindow) return w;
  return Walk(UpperAscii(title));
}

void WindowActivation::SetMainWin(platform::WindowHandle w) {
  std::uint32_t timeout = 0;
  if (p_.system) {
    timeout = p_.system->ForegroundLockTimeout();
    p_.system->SetForegroundLockTimeout(0);
  }
  p_.windows->BringToFront(w);
  if (p_.system) p_.system->SetForegroundLockTimeout(timeout);
}

void WindowActivation::BringUp(platform::WindowHandle w, platform::WindowHandle& target) {
  if (p_.windows->IsMinimized(w)) p_.windows->ShowWindow(w, platform::ShowMode::kRestore);
  SetMainWin(w);
  target = w;
}

bool WindowActivation::ActivateIt(const std::string& title, platform::WindowHandle& target) {
  const platform::WindowHandle w = GetWinHandle(title);
  if (w == platform::kNoWindow) return false;
  BringUp(w, target);
  return true;
}

bool WindowActivation::ActivateProg(const std::string& program, platform::WindowHandle& target) {
  if (!p_.processes) return false;
  std::uint32_t pid = 0;
  if (nt_) {
    for (const platform::ProcessEntry& e : p_.processes->List()) {
      if (UpperAscii(e.exeName).find(program) != std::string::npos) {
        pid = e.id;
        break;
      }
    }
  } else {
    // The 95 family only ever looked at the program in front.
    const std::uint32_t front = p_.windows->GetWindowProcessId(p_.windows->GetForegroundWindow());
    if (front != 0 && UpperAscii(p_.processes->ExeName(front)).find(program) != std::string::npos) pid = front;
  }
  if (pid == 0) return false;
  for (const platform::WindowHandle w : p_.windows->EnumTopLevelWindows()) {
    if (p_.windows->GetWindowProcessId(w) != pid || p_.windows->GetTitle(w).empty()) continue;
    BringUp(w, target);
    return true;
  }
  return false;
}

std::string WindowActivation::GetTopProgram() {
  if (!p_.processes) return std::string();
  const std::uint32_t pid = p_.windows->GetWindowProcessId(p_.windows->GetForegroundWindow());
  return pid == 0 ? std::string() : p_.processes->ExeName(pid);
}

}  // namespace wdx::player
