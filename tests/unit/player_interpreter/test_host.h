// The interpreter's host over the in-memory platform: keys go to the stand-in's recording
// input, message boxes and error-log lines are kept for the test, and a pump can be scripted
// (to abort the run at a given step, as the abort key would).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/memory/memory_input.h"
#include "platform/virtual_keys.h"
#include "player/interpreter/interpreter_host.h"
#include "player/interpreter/key_posting.h"

namespace wdx::player::testing {

struct Box {
  std::string caption;
  std::string text;
  bool operator==(const Box&) const = default;
};

class TestHost : public InterpreterHost {
 public:
  explicit TestHost(platform::MemoryInput& input) : input_(input) {}

  RunState& State() override { return state; }
  void PostVKey(std::uint8_t vk, bool up) override { PostKeyEvent(input_, vk, up); }
  void PostAltVKey(std::uint8_t vk, bool up) override { PostKeyEvent(input_, vk, up); }
  std::int16_t VkKeyScan(char c) override { return input_.VkKeyScan(c); }

  void PumpMessages() override {
    ++pumps;
    // The hook library reports the lock keys' states while messages are pumped.
    state.capsLockOn = (input_.GetKeyState(vk::kCapital) & 1) != 0;
    state.numLockOn = (input_.GetKeyState(vk::kNumLock) & 1) != 0;
    state.scrollLockOn = (input_.GetKeyState(vk::kScroll) & 1) != 0;
    if (onPump) onPump(pumps);
  }
  // Every reading moves the clock one millisecond on, so millisecond waits end.
  std::uint32_t TickCount() override { return ++ticks; }
  void PauseFor(double seconds) override {
    pauses.push_back(seconds * state.speedFactor);
    PumpMessages();
  }
  void PauseForNoSpeed(double seconds) override {
    pauses.push_back(seconds);
    PumpMessages();
  }
  void LogError(const std::string& text) override { log.push_back(text); }
  void DoAMessage(const std::string& caption, const std::string& text) override {
    std::string shown = text;
    if (state.appendMacroName) {
      shown += " (Macro Name: " + state.currentMacroName + ")";
      state.appendMacroName = false;
    }
    boxes.push_back({caption, shown});
  }

  RunState state;
  int pumps = 0;
  std::uint32_t ticks = 0;
  std::function<void(int pump)> onPump;
  std::vector<double> pauses;
  std::vector<std::string> log;
  std::vector<Box> boxes;

 private:
  platform::MemoryInput& input_;
};

}  // namespace wdx::player::testing
