// A command family: the object that runs the tags of one family of the macro language, with
// whatever state the family keeps during a run.
//
// The interpreter dispatches: at a tag it calls the method that the family claimed the tag
// with (Interpreter::Claim), and the method answers what happens next. By default the cursor then moves past the tag, as far
// as the tag table says the tag reaches; a family never moves the cursor itself. A family that
// keeps state between its tags (a block, a capture, an open window) holds it in its own members
// and gives it back to its starting values in ResetForRun, which the interpreter calls at the
// start of every top-level run. The run state the host shares (RunState) holds only what the
// player's other parts read as well.
//
// The families built in are listed in families.cpp; a family from elsewhere joins with
// Interpreter::AddFamily.
#pragma once

#include <cstddef>
#include <cstdint>

namespace wdx {
struct TagInfo;
}

namespace wdx::player {

class Interpreter;
struct Level;

// What the dispatcher does after a tag ran.
class Flow {
 public:
  enum class Next : std::uint8_t {
    kGoOn,        // the cursor moves past the tag
    kLeaveLevel,  // the level ends: the rest of its text and its passes are skipped, and so is
                  // the Caps Lock restoration
    kJump,        // the cursor moves to `position` of the level's text
  };

  static constexpr Flow GoOn() { return Flow(Next::kGoOn, 0); }
  static constexpr Flow LeaveLevel() { return Flow(Next::kLeaveLevel, 0); }
  static constexpr Flow JumpTo(std::size_t position) { return Flow(Next::kJump, position); }

  Next next() const { return next_; }
  std::size_t position() const { return position_; }
  bool operator==(const Flow&) const = default;

 private:
  constexpr Flow(Next next, std::size_t position) : next_(next), position_(position) {}
  Next next_;
  std::size_t position_;
};

// What runs a tag is a method of the family or a function, of the shape
//   Flow Run(Interpreter& in, Level& level, const TagInfo& tag);
// called with the level's cursor on the tag's "<"; one that returns nothing always goes on.
class CommandFamily {
 public:
  virtual ~CommandFamily() = default;

  // The start of a top-level run: the family's state goes back to what a run begins with.
  virtual void ResetForRun() {}
};

// One claimed tag: the family and the call of its method.
struct TagRunner {
  Flow (*call)(CommandFamily& family, Interpreter& in, Level& level, const TagInfo& tag);
  CommandFamily* family;
};

}  // namespace wdx::player
