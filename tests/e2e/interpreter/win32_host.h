// The player's main window, as far as the interpreter sees it, on the real Win32 platform: keys
// go out as real key events, waits pump the thread's messages, the error log and message boxes
// are printed. With a form runner it shows the prompt windows of a run (pause) too. Shared by
// the Windows test programs that play macros.
#pragma once

#include "platform/win32/windows_api.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "player/interpreter/interpreter_host.h"
#include "player/interpreter/key_posting.h"
#include "player/prompts/form_prompts.h"

namespace wdx::e2e {

class Win32Host : public player::InterpreterHost {
 public:
  explicit Win32Host(platform::Win32Platform& p, forms::FormRunner* forms = nullptr)
      : p_(p), platform_(p.Get()), forms_(forms) {}
  player::RunState& State() override { return state; }
  void PostVKey(std::uint8_t vk, bool up) override { player::PostKeyEvent(p_.input, vk, up); }
  void PostAltVKey(std::uint8_t vk, bool up) override { player::PostKeyEvent(p_.input, vk, up); }
  std::int16_t VkKeyScan(char c) override { return p_.input.VkKeyScan(c); }
  void PumpMessages() override { p_.loop.PumpPending(); }
  std::uint32_t TickCount() override { return p_.clock.TickCount(); }
  void PauseFor(double seconds) override { PauseForNoSpeed(seconds * state.speedFactor); }
  void PauseForNoSpeed(double seconds) override {
    const DWORD start = GetTickCount();
    do {
      PumpMessages();
      Sleep(1);
    } while (GetTickCount() - start < static_cast<DWORD>(seconds * 1000));
  }
  void LogError(const std::string& text) override { std::printf("  error log: %s\n", text.c_str()); }
  void DoAMessage(const std::string& caption, const std::string& text) override {
    std::printf("  message box: [%s] %s\n", caption.c_str(), text.c_str());
    boxes.push_back(caption);
  }
  platform::Platform* GetPlatform() override { return &platform_; }
  forms::FormRunner* Forms() override { return forms_; }
  player::MacroPrompts* Prompts() override { return &prompts_; }

  player::RunState state;
  std::vector<std::string> boxes;

 private:
  platform::Win32Platform& p_;
  platform::Platform platform_;
  forms::FormRunner* forms_;
  player::FormPrompts prompts_{*this};
};

// No modifier key is down (a run must leave none held).
inline bool ModifiersUp() {
  for (const int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN}) {
    if (GetAsyncKeyState(vk) & 0x8000) return false;
  }
  return true;
}

}  // namespace wdx::e2e
