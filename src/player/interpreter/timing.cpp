// The pace of a macro: delays in seconds and milliseconds, the speed factor, and the key and
// mouse delays.
#include <string>

#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"

namespace wdx::player {

namespace {

// A wait of seconds read from a field: below zero waits nothing.
double Seconds(double value) { return value > 0.0 ? value : 0.0; }

void DelayTag(Interpreter& in, const Level& level, const TagInfo& tag) {
  InterpreterHost& host = in.Host();
  // One field, read through the tag's own layout.
  auto field = [&](const CommandLayout& layout) { return FieldsOf(level, tag, layout); };
  switch (tag.id) {
    case TagId::kDelay:
      host.PauseFor(Seconds(field(cmd::kDelay).Real(cmd::kOnly)));
      break;
    case TagId::kIdelay:
      host.PauseForNoSpeed(Seconds(field(cmd::kIdelay).Real(cmd::kOnly)));
      break;
    case TagId::kTdelay:
      // A field that is not a number counts as what was read of it.
      host.TimedPauseFor(false, Seconds(field(cmd::kTdelay).Whole(cmd::kOnly)));
      break;
    case TagId::kItdelay:
      host.TimedPauseFor(true, Seconds(field(cmd::kItdelay).Whole(cmd::kOnly)));
      break;
    case TagId::kSpeed: {
      const RealNumber factor = ParseRealNumber(field(cmd::kSpeed).Raw(cmd::kOnly));
      if (factor.ok) in.State().speedFactor = factor.value;
      break;
    }
    case TagId::kMsd:
      in.WaitScaledMs(field(cmd::kMsd).Whole(cmd::kOnly));
      break;
    case TagId::kImsd:
      in.WaitMs(field(cmd::kImsd).Whole(cmd::kOnly));
      break;
    default:
      break;
  }
}

void KeyMouseDelayTag(Interpreter& in, const Level& level, const TagInfo& tag) {
  RunState& st = in.State();
  // Both tags have the same layout.
  const std::int32_t ms = FieldsOf(level, tag, cmd::kSpkey).Whole(cmd::kOnly);
  if (tag.id == TagId::kSpkey) {
    st.keyDelay = ms;
    st.keyDelayOn = ms != 0;
  } else {
    st.mouseDelay = ms;
    st.mouseDelayOn = ms != 0;
  }
}

// The pace lives in the run state, which the run frame resets and the player reads.
class TimingFamily final : public CommandFamily {
 public:
  explicit TimingFamily(Interpreter& in) {
    in.Claim<&DelayTag>(TagFamily::kDelays, *this);
    in.Claim<&KeyMouseDelayTag>(TagFamily::kKeyMouseDelay, *this);
  }
};

}  // namespace

std::unique_ptr<CommandFamily> MakeTimingFamily(Interpreter& in) { return std::make_unique<TimingFamily>(in); }

}  // namespace wdx::player
