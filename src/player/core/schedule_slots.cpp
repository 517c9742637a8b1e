#include "player/core/schedule_slots.h"

#include <cmath>

#include "shared/date_time.h"

namespace wdx::player {

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

// 12-hour clock with the PM flag: 12 AM is midnight, 12 PM noon.
std::optional<std::int64_t> TimeOfDay(int hour, int minute, bool pm) {
  if (pm && hour != 12) hour += 12;
  if (!pm && hour == 12) hour = 0;
  if (hour > 23 || minute > 59) return std::nullopt;
  return hour * kMsPerHour + minute * kMsPerMinute;
}

bool Within(std::int64_t t, const CheckMoment& previous, const CheckMoment& now) {
  return t > previous.ms && t <= now.ms;
}

// Due when the day `day` of `on` (its date, weekday) qualifies for the slot and its time of day
// falls between the two checks; only the previous check's date and this check's are looked at.
template <typename Qualifies>
bool DueOnEitherDate(const ScheduleSlot& s, const CheckMoment& previous, const CheckMoment& now, Qualifies qualifies) {
  if (!s.timeOfDay) return false;
  for (const CheckMoment* m : {&previous, &now}) {
    if (m == &previous && previous.dayNumber == now.dayNumber) continue;
    if (qualifies(*m) && Within(m->dayNumber * kMsPerDay + *s.timeOfDay, previous, now)) return true;
  }
  return false;
}

}  // namespace

CheckMoment CheckMoment::At(std::int64_t ms) {
  CheckMoment m;
  m.ms = ms;
  m.dayNumber = FloorDiv(ms, kMsPerDay);
  const CivilDateTime c = DecodeDateTime(static_cast<double>(m.dayNumber));
  m.year = c.year;
  m.month = c.month;
  m.day = c.day;
  m.weekday = DayOfWeek(static_cast<double>(m.dayNumber));
  return m;
}

CheckMoment CheckMoment::FromDays(double days) { return At(std::llround(days * static_cast<double>(kMsPerDay))); }

ScheduleSlot SlotOf(int macro, const TMacroRec& r, std::int64_t now) {
  ScheduleSlot s;
  s.macro = macro;
  s.kind = r.ScheduleKind();
  for (int d = 0; d < 7; ++d) s.dayFlags[static_cast<std::size_t>(d)] = r.DayFlag(d);
  s.month = r.Month();
  s.day = r.Day();
  s.minutePastHour = r.MinutePastHour();
  s.everyMinutes = r.EveryMinutes();
  s.weekday = r.Weekday();
  s.year = r.Year();
  s.timeOfDay = TimeOfDay(r.Hour(), r.Minute(), r.Pm() != 0);
  s.intervalBase = now;
  return s;
}

bool IsDue(ScheduleSlot& s, const CheckMoment& previous, const CheckMoment& now, std::int32_t idleSeconds) {
  switch (s.kind) {
    case schedule::kOnce: {
      // A date that does not exist (31 February, month 13) never comes.
      if (!s.timeOfDay || s.month < 1 || s.month > 12 || s.day < 1 || s.day > DaysInMonth(s.year, s.month))
        return false;
      // Only on its own day: a once macro the computer slept through is not made up later.
      if (now.year != s.year || now.month != s.month || now.day != s.day) return false;
      return Within(now.dayNumber * kMsPerDay + *s.timeOfDay, previous, now);
    }
    case schedule::kHourly: {
      if (s.minutePastHour > 59) return false;
      std::int64_t latest = FloorDiv(now.ms, kMsPerHour) * kMsPerHour + s.minutePastHour * kMsPerMinute;
      if (latest > now.ms) latest -= kMsPerHour;
      return latest > previous.ms;
    }
    case schedule::kDaily:
      return DueOnEitherDate(s, previous, now, [&s](const CheckMoment& m) {
        // The flags go Monday .. Sunday, the weekday Sunday .. Saturday.
        return s.dayFlags[static_cast<std::size_t>((m.weekday + 5) % 7)] != 0;
      });
    case schedule::kWeekly:
      return DueOnEitherDate(s, previous, now, [&s](const CheckMoment& m) { return m.weekday == s.weekday; });
    case schedule::kMonthly:
      if (s.day < 1 || s.day > 31) return false;
      // A day the month does not have (the 31st in April) is the month's last day.
      return DueOnEitherDate(s, previous, now, [&s](const CheckMoment& m) {
        const int last = DaysInMonth(m.year, m.month);
        return m.day == (s.day < last ? s.day : last);
      });
    case schedule::kEveryMinutes: {
      if (s.everyMinutes < 1) return false;
      if (now.ms < previous.ms) {
        // The clock went back: the next run stays as far away as it was.
        s.intervalBase -= previous.ms - now.ms;
        return false;
      }
      const std::int64_t period = s.everyMinutes * kMsPerMinute;
      const std::int64_t periods = FloorDiv(now.ms - s.intervalBase, period);
      if (periods < 1) return false;
      s.intervalBase += periods * period;
      return true;
    }
    case schedule::kIdleMinutes:
      if (s.idleFired || s.everyMinutes < 1 || idleSeconds <= s.everyMinutes * 60) return false;
      s.idleFired = true;
      return true;
    default:
      return false;
  }
}

}  // namespace wdx::player
