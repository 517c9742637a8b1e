// The due decisions of the schedule kinds: a slot made from a record, the previous check and
// this one → due or not.
#include <gtest/gtest.h>

#include <string>

#include "player/core/schedule_slots.h"
#include "shared/date_time.h"

namespace wdx::player {
namespace {

std::int64_t At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return static_cast<std::int64_t>(EncodeDate(y, mo, d)) * kMsPerDay + h * kMsPerHour + mi * kMsPerMinute + s * 1000;
}

// The schedule fields of a record as the editor's dialog writes them: a 12-hour clock with the
// PM flag, day flags as the letters of the days (M T W R F S U).
struct Spec {
  std::uint16_t kind = 0;
  int hour = 12, minute = 0;
  bool pm = false;
  int month = 0, day = 0, minutePast = 0, weekday = 0, year = 0, minutes = 0;
  std::string days;
};

ScheduleSlot Slot(const Spec& s, std::int64_t built = 0) {
  TMacroRec r;
  r.SetScheduleKind(s.kind);
  r.SetHour(static_cast<std::uint8_t>(s.hour));
  r.SetMinute(static_cast<std::uint8_t>(s.minute));
  r.SetPm(s.pm ? 1 : 0);
  r.SetMonth(static_cast<std::uint8_t>(s.month));
  r.SetDay(static_cast<std::uint8_t>(s.day));
  r.SetMinutePastHour(static_cast<std::uint8_t>(s.minutePast));
  r.SetWeekday(static_cast<std::uint8_t>(s.weekday));
  r.SetYear(static_cast<std::uint16_t>(s.year));
  r.SetEveryMinutes(static_cast<std::uint16_t>(s.minutes));
  const std::string letters = "MTWRFSU";
  for (const char c : s.days) r.SetDayFlag(static_cast<int>(letters.find(c)), 1);
  return SlotOf(7, r, built);
}

bool Due(const Spec& s, std::int64_t previous, std::int64_t now) {
  ScheduleSlot slot = Slot(s);
  return IsDue(slot, CheckMoment::At(previous), CheckMoment::At(now), 0);
}

// 2024-03-04 is a Monday; 2024 is a leap year, 2023 is not.
TEST(ScheduleSlotsTest, TheTimedKindsAreDueWhenTheirTimeFallsBetweenTwoChecks) {
  using namespace schedule;
  const Spec once10{kOnce, 10, 0, false, 3, 4, 0, 0, 2024};
  const Spec onceMidnight{kOnce, 12, 0, false, 3, 5, 0, 0, 2024};
  const Spec onceNoon{kOnce, 12, 0, true, 3, 4, 0, 0, 2024};
  const Spec onceLeapDay{kOnce, 8, 0, false, 2, 29, 0, 0, 2024};
  const Spec hourly15{kHourly, 12, 0, false, 0, 0, 15};
  const Spec hourly0{kHourly, 12, 0, false, 0, 0, 0};
  const Spec mondayMidnight{kDaily, 12, 0, false, 0, 0, 0, 0, 0, 0, "M"};
  const Spec monday8{kDaily, 8, 0, false, 0, 0, 0, 0, 0, 0, "M"};
  const Spec weekdays1pm{kDaily, 1, 0, true, 0, 0, 0, 0, 0, 0, "MTWRF"};
  const Spec weeklyMonday8{kWeekly, 8, 0, false, 0, 0, 0, 2};
  const Spec monthly15{kMonthly, 9, 0, false, 0, 15};
  const Spec monthly31{kMonthly, 9, 0, false, 0, 31};
  const Spec monthly29{kMonthly, 9, 0, false, 0, 29};
  const Spec monthly30{kMonthly, 9, 0, false, 0, 30};
  const Spec monthly1Midnight{kMonthly, 12, 0, false, 0, 1};
  struct Row {
    const char* what;
    Spec slot;
    std::int64_t previous, now;
    bool due;
  } rows[] = {
      {"once, running across its time", once10, At(2024, 3, 4, 9, 59, 55), At(2024, 3, 4, 10, 0, 5), true},
      {"once, exactly at its time", once10, At(2024, 3, 4, 9, 59, 55), At(2024, 3, 4, 10), true},
      {"once, started after its time", once10, At(2024, 3, 4, 10, 5), At(2024, 3, 4, 10, 5, 10), false},
      {"once, the day before", once10, At(2024, 3, 3, 9, 59, 55), At(2024, 3, 3, 10, 0, 5), false},
      {"once at 12 AM, the first check after midnight", onceMidnight, At(2024, 3, 4, 23, 59, 55),
       At(2024, 3, 5, 0, 0, 5), true},
      {"once at 12 PM is noon", onceNoon, At(2024, 3, 4, 11, 59, 55), At(2024, 3, 4, 12, 0, 5), true},
      {"once, slept through the day before", once10, At(2024, 3, 4, 7), At(2024, 3, 5, 9), false},
      {"once, slept through its time that day", once10, At(2024, 3, 4, 7), At(2024, 3, 4, 11), true},
      {"once on a leap day", onceLeapDay, At(2024, 2, 29, 7, 59, 55), At(2024, 2, 29, 8, 0, 5), true},
      {"once, clock set back over its time", once10, At(2024, 3, 4, 11), At(2024, 3, 4, 9), false},

      {"hourly at :15, checks either side", hourly15, At(2024, 3, 4, 10, 14, 55), At(2024, 3, 4, 10, 15, 5), true},
      {"hourly at :15, the check after", hourly15, At(2024, 3, 4, 10, 15, 5), At(2024, 3, 4, 10, 15, 15), false},
      {"hourly at :00, a minute's ticks", hourly0, At(2024, 3, 4, 10, 59, 30), At(2024, 3, 4, 11, 0, 30), true},
      {"hourly at :00, not the first check after start", hourly0, At(2024, 3, 4, 10, 5), At(2024, 3, 4, 10, 5, 10),
       false},
      {"hourly at :00 across midnight", hourly0, At(2024, 3, 4, 23, 59, 55), At(2024, 3, 5, 0, 0, 5), true},
      {"hourly at :15, a long run covered 11:15", hourly15, At(2024, 3, 4, 10, 20), At(2024, 3, 4, 12, 10), true},
      {"hourly, clock set back an hour", hourly15, At(2024, 3, 4, 11, 20), At(2024, 3, 4, 10, 20), false},

      {"daily Monday 12 AM, first check on Monday", mondayMidnight, At(2024, 3, 3, 23, 59, 55),
       At(2024, 3, 4, 0, 0, 5), true},
      {"daily Monday 12 AM, not again on Tuesday", mondayMidnight, At(2024, 3, 4, 23, 59, 55),
       At(2024, 3, 5, 0, 0, 5), false},
      {"daily Monday 8:00, at its time", monday8, At(2024, 3, 4, 7, 59, 55), At(2024, 3, 4, 8, 0, 5), true},
      {"daily Monday 8:00, slept through it: Tuesday's first check", monday8, At(2024, 3, 4, 7),
       At(2024, 3, 5, 9), true},
      {"daily Monday 8:00, ran, then slept to Tuesday", monday8, At(2024, 3, 4, 20), At(2024, 3, 5, 9), false},
      {"daily Monday 8:00, not on Tuesday", monday8, At(2024, 3, 5, 7, 59, 55), At(2024, 3, 5, 8, 0, 5), false},
      {"daily Monday 8:00, clock set back a day", monday8, At(2024, 3, 5, 9), At(2024, 3, 4, 9), false},
      {"daily weekdays 1 PM on Friday", weekdays1pm, At(2024, 3, 8, 12, 59, 55), At(2024, 3, 8, 13, 0, 5), true},
      {"daily weekdays 1 PM, not on Saturday", weekdays1pm, At(2024, 3, 9, 12, 59, 55), At(2024, 3, 9, 13, 0, 5),
       false},

      {"weekly Monday 8:00", weeklyMonday8, At(2024, 3, 4, 7, 59, 55), At(2024, 3, 4, 8, 0, 5), true},
      {"weekly Monday 8:00, on Tuesday", weeklyMonday8, At(2024, 3, 5, 7, 59, 55), At(2024, 3, 5, 8, 0, 5), false},
      {"weekly Monday 8:00, slept through it", weeklyMonday8, At(2024, 3, 4, 7), At(2024, 3, 5, 9), true},

      {"monthly 15th", monthly15, At(2024, 3, 15, 8, 59, 55), At(2024, 3, 15, 9, 0, 5), true},
      {"monthly 15th, on the 16th", monthly15, At(2024, 3, 16, 8, 59, 55), At(2024, 3, 16, 9, 0, 5), false},
      {"monthly 31st in a month of 31", monthly31, At(2024, 3, 31, 8, 59, 55), At(2024, 3, 31, 9, 0, 5), true},
      {"monthly 31st, not on the 30th of March", monthly31, At(2024, 3, 30, 8, 59, 55), At(2024, 3, 30, 9, 0, 5),
       false},
      {"monthly 31st on April's last day", monthly31, At(2024, 4, 30, 8, 59, 55), At(2024, 4, 30, 9, 0, 5), true},
      {"monthly 31st on a leap February's last day", monthly31, At(2024, 2, 29, 8, 59, 55),
       At(2024, 2, 29, 9, 0, 5), true},
      {"monthly 30th, not on the 28th of a leap February", monthly30, At(2024, 2, 28, 8, 59, 55),
       At(2024, 2, 28, 9, 0, 5), false},
      {"monthly 29th on the leap day", monthly29, At(2024, 2, 29, 8, 59, 55), At(2024, 2, 29, 9, 0, 5), true},
      {"monthly 29th, the 28th of a leap February", monthly29, At(2024, 2, 28, 8, 59, 55), At(2024, 2, 28, 9, 0, 5),
       false},
      {"monthly 29th, the 28th of a common February", monthly29, At(2023, 2, 28, 8, 59, 55),
       At(2023, 2, 28, 9, 0, 5), true},
      {"monthly 1st 12 AM across the month's end", monthly1Midnight, At(2024, 1, 31, 23, 59, 55),
       At(2024, 2, 1, 0, 0, 5), true},
      {"monthly 1st 12 AM, not again on the 2nd", monthly1Midnight, At(2024, 2, 1, 23, 59, 55),
       At(2024, 2, 2, 0, 0, 5), false},
      {"monthly 1st 12 AM across the year's end", monthly1Midnight, At(2024, 12, 31, 23, 59, 55),
       At(2025, 1, 1, 0, 0, 5), true},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    EXPECT_EQ(Due(r.slot, r.previous, r.now), r.due);
  }
}

// Fields a hand-edited library may hold: the slot is never due, whenever it is checked.
TEST(ScheduleSlotsTest, ImpossibleFieldsAreNeverDue) {
  using namespace schedule;
  const Spec rows[] = {
      {kOnce, 8, 0, false, 2, 31, 0, 0, 2024},   // 31 February
      {kOnce, 8, 0, false, 2, 29, 0, 0, 2023},   // 29 February of a common year
      {kOnce, 8, 0, false, 13, 1, 0, 0, 2024},   // month 13
      {kOnce, 25, 0, false, 3, 4, 0, 0, 2024},   // hour 25
      {kOnce, 8, 75, false, 3, 4, 0, 0, 2024},   // minute 75
      {kDaily, 25, 0, false, 0, 0, 0, 0, 0, 0, "MTWRFSU"},
      {kHourly, 12, 0, false, 0, 0, 60},
      {kWeekly, 8, 0, false, 0, 0, 0, 8},
      {kWeekly, 8, 0, false, 0, 0, 0, 0},
      {kMonthly, 8, 0, false, 0, 0},
      {kMonthly, 8, 0, false, 0, 32},
      {kEveryMinutes, 12, 0, false, 0, 0, 0, 0, 0, 0},
      {kIdleMinutes, 12, 0, false, 0, 0, 0, 0, 0, 0},
      {9},
  };
  for (const Spec& s : rows) {
    SCOPED_TRACE(s.kind);
    ScheduleSlot slot = Slot(s, At(2023, 1, 1));
    // Every minute over two years, at one check a minute: long enough to meet any real date.
    for (std::int64_t t = At(2023, 1, 1); t < At(2025, 1, 1); t += kMsPerMinute * 7) {
      ASSERT_FALSE(IsDue(slot, CheckMoment::At(t), CheckMoment::At(t + kMsPerMinute * 7), 1'000'000)) << t;
    }
  }
}

// Every N minutes counts from the table's building: each period once, periods that passed
// without a check are not made up, and a clock set back keeps the next run as far away.
TEST(ScheduleSlotsTest, EveryNMinutesRunsOncePerPeriodFromTheTable) {
  ScheduleSlot slot = Slot({schedule::kEveryMinutes, 12, 0, false, 0, 0, 0, 0, 0, 15}, At(2024, 3, 4, 10));
  std::int64_t previous = At(2024, 3, 4, 10);
  const auto check = [&](std::int64_t now) {
    const bool due = IsDue(slot, CheckMoment::At(previous), CheckMoment::At(now), 0);
    previous = now;
    return due;
  };
  EXPECT_FALSE(check(At(2024, 3, 4, 10, 14, 55)));
  EXPECT_TRUE(check(At(2024, 3, 4, 10, 15, 5)));
  EXPECT_FALSE(check(At(2024, 3, 4, 10, 15, 15)));
  EXPECT_TRUE(check(At(2024, 3, 4, 10, 30)));
  // An hour with no check (a long macro, a sleeping computer): one run, then the usual rhythm.
  EXPECT_TRUE(check(At(2024, 3, 4, 11, 37)));
  EXPECT_FALSE(check(At(2024, 3, 4, 11, 44)));
  EXPECT_TRUE(check(At(2024, 3, 4, 11, 45)));
  // Across midnight as on any other minute.
  previous = At(2024, 3, 4, 23, 59, 50);
  slot.intervalBase = At(2024, 3, 4, 23, 45);
  EXPECT_TRUE(check(At(2024, 3, 5, 0, 0, 0)));
  EXPECT_FALSE(check(At(2024, 3, 5, 0, 5)));
  // The clock goes back an hour five minutes after a run: the next run is ten minutes on.
  EXPECT_FALSE(check(At(2024, 3, 4, 23, 5)));
  EXPECT_FALSE(check(At(2024, 3, 4, 23, 14, 55)));
  EXPECT_TRUE(check(At(2024, 3, 4, 23, 15, 5)));
}

TEST(ScheduleSlotsTest, IdleMinutesRunOnceWhenTheIdleTimeIsPast) {
  ScheduleSlot slot = Slot({schedule::kIdleMinutes, 12, 0, false, 0, 0, 0, 0, 0, 10});
  const CheckMoment t = CheckMoment::At(At(2024, 3, 4, 10));
  EXPECT_FALSE(IsDue(slot, t, t, 590));
  EXPECT_FALSE(IsDue(slot, t, t, 600));
  EXPECT_TRUE(IsDue(slot, t, t, 601));
  EXPECT_TRUE(slot.idleFired);
  EXPECT_FALSE(IsDue(slot, t, t, 1200));
}

}  // namespace
}  // namespace wdx::player
