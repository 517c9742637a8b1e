// The pace of a macro: delays in seconds and milliseconds, the speed factor, and the key and
// mouse delays.
#include <string>

#include "player/interpreter/command_support.h"

namespace wdx::player {

namespace {

// A wait of seconds read from a field: below zero waits nothing.
double Seconds(double value) { return value > 0.0 ? value : 0.0; }

void DelayTag(Interpreter& in, Level& level, const TagInfo& tag) {
  InterpreterHost& host = in.Host();
  switch (tag.id) {
    case TagId::kDelay:
      host.PauseFor(Seconds(ParseRealNumber(FieldAt(level, 7, 5)).value));
      break;
    case TagId::kIdelay:
      host.PauseForNoSpeed(Seconds(ParseRealNumber(FieldAt(level, 8, 5)).value));
      break;
    case TagId::kTdelay:
      // A field that is not a number counts as what was read of it.
      host.TimedPauseFor(false, Seconds(WholeAt(level, 8, 2)));
      break;
    case TagId::kItdelay:
      host.TimedPauseFor(true, Seconds(WholeAt(level, 9, 2)));
      break;
    case TagId::kSpeed: {
      const RealNumber factor = ParseRealNumber(FieldAt(level, 7, 5));
      if (factor.ok) in.State().speedFactor = factor.value;
      break;
    }
    case TagId::kMsd:
      in.WaitScaledMs(WholeAt(level, 5, 4));
      break;
    case TagId::kImsd:
      in.WaitMs(WholeAt(level, 6, 4));
      break;
    default:
      break;
  }
  level.cursor = TagEnd(tag, level.text, level.cursor);
}

void KeyMouseDelayTag(Interpreter& in, Level& level, const TagInfo& tag) {
  RunState& st = in.State();
  const std::int32_t ms = WholeAt(level, 7, 4);
  if (tag.id == TagId::kSpkey) {
    st.keyDelay = ms;
    st.keyDelayOn = ms != 0;
  } else {
    st.mouseDelay = ms;
    st.mouseDelayOn = ms != 0;
  }
  level.cursor = TagEnd(tag, level.text, level.cursor);
}

}  // namespace

void RegisterTimingHandlers(Interpreter& in) {
  in.SetFamilyHandler(TagFamily::kDelays, &DelayTag);
  in.SetFamilyHandler(TagFamily::kKeyMouseDelay, &KeyMouseDelayTag);
}

}  // namespace wdx::player
