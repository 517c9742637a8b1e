// The interpreter's test host on the whole in-memory platform: the stand-in clock is the time
// of the millisecond waits and moves only while messages are pumped (pumpMs per pump, the
// desktop's timers firing), blocking waits sleep on it without pumping, and prompt windows go
// to a scripted form runner over the stand-in desktop through the prompts library. Also: the text a recorded series of key
// events types on the US layout.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "forms/scripted_runner.h"
#include "platform/memory/memory_platform.h"
#include "player/prompts/form_prompts.h"
#include "test_host.h"

namespace wdx::player::testing {

class ClockHost : public TestHost {
 public:
  explicit ClockHost(platform::MemoryPlatform& mem)
      : TestHost(mem.input), runner(mem.desktop, mem.desktop), mem_(mem), platform_(mem.Get()) {}

  platform::Platform* GetPlatform() override { return &platform_; }
  forms::FormRunner* Forms() override { return withForms ? &runner : nullptr; }
  MacroPrompts* Prompts() override { return &prompts; }
  std::uint32_t TickCount() override { return mem_.clock.TickCount(); }
  void PumpMessages() override {
    TestHost::PumpMessages();
    mem_.clock.Advance(pumpMs);
    mem_.desktop.PumpPending();
  }
  void ProcessStringVar(std::string& text, std::size_t maxLength) override {
    expanded.push_back(text);
    if (expand) expand(text, maxLength);
  }
  void SetMainWin(platform::WindowHandle w) override {
    foreground.push_back(w);
    InterpreterHost::SetMainWin(w);
  }
  void ShowApplication(bool show) override { application.push_back(show); }

  // Milliseconds since the platform was made.
  std::uint64_t Now() const { return mem_.clock.Monotonic(); }

  forms::ScriptedRunner runner;
  bool withForms = true;
  FormPrompts prompts{*this};
  std::uint64_t pumpMs = 1;
  std::function<void(std::string& text, std::size_t maxLength)> expand;
  std::vector<std::string> expanded;            // texts handed to ProcessStringVar
  std::vector<platform::WindowHandle> foreground;  // SetMainWin calls
  std::vector<bool> application;                // ShowApplication calls

 private:
  platform::MemoryPlatform& mem_;
  platform::Platform platform_;
};

// The characters that key events type on the US layout (Shift as recorded; Enter as CR, Tab as TAB).
inline std::string TypedText(const std::vector<platform::KeyEventRecord>& keys) {
  std::string out;
  bool shift = false;
  for (const platform::KeyEventRecord& k : keys) {
    const bool up = (k.flags & platform::keyflag::kKeyUp) != 0;
    if (k.vk == vk::kShift) {
      shift = !up;
      continue;
    }
    if (up) continue;
    if (k.vk == vk::kReturn || k.vk == vk::kTab) {
      out += k.vk == vk::kTab ? '\t' : '\r';
      continue;
    }
    char found = '?';
    for (int c = 32; c < 127; ++c) {
      const std::int16_t scan = platform::UsVkKeyScan(static_cast<char>(c));
      if ((scan & 0xFF) == k.vk && ((scan >> 8) & 1) == (shift ? 1 : 0)) {
        found = static_cast<char>(c);
        break;
      }
    }
    out += found;
  }
  return out;
}

}  // namespace wdx::player::testing
