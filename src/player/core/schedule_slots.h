// The decisions of the scheduler, free of the desktop: the slot a timed macro's record makes and
// whether the slot is due at a check, given the check before it.
//
// A slot is due when one of its times falls after the previous check and at or before this
// one. Days are looked at only on the previous check's date and on this check's, so a run the
// computer slept through is caught up once, a check just past midnight never finds yesterday's
// run again, and a clock set back (this check before the previous one) finds nothing at all.
//
// Moments are milliseconds of local time since 1899-12-30 00:00, the stored date-time's origin:
// whole numbers, so a time of day compares exactly.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "shared/macro_record.h"

namespace wdx::player {

inline constexpr std::int64_t kMsPerMinute = 60'000;
inline constexpr std::int64_t kMsPerHour = 3'600'000;
inline constexpr std::int64_t kMsPerDay = 86'400'000;

// Schedule kinds of a timed macro's record.
namespace schedule {
inline constexpr std::uint16_t kStartup = 0;
inline constexpr std::uint16_t kOnce = 1;
inline constexpr std::uint16_t kHourly = 2;
inline constexpr std::uint16_t kDaily = 3;
inline constexpr std::uint16_t kWeekly = 4;
inline constexpr std::uint16_t kMonthly = 5;
inline constexpr std::uint16_t kEveryMinutes = 6;
inline constexpr std::uint16_t kIdleMinutes = 7;
}  // namespace schedule

// One check's moment, split as the kinds compare it.
struct CheckMoment {
  std::int64_t ms = 0;
  std::int64_t dayNumber = 0;  // days since 1899-12-30
  int year = 0, month = 0, day = 0;
  int weekday = 1;  // 1 Sunday .. 7 Saturday
  static CheckMoment At(std::int64_t ms);
  // The platform clock's day count.
  static CheckMoment FromDays(double days);
};

struct ScheduleSlot {
  int macro = 0;
  std::uint16_t kind = 0;
  std::array<std::uint8_t, 7> dayFlags{};  // Monday .. Sunday
  int month = 0, day = 0, minutePastHour = 0, weekday = 0, year = 0;
  int everyMinutes = 0;
  // The time of day from hour, minute and the PM flag; none when the record's fields make no
  // time of day (hour 25, minute 75: a hand-edited library), and the slot is then never due.
  std::optional<std::int64_t> timeOfDay;
  std::int64_t intervalBase = 0;  // every N minutes: counted from here
  bool idleFired = false;         // after N idle minutes: ran in this idle period
};

// The slot of timed macro `macro` whose record is `r`, in a table built at `now`.
ScheduleSlot SlotOf(int macro, const TMacroRec& r, std::int64_t now);

// Whether the slot is due at `now`, the check before it having been at `previous`. A due slot
// of every N minutes moves its base to its latest period boundary (periods that passed
// without a check are not made up); one of N idle minutes is marked as having run.
// `idleSeconds` is the idle time the hook library and the ticks counted.
bool IsDue(ScheduleSlot& slot, const CheckMoment& previous, const CheckMoment& now, std::int32_t idleSeconds);

}  // namespace wdx::player
