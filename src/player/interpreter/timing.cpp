// The pace of a macro: delays in seconds and milliseconds, the speed factor, and the key and
// mouse delays.
#include <string>

#include "player/interpreter/interpreter.h"

namespace wdx::player {

namespace {

// A field of the tag: width characters from offset (reads past the end are cut short, and the
// conversion then stops at the missing characters).
std::string_view Field(const Level& level, std::size_t offset, std::size_t width) {
  const std::size_t from = level.cursor + offset;
  return from < level.text.size() ? level.text.substr(from, width) : std::string_view{};
}

// A wait of seconds read from a field: below zero waits nothing.
double Seconds(double value) { return value > 0.0 ? value : 0.0; }

void DelayTag(Interpreter& in, Level& level, const TagInfo& tag) {
  InterpreterHost& host = in.Host();
  switch (tag.id) {
    case TagId::kDelay:
      host.PauseFor(Seconds(ParseRealNumber(Field(level, 7, 5)).value));
      break;
    case TagId::kIdelay:
      host.PauseForNoSpeed(Seconds(ParseRealNumber(Field(level, 8, 5)).value));
      break;
    case TagId::kTdelay:
      // A field that is not a number counts as what was read of it.
      host.TimedPauseFor(false, Seconds(ParseWholeNumber(Field(level, 8, 2)).value));
      break;
    case TagId::kItdelay:
      host.TimedPauseFor(true, Seconds(ParseWholeNumber(Field(level, 9, 2)).value));
      break;
    case TagId::kSpeed: {
      const RealNumber factor = ParseRealNumber(Field(level, 7, 5));
      if (factor.ok) in.State().speedFactor = factor.value;
      break;
    }
    case TagId::kMsd:
      in.WaitScaledMs(ParseWholeNumber(Field(level, 5, 4)).value);
      break;
    case TagId::kImsd:
      in.WaitMs(ParseWholeNumber(Field(level, 6, 4)).value);
      break;
    default:
      break;
  }
  level.cursor = TagEnd(tag, level.text, level.cursor);
}

void KeyMouseDelayTag(Interpreter& in, Level& level, const TagInfo& tag) {
  RunState& st = in.State();
  const std::int32_t ms = ParseWholeNumber(Field(level, 7, 4)).value;
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
