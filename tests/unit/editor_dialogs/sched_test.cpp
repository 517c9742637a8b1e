// The schedule dialog: its checks as one table on the model, then the form over a record.
#include "editor/dialogs/sched.h"

#include <gtest/gtest.h>

#include <functional>

#include "dialog_fixture.h"

namespace wdx::editor {
namespace {

// Today, for the once-only date check: 10 June 2026.
const CivilDateTime kToday{2026, 6, 10, 15, 30};

ScheduleEntry Entry(int kind) {
  ScheduleEntry e;
  e.kind = kind;
  e.onceHour = e.dailyHour = e.weeklyHour = e.monthlyHour = "9";
  e.onceMinute = e.dailyMinute = e.weeklyMinute = e.monthlyMinute = "05";
  e.onceMonth = 5;  // June
  e.onceDay = "10";
  e.onceYear = "2026";
  e.hourlyMinutes = "15";
  e.weeklyDay = 0;
  e.monthlyDay = "1";
  e.otherMinutes = e.idleMinutes = "15";
  return e;
}

TEST(ScheduleChecks, EveryKindAcceptsAndRefusesAsItsFieldsSay) {
  struct Case {
    const char* name;
    int kind;
    std::function<void(ScheduleEntry&)> change;
    const char* field;    // nullptr: accepted
    const char* message;
  } cases[] = {
      {"at start-up needs nothing", schedule::kStartup, [](ScheduleEntry& e) { e.onceHour = "x"; }, nullptr, ""},
      {"once today, its hour already past", schedule::kOnce, [](ScheduleEntry& e) { e.onceHour = "1"; }, nullptr, ""},
      {"once, 29 Feb of a leap year", schedule::kOnce,
       [](ScheduleEntry& e) { e.onceYear = "2028"; e.onceMonth = 1; e.onceDay = "29"; }, nullptr, ""},
      {"once, 29 Feb 2400", schedule::kOnce,
       [](ScheduleEntry& e) { e.onceYear = "2400"; e.onceMonth = 1; e.onceDay = "29"; }, nullptr, ""},
      {"once, 29 Feb of a common year", schedule::kOnce,
       [](ScheduleEntry& e) { e.onceYear = "2027"; e.onceMonth = 1; e.onceDay = "29"; }, "OnceDay",
       "Invalid day of month specified."},
      {"once, 29 Feb 2100 (no leap year)", schedule::kOnce,
       [](ScheduleEntry& e) { e.onceYear = "2100"; e.onceMonth = 1; e.onceDay = "29"; }, "OnceDay",
       "Invalid day of month specified."},
      {"once, 31 April", schedule::kOnce, [](ScheduleEntry& e) { e.onceMonth = 3; e.onceDay = "31"; }, "OnceDay",
       "Invalid day of month specified."},
      {"once, day 257", schedule::kOnce, [](ScheduleEntry& e) { e.onceDay = "257"; }, "OnceDay",
       "Invalid day of month specified."},
      {"once, day 12abc", schedule::kOnce, [](ScheduleEntry& e) { e.onceDay = "12abc"; }, "OnceDay",
       "Invalid day of month specified."},
      {"once, hour 13", schedule::kOnce, [](ScheduleEntry& e) { e.onceHour = "13"; }, "OnceTimeHour",
       "Invalid hour specified."},
      {"once, hour and minute both bad: the hour", schedule::kOnce,
       [](ScheduleEntry& e) { e.onceHour = ""; e.onceMinute = "60"; }, "OnceTimeHour", "Invalid hour specified."},
      {"once, minute 60", schedule::kOnce, [](ScheduleEntry& e) { e.onceMinute = "60"; }, "OnceTimeMin",
       "Invalid minute specified."},
      {"once, blank minute", schedule::kOnce, [](ScheduleEntry& e) { e.onceMinute = " "; }, "OnceTimeMin",
       "Invalid minute specified."},
      {"once, year too large for the record", schedule::kOnce, [](ScheduleEntry& e) { e.onceYear = "70000"; },
       "OnceYear", "Invalid year specified."},
      {"once, elapsed: a past year", schedule::kOnce, [](ScheduleEntry& e) { e.onceYear = "2025"; e.onceMonth = 11; },
       "OnceYear", "Specified date has already elapsed."},
      {"once, elapsed: a past month", schedule::kOnce, [](ScheduleEntry& e) { e.onceMonth = 4; e.onceDay = "30"; },
       "OnceMonth", "Specified date has already elapsed."},
      {"once, elapsed: yesterday", schedule::kOnce, [](ScheduleEntry& e) { e.onceDay = "9"; }, "OnceDay",
       "Specified date has already elapsed."},
      {"hourly, 5 and a blank", schedule::kHourly, [](ScheduleEntry& e) { e.hourlyMinutes = "5 "; }, nullptr, ""},
      {"hourly, 5x", schedule::kHourly, [](ScheduleEntry& e) { e.hourlyMinutes = "5x"; }, "HourlyMinutes",
       "Invalid minutes specified."},
      {"hourly, 60", schedule::kHourly, [](ScheduleEntry& e) { e.hourlyMinutes = "60"; }, "HourlyMinutes",
       "Invalid minutes specified."},
      {"daily with no day ticked", schedule::kDaily, [](ScheduleEntry& e) { e.days = {}; }, nullptr, ""},
      {"daily, hour 0", schedule::kDaily, [](ScheduleEntry& e) { e.dailyHour = "0"; }, "DailyHour",
       "Invalid hour specified."},
      {"weekly, minute -1", schedule::kWeekly, [](ScheduleEntry& e) { e.weeklyMinute = "-1"; }, "WeeklyMin",
       "Invalid minute specified."},
      {"monthly, day 31 whatever the month", schedule::kMonthly, [](ScheduleEntry& e) { e.monthlyDay = "31"; },
       nullptr, ""},
      {"monthly, day 32", schedule::kMonthly, [](ScheduleEntry& e) { e.monthlyDay = "32"; }, "MonthlyDay",
       "Invalid day of month specified."},
      {"every 720 minutes", schedule::kEveryMinutes, [](ScheduleEntry& e) { e.otherMinutes = "720"; }, nullptr, ""},
      {"every 721 minutes", schedule::kEveryMinutes, [](ScheduleEntry& e) { e.otherMinutes = "721"; }, "OtherMinutes",
       "Invalid minutes specified.  Must be between 1 and 720."},
      {"every 0 minutes", schedule::kEveryMinutes, [](ScheduleEntry& e) { e.otherMinutes = "0"; }, "OtherMinutes",
       "Invalid minutes specified.  Must be between 1 and 720."},
      {"idle 90 minutes", schedule::kIdle, [](ScheduleEntry& e) { e.idleMinutes = "90"; }, nullptr, ""},
      {"idle 91 minutes", schedule::kIdle, [](ScheduleEntry& e) { e.idleMinutes = "91"; }, "IdleMinutes",
       "Invalid minutes specified.  Must be between 1 and 90."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScheduleEntry e = Entry(c.kind);
    c.change(e);
    TMacroRec record;
    record.SetHour(3);
    const TMacroRec before = record;
    const std::optional<forms::Fault> fault = StoreSchedule(e, kToday, record);
    if (c.field == nullptr) {
      EXPECT_FALSE(fault) << fault->message;
      EXPECT_EQ(record.ScheduleKind(), c.kind);
    } else {
      ASSERT_TRUE(fault);
      EXPECT_EQ(fault->field, c.field);
      EXPECT_EQ(fault->message, c.message);
      // Nothing of a refused entry reaches the record.
      EXPECT_EQ(record, before);
    }
  }
}

TEST(ScheduleChecks, EachKindStoresItsOwnFields) {
  TMacroRec r;
  ScheduleEntry once = Entry(schedule::kOnce);
  once.oncePm = true;
  once.onceMonth = 11;
  once.onceDay = "24";
  once.days = {true, false, false, false, false, false, true};
  ASSERT_FALSE(StoreSchedule(once, kToday, r));
  EXPECT_EQ(r.ScheduleKind(), schedule::kOnce);
  EXPECT_EQ(r.Hour(), 9);
  EXPECT_EQ(r.Minute(), 5);
  EXPECT_EQ(r.Pm(), 1);
  EXPECT_EQ(r.Month(), 12);
  EXPECT_EQ(r.Day(), 24);
  EXPECT_EQ(r.Year(), 2026);
  EXPECT_EQ(r.DayFlag(0), 1);
  EXPECT_EQ(r.DayFlag(6), 1);
  EXPECT_EQ(r.DayFlag(3), 0);

  ScheduleEntry weekly = Entry(schedule::kWeekly);
  weekly.weeklyDay = 6;  // Saturday
  ASSERT_FALSE(StoreSchedule(weekly, kToday, r));
  EXPECT_EQ(r.Weekday(), 7);
  EXPECT_EQ(r.Pm(), 0);

  ScheduleEntry idle = Entry(schedule::kIdle);
  idle.idleMinutes = "42";
  ASSERT_FALSE(StoreSchedule(idle, kToday, r));
  EXPECT_EQ(r.EveryMinutes(), 42);
  EXPECT_EQ(r.Year(), 2026);  // fields of other kinds stay
}

class ScheduleDialogTest : public testing::DialogTest, public ::testing::Test {
 protected:
  ScheduleDialogTest() {
    mem.clock.SetNow(EncodeDate(2026, 6, 10) + 0.6);
    // A new timed macro's defaults.
    record.SetScheduleKind(schedule::kDaily);
    for (int d = 0; d < 7; ++d) record.SetDayFlag(d, 1);
    record.SetHour(12);
    record.SetPm(1);
    record.SetMinute(0);
    record.SetMonth(6);
    record.SetDay(10);
    record.SetYear(2026);
    record.SetWeekday(4);
    record.SetMinutePastHour(15);
    record.SetEveryMinutes(15);
  }
  TMacroRec record;
};

TEST_F(ScheduleDialogTest, OpensOnTheRecordAndStoresWhatTheUserChose) {
  TDoSchedule d(record, mem.clock, services);
  runner.Then([](forms::Form& f) {
    EXPECT_TRUE(Get<forms::RadioButton>(f, "Daily").checked());
    EXPECT_TRUE(Get<forms::GroupBox>(f, "DailyPanel").visible());
    EXPECT_FALSE(Get<forms::GroupBox>(f, "OncePanel").visible());
    EXPECT_EQ(Get<forms::Edit>(f, "DailyMin").text(), "00");
    EXPECT_EQ(Get<forms::ComboBox>(f, "DailyPM").text(), "PM");
    EXPECT_EQ(Get<forms::ComboBox>(f, "OnceMonth").text(), "June");
    EXPECT_EQ(Get<forms::ComboBox>(f, "WeeklyDayOfWeek").text(), "Wednesday");
    Click(f, "Weekly");
    EXPECT_TRUE(Get<forms::GroupBox>(f, "WeeklyPanel").visible());
    EXPECT_FALSE(Get<forms::GroupBox>(f, "DailyPanel").visible());
    Type(f, "WeeklyHour", "7");
    Type(f, "WeeklyMin", "45");
    forms::user::Select(Get<forms::ComboBox>(f, "WeeklyPM"), 0);
    forms::user::Select(Get<forms::ComboBox>(f, "WeeklyDayOfWeek"), 1);
    Click(f, "UpdateButton");
  });
  EXPECT_EQ(runner.ShowModal(d), forms::ModalResult::kOk);
  EXPECT_EQ(record.ScheduleKind(), schedule::kWeekly);
  EXPECT_EQ(record.Hour(), 7);
  EXPECT_EQ(record.Minute(), 45);
  EXPECT_EQ(record.Pm(), 0);
  EXPECT_EQ(record.Weekday(), 2);
}

TEST_F(ScheduleDialogTest, ARefusedUpdateThenCancelLeavesTheRecordAsItWas) {
  const TMacroRec before = record;
  TDoSchedule d(record, mem.clock, services);
  runner.Then([](forms::Form& f) {
    Click(f, "Once");
    Type(f, "OnceTimeHour", "8");
    Type(f, "OnceYear", "2025");
    Click(f, "UpdateButton");
    EXPECT_TRUE(f.AcceptsInput());
    EXPECT_EQ(f.activeControl()->name(), "OnceYear");
    forms::user::PressEscape(f);
  });
  EXPECT_EQ(runner.ShowModal(d), forms::ModalResult::kCancel);
  ASSERT_EQ(mem.boxes.shown.size(), 1u);
  EXPECT_EQ(mem.boxes.shown[0].text, "Specified date has already elapsed.");
  EXPECT_EQ(record, before);
}

TEST_F(ScheduleDialogTest, SpinButtonsStepWithinTheirBounds) {
  TDoSchedule d(record, mem.clock, services);
  runner.Then([](forms::Form& f) {
    Click(f, "Other");
    auto& spin = Get<forms::SpinButton>(f, "OtherMinutesSpin");
    Type(f, "OtherMinutes", "719");
    forms::user::SpinUp(spin);
    forms::user::SpinUp(spin);
    EXPECT_EQ(Get<forms::Edit>(f, "OtherMinutes").text(), "720");
    Click(f, "Idle");
    Type(f, "IdleMinutes", "1");
    forms::user::SpinDown(Get<forms::SpinButton>(f, "SpinButton1"));
    EXPECT_EQ(Get<forms::Edit>(f, "IdleMinutes").text(), "1");
    forms::user::PressEscape(f);
  });
  runner.ShowModal(d);
  EXPECT_EQ(runner.shown.back().result, forms::ModalResult::kCancel);
}

}  // namespace
}  // namespace wdx::editor

namespace wdx::editor {
namespace {

TEST(ScheduleDescription, EachKindInOneLine) {
  TMacroRec r;
  DefaultTimer(r, {2026, 6, 10});  // a Wednesday
  EXPECT_EQ(r.Weekday(), 4);
  EXPECT_EQ(ScheduleDescription(r), "Daily at 12:00PM,Sun,Mon,Tue,Wed,Thu,Fri,Sat");
  for (int d = 0; d < 7; ++d) r.SetDayFlag(d, d == 0 || d == 4 ? 1 : 0);  // Monday and Friday
  EXPECT_EQ(ScheduleDescription(r), "Daily at 12:00PM,Mon,Fri");
  r.SetScheduleKind(schedule::kOnce);
  r.SetHour(9);
  r.SetMinute(5);
  r.SetPm(0);
  r.SetDay(5);
  r.SetMonth(7);
  r.SetYear(2000);
  EXPECT_EQ(ScheduleDescription(r), "Once at 9:05AM on 5 July 2000");
  r.SetScheduleKind(schedule::kWeekly);
  EXPECT_EQ(ScheduleDescription(r), "Weekly at 9:05AM on Wednesday");
  r.SetScheduleKind(schedule::kMonthly);
  EXPECT_EQ(ScheduleDescription(r), "Monthly at 9:05AM on day 5 of each month");
  r.SetScheduleKind(schedule::kHourly);
  EXPECT_EQ(ScheduleDescription(r), "Hourly at 15 minutes past the hour");
  r.SetScheduleKind(schedule::kEveryMinutes);
  EXPECT_EQ(ScheduleDescription(r), "every 15 minutes");
  r.SetScheduleKind(schedule::kIdle);
  EXPECT_EQ(ScheduleDescription(r), "after 15 minutes of idle time");
  r.SetScheduleKind(schedule::kStartup);
  EXPECT_EQ(ScheduleDescription(r), "At Startup");
  r.SetScheduleKind(9);
  EXPECT_EQ(ScheduleDescription(r), "");
}

}  // namespace
}  // namespace wdx::editor
