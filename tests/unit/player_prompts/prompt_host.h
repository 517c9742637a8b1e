// The interpreter's test host for the prompts: the clock host with the scripted user, the run
// frame's variable expansion, the long-text window recorded, and a program in front.
#pragma once

#include <string>
#include <vector>

#include "clock_host.h"
#include "forms/user.h"
#include "player/core/run_frame.h"
#include "player/interpreter/interpreter.h"

namespace wdx::player::testing {

class PromptHost : public ClockHost {
 public:
  using ClockHost::ClockHost;
  bool ProcessAnsiStringVar(std::string& text) override { return player::ProcessAnsiStringVar(text, state.vars); }
  void ProcessStringVar(std::string& text, std::size_t maxLength) override {
    player::ProcessStringVar(text, maxLength, state.vars);
  }
  void MyMessage(const std::string& caption, const std::string& text) override { longTexts.push_back({caption, text}); }
  std::string ForegroundProgram() override { return program; }

  std::vector<Box> longTexts;
  std::string program;
};

// One interpreter over the whole stand-in.
class PromptTest : public ::testing::Test {
 protected:
  PromptTest() {
    mem.input.SetScreenSize({800, 600});
    st.currentMacroName = "Prompted";
  }

  std::string Play(const std::string& text) {
    mem.input.keys.clear();
    host.boxes.clear();
    st.abortMacro = false;
    interpreter.DoMacro(text, 1, 1, 1, false, false, 0);
    return TypedText(mem.input.keys);
  }
  // The user's next prompt: the form of that type, then what the script does with it.
  template <class F, class Script>
  void Then(Script script) {
    host.runner.Then([script](forms::Form& form) { script(dynamic_cast<F&>(form)); });
  }

  platform::MemoryPlatform mem;
  PromptHost host{mem};
  Interpreter interpreter{host};
  RunState& st = host.state;
};

}  // namespace wdx::player::testing
