// The macro interpreter: plays one macro text on behalf of the player's main window.
//
// A text is walked left to right with a cursor: plain characters are typed as keystrokes,
// "%T"/"%N"/"%D" references play the variable's value as a nested level, and at a "<" the tag
// table picks the command to run. Every level of one run shares the host's run state; each
// level has its own cursor, pass counter and next-key modifiers. After every character and
// every command the message queue is pumped, so an abort request or a lock-key report that
// arrives meanwhile is seen at the next step.
//
// The interpreter dispatches; command families (command_family.h) run the tags they claim and
// keep their own state. A tag that no family claims runs the default, which fails the run with
// a clear message (its fields are skipped).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/input.h"
#include "player/interpreter/command_family.h"
#include "player/interpreter/interpreter_host.h"
#include "shared/tag_table.h"

namespace wdx::player {

// The state of one interpreter level (one call of DoMacro).
struct Level {
  std::string_view text;  // only these characters are played; reads past the end give NUL
  std::size_t cursor = 0;
  std::int32_t pass = 1;  // counter of the repeat passes, for the counter tags
  std::int32_t start = 1;
  std::int32_t step = 1;
  // Modifiers pressed for the next key only, still down.
  bool shiftPending = false;
  bool ctrlPending = false;
  bool altPending = false;
  // A command ended this level early (the rest of the text and any passes left are skipped,
  // and so is the Caps Lock restoration). Set by the dispatcher when a family says so.
  bool leave = false;

  char At(std::size_t i) const { return TextAt(text, i); }
};

// Levels nest (variable values, blocks, called macros); beyond this depth the run fails
// instead of exhausting the stack. Real macros stay far below it.
constexpr int kMaxNesting = 200;

class Interpreter {
 public:
  explicit Interpreter(InterpreterHost& host);
  ~Interpreter();
  Interpreter(const Interpreter&) = delete;
  Interpreter& operator=(const Interpreter&) = delete;

  // Plays text `count` times (less than 1: not at all). start and step are the counter values
  // of the counter tags; storeCounter puts the pass number into N[varIndex] before each pass;
  // restoreCaps gives Caps Lock back its state from before the run when the text ends
  // normally. The caller learns about an abort only from the run state's abortMacro.
  //
  // The outermost call is the top-level run: every family is reset when it begins, and when it
  // returns every key that the run pressed and left down is released.
  void DoMacro(std::string_view text, std::int32_t count = 1, std::int32_t start = 1, std::int32_t step = 1,
               bool restoreCaps = false, bool storeCounter = false, std::int32_t varIndex = 0);

  // --- For command handlers -------------------------------------------------------------
  InterpreterHost& Host() { return host_; }
  RunState& State() { return host_.State(); }
  // The fuzz target checks that every level unwinds and no key stays held after a run.
  int Depth() const { return depth_; }

  // --- Families
  // Adds a family besides the built-in ones; it claims its tags when it is constructed.
  void AddFamily(std::unique_ptr<CommandFamily> family);
  // The family runs these tags from now on with `Run`, one of its methods or a function (see
  // command_family.h); a later claim replaces an earlier one.
  template <auto Run, class F>
  void Claim(TagId id, F& family) {
    SetRunner(id, {&CallRunner<Run, F>, &family});
  }
  template <auto Run, class F>
  void Claim(TagFamily tags, F& family) {
    SetRunner(tags, {&CallRunner<Run, F>, &family});
  }
  // The family of that type, or nullptr.
  template <class F>
  F* Find() const {
    for (const auto& f : families_) {
      if (auto* found = dynamic_cast<F*>(f.get())) return found;
    }
    return nullptr;
  }

  // The one way keys leave the interpreter: posts through the host and keeps track of which
  // keys the run holds down.
  void PostKey(std::uint8_t vk, bool up);
  void PostAltKey(std::uint8_t vk, bool up);
  // Down and up with nothing between.
  void PressKey(std::uint8_t vk);

  void TypeCharacter(Level& level, char c);
  void TypeAltKeypad(std::string_view digits);
  void ReleaseModifiers(Level& level);
  // When the key delay is on, waits keyDelay × speedFactor ms pumping messages.
  void KeyDelay();

  // Waits ms × speedFactor (nothing at speed 0) / exactly ms, pumping at least once.
  void WaitScaledMs(std::int32_t ms);
  void WaitMs(std::int32_t ms);

  // A failing command: logs the message when logging is on, shows it with `caption` (and the
  // macro's name appended) when error boxes are on, and last sets the abort flag. A long
  // message goes to the window for long texts instead of the message box.
  void Fail(const std::string& caption, const std::string& message, bool longText = false);

  // Keys the run holds down now, in the order they went down.
  const std::vector<std::uint8_t>& HeldKeys() const { return held_; }

  // A mouse button event (one of the down or up flags) sent as input; a button the run
  // pressed and did not let go goes up with the held keys when the run ends.
  void MouseButton(platform::Input& input, std::uint32_t flag);
  // The down flags of the buttons the run holds now.
  std::uint32_t HeldButtons() const { return heldButtons_; }

 private:
  template <auto Run, class F>
  static Flow CallRunner(CommandFamily& family, Interpreter& in, Level& level, const TagInfo& tag) {
    auto call = [&] {
      if constexpr (std::is_member_function_pointer_v<decltype(Run)>) {
        return (static_cast<F&>(family).*Run)(in, level, tag);
      } else {
        return Run(in, level, tag);
      }
    };
    if constexpr (std::is_void_v<decltype(call())>) {
      call();
      return Flow::GoOn();
    } else {
      return call();
    }
  }
  void SetRunner(TagId id, TagRunner runner);
  void SetRunner(TagFamily tags, TagRunner runner);
  void PlayLevel(Level& level, std::int32_t count, bool storeCounter, std::int32_t varIndex);
  void Step(Level& level);
  void PlayVariableReference(Level& level);
  void ReportAbort();
  void TrackKey(std::uint8_t vk, bool up);
  void ReleaseHeldKeys();

  InterpreterHost& host_;
  std::vector<std::unique_ptr<CommandFamily>> families_;
  // What runs each tag; the default for the tags nobody claimed.
  std::array<TagRunner, static_cast<std::size_t>(TagId::kCount)> runners_{};
  int depth_ = 0;
  // Set when the nesting limit stopped the run: the levels it unwinds through then return
  // without each showing its own "Macro Abort" box.
  bool unwinding_ = false;
  std::vector<std::uint8_t> held_;
  std::array<bool, 256> isHeld_{};  // the keys of held_
  std::uint32_t heldButtons_ = 0;
};

}  // namespace wdx::player
