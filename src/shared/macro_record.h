// One macro of the library file: a fixed 5165-byte record, little-endian, read and written by
// explicit offset. Both programs and the single-record operations of the library file use this
// one definition; the raw bytes are kept whole, so a record read and written back unchanged is
// the same bytes, including fields this program does not interpret.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "shared/byte_codec.h"

namespace wdx {

constexpr std::size_t kMacroRecSize = 5165;
// The per-macro tables hold macro numbers 1..kMaxMacros.
constexpr int kMaxMacros = 500;

// Activation codes (0..720 is a hot key index).
namespace activation {
constexpr std::uint16_t kMaxHotKey = 720;
constexpr std::uint16_t kTimed = 10000;
constexpr std::uint16_t kMouseClick = 15000;
constexpr std::uint16_t kFloatingMenu = 17500;
constexpr std::uint16_t kAbbrekey = 20000;
constexpr std::uint16_t kWindowTitle = 25000;
constexpr std::uint16_t kNone = 30000;
}  // namespace activation

// Scope kinds.
namespace scope {
constexpr std::int16_t kGlobal = 1;
constexpr std::int16_t kWindow = 2;
constexpr std::int16_t kProgram = 3;
constexpr std::int16_t kPopupMenu = 4;
constexpr std::int16_t kSystem = 5;
constexpr std::int16_t kFloatingMenu = 9;
}  // namespace scope

// Field offsets of the record.
namespace macro_rec {
constexpr std::size_t kNickname = 0;        // string[50]
constexpr std::size_t kScopeText = 51;      // string[30]
constexpr std::size_t kAbbrekey = 82;       // string[10]; menu options; program name part 1
constexpr std::size_t kActivation = 93;     // uint16
constexpr std::size_t kScopeKind = 95;      // int16
constexpr std::size_t kActive = 97;         // byte
constexpr std::size_t kTextLength = 98;     // int16
constexpr std::size_t kText = 100;          // char[5001], NUL-terminated
constexpr std::size_t kTextSize = 5001;
constexpr std::size_t kMaxTextLength = 5000;
constexpr std::size_t kIconName = 5101;     // string[12]
constexpr std::size_t kScheduleKind = 5114; // uint16
constexpr std::size_t kDayFlags = 5116;     // byte[7], Monday .. Sunday
constexpr std::size_t kHour = 5123;
constexpr std::size_t kMinute = 5124;
constexpr std::size_t kMonth = 5125;
constexpr std::size_t kDay = 5126;
constexpr std::size_t kMinutePastHour = 5127;
constexpr std::size_t kEveryMinutes = 5128;  // uint16
constexpr std::size_t kWeekday = 5130;
constexpr std::size_t kYear = 5131;          // uint16
constexpr std::size_t kPm = 5133;
constexpr std::size_t kWindowMatch = 5134;
constexpr std::size_t kLastChange = 5135;    // double, day count
constexpr std::size_t kCategory = 5143;      // int32
constexpr std::size_t kCaseMode = 5147;      // int16
constexpr std::size_t kRemoval = 5149;       // int16
constexpr std::size_t kMouseTop = 5151;      // int16; window part when kWindowPartFlag is set
constexpr std::size_t kMouseLeft = 5153;
constexpr std::size_t kMouseBottom = 5155;
constexpr std::size_t kMouseRight = 5157;
constexpr std::size_t kMouseButton = 5159;
constexpr std::size_t kWindowPartFlag = 5160;
constexpr std::size_t kReserved1 = 5161;
constexpr std::size_t kReserved3 = 5162;     // three bytes, always written as zero
// Menu overlay (scope kinds 4 and 9).
constexpr std::size_t kMenuItemCount = 100;  // int16
constexpr std::size_t kMenuItems = 102;      // int16 × 500
constexpr std::size_t kMenuVertical = 1102;  // byte
constexpr std::size_t kMenuIconsPerRow = 1103;  // uint16
constexpr int kMaxMenuItems = 500;
// Program-name overlay (window-title activation with program scope): characters 11..19.
constexpr std::size_t kProgramNameTail = 5151;  // string[9]
}  // namespace macro_rec

// Window parts a mouse-click macro can be bound to.
namespace window_part {
constexpr std::int16_t kMaximize = 1, kMinimize = 2, kSystemMenu = 3, kVerticalScroll = 4, kHorizontalScroll = 5,
                       kTitleBar = 6, kMenu = 7, kBorder = 8;
}

class TMacroRec {
 public:
  TMacroRec() : bytes_(kMacroRecSize) {}

  Bytes span() { return bytes_.span(); }
  ConstBytes span() const { return bytes_.span(); }
  std::uint8_t* data() { return bytes_.data(); }
  const std::uint8_t* data() const { return bytes_.data(); }
  void Clear() { bytes_.Clear(); }
  bool operator==(const TMacroRec&) const = default;

  std::string Nickname() const { return bytes_.ShortString(macro_rec::kNickname, 50); }
  void SetNickname(std::string_view s) { bytes_.SetShortString(macro_rec::kNickname, 50, s); }
  std::string ScopeText() const { return bytes_.ShortString(macro_rec::kScopeText, 30); }
  void SetScopeText(std::string_view s) { bytes_.SetShortString(macro_rec::kScopeText, 30, s); }
  std::string Abbrekey() const { return bytes_.ShortString(macro_rec::kAbbrekey, 10); }
  void SetAbbrekey(std::string_view s) { bytes_.SetShortString(macro_rec::kAbbrekey, 10, s); }
  std::uint16_t ActivationCode() const { return bytes_.U16(macro_rec::kActivation); }
  void SetActivationCode(std::uint16_t v) { bytes_.SetU16(macro_rec::kActivation, v); }
  std::int16_t ScopeKind() const { return bytes_.I16(macro_rec::kScopeKind); }
  void SetScopeKind(std::int16_t v) { bytes_.SetI16(macro_rec::kScopeKind, v); }
  std::uint8_t Active() const { return bytes_.U8(macro_rec::kActive); }
  void SetActive(std::uint8_t v) { bytes_.SetU8(macro_rec::kActive, v); }
  std::int16_t TextLength() const { return bytes_.I16(macro_rec::kTextLength); }
  void SetTextLength(std::int16_t v) { bytes_.SetI16(macro_rec::kTextLength, v); }
  // The macro text up to its NUL (at most 5000 characters; longer texts are cut on write).
  std::string Text() const { return bytes_.ZString(macro_rec::kText, macro_rec::kTextSize); }
  void SetText(std::string_view s) { bytes_.SetZString(macro_rec::kText, macro_rec::kTextSize, s); }
  std::string IconName() const { return bytes_.ShortString(macro_rec::kIconName, 12); }
  void SetIconName(std::string_view s) { bytes_.SetShortString(macro_rec::kIconName, 12, s); }

  std::uint16_t ScheduleKind() const { return bytes_.U16(macro_rec::kScheduleKind); }
  void SetScheduleKind(std::uint16_t v) { bytes_.SetU16(macro_rec::kScheduleKind, v); }
  // day 0 = Monday .. 6 = Sunday
  std::uint8_t DayFlag(int day) const { return bytes_.U8(macro_rec::kDayFlags + CheckedIndex(day, 7)); }
  void SetDayFlag(int day, std::uint8_t v) { bytes_.SetU8(macro_rec::kDayFlags + CheckedIndex(day, 7), v); }
  std::uint8_t Hour() const { return bytes_.U8(macro_rec::kHour); }
  void SetHour(std::uint8_t v) { bytes_.SetU8(macro_rec::kHour, v); }
  std::uint8_t Minute() const { return bytes_.U8(macro_rec::kMinute); }
  void SetMinute(std::uint8_t v) { bytes_.SetU8(macro_rec::kMinute, v); }
  std::uint8_t Month() const { return bytes_.U8(macro_rec::kMonth); }
  void SetMonth(std::uint8_t v) { bytes_.SetU8(macro_rec::kMonth, v); }
  std::uint8_t Day() const { return bytes_.U8(macro_rec::kDay); }
  void SetDay(std::uint8_t v) { bytes_.SetU8(macro_rec::kDay, v); }
  std::uint8_t MinutePastHour() const { return bytes_.U8(macro_rec::kMinutePastHour); }
  void SetMinutePastHour(std::uint8_t v) { bytes_.SetU8(macro_rec::kMinutePastHour, v); }
  std::uint16_t EveryMinutes() const { return bytes_.U16(macro_rec::kEveryMinutes); }
  void SetEveryMinutes(std::uint16_t v) { bytes_.SetU16(macro_rec::kEveryMinutes, v); }
  std::uint8_t Weekday() const { return bytes_.U8(macro_rec::kWeekday); }
  void SetWeekday(std::uint8_t v) { bytes_.SetU8(macro_rec::kWeekday, v); }
  std::uint16_t Year() const { return bytes_.U16(macro_rec::kYear); }
  void SetYear(std::uint16_t v) { bytes_.SetU16(macro_rec::kYear, v); }
  std::uint8_t Pm() const { return bytes_.U8(macro_rec::kPm); }
  void SetPm(std::uint8_t v) { bytes_.SetU8(macro_rec::kPm, v); }
  std::uint8_t WindowMatch() const { return bytes_.U8(macro_rec::kWindowMatch); }
  void SetWindowMatch(std::uint8_t v) { bytes_.SetU8(macro_rec::kWindowMatch, v); }
  double LastChange() const { return bytes_.Double(macro_rec::kLastChange); }
  void SetLastChange(double v) { bytes_.SetDouble(macro_rec::kLastChange, v); }
  std::int32_t Category() const { return bytes_.I32(macro_rec::kCategory); }
  void SetCategory(std::int32_t v) { bytes_.SetI32(macro_rec::kCategory, v); }
  std::int16_t CaseMode() const { return bytes_.I16(macro_rec::kCaseMode); }
  void SetCaseMode(std::int16_t v) { bytes_.SetI16(macro_rec::kCaseMode, v); }
  std::int16_t Removal() const { return bytes_.I16(macro_rec::kRemoval); }
  void SetRemoval(std::int16_t v) { bytes_.SetI16(macro_rec::kRemoval, v); }

  // Mouse-click activation.
  std::int16_t MouseTop() const { return bytes_.I16(macro_rec::kMouseTop); }
  void SetMouseTop(std::int16_t v) { bytes_.SetI16(macro_rec::kMouseTop, v); }
  std::int16_t MouseLeft() const { return bytes_.I16(macro_rec::kMouseLeft); }
  void SetMouseLeft(std::int16_t v) { bytes_.SetI16(macro_rec::kMouseLeft, v); }
  std::int16_t MouseBottom() const { return bytes_.I16(macro_rec::kMouseBottom); }
  void SetMouseBottom(std::int16_t v) { bytes_.SetI16(macro_rec::kMouseBottom, v); }
  std::int16_t MouseRight() const { return bytes_.I16(macro_rec::kMouseRight); }
  void SetMouseRight(std::int16_t v) { bytes_.SetI16(macro_rec::kMouseRight, v); }
  std::uint8_t MouseButton() const { return bytes_.U8(macro_rec::kMouseButton); }
  void SetMouseButton(std::uint8_t v) { bytes_.SetU8(macro_rec::kMouseButton, v); }
  std::uint8_t WindowPartFlag() const { return bytes_.U8(macro_rec::kWindowPartFlag); }
  void SetWindowPartFlag(std::uint8_t v) { bytes_.SetU8(macro_rec::kWindowPartFlag, v); }
  // The window part shares its place with the area's top.
  std::int16_t WindowPart() const { return MouseTop(); }
  void SetWindowPart(std::int16_t v) { SetMouseTop(v); }
  std::uint8_t Reserved() const { return bytes_.U8(macro_rec::kReserved1); }
  void SetReserved(std::uint8_t v) { bytes_.SetU8(macro_rec::kReserved1, v); }
  void ZeroReservedTail();

  // Menu macro overlay: three option characters in the Abbrekey field, the item list in the
  // text area.
  std::string MenuOptions() const { return Abbrekey(); }
  void SetMenuOptions(std::string_view opts) { SetAbbrekey(opts); }
  // Option character 1..3 (0 when the options are shorter).
  char MenuOption(int index) const;
  std::int16_t MenuItemCount() const { return bytes_.I16(macro_rec::kMenuItemCount); }
  void SetMenuItemCount(std::int16_t v) { bytes_.SetI16(macro_rec::kMenuItemCount, v); }
  // item 1..500
  std::int16_t MenuItem(int item) const;
  void SetMenuItem(int item, std::int16_t macroNumber);
  std::uint8_t MenuVertical() const { return bytes_.U8(macro_rec::kMenuVertical); }
  void SetMenuVertical(std::uint8_t v) { bytes_.SetU8(macro_rec::kMenuVertical, v); }
  std::uint16_t MenuIconsPerRow() const { return bytes_.U16(macro_rec::kMenuIconsPerRow); }
  void SetMenuIconsPerRow(std::uint16_t v) { bytes_.SetU16(macro_rec::kMenuIconsPerRow, v); }

  // Program-name overlay of a window-title activation with program scope: characters 1..10 in
  // the Abbrekey field, 11..19 in a string[9] over the mouse-area fields.
  std::string ProgramName() const;
  void SetProgramName(std::string_view name);

 private:
  static std::size_t CheckedIndex(int i, int count);
  ByteRecord bytes_;
};

// Takes macro `deleted` out of a popup or floating menu's item list: every entry of it goes
// (the later ones move up) and the entries of later macros, which move down one number, are
// lowered by one. False when the list did not change.
bool RemoveFromMenu(TMacroRec& menu, int deleted);

}  // namespace wdx
