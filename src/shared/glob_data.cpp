#include "shared/glob_data.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>
#include <utility>

#include "shared/hot_keys.h"

namespace wdx {

namespace {
constexpr std::size_t kStopKeyWidth = 10;
constexpr std::size_t kRunningStride = kGlobRunningProgramMax + 1;
constexpr std::size_t kScopeTextStride = kGlobScopeTextMax + 1;

std::size_t StopKeyOffset(int which) { return which == 2 ? glob::kStopKey2 : glob::kStopKey1; }

constexpr std::size_t kMacros = kGlobMaxMacros;

constexpr GlobField kFields[] = {
    {"player window", glob::kPlayerWindow, 4, PushGroup::kWindow},
    {"start byte", glob::kStartClearedByte, 1, PushGroup::kInit},
    {"hot key map", glob::kHotKeyMap, 1, PushGroup::kKeys, kGlobHotKeyCount, 1},
    {"capture on", glob::kCaptureOn, 1, PushGroup::kCaptureOn},
    {"capture macro", glob::kCaptureMacro, 2, PushGroup::kCapture},
    {"record byte", glob::kRecordClearedByte, 1, PushGroup::kCapture},
    {"double alt", glob::kDoubleAlt, 1, PushGroup::kCapture},
    {"capture library word", glob::kCaptureLibraryWord, 2, PushGroup::kCapture},
    {"mouse hook", glob::kMouseHook, 4, PushGroup::kMouseHook},
    {"keyboard hook", glob::kKeyboardHook, 4, PushGroup::kKeyHook},
    {"secondary window", glob::kSecondaryWindow, 4, PushGroup::kWindow2},
    {"secondary window on", glob::kSecondaryWindowOn, 1, PushGroup::kWindow2},
    {"capture window", glob::kCaptureWindow, 4, PushGroup::kWindow2},
    {"capture window flag", glob::kCaptureWindowFlag, 1, PushGroup::kWindow2},
    {"stop key 1", glob::kStopKey1, 8, PushGroup::kCapture},
    {"stop key 1 spare", glob::kStopKey1Spare, 1, PushGroup::kCapture},
    {"second stop key on", glob::kSecondStopKeyOn, 1, PushGroup::kCapture},
    {"stop key 2", glob::kStopKey2, 8, PushGroup::kCapture},
    {"stop key 2 spare", glob::kStopKey2Spare, 1, PushGroup::kCapture},
    {"window-relative mouse", glob::kWindowRelativeMouse, 1, PushGroup::kCapture},
    {"in use", glob::kInUse, 1, PushGroup::kInUse},
    {"capture options", glob::kCaptureKeys, 5, PushGroup::kCapture},
    {"capture library value 1", glob::kCaptureLibraryValue1, 4, PushGroup::kCapture},
    {"capture library value 2", glob::kCaptureLibraryValue2, 4, PushGroup::kCapture},
    {"capture options set", glob::kCaptureOptionsSet, 1, PushGroup::kCapture},
    {"window-relative mouse 2", glob::kWindowRelativeMouse2, 1, PushGroup::kCapture},
    {"zeroed after group 11", glob::kZeroedAfterGroup11, 4, PushGroup::kInit},
    {"scope kind", glob::kScopeKind + 2, 2, PushGroup::kItem, kMacros, 2},
    {"scope text", glob::kScopeText + kScopeTextStride, kScopeTextStride, PushGroup::kItem, kMacros, kScopeTextStride},
    {"macro active", glob::kMacroActive + 1, 1, PushGroup::kItem, kMacros, 1},
    {"activation code", glob::kActivationCode + 2, 2, PushGroup::kItem, kMacros, 2},
    {"window match", glob::kWindowMatch + 1, 1, PushGroup::kItem, kMacros, 1},
    {"macro count", glob::kMacroCount, 4, PushGroup::kNumKeys},
    {"start byte 2", glob::kStartClearedByte2, 1, PushGroup::kInit},
    {"NT flag", glob::kNtFlag, 1, PushGroup::kInit},
    {"Abbrekeys present", glob::kAbbrekeysPresent, 1, PushGroup::kKeys},
    {"foreground program", glob::kForegroundProgram, kGlobForegroundProgramMax + 1, PushGroup::kProg},
    {"running count", glob::kRunningCount, 4, PushGroup::kProgs},
    {"mouse buttons swapped", glob::kButtonsSwapped, 1, PushGroup::kInit},
    {"idle tracking", glob::kIdleTracking, 1, PushGroup::kIdle},
    {"idle fired", glob::kIdleFired, 1, PushGroup::kIdle},
    {"wait flags", glob::kWaitClick, 4, PushGroup::kWaits},
    {"idle seconds", glob::kIdleSeconds, 4, PushGroup::kIdle},
    {"running programs", glob::kRunningPrograms, kRunningStride, PushGroup::kProgs, kGlobMaxRunningPrograms,
     kRunningStride},
    {"mouse click flags", glob::kMouseClickLeft, 3, PushGroup::kMouseClk},
};

constexpr bool SortedAndApart() {
  for (std::size_t i = 1; i < std::size(kFields); ++i) {
    const GlobField& before = kFields[i - 1];
    const std::size_t end = before.offset + (before.count - 1) * before.stride + before.width;
    if (kFields[i].offset < end) return false;
  }
  return true;
}
static_assert(SortedAndApart(), "the fields must be in the order of their offsets and must not overlap");

// The field byte `at` belongs to (nullptr for a byte of none), and for a table the entry's
// index. Found in the sorted fields rather than in a table of the block's size: every setter
// asks, and a table would be as large as three blocks.
const GlobField* OwnerOf(std::size_t at, std::size_t& index) {
  const auto next = std::upper_bound(std::begin(kFields), std::end(kFields), at,
                                     [](std::size_t a, const GlobField& f) { return a < f.offset; });
  if (next == std::begin(kFields)) return nullptr;
  const GlobField& f = *std::prev(next);
  const std::size_t rel = at - f.offset;
  index = f.count > 1 ? rel / f.stride : 0;
  const std::size_t within = f.count > 1 ? rel % f.stride : rel;
  return index < f.count && within < f.width ? &f : nullptr;
}

}  // namespace

std::span<const GlobField> GlobFields() { return kFields; }

void CopyRanges(ConstBytes source, Bytes target, std::span<const ByteRange> ranges) {
  const std::size_t limit = std::min(source.size(), target.size());
  for (const ByteRange& r : ranges) {
    CheckRange(limit, r.offset, r.width);
    std::memcpy(target.data() + r.offset, source.data() + r.offset, r.width);
  }
}

std::vector<ByteRange> MacroEntryRanges(int macro) {
  if (!TGlobData::ValidMacro(macro)) return {};
  const auto i = static_cast<std::size_t>(macro);
  return {{glob::kScopeKind + 2 * i, 2},
          {glob::kScopeText + kScopeTextStride * i, kScopeTextStride},
          {glob::kMacroActive + i, 1},
          {glob::kActivationCode + 2 * i, 2},
          {glob::kWindowMatch + i, 1}};
}

// The fields of data group `group` (0..14; group 7 needs the macro number). Empty for any other
// group number.
static std::vector<ByteRange> DataGroupRanges(int group, int macro) {
  using namespace glob;
  switch (group) {
    case 0:
      return {{kCaptureMacro, 2},      {kDoubleAlt, 1}, {kStopKey1, kStopKeyWidth}, {kStopKey2, kStopKeyWidth},
              {kCaptureKeys, 5},       {kCaptureOptionsSet, 1}, {kWindowRelativeMouse2, 1}};
    case 1:
      return {{kCaptureOn, 1}};
    case 2:
      return {{kInUse, 1}};
    case 3:
      return {{kKeyboardHook, 4}};
    case 4:
      return {{kMouseHook, 4}};
    case 5:
      return {{kPlayerWindow, 4}};
    case 6:
      return {{kSecondaryWindow, 4}, {kSecondaryWindowOn, 1}, {kCaptureWindow, 4}, {kCaptureWindowFlag, 1}};
    case 7:
      return MacroEntryRanges(macro);
    case 8:
      return {{kMacroCount, 4}};
    case 9:
      return {{kForegroundProgram, kGlobForegroundProgramMax + 1}};
    case 10:
      return {{kRunningCount, 4}, {kRunningPrograms, kRunningStride * kGlobMaxRunningPrograms}};
    case 11:
      return {{kStartClearedByte, 1},     {kRecordClearedByte, 1},    {kCaptureLibraryWord, 2},
              {kCaptureLibraryValue1, 4}, {kCaptureLibraryValue2, 4}, {kStartClearedByte2, 1},
              {kNtFlag, 1},               {kButtonsSwapped, 1}};
    case 12:
      return {{kIdleTracking, 1}, {kIdleSeconds, 4}};
    case 13:
      return {{kWaitClick, 4}};
    case 14:
      return {{kHotKeyMap, kGlobHotKeyCount}, {kAbbrekeysPresent, 1}};
    default:
      return {};
  }
}

TGlobData::TGlobData(ConstBytes raw) {
  CheckRange(raw.size(), 0, kGlobDataSize);
  std::copy_n(raw.begin(), kGlobDataSize, bytes_.data());
}

PendingPushes TGlobData::TakePending() { return std::exchange(pending_, PendingPushes{}); }

void TGlobData::Touch(std::size_t offset) {
  std::size_t index = 0;
  const GlobField* field = OwnerOf(offset, index);
  // Every setter writes a field of the table; a byte of no field would be pushed whole.
  const PushGroup group = field ? field->group : PushGroup::kInit;
  pending_.groups.set(static_cast<std::size_t>(group));
  if (group == PushGroup::kItem) pending_.items.set(index + 1);
  if (group == PushGroup::kItem || group == PushGroup::kNumKeys) ++tablesRevision_;
}

void TGlobData::MarkPushed(PushGroup group, int macro) {
  if (group != PushGroup::kItem) {
    pending_.groups.reset(static_cast<std::size_t>(group));
    return;
  }
  if (ValidMacro(macro)) pending_.items.reset(static_cast<std::size_t>(macro));
  if (pending_.items.none()) pending_.groups.reset(static_cast<std::size_t>(PushGroup::kItem));
}

void TGlobData::ClearMacroTables() {
  ++tablesRevision_;
  for (const GlobField& f : kFields) {
    if (f.group == PushGroup::kItem) std::memset(bytes_.data() + f.offset, 0, f.width + (f.count - 1) * f.stride);
  }
  for (int i = 1; i <= kGlobMaxMacros; ++i) bytes_.SetU16(glob::kActivationCode + 2 * i, activation::kNone);
}

void TGlobData::Zero(std::size_t offset, std::size_t width) {
  CheckRange(kGlobDataSize, offset, width);
  std::memset(bytes_.data() + offset, 0, width);
  Touch(offset);
}

void TGlobData::ClearStartFields() {
  for (const std::size_t off : {glob::kStartClearedByte, glob::kRecordClearedByte, glob::kDoubleAlt,
                                glob::kStopKey1 + 4, glob::kStopKey1 + 5, glob::kStopKey1 + 6, glob::kStopKey1Spare,
                                glob::kStartClearedByte2})
    PutU8(off, 0);
  PutI16(glob::kStopKey1 + 2, 0);
}

void TGlobData::SetHotKeyMapped(int k, bool on) {
  if (ValidHotKey(k)) PutU8(glob::kHotKeyMap + k, on ? 1 : 0);
}

void TGlobData::ClearHotKeyMap() { Zero(glob::kHotKeyMap, kGlobHotKeyCount); }

std::int16_t TGlobData::ScopeKind(int i) const { return ValidMacro(i) ? bytes_.I16(glob::kScopeKind + 2 * i) : 0; }
void TGlobData::SetScopeKind(int i, std::int16_t kind) {
  if (ValidMacro(i)) PutI16(glob::kScopeKind + 2 * i, kind);
}
std::string TGlobData::ScopeText(int i) const {
  return ValidMacro(i) ? bytes_.ShortString(glob::kScopeText + kScopeTextStride * i, kGlobScopeTextMax)
                       : std::string();
}
void TGlobData::SetScopeText(int i, std::string_view text) {
  if (ValidMacro(i)) PutShortString(glob::kScopeText + kScopeTextStride * i, kGlobScopeTextMax, text);
}
bool TGlobData::MacroActive(int i) const { return ValidMacro(i) && bytes_.U8(glob::kMacroActive + i) != 0; }
void TGlobData::SetMacroActiveByte(int i, std::uint8_t value) {
  if (ValidMacro(i)) PutU8(glob::kMacroActive + i, value);
}
std::uint16_t TGlobData::ActivationCode(int i) const {
  return ValidMacro(i) ? bytes_.U16(glob::kActivationCode + 2 * i) : 0;
}
void TGlobData::SetActivationCode(int i, std::uint16_t code) {
  if (ValidMacro(i)) PutU16(glob::kActivationCode + 2 * i, code);
}
std::uint8_t TGlobData::WindowMatch(int i) const { return ValidMacro(i) ? bytes_.U8(glob::kWindowMatch + i) : 0; }
void TGlobData::SetWindowMatch(int i, std::uint8_t v) {
  if (ValidMacro(i)) PutU8(glob::kWindowMatch + i, v);
}

void TGlobData::SetSecondaryWindow(std::uint32_t w, bool on) {
  PutU32(glob::kSecondaryWindow, w);
  PutU8(glob::kSecondaryWindowOn, on ? 1 : 0);
}

void TGlobData::SetCaptureWindow(std::uint32_t w, bool flag) {
  PutU32(glob::kCaptureWindow, w);
  PutU8(glob::kCaptureWindowFlag, flag ? 1 : 0);
}

StopKey TGlobData::ReadStopKey(int which) const {
  const std::size_t o = StopKeyOffset(which);
  StopKey k;
  k.mouseKind = bytes_.I16(o);
  k.virtualKey = bytes_.I16(o + 2);
  k.ctrl = bytes_.U8(o + 4) != 0;
  k.alt = bytes_.U8(o + 5) != 0;
  k.shift = bytes_.U8(o + 6) != 0;
  k.win = bytes_.U8(o + 7) != 0;
  return k;
}

void TGlobData::WriteStopKey(int which, const StopKey& key) {
  const std::size_t o = StopKeyOffset(which);
  PutI16(o, key.mouseKind);
  PutI16(o + 2, key.virtualKey);
  PutU8(o + 4, key.ctrl ? 1 : 0);
  PutU8(o + 5, key.alt ? 1 : 0);
  PutU8(o + 6, key.shift ? 1 : 0);
  PutU8(o + 7, key.win ? 1 : 0);
}

StopKey StopKeyOf(int hotKeyIndex) {
  const HotKey k = DecipherKey(hotKeyIndex);
  return {static_cast<std::int16_t>(k.mouse), static_cast<std::int16_t>(k.virtualKey), k.ctrl, k.alt, k.shift, k.win};
}

void TGlobData::WriteCaptureOptions(const CaptureOptions& options) {
  PutU8(glob::kCaptureKeys, options.keys ? 1 : 0);
  PutU8(glob::kCaptureMouse, options.mouse ? 1 : 0);
  PutU8(glob::kCaptureClicksOnly, options.clicksOnly ? 1 : 0);
  PutU8(glob::kCaptureRelative, options.relative);
  PutU8(glob::kCaptureTime, options.time ? 1 : 0);
}

void TGlobData::SetWindowRelativeMouse(bool on) {
  PutU8(glob::kWindowRelativeMouse, on ? 1 : 0);
  PutU8(glob::kWindowRelativeMouse2, on ? 1 : 0);
}

void TGlobData::BeginCaptureFields() {
  for (const std::size_t off : {glob::kStopKey1Spare, glob::kStopKey2Spare, glob::kRecordClearedByte, glob::kSecondStopKeyOn})
    PutU8(off, 0);
  PutU8(glob::kCaptureOptionsSet, 1);
}

void TGlobData::SetForegroundProgram(std::string_view name) {
  PutShortString(glob::kForegroundProgram, kGlobForegroundProgramMax, name);
}

std::string TGlobData::RunningProgram(int i) const {
  if (i < 1 || i > kGlobMaxRunningPrograms) return {};
  return bytes_.ShortString(glob::kRunningPrograms + kRunningStride * (i - 1), kGlobRunningProgramMax);
}

void TGlobData::SetRunningProgram(int i, std::string_view name) {
  if (i < 1 || i > kGlobMaxRunningPrograms) return;
  PutShortString(glob::kRunningPrograms + kRunningStride * (i - 1), kGlobRunningProgramMax, name);
}

void TGlobData::ClearRunningPrograms() {
  SetRunningCount(0);
  Zero(glob::kRunningPrograms, kRunningStride * kGlobMaxRunningPrograms);
}

void TGlobData::SetIdle(bool tracking, bool fired, std::int32_t seconds) {
  PutU8(glob::kIdleTracking, tracking ? 1 : 0);
  PutU8(glob::kIdleFired, fired ? 1 : 0);
  PutI32(glob::kIdleSeconds, seconds);
}

bool TGlobData::MouseClickFlag(int button) const {
  return button >= 1 && button <= 3 && bytes_.U8(glob::kMouseClickLeft + (button - 1)) != 0;
}

void TGlobData::SetMouseClickFlag(int button, bool on) {
  if (button >= 1 && button <= 3) PutU8(glob::kMouseClickLeft + (button - 1), on ? 1 : 0);
}

bool TGlobData::CopyDataGroup(ConstBytes source, int group, int macro) {
  const std::vector<ByteRange> ranges = DataGroupRanges(group, macro);
  if (ranges.empty() || source.size() < kGlobDataSize) return false;
  CopyRanges(source, bytes_.span(), ranges);
  if (group == 11) bytes_.SetI32(glob::kZeroedAfterGroup11, 0);
  if (group == 7 || group == 8) ++tablesRevision_;
  return true;
}

}  // namespace wdx
