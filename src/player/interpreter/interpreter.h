// The macro interpreter: plays one macro text on behalf of the player's main window.
//
// A text is walked left to right with a cursor: plain characters are typed as keystrokes,
// "%T"/"%N"/"%D" references play the variable's value as a nested level, and at a "<" the tag
// table picks the command to run. Every level of one run shares the host's run state; each
// level has its own cursor, pass counter and next-key modifiers. After every character and
// every command the message queue is pumped, so an abort request or a lock-key report that
// arrives meanwhile is seen at the next step.
//
// Command families register their handlers by tag id; a family that is not part of this build
// keeps the default handler, which skips the tag's fields and fails the run with a clear
// message.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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
  // and so is the Caps Lock restoration).
  bool leave = false;

  char At(std::size_t i) const { return TextAt(text, i); }
};

class Interpreter;
using TagHandler = void (*)(Interpreter& in, Level& level, const TagInfo& tag);

// Levels nest (variable values, blocks, called macros); beyond this depth the run fails
// instead of exhausting the stack. Real macros stay far below it.
constexpr int kMaxNesting = 200;

class Interpreter {
 public:
  explicit Interpreter(InterpreterHost& host);

  // Plays text `count` times (less than 1: not at all). start and step are the counter values
  // of the counter tags; storeCounter puts the pass number into N[varIndex] before each pass;
  // restoreCaps gives Caps Lock back its state from before the run when the text ends
  // normally. The caller learns about an abort only from the run state's abortMacro.
  //
  // The outermost call is the top-level run: when it returns, every key that the run pressed
  // and left down is released.
  void DoMacro(std::string_view text, std::int32_t count = 1, std::int32_t start = 1, std::int32_t step = 1,
               bool restoreCaps = false, bool storeCounter = false, std::int32_t varIndex = 0);

  // --- For command handlers -------------------------------------------------------------
  InterpreterHost& Host() { return host_; }
  RunState& State() { return host_.State(); }
  int Depth() const { return depth_; }

  void SetHandler(TagId id, TagHandler handler);
  // Registers one handler for every tag of a family.
  void SetFamilyHandler(TagFamily family, TagHandler handler);

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
  // macro's name appended) when error boxes are on, and last sets the abort flag.
  void Fail(const std::string& caption, const std::string& message);

  // Keys the run holds down now, in the order they went down.
  const std::vector<std::uint8_t>& HeldKeys() const { return held_; }

 private:
  void PlayLevel(Level& level, std::int32_t count, bool storeCounter, std::int32_t varIndex);
  void Step(Level& level);
  void PlayVariableReference(Level& level);
  void ReportAbort();
  void TrackKey(std::uint8_t vk, bool up);
  void ReleaseHeldKeys();
  void RegisterBuiltInHandlers();

  InterpreterHost& host_;
  std::array<TagHandler, static_cast<std::size_t>(TagId::kCount)> handlers_{};
  int depth_ = 0;
  // Set when the nesting limit stopped the run: the levels it unwinds through then return
  // without each showing its own "Macro Abort" box.
  bool unwinding_ = false;
  std::vector<std::uint8_t> held_;
};

// Registration of the families built in this folder (each in its own source file).
void RegisterKeyHandlers(Interpreter& in);
void RegisterTextHandlers(Interpreter& in);
void RegisterTimingHandlers(Interpreter& in);
void RegisterDateTimeHandlers(Interpreter& in);
void RegisterVariableHandlers(Interpreter& in);
void RegisterPauseHandlers(Interpreter& in);

}  // namespace wdx::player
