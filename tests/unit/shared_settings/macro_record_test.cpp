#include "shared/macro_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <vector>

namespace wdx {
namespace {

// Fixtures are written byte by byte at the record's offsets, independent of the codec.
struct Fixture {
  std::vector<std::uint8_t> b = std::vector<std::uint8_t>(5165, 0);
  void Put(std::size_t off, std::initializer_list<std::uint8_t> bytes) {
    for (std::uint8_t v : bytes) b.at(off++) = v;
  }
  void Text(std::size_t off, const char* s) {
    for (; *s; ++s) b.at(off++) = static_cast<std::uint8_t>(*s);
  }
};

TMacroRec FromBytes(const Fixture& f) {
  TMacroRec r;
  std::memcpy(r.data(), f.b.data(), f.b.size());
  return r;
}

void ExpectSameBytes(const TMacroRec& r, const Fixture& f) {
  for (std::size_t i = 0; i < kMacroRecSize; ++i) ASSERT_EQ(r.data()[i], f.b[i]) << "offset " << i;
}

TEST(MacroRecord, HotKeyMacroWithScheduleFields) {
  Fixture f;
  f.Put(0, {5}), f.Text(1, "Greet");
  f.Put(51, {7}), f.Text(52, "NOTEPAD");
  f.Put(82, {2}), f.Text(83, "gr");
  f.Put(93, {0x05, 0x01});  // hot key 261
  f.Put(95, {0x03, 0x00});  // program scope
  f.Put(97, {1});
  f.Put(98, {0x00, 0x00});
  f.Text(100, "Hello<ENTER>");
  f.Put(5101, {9}), f.Text(5102, "SMILE.ICO");
  f.Put(5114, {0x03, 0x00});  // daily
  f.Put(5116, {1, 0, 1, 0, 1, 0, 0});
  f.Put(5123, {11, 45, 12, 31, 15});
  f.Put(5128, {0xE8, 0x03});  // 1000 minutes
  f.Put(5130, {7});
  f.Put(5131, {0xD0, 0x07});  // 2000
  f.Put(5133, {1, 1});
  f.Put(5135, {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xF8, 0x3F});  // 1.5 = 1899-12-31 12:00
  f.Put(5143, {0xFF, 0xFF, 0xFF, 0x7F});
  f.Put(5147, {0x02, 0x00, 0x01, 0x00});

  TMacroRec r;
  r.SetNickname("Greet");
  r.SetScopeText("NOTEPAD");
  r.SetAbbrekey("gr");
  r.SetActivationCode(261);
  r.SetScopeKind(scope::kProgram);
  r.SetActive(1);
  r.SetText("Hello<ENTER>");
  r.SetIconName("SMILE.ICO");
  r.SetScheduleKind(3);
  for (int d : {0, 2, 4}) r.SetDayFlag(d, 1);
  r.SetHour(11), r.SetMinute(45), r.SetMonth(12), r.SetDay(31), r.SetMinutePastHour(15);
  r.SetEveryMinutes(1000);
  r.SetWeekday(7);
  r.SetYear(2000);
  r.SetPm(1);
  r.SetWindowMatch(1);
  r.SetLastChange(1.5);
  r.SetCategory(0x7FFFFFFF);
  r.SetCaseMode(2);
  r.SetRemoval(1);
  ExpectSameBytes(r, f);

  TMacroRec back = FromBytes(f);
  EXPECT_EQ(back.Nickname(), "Greet");
  EXPECT_EQ(back.ScopeText(), "NOTEPAD");
  EXPECT_EQ(back.ActivationCode(), 261);
  EXPECT_EQ(back.ScopeKind(), scope::kProgram);
  EXPECT_EQ(back.Text(), "Hello<ENTER>");
  EXPECT_EQ(back.IconName(), "SMILE.ICO");
  EXPECT_EQ(back.DayFlag(2), 1);
  EXPECT_EQ(back.DayFlag(6), 0);
  EXPECT_EQ(back.EveryMinutes(), 1000);
  EXPECT_EQ(back.Year(), 2000);
  EXPECT_DOUBLE_EQ(back.LastChange(), 1.5);
  EXPECT_EQ(back.Category(), 0x7FFFFFFF);
  EXPECT_EQ(back.Removal(), 1);
  EXPECT_THROW(back.DayFlag(7), std::out_of_range);
}

TEST(MacroRecord, MenuOverlay) {
  Fixture f;
  f.Put(0, {4}), f.Text(1, "Menu");
  f.Put(82, {3}), f.Text(83, "Y24");
  f.Put(93, {0x5C, 0x44});  // 17500 floating menu
  f.Put(95, {9, 0});
  f.Put(97, {1});
  f.Put(100, {3, 0});            // three items
  f.Put(102, {7, 0, 2, 0});      // macros 7, 2
  f.Put(1100, {0xF4, 0x01});  // item 500 = macro 500
  f.Put(1102, {1});
  f.Put(1103, {12, 0});
  f.Put(5101, {4}), f.Text(5102, "MENU");

  TMacroRec r;
  r.SetNickname("Menu");
  r.SetMenuOptions("Y24");
  r.SetActivationCode(activation::kFloatingMenu);
  r.SetScopeKind(scope::kFloatingMenu);
  r.SetActive(1);
  r.SetMenuItemCount(3);
  r.SetMenuItem(1, 7);
  r.SetMenuItem(2, 2);
  r.SetMenuItem(500, 500);
  r.SetMenuVertical(1);
  r.SetMenuIconsPerRow(12);
  r.SetIconName("MENU");
  ExpectSameBytes(r, f);

  TMacroRec back = FromBytes(f);
  EXPECT_EQ(back.MenuOption(1), 'Y');
  EXPECT_EQ(back.MenuOption(2), '2');
  EXPECT_EQ(back.MenuOption(3), '4');
  EXPECT_EQ(back.MenuOption(4), 0);
  EXPECT_EQ(back.MenuItemCount(), 3);
  EXPECT_EQ(back.MenuItem(2), 2);
  EXPECT_EQ(back.MenuItem(500), 500);
  EXPECT_EQ(back.MenuIconsPerRow(), 12);
  EXPECT_THROW(back.MenuItem(501), std::out_of_range);
  EXPECT_THROW(back.MenuItem(0), std::out_of_range);
}

TEST(MacroRecord, ProgramNameIsSplitOverTwoFields) {
  Fixture f;
  f.Put(51, {6}), f.Text(52, "Report");
  f.Put(82, {10}), f.Text(83, "ACCOUNTING");
  f.Put(93, {0xA8, 0x61});  // 25000
  f.Put(95, {3, 0});
  f.Put(5151, {9}), f.Text(5152, "PROGR.EXE");

  TMacroRec r;
  r.SetScopeText("Report");
  r.SetActivationCode(activation::kWindowTitle);
  r.SetScopeKind(scope::kProgram);
  r.SetProgramName("ACCOUNTINGPROGR.EXE");
  ExpectSameBytes(r, f);
  EXPECT_EQ(FromBytes(f).ProgramName(), "ACCOUNTINGPROGR.EXE");

  // A short name leaves the second piece empty; a name beyond 19 characters is cut.
  r.SetProgramName("CALC.EXE");
  EXPECT_EQ(r.Abbrekey(), "CALC.EXE");
  EXPECT_EQ(r.data()[5151], 0);
  r.SetProgramName("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  EXPECT_EQ(r.ProgramName(), "ABCDEFGHIJKLMNOPQRS");
}

TEST(MacroRecord, MouseAreaAndWindowPart) {
  Fixture area;
  area.Put(93, {0x98, 0x3A});  // 15000
  area.Put(95, {1, 0});
  area.Put(5151, {10, 0, 0xEC, 0xFF, 0x2C, 0x01, 0x90, 0x01});  // top 10, left -20, bottom 300, right 400
  area.Put(5159, {3, 0});

  TMacroRec r;
  r.SetActivationCode(activation::kMouseClick);
  r.SetScopeKind(scope::kGlobal);
  r.SetMouseTop(10), r.SetMouseLeft(-20), r.SetMouseBottom(300), r.SetMouseRight(400);
  r.SetMouseButton(3);
  ExpectSameBytes(r, area);
  EXPECT_EQ(FromBytes(area).MouseLeft(), -20);

  Fixture part;
  part.Put(93, {0x98, 0x3A});
  part.Put(95, {2, 0});
  part.Put(5151, {6, 0});
  part.Put(5159, {1, 1});
  TMacroRec p;
  p.SetActivationCode(activation::kMouseClick);
  p.SetScopeKind(scope::kWindow);
  p.SetWindowPart(window_part::kTitleBar);
  p.SetMouseButton(1);
  p.SetWindowPartFlag(1);
  ExpectSameBytes(p, part);
  EXPECT_EQ(FromBytes(part).WindowPart(), window_part::kTitleBar);
}

TEST(MacroRecord, TextIsCutToFiveThousandAndReservedTailZeroed) {
  TMacroRec r;
  r.SetText(std::string(6000, 'x'));
  EXPECT_EQ(r.Text().size(), 5000u);
  EXPECT_EQ(r.data()[5100], 0);
  r.data()[5162] = r.data()[5163] = r.data()[5164] = 0xAA;
  r.data()[5161] = 0x55;
  r.ZeroReservedTail();
  EXPECT_EQ(r.data()[5162] | r.data()[5163] | r.data()[5164], 0);
  EXPECT_EQ(r.Reserved(), 0x55);  // the byte before is not the reserved tail
}

}  // namespace
}  // namespace wdx
