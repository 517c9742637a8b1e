// The schedule of a timed macro ("Set Schedule"). It writes no tag: Update checks what the
// user entered for the chosen kind and stores it in the macro record being edited.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "editor/dialogs/command_dialog.h"
#include "forms/controls.h"
#include "forms/dialog.h"
#include "forms/form.h"
#include "platform/clock.h"
#include "shared/date_time.h"
#include "shared/macro_record.h"

namespace wdx::editor {

// The schedule kinds, as the record holds them.
namespace schedule {
enum Kind : std::uint16_t { kStartup, kOnce, kHourly, kDaily, kWeekly, kMonthly, kEveryMinutes, kIdle };
inline constexpr int kKinds = 8;
}  // namespace schedule

// What the dialog shows and the user changes: the chosen kind, the day boxes (Monday first)
// and every panel's fields as typed. List positions are 0-based (-1: nothing chosen).
struct ScheduleEntry {
  int kind = schedule::kStartup;
  std::array<bool, 7> days{};
  std::string onceHour, onceMinute;
  bool oncePm = false;
  int onceMonth = -1;
  std::string onceDay, onceYear;
  std::string hourlyMinutes;
  std::string dailyHour, dailyMinute;
  bool dailyPm = false;
  std::string weeklyHour, weeklyMinute;
  bool weeklyPm = false;
  int weeklyDay = -1;
  std::string monthlyHour, monthlyMinute;
  bool monthlyPm = false;
  std::string monthlyDay;
  std::string otherMinutes, idleMinutes;
};

// GetSched: the schedule in one line ("Daily at 12:00PM,Mon,Fri", "every 15 minutes"); empty
// for a kind the record should not hold.
std::string ScheduleDescription(const TMacroRec& record);
// DefaultTimer: the schedule of a new timed macro: daily on every day at 12:00PM, on `today`'s
// date, 15 minutes past the hour, every 15 minutes.
void DefaultTimer(TMacroRec& record, const CivilDateTime& today);

// The entry the dialog opens with: every panel filled from the record, whatever its kind.
ScheduleEntry EntryOf(const TMacroRec& record);

// Update: checks the chosen kind's fields top to bottom against `today`; on the first failure
// gives it and leaves the record as it was; otherwise stores the kind, the day flags and the
// kind's values. Nothing of a refused entry reaches the record.
std::optional<forms::Fault> StoreSchedule(const ScheduleEntry& entry, const CivilDateTime& today, TMacroRec& record);

class TDoSchedule : public forms::Form {
 public:
  // `record` is the macro being edited; `clock` gives today's date for the once-only check.
  TDoSchedule(TMacroRec& record, platform::Clock& clock, const DialogServices& services);

  forms::GroupBox RunMacro{this, "RunMacro", "Run Macro"};
  forms::RadioButton Startup{&RunMacro, "Startup", "&At Startup"};
  forms::RadioButton Once{&RunMacro, "Once", "&Once"};
  forms::RadioButton Hourly{&RunMacro, "Hourly", "&Hourly"};
  forms::RadioButton Daily{&RunMacro, "Daily", "&Daily"};
  forms::RadioButton Weekly{&RunMacro, "Weekly", "&Weekly"};
  forms::RadioButton Monthly{&RunMacro, "Monthly", "&Monthly"};
  forms::RadioButton Idle{&RunMacro, "Idle", "&Time Out"};
  forms::RadioButton Other{&RunMacro, "Other", "Oth&er"};

  forms::GroupBox OncePanel{this, "OncePanel", "Start Macro At"};
  forms::Edit OnceTimeHour{&OncePanel, "OnceTimeHour"};
  forms::Label OnceColon{&OncePanel, "OnceColon", ":"};
  forms::Edit OnceTimeMin{&OncePanel, "OnceTimeMin"};
  forms::ComboBox OnceTimePM{&OncePanel, "OnceTimePM", forms::ComboStyle::kDropDownList};
  forms::Label OnceOn{&OncePanel, "OnceOn", "on"};
  forms::ComboBox OnceMonth{&OncePanel, "OnceMonth", forms::ComboStyle::kDropDownList};
  forms::Edit OnceDay{&OncePanel, "OnceDay"};
  forms::Edit OnceYear{&OncePanel, "OnceYear"};
  forms::SpinButton OnceDaySpin{&OncePanel, "OnceDaySpin"};
  forms::SpinButton OnceYearSpin{&OncePanel, "OnceYearSpin"};

  forms::GroupBox HourlyPanel{this, "HourlyPanel", "Start Macro At"};
  forms::SpinButton HourlyMinutesSpin{&HourlyPanel, "HourlyMinutesSpin"};
  forms::Edit HourlyMinutes{&HourlyPanel, "HourlyMinutes"};
  forms::Label HourlyText{&HourlyPanel, "HourlyText", "minutes after the hour"};

  forms::GroupBox DailyPanel{this, "DailyPanel", "Start Macro At"};
  forms::Edit DailyHour{&DailyPanel, "DailyHour"};
  forms::Label DailyColon{&DailyPanel, "DailyColon", ":"};
  forms::Edit DailyMin{&DailyPanel, "DailyMin"};
  forms::ComboBox DailyPM{&DailyPanel, "DailyPM", forms::ComboStyle::kDropDownList};
  forms::CheckBox Sunday{&DailyPanel, "Sunday", "Su&n"};
  forms::CheckBox Monday{&DailyPanel, "Monday", "&Mon"};
  forms::CheckBox Tuesday{&DailyPanel, "Tuesday", "&Tue"};
  forms::CheckBox Wednesday{&DailyPanel, "Wednesday", "&Wed"};
  forms::CheckBox Thursday{&DailyPanel, "Thursday", "Th&u"};
  forms::CheckBox Friday{&DailyPanel, "Friday", "&Fri"};
  forms::CheckBox Saturday{&DailyPanel, "Saturday", "&Sat"};

  forms::GroupBox WeeklyPanel{this, "WeeklyPanel", "Start Macro At"};
  forms::Edit WeeklyHour{&WeeklyPanel, "WeeklyHour"};
  forms::Label WeeklyColon{&WeeklyPanel, "WeeklyColon", ":"};
  forms::Edit WeeklyMin{&WeeklyPanel, "WeeklyMin"};
  forms::ComboBox WeeklyPM{&WeeklyPanel, "WeeklyPM", forms::ComboStyle::kDropDownList};
  forms::Label WeeklyEvery{&WeeklyPanel, "WeeklyEvery", "every"};
  forms::ComboBox WeeklyDayOfWeek{&WeeklyPanel, "WeeklyDayOfWeek", forms::ComboStyle::kDropDownList};

  forms::GroupBox MonthlyPanel{this, "MonthlyPanel", "Start Macro At"};
  forms::Edit MonthlyHour{&MonthlyPanel, "MonthlyHour"};
  forms::Label MonthlyColon{&MonthlyPanel, "MonthlyColon", ":"};
  forms::Edit MonthlyMin{&MonthlyPanel, "MonthlyMin"};
  forms::ComboBox MonthlyPM{&MonthlyPanel, "MonthlyPM", forms::ComboStyle::kDropDownList};
  forms::Label MonthlyOnThe{&MonthlyPanel, "MonthlyOnThe", "on the"};
  forms::SpinButton MonthlyDaySpin{&MonthlyPanel, "MonthlyDaySpin"};
  forms::Edit MonthlyDay{&MonthlyPanel, "MonthlyDay"};
  forms::Label MonthlyText{&MonthlyPanel, "MonthlyText", "day of the month"};

  forms::GroupBox OtherPanel{this, "OtherPanel", "Start Macro"};
  forms::Label OtherEvery{&OtherPanel, "OtherEvery", "every"};
  forms::Edit OtherMinutes{&OtherPanel, "OtherMinutes"};
  forms::SpinButton OtherMinutesSpin{&OtherPanel, "OtherMinutesSpin"};
  forms::Label OtherText{&OtherPanel, "OtherText", "minutes"};

  forms::GroupBox IdlePanel{this, "IdlePanel", "Start Macro"};
  forms::Label IdleAfter{&IdlePanel, "IdleAfter", "after"};
  forms::Edit IdleMinutes{&IdlePanel, "IdleMinutes"};
  forms::SpinButton SpinButton1{&IdlePanel, "SpinButton1"};
  forms::Label IdleText{&IdlePanel, "IdleText", "minutes of idle time"};

  forms::Button UpdateButton{this, "UpdateButton", "&Update"};
  forms::Button CancelButton{this, "CancelButton", "&Cancel"};

 private:
  void FormShow();
  // Shows and enables the chosen kind's panel, hides and disables the others.
  void ShowPanelOf(int kind);
  int CheckedKind() const;
  ScheduleEntry ReadEntry() const;
  void UpdateButtonClick();
  void Spin(forms::Edit& edit, int step, std::int32_t low, std::int32_t high);

  TMacroRec& record_;
  platform::Clock& clock_;
  const DialogServices& services_;
  forms::RadioButton* const kinds_[schedule::kKinds] = {&Startup, &Once, &Hourly, &Daily,
                                                         &Weekly,  &Monthly, &Other, &Idle};
  forms::GroupBox* const panels_[schedule::kKinds] = {nullptr,      &OncePanel,    &HourlyPanel, &DailyPanel,
                                                       &WeeklyPanel, &MonthlyPanel, &OtherPanel,  &IdlePanel};
  forms::CheckBox* const dayBoxes_[7] = {&Monday, &Tuesday, &Wednesday, &Thursday, &Friday, &Saturday, &Sunday};
};

}  // namespace wdx::editor
