#include "player/interpreter/interpreter.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "platform/platform.h"
#include "platform/virtual_keys.h"
#include "player/interpreter/families.h"
#include "shared/globals.h"
#include "shared/text_util.h"

namespace wdx::player {

namespace {

const char kAbortText[] = "Wendrix 2000 macro has been aborted.";

// Families whose commands are not part of this build: the tag's fields are skipped so the text
// is still walked correctly, and the run fails rather than go on without the command (typing
// on after a missing window activation would type into the wrong program).
class NotAvailable final : public CommandFamily {
 public:
  Flow Run(Interpreter& in, Level& /*level*/, const TagInfo& tag) {
    in.Fail("Command Not Available",
            "The command " + std::string(tag.keyword) + " is not available in this build. Macro will abort.");
    return Flow::GoOn();
  }
};

NotAvailable& TheNotAvailable() {
  static NotAvailable family;
  return family;
}

// The value of a variable reference as macro text. Numbers outside the tables give an empty
// text (text variables) or 0.
std::string VariableValue(const RunState& st, char kind, std::string_view written) {
  const std::int32_t n = ParseWholeNumber(written).value;
  switch (kind) {
    case 'T': {
      if (n < 0 || n >= VariableSet::kTextSlots) return {};
      std::string value = st.vars.text[static_cast<std::size_t>(n)];
      // A variable naming itself, written the same way, is not played again.
      const std::string self = "%T" + std::string(written) + "%";
      for (std::size_t p = value.find(self); p != std::string::npos; p = value.find(self)) value.erase(p, self.size());
      return value;
    }
    case 'N': {
      const bool inRange = n >= 0 && n < VariableSet::kNumberSlots;
      return FormatNumber(1, 0, inRange ? st.vars.integer[static_cast<std::size_t>(n)] : 0);
    }
    default: {
      const bool inRange = n >= 0 && n < VariableSet::kNumberSlots;
      return FormatNumber(1, 4, inRange ? st.vars.decimal[static_cast<std::size_t>(n)] : 0.0);
    }
  }
}

}  // namespace

Interpreter::Interpreter(InterpreterHost& host) : host_(host) {
  runners_.fill({&CallRunner<&NotAvailable::Run, NotAvailable>, &TheNotAvailable()});
  AddBuiltInFamilies(*this);
}

Interpreter::~Interpreter() = default;

void Interpreter::AddFamily(std::unique_ptr<CommandFamily> family) {
  if (family) families_.push_back(std::move(family));
}

void Interpreter::SetRunner(TagId id, TagRunner runner) {
  const auto i = static_cast<std::size_t>(id);
  if (i < runners_.size()) runners_[i] = runner;
}

void Interpreter::SetRunner(TagFamily tags, TagRunner runner) {
  for (const TagInfo& row : TagTable()) {
    if (row.family == tags) SetRunner(row.id, runner);
  }
  if (tags == TagFamily::kDateTag) SetRunner(TagId::kDateTag, runner);
  if (tags == TagFamily::kTimeTag) SetRunner(TagId::kTimeTag, runner);
}

void Interpreter::DoMacro(std::string_view text, std::int32_t count, std::int32_t start, std::int32_t step,
                          bool restoreCaps, bool storeCounter, std::int32_t varIndex) {
  RunState& st = State();
  if (depth_ == 0) {
    for (const auto& family : families_) family->ResetForRun();
  }
  bool completed = false;
  if (!st.abortMacro) {
    if (depth_ >= kMaxNesting) {
      Fail("Macro Error", "The macro text nests more than " + std::to_string(kMaxNesting) +
                              " levels deep (variables or blocks that refer to each other without end)." +
                              " Macro will abort.");
      unwinding_ = true;
    } else {
      ++depth_;
      Level level;
      level.text = text;
      level.start = start;
      level.step = step;
      PlayLevel(level, count, storeCounter, varIndex);
      completed = !level.leave;
      --depth_;
    }
  }
  if (depth_ == 0) {
    // Whatever the run left held (a text ending in "<SHIFT>" or "<CTRLD>", an abort between
    // a key's down and up tags) goes up before the run is over.
    ReleaseHeldKeys();
    unwinding_ = false;
  }
  if (completed && restoreCaps && st.capsLockOn != st.capsWasOn) PressKey(vk::kCapital);
}

void Interpreter::PlayLevel(Level& level, std::int32_t count, bool storeCounter, std::int32_t varIndex) {
  RunState& st = State();
  for (std::int32_t pass = 1; pass <= count; ++pass) {
    if (st.abortMacro) {
      level.leave = true;
      return;
    }
    level.pass = pass;
    if (storeCounter && varIndex >= 0 && varIndex < VariableSet::kNumberSlots) {
      st.vars.integer[static_cast<std::size_t>(varIndex)] = pass;
    }
    level.shiftPending = level.ctrlPending = level.altPending = false;
    level.cursor = 0;
    while (level.cursor < level.text.size()) {
      if (st.abortMacro) {
        if (!unwinding_) ReportAbort();
        level.leave = true;
        return;
      }
      Step(level);
      if (level.leave) return;
      host_.PumpMessages();
    }
  }
}

void Interpreter::Step(Level& level) {
  // A step that runs out of memory (a command's result, a variable's copy) ends the macro, not
  // the player; what it had built is freed by the unwinding.
  try {
    const char c = level.At(level.cursor);
    if (c == '%') {
      PlayVariableReference(level);
    } else if (c != '<') {
      TypeCharacter(level, c);
      ++level.cursor;
      // CR LF is one Enter.
      if (c == '\r' && level.At(level.cursor) == '\n') ++level.cursor;
    } else if (const TagInfo* tag = MatchTag(level.text, level.cursor)) {
      const TagRunner& runner = runners_[static_cast<std::size_t>(tag->id)];
      const Flow flow = runner.call(*runner.family, *this, level, *tag);
      switch (flow.next()) {
        case Flow::Next::kGoOn:
          // A matched keyword lies inside the text: most tags are their keyword alone.
          level.cursor = tag->extent == TagExtent::kKeyword ? level.cursor + tag->keyword.size()
                                                            : TagEnd(*tag, level.text, level.cursor);
          break;
        case Flow::Next::kLeaveLevel:
          level.leave = true;
          break;
        case Flow::Next::kJump:
          level.cursor = flow.position();
          break;
      }
    } else {
      TypeCharacter(level, '<');
      ++level.cursor;
      ReleaseModifiers(level);
    }
  } catch (const std::bad_alloc&) {
    Fail("Macro Error", "There is not enough memory to go on with the macro. Macro will abort.");
  }
}

void Interpreter::PlayVariableReference(Level& level) {
  const char kind = level.At(level.cursor + 1);
  if (kind != 'T' && kind != 'N' && kind != 'D') {
    TypeCharacter(level, '%');
    ++level.cursor;
    ReleaseModifiers(level);
    return;
  }
  const std::size_t numberStart = level.cursor + 2;
  const std::size_t close = numberStart < level.text.size() ? level.text.find('%', numberStart) : std::string_view::npos;
  const std::string_view written =
      numberStart < level.text.size() ? level.text.substr(numberStart, close == std::string_view::npos ? std::string_view::npos : close - numberStart)
                                      : std::string_view{};
  // The value is a copy: commands in it may change the variable while it plays.
  const std::string value = VariableValue(State(), kind, written);
  DoMacro(value, 1, 1, 1, false, false, 0);
  level.cursor = close == std::string_view::npos ? level.text.size() : close + 1;
}

void Interpreter::ReportAbort() {
  RunState& st = State();
  // The run is over: what it holds goes up now, in the window where it went down, not after
  // the box (which takes the focus, and whose answer must not come with Ctrl or Alt held).
  ReleaseHeldKeys();
  st.appendMacroName = true;
  if (st.logErrors) host_.LogError(kAbortText);
  if (st.showErrors) host_.DoAMessage("Macro Abort", kAbortText);
}

void Interpreter::Fail(const std::string& caption, const std::string& message, bool longText) {
  RunState& st = State();
  ReleaseHeldKeys();  // the run ends with this failure; see ReportAbort
  st.appendMacroName = true;
  if (st.logErrors) host_.LogError(message);
  if (st.showErrors) {
    if (longText) {
      host_.MyMessage(caption, message);
    } else {
      host_.DoAMessage(caption, message);
    }
  }
  st.abortMacro = true;
}

void Interpreter::TrackKey(std::uint8_t vk, bool up) {
  if (isHeld_[vk] == !up) return;
  isHeld_[vk] = !up;
  if (up) {
    held_.erase(std::find(held_.begin(), held_.end(), vk));
  } else {
    held_.push_back(vk);
  }
}

void Interpreter::PostKey(std::uint8_t vk, bool up) {
  TrackKey(vk, up);
  host_.PostVKey(vk, up);
}

void Interpreter::PostAltKey(std::uint8_t vk, bool up) {
  TrackKey(vk, up);
  host_.PostAltVKey(vk, up);
}

void Interpreter::PressKey(std::uint8_t vk) {
  // Down and up leave the key up: only a key that was held needs its tracking changed.
  host_.PostVKey(vk, false);
  host_.PostVKey(vk, true);
  if (isHeld_[vk]) TrackKey(vk, true);
}

void Interpreter::ReleaseHeldKeys() {
  // Last pressed goes up first, as a hand would let go.
  while (!held_.empty()) PostKey(held_.back(), true);
  if (heldButtons_ != 0) {
    platform::Platform* p = host_.GetPlatform();
    for (const std::uint32_t down : {platform::mouseflag::kLeftDown, platform::mouseflag::kRightDown,
                                     platform::mouseflag::kMiddleDown}) {
      if ((heldButtons_ & down) == 0) continue;
      if (p != nullptr && p->input != nullptr) p->input->MouseEvent(down << 1, 0, 0, 0);
    }
    heldButtons_ = 0;
  }
}

void Interpreter::MouseButton(platform::Input& input, std::uint32_t flag) {
  namespace mf = platform::mouseflag;
  // Each button's up flag is its down flag shifted once.
  constexpr std::uint32_t kDowns = mf::kLeftDown | mf::kRightDown | mf::kMiddleDown;
  if ((flag & kDowns) != 0) {
    heldButtons_ |= flag & kDowns;
  } else {
    heldButtons_ &= ~((flag >> 1) & kDowns);
  }
  input.MouseEvent(flag, 0, 0, 0);
}

void Interpreter::WaitScaledMs(std::int32_t ms) {
  const double factor = State().speedFactor;
  if (factor == 0.0) return;
  // A huge factor must not overflow the conversion: the wait is then the longest one.
  const double scaled = std::trunc(ms * factor);
  WaitMs(scaled >= 2147483647.0 ? 2147483647 : scaled > 0.0 ? static_cast<std::int32_t>(scaled) : 0);
}

void Interpreter::WaitMs(std::int32_t ms) {
  const std::uint32_t first = host_.TickCount();
  do {
    host_.PumpMessages();
  } while (ms > 0 && host_.TickCount() - first < static_cast<std::uint32_t>(ms));
}

}  // namespace wdx::player
