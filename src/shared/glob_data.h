// The hook-globals block: the 19793-byte picture of the macro library and of the program's
// state that the player and the editor each keep and push, part by part, into the hook library
// WDXHOOK. Its bytes cross process boundaries, so every field sits at a fixed offset and is
// read and written through the byte codec; nothing here casts a struct onto the bytes.
//
// Macro numbers run 1..500. The tables have no entry 0: the place a macro 0 would take is the
// end of the field or table in front (the field at 812, macros 491..500). Accessors of a
// per-macro table ignore a macro number outside 1..500 (reads give 0 or empty), so a bad number
// from a message can never write into a neighbouring field or table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shared/byte_codec.h"

namespace wdx {

inline constexpr std::size_t kGlobDataSize = 19793;
inline constexpr int kGlobMaxMacros = 500;
inline constexpr int kGlobHotKeyCount = 721;
inline constexpr int kGlobMaxRunningPrograms = 200;
inline constexpr std::size_t kGlobScopeTextMax = 20;
inline constexpr std::size_t kGlobForegroundProgramMax = 250;
inline constexpr std::size_t kGlobRunningProgramMax = 25;

// Field offsets. Names follow what each field means to the player; the few fields that only the
// hook library reads keep their offset in the name.
namespace glob {
inline constexpr std::size_t kPlayerWindow = 0;  // int32: every library message goes here
inline constexpr std::size_t kByte4 = 4;         // byte
inline constexpr std::size_t kHotKeyMap = 17;    // byte x 721, + hot key index
inline constexpr std::size_t kCaptureOn = 738;   // byte: recording on
inline constexpr std::size_t kCaptureMacro = 739;  // int16: macro being recorded
inline constexpr std::size_t kByte741 = 741;       // byte
inline constexpr std::size_t kDoubleAlt = 742;     // byte: recording option "Double Alt"
inline constexpr std::size_t kField743 = 743;      // int16
inline constexpr std::size_t kMouseHook = 745;     // int32
inline constexpr std::size_t kKeyboardHook = 749;  // int32
inline constexpr std::size_t kSecondaryWindow = 753;      // int32: receives UM_HOTKEYINDEX
inline constexpr std::size_t kSecondaryWindowOn = 757;    // byte
inline constexpr std::size_t kCaptureWindow = 758;        // int32: receives UM_CAPTURECHAR, UM_CAPTUREDONE
inline constexpr std::size_t kCaptureWindowFlag = 762;    // byte
// Two stop keys of a recording, 10 bytes each: +0 int16 mouse-button kind (0 none, 1 left,
// 2 right, 3 middle), +2 int16 virtual key, +4 Ctrl, +5 Alt, +6 Shift, +7 Win (bytes, 1 held).
inline constexpr std::size_t kStopKey1 = 763;
inline constexpr std::size_t kStopKey2 = 773;
inline constexpr std::size_t kByte771 = 771;              // byte, cleared at record start
inline constexpr std::size_t kSecondStopKeyOn = 772;      // byte: the second stop key counts too
inline constexpr std::size_t kByte781 = 781;              // byte, cleared at record start
inline constexpr std::size_t kWindowRelativeMouse = 782;  // byte
inline constexpr std::size_t kInUse = 783;                // byte: a macro is being run
inline constexpr std::size_t kCaptureKeys = 785;          // byte: recording option "Keys"
inline constexpr std::size_t kCaptureMouse = 786;         // byte: "Mouse"
inline constexpr std::size_t kCaptureClicksOnly = 787;    // byte: "Clicks Only"
inline constexpr std::size_t kCaptureRelative = 788;      // byte: "Relative To Screen" (1 screen, 2 window, 3 position)
inline constexpr std::size_t kCaptureTime = 789;          // byte: "Time"
inline constexpr std::size_t kField790 = 790;             // int32
inline constexpr std::size_t kField794 = 794;             // int32
inline constexpr std::size_t kCaptureOptionsSet = 798;    // byte: set to 1 at record start
inline constexpr std::size_t kWindowRelativeMouse2 = 799; // byte: same value as 782
inline constexpr std::size_t kField812 = 812;             // int32, zeroed after data group 11
inline constexpr std::size_t kScopeKind = 814;            // int16 at + 2i
inline constexpr std::size_t kScopeText = 1795;           // string[20] at + 21i
inline constexpr std::size_t kMacroActive = 12315;        // byte at + i
inline constexpr std::size_t kActivationCode = 12814;     // uint16 at + 2i
inline constexpr std::size_t kWindowMatch = 13815;        // byte at + i
inline constexpr std::size_t kMacroCount = 14316;         // int32 (at most 500)
inline constexpr std::size_t kByte14320 = 14320;          // byte
inline constexpr std::size_t kNtFlag = 14321;             // byte
inline constexpr std::size_t kAbbrekeysPresent = 14322;   // byte
inline constexpr std::size_t kForegroundProgram = 14323;  // string[250]
inline constexpr std::size_t kRunningCount = 14574;       // int32 (at most 200)
inline constexpr std::size_t kButtonsSwapped = 14578;     // byte
inline constexpr std::size_t kIdleTracking = 14579;       // byte
inline constexpr std::size_t kIdleFired = 14580;          // byte
inline constexpr std::size_t kWaitClick = 14581;          // byte
inline constexpr std::size_t kWaitKey = 14582;            // byte
inline constexpr std::size_t kWaitText = 14583;           // byte
inline constexpr std::size_t kWaitKeySync = 14584;        // byte
inline constexpr std::size_t kIdleSeconds = 14585;        // int32
inline constexpr std::size_t kRunningPrograms = 14589;    // string[25] at + 26(i - 1), i = 1..200
inline constexpr std::size_t kMouseClickLeft = 19789;     // byte
inline constexpr std::size_t kMouseClickRight = 19790;    // byte
inline constexpr std::size_t kMouseClickMiddle = 19791;   // byte
}  // namespace glob

// One contiguous run of bytes of the block.
struct ByteRange {
  std::size_t offset = 0;
  std::size_t width = 0;
  bool operator==(const ByteRange&) const = default;
};

// Copies the ranges from one block to another at the same offsets. Both spans must hold a whole
// block; ranges are checked against the smaller of the two.
void CopyRanges(ConstBytes source, Bytes target, std::span<const ByteRange> ranges);

// The five table entries of one macro (scope kind, scope text, active, activation code, window
// match); empty for a number outside 1..500.
std::vector<ByteRange> MacroEntryRanges(int macro);

// The fields of data group `group` (0..14; group 7 needs the macro number). Empty for any other
// group number.
std::vector<ByteRange> DataGroupRanges(int group, int macro);

// A recording stop key as the block holds it.
struct StopKey {
  std::int16_t mouseKind = 0;  // 0 none, 1 left, 2 right, 3 middle
  std::int16_t virtualKey = 0;
  bool ctrl = false;
  bool alt = false;
  bool shift = false;
  bool win = false;
  bool operator==(const StopKey&) const = default;
};

class TGlobData : public ByteRecord {
 public:
  TGlobData() : ByteRecord(kGlobDataSize) {}

  static bool ValidMacro(int i) { return i >= 1 && i <= kGlobMaxMacros; }
  static bool ValidHotKey(int k) { return k >= 0 && k < kGlobHotKeyCount; }

  std::uint32_t PlayerWindow() const { return U32(glob::kPlayerWindow); }
  void SetPlayerWindow(std::uint32_t w) { SetU32(glob::kPlayerWindow, w); }

  // Hot-key map: 1 when an active macro has hot key index k.
  bool HotKeyMapped(int k) const { return ValidHotKey(k) && U8(glob::kHotKeyMap + k) != 0; }
  void SetHotKeyMapped(int k, bool on);
  void ClearHotKeyMap();
  bool AbbrekeysPresent() const { return U8(glob::kAbbrekeysPresent) != 0; }
  void SetAbbrekeysPresent(bool on) { SetU8(glob::kAbbrekeysPresent, on ? 1 : 0); }

  // Per-macro tables, i = 1..500.
  std::int16_t ScopeKind(int i) const;
  void SetScopeKind(int i, std::int16_t kind);
  std::string ScopeText(int i) const;
  void SetScopeText(int i, std::string_view text);  // first 20 characters kept
  bool MacroActive(int i) const;
  void SetMacroActive(int i, bool on);
  std::uint16_t ActivationCode(int i) const;
  void SetActivationCode(int i, std::uint16_t code);
  std::uint8_t WindowMatch(int i) const;
  void SetWindowMatch(int i, std::uint8_t v);
  std::int32_t MacroCount() const { return I32(glob::kMacroCount); }
  void SetMacroCount(std::int32_t n) { SetI32(glob::kMacroCount, n); }

  // Hook handles, windows, flags.
  std::uint32_t KeyboardHook() const { return U32(glob::kKeyboardHook); }
  void SetKeyboardHook(std::uint32_t h) { SetU32(glob::kKeyboardHook, h); }
  std::uint32_t MouseHook() const { return U32(glob::kMouseHook); }
  void SetMouseHook(std::uint32_t h) { SetU32(glob::kMouseHook, h); }
  std::uint32_t SecondaryWindow() const { return U32(glob::kSecondaryWindow); }
  bool SecondaryWindowOn() const { return U8(glob::kSecondaryWindowOn) != 0; }
  void SetSecondaryWindow(std::uint32_t w, bool on);
  std::uint32_t CaptureWindow() const { return U32(glob::kCaptureWindow); }
  bool CaptureWindowFlag() const { return U8(glob::kCaptureWindowFlag) != 0; }
  void SetCaptureWindow(std::uint32_t w, bool flag);
  bool InUse() const { return U8(glob::kInUse) != 0; }
  void SetInUse(bool on) { SetU8(glob::kInUse, on ? 1 : 0); }

  // Recording.
  bool CaptureOn() const { return U8(glob::kCaptureOn) != 0; }
  void SetCaptureOn(bool on) { SetU8(glob::kCaptureOn, on ? 1 : 0); }
  std::int16_t CaptureMacro() const { return I16(glob::kCaptureMacro); }
  void SetCaptureMacro(std::int16_t n) { SetI16(glob::kCaptureMacro, n); }
  StopKey ReadStopKey(int which) const;  // which = 1 or 2
  void WriteStopKey(int which, const StopKey& key);

  // Programs.
  std::string ForegroundProgram() const { return ShortString(glob::kForegroundProgram, kGlobForegroundProgramMax); }
  void SetForegroundProgram(std::string_view name) {
    SetShortString(glob::kForegroundProgram, kGlobForegroundProgramMax, name);
  }
  std::int32_t RunningCount() const { return I32(glob::kRunningCount); }
  void SetRunningCount(std::int32_t n) { SetI32(glob::kRunningCount, n); }
  std::string RunningProgram(int i) const;  // i = 1..200
  void SetRunningProgram(int i, std::string_view name);
  void ClearRunningPrograms();  // count 0 and all 200 names emptied

  // Idle and waits.
  bool IdleTracking() const { return U8(glob::kIdleTracking) != 0; }
  bool IdleFired() const { return U8(glob::kIdleFired) != 0; }
  std::int32_t IdleSeconds() const { return I32(glob::kIdleSeconds); }
  void SetIdle(bool tracking, bool fired, std::int32_t seconds);
  bool WaitFlag(std::size_t offset) const { return U8(offset) != 0; }  // glob::kWaitClick .. kWaitKeySync
  void SetWaitFlag(std::size_t offset, bool on) { SetU8(offset, on ? 1 : 0); }

  // Mouse-click macros exist for a button: 1 left, 2 right, 3 middle (the order of the fields).
  bool MouseClickFlag(int button) const;
  void SetMouseClickFlag(int button, bool on);

  // Copies data group `group` of `source` (a whole block, such as the hook library's copy) into
  // this block at the same offsets. A group outside 0..14, or group 7 with a macro number outside
  // 1..500, copies nothing and returns false. Group 11 ends with the 32-bit field 812 set to 0.
  bool CopyDataGroup(ConstBytes source, int group, int macro = 0);
};

}  // namespace wdx
