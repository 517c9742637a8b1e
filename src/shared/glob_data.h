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

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "shared/byte_codec.h"
#include "shared/macro_record.h"

namespace wdx {

inline constexpr std::size_t kGlobDataSize = 19793;
inline constexpr int kGlobMaxMacros = 500;
inline constexpr int kGlobHotKeyCount = 721;
inline constexpr int kGlobMaxRunningPrograms = 200;
inline constexpr std::size_t kGlobScopeTextMax = 20;
inline constexpr std::size_t kGlobForegroundProgramMax = 250;
inline constexpr std::size_t kGlobRunningProgramMax = 25;

// Field offsets. Names follow what each field means to the player; the few fields only the
// hook library understands are named for what the player does with them.
namespace glob {
inline constexpr std::size_t kPlayerWindow = 0;  // int32: every library message goes here
inline constexpr std::size_t kStartClearedByte = 4;  // byte, cleared when the player starts
inline constexpr std::size_t kHotKeyMap = 17;    // byte x 721, + hot key index
inline constexpr std::size_t kCaptureOn = 738;   // byte: recording on
inline constexpr std::size_t kCaptureMacro = 739;  // int16: macro being recorded
inline constexpr std::size_t kRecordClearedByte = 741;  // byte, cleared at start and at record start
inline constexpr std::size_t kDoubleAlt = 742;     // byte: recording option "Double Alt"
inline constexpr std::size_t kCaptureLibraryWord = 743;  // int16, the library's own
inline constexpr std::size_t kMouseHook = 745;     // int32
inline constexpr std::size_t kKeyboardHook = 749;  // int32
inline constexpr std::size_t kSecondaryWindow = 753;      // int32: receives UM_HOTKEYINDEX
inline constexpr std::size_t kSecondaryWindowOn = 757;    // byte
inline constexpr std::size_t kCaptureWindow = 758;        // int32: receives UM_CAPTURECHAR, UM_CAPTUREDONE
inline constexpr std::size_t kCaptureWindowFlag = 762;    // byte
// Two stop keys of a recording, 10 bytes each: +0 int16 mouse-button kind (0 none, 1 left,
// 2 right, 3 middle), +2 int16 virtual key, +4 Ctrl, +5 Alt, +6 Shift, +7 Win (bytes, 1 held),
// +8 a spare byte cleared at record start; +9 of the first: the second stop key counts too, of
// the second: window-relative mouse recording.
inline constexpr std::size_t kStopKey1 = 763;
inline constexpr std::size_t kStopKey2 = 773;
inline constexpr std::size_t kStopKey1Spare = 771;        // byte, cleared at start and at record start
inline constexpr std::size_t kSecondStopKeyOn = 772;      // byte: the second stop key counts too
inline constexpr std::size_t kStopKey2Spare = 781;        // byte, cleared at record start
inline constexpr std::size_t kWindowRelativeMouse = 782;  // byte
inline constexpr std::size_t kInUse = 783;                // byte: a macro is being run
inline constexpr std::size_t kCaptureKeys = 785;          // byte: recording option "Keys"
inline constexpr std::size_t kCaptureMouse = 786;         // byte: "Mouse"
inline constexpr std::size_t kCaptureClicksOnly = 787;    // byte: "Clicks Only"
inline constexpr std::size_t kCaptureRelative = 788;      // byte: "Relative To Screen" (1 screen, 2 window, 3 position)
inline constexpr std::size_t kCaptureTime = 789;          // byte: "Time"
inline constexpr std::size_t kCaptureLibraryValue1 = 790;  // int32, the library's own
inline constexpr std::size_t kCaptureLibraryValue2 = 794;  // int32, the library's own
inline constexpr std::size_t kCaptureOptionsSet = 798;    // byte: set to 1 at record start
inline constexpr std::size_t kWindowRelativeMouse2 = 799; // byte: same value as 782
inline constexpr std::size_t kZeroedAfterGroup11 = 812;   // int32, the player's own
inline constexpr std::size_t kScopeKind = 814;            // int16 at + 2i
inline constexpr std::size_t kScopeText = 1795;           // string[20] at + 21i
inline constexpr std::size_t kMacroActive = 12315;        // byte at + i
inline constexpr std::size_t kActivationCode = 12814;     // uint16 at + 2i
inline constexpr std::size_t kWindowMatch = 13815;        // byte at + i
inline constexpr std::size_t kMacroCount = 14316;         // int32 (at most 500)
inline constexpr std::size_t kStartClearedByte2 = 14320;  // byte, cleared when the player starts
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

// The hook library's push exports, each of which carries a fixed set of fields from a program's
// block into the library's own copy. Every field belongs to exactly one of them: the one that
// carries it, or kInit (the whole block) for the fields no other export carries. In the order
// one flush sends them.
enum class PushGroup : std::uint8_t {
  kCapture,    // WdxUpCapture
  kInit,       // WdxUpInit
  kIdle,       // WdxUpIdle
  kWindow,     // WdxUpWindow
  kWindow2,    // WdxUpWindow2
  kProg,       // WdxUpProg
  kCaptureOn,  // WdxUpCaptureOn
  kWaits,      // WdxUpWaits
  kMouseClk,   // WdxUpMouseClk
  kProgs,      // WdxUpProgs
  kKeys,       // WdxUpKeys
  kKeyHook,    // WdxUpKeyHook
  kMouseHook,  // WdxUpMouseHook
  kItem,       // WdxUpItem, once for each macro whose table entries changed
  kNumKeys,    // WdxUpNumKeys
  kInUse,      // WdxUpInUse
};
inline constexpr std::size_t kPushGroupCount = 16;

// One field of the layout and the push group it belongs to. A table repeats its field `count`
// times, `stride` bytes apart (the per-macro tables from macro 1, the running programs).
struct GlobField {
  std::string_view name;
  std::size_t offset;
  std::size_t width;
  PushGroup group;
  std::size_t count = 1;
  std::size_t stride = 0;
};

// Every field of the block, in the order of their offsets.
std::span<const GlobField> GlobFields();

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

// The stop key that hot key `index` makes (its key or mouse button and its modifiers); all clear
// for a code that is no hot key index. Both programs write it with WriteStopKey.
StopKey StopKeyOf(int hotKeyIndex);

// The recording options the capture settings put into the block.
struct CaptureOptions {
  bool keys = false;
  bool mouse = false;
  bool clicksOnly = false;
  std::uint8_t relative = 0;  // 1 screen, 2 window, 3 position
  bool time = false;
  bool operator==(const CaptureOptions&) const = default;
};

// What changed in a block since the hook library last got it.
struct PendingPushes {
  std::bitset<kPushGroupCount> groups;
  std::bitset<kGlobMaxMacros + 1> items;  // kItem: the macros whose entries changed
  bool Has(PushGroup g) const { return groups.test(static_cast<std::size_t>(g)); }
  bool None() const { return groups.none(); }
};

// A program's block. Its bytes are written only through the setters below, and each write marks
// the push group of the field it changed (whether or not the value differs), so that one flush
// (hook::HookLibrary::Flush) brings the library's copy in step with exactly what changed.
class TGlobData {
 public:
  TGlobData() = default;
  // A block as another program or the hook library holds it; nothing is pending.
  explicit TGlobData(ConstBytes raw);

  static bool ValidMacro(int i) { return i >= 1 && i <= kGlobMaxMacros; }
  static bool ValidHotKey(int k) { return k >= 0 && k < kGlobHotKeyCount; }

  // The bytes as the hook library's exports take them.
  ConstBytes Raw() const { return bytes_.span(); }

  // What changed since the last TakePending; the marks are cleared.
  PendingPushes TakePending();
  // The hook library holds the block as it is now (the other program pushed the same values):
  // nothing is pending.
  void MarkInStep() { pending_ = {}; }
  // The same for one push group (kItem: the entries of `macro`).
  void MarkPushed(PushGroup group, int macro = 0);

  std::uint32_t PlayerWindow() const { return bytes_.U32(glob::kPlayerWindow); }
  void SetPlayerWindow(std::uint32_t w) { PutU32(glob::kPlayerWindow, w); }

  // The fields the player clears when it starts: the library's start bytes (4, 14320), the
  // recording bytes 741 and "Double Alt", and of the first stop key its virtual key, its Ctrl,
  // Alt and Shift bytes and its spare byte.
  void ClearStartFields();
  void SetNtFlag(bool nt) { PutU8(glob::kNtFlag, nt ? 1 : 0); }
  void SetMouseButtonsSwapped(bool on) { PutU8(glob::kButtonsSwapped, on ? 1 : 0); }

  // Hot-key map: 1 when an active macro has hot key index k.
  bool HotKeyMapped(int k) const { return ValidHotKey(k) && bytes_.U8(glob::kHotKeyMap + k) != 0; }
  void SetHotKeyMapped(int k, bool on);
  void ClearHotKeyMap();
  bool AbbrekeysPresent() const { return bytes_.U8(glob::kAbbrekeysPresent) != 0; }
  void SetAbbrekeysPresent(bool on) { PutU8(glob::kAbbrekeysPresent, on ? 1 : 0); }

  // Per-macro tables, i = 1..500.
  std::int16_t ScopeKind(int i) const;
  void SetScopeKind(int i, std::int16_t kind);
  std::string ScopeText(int i) const;
  void SetScopeText(int i, std::string_view text);  // first 20 characters kept
  bool MacroActive(int i) const;
  // The active byte as the record stores it (the hook library has always seen it so).
  void SetMacroActiveByte(int i, std::uint8_t value);
  void SetMacroActive(int i, bool on) { SetMacroActiveByte(i, on ? 1 : 0); }
  std::uint16_t ActivationCode(int i) const;
  void SetActivationCode(int i, std::uint16_t code);
  std::uint8_t WindowMatch(int i) const;
  void SetWindowMatch(int i, std::uint8_t v);
  // Empties the five tables of every macro (no scope, inactive, no activation), marking
  // nothing: the hook library reads no entry above the macro count, and a load pushes each
  // macro it reads.
  void ClearMacroTables();
  std::int32_t MacroCount() const { return bytes_.I32(glob::kMacroCount); }
  void SetMacroCount(std::int32_t n) { PutI32(glob::kMacroCount, n); }
  // Grows with every change of the per-macro tables or the macro count (setters, emptying,
  // data groups 7 and 8): what is derived from them is rebuilt when it moved.
  std::uint32_t MacroTablesRevision() const { return tablesRevision_; }

  // Hook handles, windows, flags.
  std::uint32_t KeyboardHook() const { return bytes_.U32(glob::kKeyboardHook); }
  void SetKeyboardHook(std::uint32_t h) { PutU32(glob::kKeyboardHook, h); }
  std::uint32_t MouseHook() const { return bytes_.U32(glob::kMouseHook); }
  void SetMouseHook(std::uint32_t h) { PutU32(glob::kMouseHook, h); }
  std::uint32_t SecondaryWindow() const { return bytes_.U32(glob::kSecondaryWindow); }
  bool SecondaryWindowOn() const { return bytes_.U8(glob::kSecondaryWindowOn) != 0; }
  void SetSecondaryWindow(std::uint32_t w, bool on);
  std::uint32_t CaptureWindow() const { return bytes_.U32(glob::kCaptureWindow); }
  bool CaptureWindowFlag() const { return bytes_.U8(glob::kCaptureWindowFlag) != 0; }
  void SetCaptureWindow(std::uint32_t w, bool flag);
  bool InUse() const { return bytes_.U8(glob::kInUse) != 0; }
  void SetInUse(bool on) { PutU8(glob::kInUse, on ? 1 : 0); }

  // Recording.
  bool CaptureOn() const { return bytes_.U8(glob::kCaptureOn) != 0; }
  void SetCaptureOn(bool on) { PutU8(glob::kCaptureOn, on ? 1 : 0); }
  std::int16_t CaptureMacro() const { return bytes_.I16(glob::kCaptureMacro); }
  void SetCaptureMacro(std::int16_t n) { PutI16(glob::kCaptureMacro, n); }
  StopKey ReadStopKey(int which) const;  // which = 1 or 2
  // The one writer of a stop key: modifiers at +4.. in the order Ctrl, Alt, Shift, Win.
  void WriteStopKey(int which, const StopKey& key);
  void SetSecondStopKeyOn(bool on) { PutU8(glob::kSecondStopKeyOn, on ? 1 : 0); }
  void SetDoubleAlt(bool on) { PutU8(glob::kDoubleAlt, on ? 1 : 0); }
  void WriteCaptureOptions(const CaptureOptions& options);
  // Mouse positions recorded relative to the window in front (782 and 799 alike).
  void SetWindowRelativeMouse(bool on);
  // At a recording's start: the bytes 741, 771 and 781 and the second stop key's switch (772)
  // cleared, the options-set byte (798) set.
  void BeginCaptureFields();

  // Programs.
  std::string ForegroundProgram() const {
    return bytes_.ShortString(glob::kForegroundProgram, kGlobForegroundProgramMax);
  }
  void SetForegroundProgram(std::string_view name);
  std::int32_t RunningCount() const { return bytes_.I32(glob::kRunningCount); }
  void SetRunningCount(std::int32_t n) { PutI32(glob::kRunningCount, n); }
  std::string RunningProgram(int i) const;  // i = 1..200
  void SetRunningProgram(int i, std::string_view name);
  void ClearRunningPrograms();  // count 0 and all 200 names emptied

  // Idle and waits.
  bool IdleTracking() const { return bytes_.U8(glob::kIdleTracking) != 0; }
  bool IdleFired() const { return bytes_.U8(glob::kIdleFired) != 0; }
  std::int32_t IdleSeconds() const { return bytes_.I32(glob::kIdleSeconds); }
  void SetIdle(bool tracking, bool fired, std::int32_t seconds);
  // glob::kWaitClick .. kWaitKeySync; any other offset reads false and writes nothing.
  bool WaitFlag(std::size_t offset) const { return IsWaitFlag(offset) && bytes_.U8(offset) != 0; }
  void SetWaitFlag(std::size_t offset, bool on) {
    if (IsWaitFlag(offset)) PutU8(offset, on ? 1 : 0);
  }

  // Mouse-click macros exist for a button: 1 left, 2 right, 3 middle (the order of the fields).
  bool MouseClickFlag(int button) const;
  void SetMouseClickFlag(int button, bool on);

  // Copies data group `group` of `source` (a whole block, such as the hook library's copy) into
  // this block at the same offsets. A group outside 0..14, or group 7 with a macro number outside
  // 1..500, copies nothing and returns false. Group 11 ends with the 32-bit field 812 set to 0.
  // What is copied came from the library, so nothing is marked for pushing.
  bool CopyDataGroup(ConstBytes source, int group, int macro = 0);
  // The player's own field at 812.
  std::int32_t ZeroedAfterGroup11() const { return bytes_.I32(glob::kZeroedAfterGroup11); }

  // The same bytes (what is pending does not count).
  bool operator==(const TGlobData& other) const { return bytes_ == other.bytes_; }

 private:
  static bool IsWaitFlag(std::size_t offset) { return offset >= glob::kWaitClick && offset <= glob::kWaitKeySync; }
  // Marks the push group of the field at `offset`.
  void Touch(std::size_t offset);
  // Zeroes `width` bytes of one field.
  void Zero(std::size_t offset, std::size_t width);
  void PutU8(std::size_t off, std::uint8_t v) {
    bytes_.SetU8(off, v);
    Touch(off);
  }
  void PutU16(std::size_t off, std::uint16_t v) {
    bytes_.SetU16(off, v);
    Touch(off);
  }
  void PutI16(std::size_t off, std::int16_t v) {
    bytes_.SetI16(off, v);
    Touch(off);
  }
  void PutU32(std::size_t off, std::uint32_t v) {
    bytes_.SetU32(off, v);
    Touch(off);
  }
  void PutI32(std::size_t off, std::int32_t v) {
    bytes_.SetI32(off, v);
    Touch(off);
  }
  void PutShortString(std::size_t off, std::size_t maxLen, std::string_view s) {
    bytes_.SetShortString(off, maxLen, s);
    Touch(off);
  }

  ByteRecord bytes_{kGlobDataSize};
  PendingPushes pending_;
  std::uint32_t tablesRevision_ = 0;
};

}  // namespace wdx
