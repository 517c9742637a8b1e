#include "editor/dialogs/sched.h"

#include "editor/dialogs/dialog_fields.h"
#include "editor/dialogs/dialog_layout.h"

namespace wdx::editor {

namespace {

constexpr const char* kHourMessage = "Invalid hour specified.";
constexpr const char* kMinuteMessage = "Invalid minute specified.";
constexpr const char* kDayMessage = "Invalid day of month specified.";

std::string Digits(int n) { return std::to_string(n); }
std::string TwoDigits(int n) { return n < 10 ? "0" + std::to_string(n) : std::to_string(n); }

// An hour and minute of one panel, checked in that order.
struct TimeOfDay {
  std::uint8_t hour = 0;
  std::uint8_t minute = 0;
};
std::optional<forms::Fault> CheckTime(const std::string& hourField, const std::string& hour,
                                      const std::string& minuteField, const std::string& minute, TimeOfDay& out) {
  const CheckedNumber h = CheckNumber({hourField, hour, 1, 12, kHourMessage});
  if (h.fault) return h.fault;
  const CheckedNumber m = CheckNumber({minuteField, minute, 0, 59, kMinuteMessage});
  if (m.fault) return m.fault;
  out = {static_cast<std::uint8_t>(h.value), static_cast<std::uint8_t>(m.value)};
  return std::nullopt;
}

}  // namespace

namespace {
const char* const kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
const char* const kDayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

template <std::size_t N>
std::string NameAt(const char* const (&names)[N], int oneBased) {
  return oneBased >= 1 && oneBased <= static_cast<int>(N) ? names[oneBased - 1] : "";
}
}  // namespace

std::string ScheduleDescription(const TMacroRec& r) {
  const std::string t = Digits(r.Hour()) + ":" + TwoDigits(r.Minute()) + (r.Pm() != 0 ? "PM" : "AM");
  switch (r.ScheduleKind()) {
    case schedule::kStartup:
      return "At Startup";
    case schedule::kOnce:
      return "Once at " + t + " on " + Digits(r.Day()) + " " + NameAt(kMonthNames, r.Month()) + " " + Digits(r.Year());
    case schedule::kHourly:
      return "Hourly at " + Digits(r.MinutePastHour()) + " minutes past the hour";
    case schedule::kDaily: {
      std::string text = "Daily at " + t;
      // The record keeps Monday first; the description starts with Sunday.
      static const char* const kShort[] = {",Sun", ",Mon", ",Tue", ",Wed", ",Thu", ",Fri", ",Sat"};
      for (int d = 0; d < 7; ++d) {
        if (r.DayFlag((d + 6) % 7) != 0) text += kShort[d];
      }
      return text;
    }
    case schedule::kWeekly:
      return "Weekly at " + t + " on " + NameAt(kDayNames, r.Weekday());
    case schedule::kMonthly:
      return "Monthly at " + t + " on day " + Digits(r.Day()) + " of each month";
    case schedule::kEveryMinutes:
      return "every " + Digits(r.EveryMinutes()) + " minutes";
    case schedule::kIdle:
      return "after " + Digits(r.EveryMinutes()) + " minutes of idle time";
    default:
      return "";
  }
}

void DefaultTimer(TMacroRec& r, const CivilDateTime& today) {
  r.SetScheduleKind(schedule::kDaily);
  for (int d = 0; d < 7; ++d) r.SetDayFlag(d, 1);
  r.SetMonth(static_cast<std::uint8_t>(today.month));
  r.SetDay(static_cast<std::uint8_t>(today.day));
  r.SetYear(static_cast<std::uint16_t>(today.year));
  r.SetWeekday(static_cast<std::uint8_t>(DayOfWeek(EncodeDate(today.year, today.month, today.day))));
  r.SetHour(12);
  r.SetMinute(0);
  r.SetPm(1);
  r.SetMinutePastHour(15);
  r.SetEveryMinutes(15);
}

ScheduleEntry EntryOf(const TMacroRec& r) {
  ScheduleEntry e;
  e.kind = r.ScheduleKind() < schedule::kKinds ? static_cast<int>(r.ScheduleKind()) : static_cast<int>(schedule::kStartup);
  for (int d = 0; d < 7; ++d) e.days[d] = r.DayFlag(d) != 0;
  const std::string hour = Digits(r.Hour());
  const std::string minute = TwoDigits(r.Minute());
  const bool pm = r.Pm() != 0;
  e.onceHour = e.dailyHour = e.weeklyHour = e.monthlyHour = hour;
  e.onceMinute = e.dailyMinute = e.weeklyMinute = e.monthlyMinute = minute;
  e.oncePm = e.dailyPm = e.weeklyPm = e.monthlyPm = pm;
  e.onceMonth = r.Month() - 1;
  e.onceDay = e.monthlyDay = Digits(r.Day());
  e.onceYear = Digits(r.Year());
  e.hourlyMinutes = Digits(r.MinutePastHour());
  e.weeklyDay = r.Weekday() - 1;
  e.otherMinutes = e.idleMinutes = Digits(r.EveryMinutes());
  return e;
}

std::optional<forms::Fault> StoreSchedule(const ScheduleEntry& e, const CivilDateTime& today, TMacroRec& record) {
  // Everything is checked into a copy first: a refused entry leaves the record untouched.
  TMacroRec r = record;
  if (e.kind < 0 || e.kind >= schedule::kKinds) return forms::Fault{"Startup", "No schedule kind selected."};
  r.SetScheduleKind(static_cast<std::uint16_t>(e.kind));
  for (int d = 0; d < 7; ++d) r.SetDayFlag(d, e.days[d] ? 1 : 0);
  TimeOfDay t;
  switch (e.kind) {
    case schedule::kStartup:
      break;
    case schedule::kOnce: {
      if (auto f = CheckTime("OnceTimeHour", e.onceHour, "OnceTimeMin", e.onceMinute, t)) return f;
      const CheckedNumber year = CheckNumber({"OnceYear", e.onceYear, 1, 9999, "Invalid year specified."});
      if (year.fault) return year.fault;
      if (e.onceMonth < 0 || e.onceMonth > 11) return forms::Fault{"OnceMonth", "Invalid month specified."};
      const int month = e.onceMonth + 1;
      const CheckedNumber day = CheckNumber({"OnceDay", e.onceDay, 1, DaysInMonth(year.value, month), kDayMessage});
      if (day.fault) return day.fault;
      const int date = (year.value * 12 + month) * 32 + day.value;
      if (date < (today.year * 12 + today.month) * 32 + today.day) {
        const char* field = year.value < today.year ? "OnceYear" : month < today.month ? "OnceMonth" : "OnceDay";
        return forms::Fault{field, "Specified date has already elapsed."};
      }
      r.SetHour(t.hour);
      r.SetMinute(t.minute);
      r.SetYear(static_cast<std::uint16_t>(year.value));
      r.SetMonth(static_cast<std::uint8_t>(month));
      r.SetDay(static_cast<std::uint8_t>(day.value));
      r.SetPm(e.oncePm ? 1 : 0);
      break;
    }
    case schedule::kHourly: {
      const CheckedNumber m = CheckNumber({"HourlyMinutes", e.hourlyMinutes, 0, 59, "Invalid minutes specified."});
      if (m.fault) return m.fault;
      r.SetMinutePastHour(static_cast<std::uint8_t>(m.value));
      break;
    }
    case schedule::kDaily:
      if (auto f = CheckTime("DailyHour", e.dailyHour, "DailyMin", e.dailyMinute, t)) return f;
      r.SetHour(t.hour);
      r.SetMinute(t.minute);
      r.SetPm(e.dailyPm ? 1 : 0);
      break;
    case schedule::kWeekly:
      if (auto f = CheckTime("WeeklyHour", e.weeklyHour, "WeeklyMin", e.weeklyMinute, t)) return f;
      if (e.weeklyDay < 0 || e.weeklyDay > 6) return forms::Fault{"WeeklyDayOfWeek", "Invalid day of week specified."};
      r.SetHour(t.hour);
      r.SetMinute(t.minute);
      r.SetWeekday(static_cast<std::uint8_t>(e.weeklyDay + 1));
      r.SetPm(e.weeklyPm ? 1 : 0);
      break;
    case schedule::kMonthly: {
      if (auto f = CheckTime("MonthlyHour", e.monthlyHour, "MonthlyMin", e.monthlyMinute, t)) return f;
      const CheckedNumber day = CheckNumber({"MonthlyDay", e.monthlyDay, 1, 31, kDayMessage});
      if (day.fault) return day.fault;
      r.SetHour(t.hour);
      r.SetMinute(t.minute);
      r.SetDay(static_cast<std::uint8_t>(day.value));
      r.SetPm(e.monthlyPm ? 1 : 0);
      break;
    }
    case schedule::kEveryMinutes: {
      const CheckedNumber m = CheckNumber(
          {"OtherMinutes", e.otherMinutes, 1, 720, "Invalid minutes specified.  Must be between 1 and 720."});
      if (m.fault) return m.fault;
      r.SetEveryMinutes(static_cast<std::uint16_t>(m.value));
      break;
    }
    case schedule::kIdle: {
      const CheckedNumber m =
          CheckNumber({"IdleMinutes", e.idleMinutes, 1, 90, "Invalid minutes specified.  Must be between 1 and 90."});
      if (m.fault) return m.fault;
      r.SetEveryMinutes(static_cast<std::uint16_t>(m.value));
      break;
    }
  }
  record = r;
  return std::nullopt;
}

// --- The form

namespace {

constexpr int kClientWidth = 400;
constexpr int kPanelTop = 92;
constexpr int kPanelHeight = 84;
using layout::kEditHeight;


// Hour ":" minute AM/PM at the start of a panel's first row; returns where the row goes on.
int PlaceTime(forms::Edit& hour, forms::Label& colon, forms::Edit& minute, forms::ComboBox& pm) {
  hour.SetBounds(12, 24, 28, kEditHeight);
  hour.SetMaxLength(2);
  colon.SetBounds(43, 27, 6, 16);
  minute.SetBounds(50, 24, 28, kEditHeight);
  minute.SetMaxLength(2);
  pm.SetBounds(84, 24, 50, kEditHeight);
  pm.SetItems({"AM", "PM"});
  return 142;
}

}  // namespace

TDoSchedule::TDoSchedule(TMacroRec& record, platform::Clock& clock, const DialogServices& services)
    : Form("DoSchedule", "Set Schedule"), record_(record), clock_(clock), services_(services) {
  SetBorderStyle(forms::BorderStyle::kSingle);
  SetKeyPreview(true);
  SetClientSize(kClientWidth, kPanelTop + kPanelHeight + 16 + layout::kButtonHeight);

  RunMacro.SetBounds(layout::kMargin, layout::kMargin, kClientWidth - 2 * layout::kMargin, 76);
  forms::RadioButton* const tabOrder[] = {&Startup, &Once, &Hourly, &Daily, &Weekly, &Monthly, &Idle, &Other};
  layout::RadioGrid(tabOrder, 4, 92);
  for (int k = 0; k < schedule::kKinds; ++k) {
    kinds_[k]->onClick = [this, k] { ShowPanelOf(k); };
    if (panels_[k] != nullptr) panels_[k]->SetBounds(layout::kMargin, kPanelTop, kClientWidth - 2 * layout::kMargin, kPanelHeight);
  }

  int x = PlaceTime(OnceTimeHour, OnceColon, OnceTimeMin, OnceTimePM);
  OnceOn.SetBounds(x, 27, 16, 16);
  for (const char* m : kMonthNames) OnceMonth.AddItem(m);
  OnceMonth.SetBounds(x + 20, 24, 92, kEditHeight);
  OnceDay.SetBounds(x + 118, 24, 28, kEditHeight);
  OnceDaySpin.SetBounds(x + 146, 24, 16, kEditHeight);
  OnceYear.SetBounds(x + 168, 24, 46, kEditHeight);
  OnceYearSpin.SetBounds(x + 214, 24, 16, kEditHeight);

  HourlyMinutes.SetBounds(12, 24, 32, kEditHeight);
  HourlyMinutesSpin.SetBounds(44, 24, 16, kEditHeight);
  HourlyText.SetBounds(66, 27, 200, 16);

  PlaceTime(DailyHour, DailyColon, DailyMin, DailyPM);
  forms::CheckBox* const dayRow[] = {&Sunday, &Monday, &Tuesday, &Wednesday, &Thursday, &Friday, &Saturday};
  for (int i = 0; i < 7; ++i) dayRow[i]->SetBounds(12 + i * 52, 56, 48, 20);

  x = PlaceTime(WeeklyHour, WeeklyColon, WeeklyMin, WeeklyPM);
  WeeklyEvery.SetBounds(x, 27, 32, 16);
  for (const char* d : kDayNames) WeeklyDayOfWeek.AddItem(d);
  WeeklyDayOfWeek.SetBounds(x + 36, 24, 100, kEditHeight);

  x = PlaceTime(MonthlyHour, MonthlyColon, MonthlyMin, MonthlyPM);
  MonthlyOnThe.SetBounds(x, 27, 36, 16);
  MonthlyDay.SetBounds(x + 40, 24, 28, kEditHeight);
  MonthlyDaySpin.SetBounds(x + 68, 24, 16, kEditHeight);
  MonthlyText.SetBounds(x + 90, 27, 110, 16);

  OtherEvery.SetBounds(12, 27, 32, 16);
  OtherMinutes.SetBounds(48, 24, 40, kEditHeight);
  OtherMinutesSpin.SetBounds(88, 24, 16, kEditHeight);
  OtherText.SetBounds(110, 27, 100, 16);

  IdleAfter.SetBounds(12, 27, 32, 16);
  IdleMinutes.SetBounds(48, 24, 40, kEditHeight);
  SpinButton1.SetBounds(88, 24, 16, kEditHeight);
  IdleText.SetBounds(110, 27, 160, 16);

  layout::ButtonRow(*this, {&UpdateButton, &CancelButton});
  CancelButton.SetCancel(true);
  CancelButton.SetModalResult(forms::ModalResult::kCancel);
  CancelButton.onClick = [this] { Close(); };
  UpdateButton.onClick = [this] { UpdateButtonClick(); };

  OnceDaySpin.onUpClick = [this] { Spin(OnceDay, 1, 1, 31); };
  OnceDaySpin.onDownClick = [this] { Spin(OnceDay, -1, 1, 31); };
  OnceYearSpin.onUpClick = [this] { Spin(OnceYear, 1, 1, 9999); };
  OnceYearSpin.onDownClick = [this] { Spin(OnceYear, -1, 1, 9999); };
  MonthlyDaySpin.onUpClick = [this] { Spin(MonthlyDay, 1, 1, 31); };
  MonthlyDaySpin.onDownClick = [this] { Spin(MonthlyDay, -1, 1, 31); };
  HourlyMinutesSpin.onUpClick = [this] { Spin(HourlyMinutes, 1, 0, 59); };
  HourlyMinutesSpin.onDownClick = [this] { Spin(HourlyMinutes, -1, 0, 59); };
  OtherMinutesSpin.onUpClick = [this] { Spin(OtherMinutes, 1, 1, 720); };
  OtherMinutesSpin.onDownClick = [this] { Spin(OtherMinutes, -1, 1, 720); };
  SpinButton1.onUpClick = [this] { Spin(IdleMinutes, 1, 1, 90); };
  SpinButton1.onDownClick = [this] { Spin(IdleMinutes, -1, 1, 90); };

  onShow = [this] { FormShow(); };
  ShowPanelOf(schedule::kStartup);
}

void TDoSchedule::FormShow() {
  services_.Centre(*this);
  const ScheduleEntry e = EntryOf(record_);
  kinds_[e.kind]->SetChecked(true);
  for (int d = 0; d < 7; ++d) dayBoxes_[d]->SetChecked(e.days[d]);
  OnceTimeHour.SetText(e.onceHour);
  OnceTimeMin.SetText(e.onceMinute);
  OnceTimePM.SetItemIndex(e.oncePm ? 1 : 0);
  OnceMonth.SetItemIndex(e.onceMonth);
  OnceDay.SetText(e.onceDay);
  OnceYear.SetText(e.onceYear);
  HourlyMinutes.SetText(e.hourlyMinutes);
  DailyHour.SetText(e.dailyHour);
  DailyMin.SetText(e.dailyMinute);
  DailyPM.SetItemIndex(e.dailyPm ? 1 : 0);
  WeeklyHour.SetText(e.weeklyHour);
  WeeklyMin.SetText(e.weeklyMinute);
  WeeklyPM.SetItemIndex(e.weeklyPm ? 1 : 0);
  WeeklyDayOfWeek.SetItemIndex(e.weeklyDay);
  MonthlyHour.SetText(e.monthlyHour);
  MonthlyMin.SetText(e.monthlyMinute);
  MonthlyPM.SetItemIndex(e.monthlyPm ? 1 : 0);
  MonthlyDay.SetText(e.monthlyDay);
  OtherMinutes.SetText(e.otherMinutes);
  IdleMinutes.SetText(e.idleMinutes);
  ShowPanelOf(e.kind);
  kinds_[e.kind]->SetFocus();
}

void TDoSchedule::ShowPanelOf(int kind) {
  for (int k = 0; k < schedule::kKinds; ++k) {
    if (panels_[k] == nullptr) continue;
    panels_[k]->SetVisible(k == kind);
    panels_[k]->SetEnabled(k == kind);
  }
}

int TDoSchedule::CheckedKind() const {
  for (int k = 0; k < schedule::kKinds; ++k) {
    if (kinds_[k]->checked()) return k;
  }
  return -1;
}

ScheduleEntry TDoSchedule::ReadEntry() const {
  ScheduleEntry e;
  e.kind = CheckedKind();
  for (int d = 0; d < 7; ++d) e.days[d] = dayBoxes_[d]->checked();
  e.onceHour = OnceTimeHour.text();
  e.onceMinute = OnceTimeMin.text();
  e.oncePm = OnceTimePM.itemIndex() == 1;
  e.onceMonth = OnceMonth.itemIndex();
  e.onceDay = OnceDay.text();
  e.onceYear = OnceYear.text();
  e.hourlyMinutes = HourlyMinutes.text();
  e.dailyHour = DailyHour.text();
  e.dailyMinute = DailyMin.text();
  e.dailyPm = DailyPM.itemIndex() == 1;
  e.weeklyHour = WeeklyHour.text();
  e.weeklyMinute = WeeklyMin.text();
  e.weeklyPm = WeeklyPM.itemIndex() == 1;
  e.weeklyDay = WeeklyDayOfWeek.itemIndex();
  e.monthlyHour = MonthlyHour.text();
  e.monthlyMinute = MonthlyMin.text();
  e.monthlyPm = MonthlyPM.itemIndex() == 1;
  e.monthlyDay = MonthlyDay.text();
  e.otherMinutes = OtherMinutes.text();
  e.idleMinutes = IdleMinutes.text();
  return e;
}

void TDoSchedule::UpdateButtonClick() {
  const CivilDateTime today = DecodeDateTime(clock_.Now());
  forms::Accept(*this, StoreSchedule(ReadEntry(), today, record_), *services_.boxes);
}

void TDoSchedule::Spin(forms::Edit& edit, int step, std::int32_t low, std::int32_t high) {
  edit.SetText(SpinStep(edit.text(), step, low, high));
}

}  // namespace wdx::editor
