// The date and time tags: all 77 formats at fixed instants, typed as keys, the short and full
// forms, day offsets and the text-variable field.
#include <gtest/gtest.h>

#include <string>

#include "clock_host.h"
#include "player/interpreter/interpreter.h"
#include "shared/date_time.h"

namespace wdx::player {
namespace {

using testing::ClockHost;
using testing::TypedText;

class DateTimeTagTest : public ::testing::Test {
 protected:
  // What a macro types at the given moment.
  std::string Typed(const std::string& text, double now) {
    mem.clock.SetNow(now);
    mem.input.keys.clear();
    host.boxes.clear();
    interpreter.DoMacro(text, 1, 1, 1, false, false, 0);
    EXPECT_TRUE(host.boxes.empty()) << text;
    return TypedText(mem.input.keys);
  }

  platform::MemoryPlatform mem;
  ClockHost host{mem};
  Interpreter interpreter{host};
};

// Expected texts written out from the format rules, independently of the code under test:
// Sunday 5 March 2000 with and without leading zeros; 31 December 2005 moved a day on (across
// the year's end); 1 March 2004 moved a day back (onto a leap day).
struct DateRow {
  const char* name;
  const char* march5Zeros;
  const char* march5Plain;
  const char* yearEndPlusOne;
  const char* leapDayZeros;
};
const DateRow kDateRows[] = {
      {"MM/DD/YY", "03/05/00", "3/5/00", "1/1/06", "02/29/04"},
      {"MM-DD-YY", "03-05-00", "3-5-00", "1-1-06", "02-29-04"},
      {"MM.DD.YY", "03.05.00", "3.5.00", "1.1.06", "02.29.04"},
      {"MM/DD/YYYY", "03/05/2000", "3/5/2000", "1/1/2006", "02/29/2004"},
      {"MM-DD-YYYY", "03-05-2000", "3-5-2000", "1-1-2006", "02-29-2004"},
      {"MM.DD.YYYY", "03.05.2000", "3.5.2000", "1.1.2006", "02.29.2004"},
      {"DD/MM/YY", "05/03/00", "5/3/00", "1/1/06", "29/02/04"},
      {"DD-MM-YY", "05-03-00", "5-3-00", "1-1-06", "29-02-04"},
      {"DD.MM.YY", "05.03.00", "5.3.00", "1.1.06", "29.02.04"},
      {"DD/MM/YYYY", "05/03/2000", "5/3/2000", "1/1/2006", "29/02/2004"},
      {"DD-MM-YYYY", "05-03-2000", "5-3-2000", "1-1-2006", "29-02-2004"},
      {"DD.MM.YYYY", "05.03.2000", "5.3.2000", "1.1.2006", "29.02.2004"},
      {"YY/MM/DD", "00/03/05", "00/3/5", "06/1/1", "04/02/29"},
      {"YY-MM-DD", "00-03-05", "00-3-5", "06-1-1", "04-02-29"},
      {"YY.MM.DD", "00.03.05", "00.3.5", "06.1.1", "04.02.29"},
      {"YYYY/MM/DD", "2000/03/05", "2000/3/5", "2006/1/1", "2004/02/29"},
      {"YYYY-MM-DD", "2000-03-05", "2000-3-5", "2006-1-1", "2004-02-29"},
      {"YYYY.MM.DD", "2000.03.05", "2000.3.5", "2006.1.1", "2004.02.29"},
      {"MMM YYYY", "MAR 2000", "MAR 2000", "JAN 2006", "FEB 2004"},
      {"Mmm YYYY", "Mar 2000", "Mar 2000", "Jan 2006", "Feb 2004"},
      {"DD MMM YY", "05 MAR 00", "5 MAR 00", "1 JAN 06", "29 FEB 04"},
      {"DD Mmm YY", "05 Mar 00", "5 Mar 00", "1 Jan 06", "29 Feb 04"},
      {"DD MMM YYYY", "05 MAR 2000", "5 MAR 2000", "1 JAN 2006", "29 FEB 2004"},
      {"DD Mmm YYYY", "05 Mar 2000", "5 Mar 2000", "1 Jan 2006", "29 Feb 2004"},
      {"DD Mmmmm YY", "05 March 00", "5 March 00", "1 January 06", "29 February 04"},
      {"DD Mmmmm YYYY", "05 March 2000", "5 March 2000", "1 January 2006", "29 February 2004"},
      {"Mmm DD YY", "Mar 05 00", "Mar 5 00", "Jan 1 06", "Feb 29 04"},
      {"Mmm DD, YY", "Mar 05, 00", "Mar 5, 00", "Jan 1, 06", "Feb 29, 04"},
      {"Mmm DD YYYY", "Mar 05 2000", "Mar 5 2000", "Jan 1 2006", "Feb 29 2004"},
      {"Mmm DD, YYYY", "Mar 05, 2000", "Mar 5, 2000", "Jan 1, 2006", "Feb 29, 2004"},
      {"Mmmmm DD YY", "March 05 00", "March 5 00", "January 1 06", "February 29 04"},
      {"Mmmmm DD, YY", "March 05, 00", "March 5, 00", "January 1, 06", "February 29, 04"},
      {"Mmmmm DD YYYY", "March 05 2000", "March 5 2000", "January 1 2006", "February 29 2004"},
      {"Mmmmm DD, YYYY", "March 05, 2000", "March 5, 2000", "January 1, 2006", "February 29, 2004"},
      {"MMDDYY", "030500", "3500", "1106", "022904"},
      {"MMDDYYYY", "03052000", "352000", "112006", "02292004"},
      {"DDMMYY", "050300", "5300", "1106", "290204"},
      {"DDMMYYYY", "05032000", "532000", "112006", "29022004"},
      {"YYMMDD", "000305", "0035", "0611", "040229"},
      {"YYYYMMDD", "20000305", "200035", "200611", "20040229"},
      {"DD", "05", "5", "1", "29"},
      {"MM", "03", "3", "1", "02"},
      {"Mmm", "Mar", "Mar", "Jan", "Feb"},
      {"MMM", "MAR", "MAR", "JAN", "FEB"},
      {"Mmmmm", "March", "March", "January", "February"},
      {"YY", "00", "00", "06", "04"},
      {"YYYY", "2000", "2000", "2006", "2004"},
      {"Day of Week 1", "Sun", "Sun", "Sun", "Sun"},
      {"Day of Week 2", "SUN", "SUN", "SUN", "SUN"},
      {"Day of Week 3", "Sunday", "Sunday", "Sunday", "Sunday"},
      {"Day of Week 4", "SUNDAY", "SUNDAY", "SUNDAY", "SUNDAY"},
};

TEST_F(DateTimeTagTest, EveryDateFormatTypesTheExactText) {
  ASSERT_EQ(std::size(kDateRows), 51u);
  const double march5 = EncodeDate(2000, 3, 5) + EncodeTime(9, 5, 7, 0);
  const double newYearsEve = EncodeDate(2005, 12, 31) + EncodeTime(23, 59, 59, 999);
  const double march1 = EncodeDate(2004, 3, 1);  // midnight
  for (const DateRow& r : kDateRows) {
    const std::string tag = std::string("<") + r.name + "{";
    SCOPED_TRACE(tag);
    EXPECT_EQ(Typed(tag + "Y}>", march5), r.march5Zeros);
    EXPECT_EQ(Typed(tag + "N}>", march5), r.march5Plain);
    EXPECT_EQ(Typed(tag + "NF000}>", march5), r.march5Plain);
    EXPECT_EQ(Typed(tag + "NF001}>", newYearsEve), r.yearEndPlusOne);
    EXPECT_EQ(Typed(tag + "YP001}>", march1), r.leapDayZeros);
  }
}

// 9:05:07 in the morning with and without leading zeros, 21:05:07, midnight and noon.
struct TimeRow {
  const char* name;
  const char* morningZeros;
  const char* morningPlain;
  const char* eveningZeros;
  const char* midnightPlain;
  const char* noonPlain;
};
const TimeRow kTimeRows[] = {
      {"hh:mm", "09:05", "9:05", "21:05", "0:00", "12:00"},
      {"hh.mm", "09.05", "9.05", "21.05", "0.00", "12.00"},
      {"hh,mm", "09,05", "9,05", "21,05", "0,00", "12,00"},
      {"hhmm", "0905", "905", "2105", "000", "1200"},
      {"hh:mm:ss", "09:05:07", "9:05:07", "21:05:07", "0:00:00", "12:00:00"},
      {"hh.mm.ss", "09.05.07", "9.05.07", "21.05.07", "0.00.00", "12.00.00"},
      {"hh,mm,ss", "09,05,07", "9,05,07", "21,05,07", "0,00,00", "12,00,00"},
      {"hhmmss", "090507", "90507", "210507", "00000", "120000"},
      {"hh", "09", "9", "21", "0", "12"},
      {"mm", "05", "05", "05", "00", "00"},
      {"ss", "07", "07", "07", "00", "00"},
      {"hh:mm am", "09:05 am", "9:05 am", "09:05 pm", "12:00 am", "12:00 pm"},
      {"hh.mm am", "09.05 am", "9.05 am", "09.05 pm", "12.00 am", "12.00 pm"},
      {"hh,mm am", "09,05 am", "9,05 am", "09,05 pm", "12,00 am", "12,00 pm"},
      {"hh:mm:ss am", "09:05:07 am", "9:05:07 am", "09:05:07 pm", "12:00:00 am", "12:00:00 pm"},
      {"hh.mm.ss am", "09.05.07 am", "9.05.07 am", "09.05.07 pm", "12.00.00 am", "12.00.00 pm"},
      {"hh,mm,ss am", "09,05,07 am", "9,05,07 am", "09,05,07 pm", "12,00,00 am", "12,00,00 pm"},
      {"hh:mm AM", "09:05 AM", "9:05 AM", "09:05 PM", "12:00 AM", "12:00 PM"},
      {"hh.mm AM", "09.05 AM", "9.05 AM", "09.05 PM", "12.00 AM", "12.00 PM"},
      {"hh,mm AM", "09,05 AM", "9,05 AM", "09,05 PM", "12,00 AM", "12,00 PM"},
      {"hh:mm:ss AM", "09:05:07 AM", "9:05:07 AM", "09:05:07 PM", "12:00:00 AM", "12:00:00 PM"},
      {"hh.mm.ss AM", "09.05.07 AM", "9.05.07 AM", "09.05.07 PM", "12.00.00 AM", "12.00.00 PM"},
      {"hh,mm,ss AM", "09,05,07 AM", "9,05,07 AM", "09,05,07 PM", "12,00,00 AM", "12,00,00 PM"},
      {"hh:mma", "09:05a", "9:05a", "09:05p", "12:00a", "12:00p"},
      {"hh.mma", "09.05a", "9.05a", "09.05p", "12.00a", "12.00p"},
      {"hh,mma", "09,05a", "9,05a", "09,05p", "12,00a", "12,00p"},
};

TEST_F(DateTimeTagTest, EveryTimeFormatTypesTheExactText) {
  ASSERT_EQ(std::size(kTimeRows), 26u);
  const double day = EncodeDate(2000, 3, 5);
  for (const TimeRow& r : kTimeRows) {
    const std::string tag = std::string("<") + r.name + "{";
    SCOPED_TRACE(tag);
    EXPECT_EQ(Typed(tag + "Y}>", day + EncodeTime(9, 5, 7, 0)), r.morningZeros);
    EXPECT_EQ(Typed(tag + "N}>", day + EncodeTime(9, 5, 7, 0)), r.morningPlain);
    EXPECT_EQ(Typed(tag + "Y}>", day + EncodeTime(21, 5, 7, 0)), r.eveningZeros);
    EXPECT_EQ(Typed(tag + "N}>", day), r.midnightPlain);
    EXPECT_EQ(Typed(tag + "N}>", day + 0.5), r.noonPlain);
  }
}

TEST_F(DateTimeTagTest, FormsOffsetsAndVariables) {
  const double sunday = EncodeDate(2000, 3, 5) + EncodeTime(7, 3, 0, 0);
  struct Case {
    const char* text;
    double now;
    const char* typed;
  };
  const Case cases[] = {
      {"<MM/DD/YY{YP007}>", sunday, "02/27/00"},
      {"<Day of Week 3{YP001}>", sunday, "Saturday"},
      {"<Day of Week 1{NF006}>", sunday, "Sat"},
      {"<DD.MM.YYYY{YF366}>", sunday, "06.03.2001"},
      {"<YY{NF000}>", EncodeDate(2005, 6, 1), "05"},
      {"<hh{N}>", sunday, "7"},
      {"<mm{N}>", sunday, "03"},
      {"<hh:mm am{N}>", EncodeDate(2000, 1, 1) + EncodeTime(0, 30, 0, 0), "12:30 am"},
      {"<hh:mm am{N}>", EncodeDate(2000, 1, 1) + EncodeTime(12, 30, 0, 0), "12:30 pm"},
      {"<hh:mm am{N}>", EncodeDate(2000, 1, 1) + EncodeTime(13, 30, 0, 0), "1:30 pm"},
      // Text around the tags, and what is no tag.
      {"On <MMM YYYY{N}>, at <hhmm{Y}>.", sunday, "On MAR 2000, at 0703."},
      {"<MM/DD/YY>", sunday, "<MM/DD/YY>"},
      {"<mm/dd/yy{Y}>", sunday, "<mm/dd/yy{Y}>"},
      // The closing "}" and ">" after the fields are not tested.
      {"<MM{YF001]>", sunday, "03"},
      {"<hh{N}x>", sunday, "7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Typed(c.text, c.now), c.typed);
  }
}

TEST_F(DateTimeTagTest, TheVariableFieldStoresInsteadOfTyping) {
  const double now = EncodeDate(2000, 3, 5) + EncodeTime(21, 5, 7, 0);
  EXPECT_EQ(Typed("<MM/DD/YY{YF000}07>x<hhmmss{N}12>y<DD Mmm YYYY{NF001}05>", now), "xy");
  EXPECT_EQ(host.state.vars.text[7], "03/05/00");
  EXPECT_EQ(host.state.vars.text[12], "210507");
  EXPECT_EQ(host.state.vars.text[5], "6 Mar 2000");
  // Variable 00 is the typed form.
  EXPECT_EQ(Typed("<hh{Y}00>", now), "21");
}

TEST_F(DateTimeTagTest, TheKeyDelayAppliesToEveryTypedCharacter) {
  host.state.keyDelayOn = true;
  host.state.keyDelay = 10;
  const std::uint64_t start = host.Now();
  EXPECT_EQ(Typed("<MM/DD/YY{Y}>", EncodeDate(2000, 3, 5)), "03/05/00");
  // Eight characters of 10 ms each, and the one pump after the tag.
  EXPECT_EQ(host.Now() - start, 8 * 10 + 1u);
}

TEST_F(DateTimeTagTest, AVariableNumberOutsideTheTableFailsWithoutWriting) {
  mem.clock.SetNow(EncodeDate(2000, 3, 5));
  const RunState before = host.state;
  interpreter.DoMacro("<MM/DD/YY{YF000}-1>x", 1, 1, 1, false, false, 0);
  ASSERT_EQ(host.boxes.size(), 2u);
  EXPECT_EQ(host.boxes[0].caption, "Variable Error");
  EXPECT_EQ(host.boxes[1].caption, "Macro Abort");
  EXPECT_TRUE(mem.input.keys.empty());
  EXPECT_EQ(host.state.vars.text, before.vars.text);
}

TEST_F(DateTimeTagTest, DatesOutsideTheCalendarTypeNothing) {
  // 999 days back from 1 January of the year 1 has no date to type; the macro goes on.
  EXPECT_EQ(Typed("<YYYY{YP999}>ok", EncodeDate(1, 1, 1)), "ok");
}

}  // namespace
}  // namespace wdx::player
