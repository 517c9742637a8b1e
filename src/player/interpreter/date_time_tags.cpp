// The date and time tags: today's date (moved by a number of days) or the current time in one
// of the fixed formats, typed or stored in a text variable.
#include <string>

#include "player/interpreter/interpreter.h"
#include "player/interpreter/command_support.h"
#include "player/interpreter/families.h"
#include "player/interpreter/variables.h"
#include "shared/date_time_formats.h"

namespace wdx::player {

namespace {

// Types the text, or stores it in T[var] (var 0: typed). The clock is read once per tag.
void Deliver(Interpreter& in, Level& level, const std::string& text, std::int32_t var) {
  if (var == 0) {
    for (const char c : text) in.TypeCharacter(level, c);
    return;
  }
  if (std::string* slot = TextVariable(in, var)) *slot = text;
}

bool ReadClock(Interpreter& in, double& now) {
  platform::Clock* clock = Facility(in, &platform::Platform::clock, "Date Error", "clock");
  if (clock == nullptr) return false;
  now = clock->Now();
  return true;
}

// "<" + name + "{" + Y/N + "}>" or "<" + name + "{" + Y/N + F/P + days + "}" [+ var] + ">".
void DateTag(Interpreter& in, Level& level, const TagInfo& tag) {
  namespace f = cmd::date_tag;
  const CommandFields fields = FieldsOf(level, tag, cmd::kDateTag);
  const bool zeros = fields.Letter(f::kZeros) == 'Y';
  std::int32_t days = fields.Whole(f::kDays);
  if (fields.Letter(f::kDirection) == 'P') days = -days;
  const std::int32_t var = fields.Whole(f::kVariable);
  double now = 0.0;
  if (!ReadClock(in, now)) return;
  Deliver(in, level, FormatDate(tag.count, now, zeros, days), var);
}

// "<" + name + "{" + Y/N + "}" [+ var] + ">".
void TimeTag(Interpreter& in, Level& level, const TagInfo& tag) {
  const CommandFields fields = FieldsOf(level, tag, cmd::kTimeTag);
  const bool zeros = fields.Letter(cmd::time_tag::kZeros) == 'Y';
  const std::int32_t var = fields.Whole(cmd::time_tag::kVariable);
  double now = 0.0;
  if (!ReadClock(in, now)) return;
  Deliver(in, level, FormatTime(tag.count, now, zeros), var);
}

}  // namespace

namespace {

class DateTimeFamily final : public CommandFamily {
 public:
  explicit DateTimeFamily(Interpreter& in) {
    in.Claim<&DateTag>(TagFamily::kDateTag, *this);
    in.Claim<&TimeTag>(TagFamily::kTimeTag, *this);
  }
};

}  // namespace

std::unique_ptr<CommandFamily> MakeDateTimeFamily(Interpreter& in) { return std::make_unique<DateTimeFamily>(in); }

}  // namespace wdx::player
