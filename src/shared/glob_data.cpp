#include "shared/glob_data.h"

#include <algorithm>
#include <cstring>

namespace wdx {

namespace {
constexpr std::size_t kStopKeyWidth = 10;
constexpr std::size_t kRunningStride = kGlobRunningProgramMax + 1;
constexpr std::size_t kScopeTextStride = kGlobScopeTextMax + 1;

std::size_t StopKeyOffset(int which) { return which == 2 ? glob::kStopKey2 : glob::kStopKey1; }
}  // namespace

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

std::vector<ByteRange> DataGroupRanges(int group, int macro) {
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
      return {{kByte4, 1},  {kByte741, 1},   {kField743, 2}, {kField790, 4},
              {kField794, 4}, {kByte14320, 1}, {kNtFlag, 1},   {kButtonsSwapped, 1}};
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

void TGlobData::SetHotKeyMapped(int k, bool on) {
  if (ValidHotKey(k)) SetU8(glob::kHotKeyMap + k, on ? 1 : 0);
}

void TGlobData::ClearHotKeyMap() { std::memset(data() + glob::kHotKeyMap, 0, kGlobHotKeyCount); }

std::int16_t TGlobData::ScopeKind(int i) const { return ValidMacro(i) ? I16(glob::kScopeKind + 2 * i) : 0; }
void TGlobData::SetScopeKind(int i, std::int16_t kind) {
  if (ValidMacro(i)) SetI16(glob::kScopeKind + 2 * i, kind);
}
std::string TGlobData::ScopeText(int i) const {
  return ValidMacro(i) ? ShortString(glob::kScopeText + kScopeTextStride * i, kGlobScopeTextMax) : std::string();
}
void TGlobData::SetScopeText(int i, std::string_view text) {
  if (ValidMacro(i)) SetShortString(glob::kScopeText + kScopeTextStride * i, kGlobScopeTextMax, text);
}
bool TGlobData::MacroActive(int i) const { return ValidMacro(i) && U8(glob::kMacroActive + i) != 0; }
void TGlobData::SetMacroActive(int i, bool on) {
  if (ValidMacro(i)) SetU8(glob::kMacroActive + i, on ? 1 : 0);
}
std::uint16_t TGlobData::ActivationCode(int i) const {
  return ValidMacro(i) ? U16(glob::kActivationCode + 2 * i) : 0;
}
void TGlobData::SetActivationCode(int i, std::uint16_t code) {
  if (ValidMacro(i)) SetU16(glob::kActivationCode + 2 * i, code);
}
std::uint8_t TGlobData::WindowMatch(int i) const { return ValidMacro(i) ? U8(glob::kWindowMatch + i) : 0; }
void TGlobData::SetWindowMatch(int i, std::uint8_t v) {
  if (ValidMacro(i)) SetU8(glob::kWindowMatch + i, v);
}

void TGlobData::SetSecondaryWindow(std::uint32_t w, bool on) {
  SetU32(glob::kSecondaryWindow, w);
  SetU8(glob::kSecondaryWindowOn, on ? 1 : 0);
}

void TGlobData::SetCaptureWindow(std::uint32_t w, bool flag) {
  SetU32(glob::kCaptureWindow, w);
  SetU8(glob::kCaptureWindowFlag, flag ? 1 : 0);
}

StopKey TGlobData::ReadStopKey(int which) const {
  const std::size_t o = StopKeyOffset(which);
  StopKey k;
  k.mouseKind = I16(o);
  k.virtualKey = I16(o + 2);
  k.ctrl = U8(o + 4) != 0;
  k.alt = U8(o + 5) != 0;
  k.shift = U8(o + 6) != 0;
  k.win = U8(o + 7) != 0;
  return k;
}

void TGlobData::WriteStopKey(int which, const StopKey& key) {
  const std::size_t o = StopKeyOffset(which);
  SetI16(o, key.mouseKind);
  SetI16(o + 2, key.virtualKey);
  SetU8(o + 4, key.ctrl ? 1 : 0);
  SetU8(o + 5, key.alt ? 1 : 0);
  SetU8(o + 6, key.shift ? 1 : 0);
  SetU8(o + 7, key.win ? 1 : 0);
}

std::string TGlobData::RunningProgram(int i) const {
  if (i < 1 || i > kGlobMaxRunningPrograms) return {};
  return ShortString(glob::kRunningPrograms + kRunningStride * (i - 1), kGlobRunningProgramMax);
}

void TGlobData::SetRunningProgram(int i, std::string_view name) {
  if (i < 1 || i > kGlobMaxRunningPrograms) return;
  SetShortString(glob::kRunningPrograms + kRunningStride * (i - 1), kGlobRunningProgramMax, name);
}

void TGlobData::ClearRunningPrograms() {
  SetRunningCount(0);
  std::memset(data() + glob::kRunningPrograms, 0, kRunningStride * kGlobMaxRunningPrograms);
}

void TGlobData::SetIdle(bool tracking, bool fired, std::int32_t seconds) {
  SetU8(glob::kIdleTracking, tracking ? 1 : 0);
  SetU8(glob::kIdleFired, fired ? 1 : 0);
  SetI32(glob::kIdleSeconds, seconds);
}

bool TGlobData::MouseClickFlag(int button) const {
  return button >= 1 && button <= 3 && U8(glob::kMouseClickLeft + (button - 1)) != 0;
}

void TGlobData::SetMouseClickFlag(int button, bool on) {
  if (button >= 1 && button <= 3) SetU8(glob::kMouseClickLeft + (button - 1), on ? 1 : 0);
}

bool TGlobData::CopyDataGroup(ConstBytes source, int group, int macro) {
  const std::vector<ByteRange> ranges = DataGroupRanges(group, macro);
  if (ranges.empty() || source.size() < kGlobDataSize) return false;
  CopyRanges(source, span(), ranges);
  if (group == 11) SetI32(glob::kField812, 0);
  return true;
}

}  // namespace wdx
