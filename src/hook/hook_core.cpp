#include "hook/hook_core.h"

#include "hook/hot_key_lookup.h"
#include "platform/virtual_keys.h"
#include "shared/glob_data.h"
#include "shared/protocol_messages.h"
#include "shared/remap_keys.h"
#include "shared/shared_blocks.h"

namespace wdx::hook {
namespace {

constexpr std::uint8_t kVkPacket = 0xE7;

// Left and right modifier keys report as the plain key, as the wait commands name them.
std::uint8_t GenericKey(std::uint8_t k) {
  switch (k) {
    case vk::kLShift: case vk::kRShift: return vk::kShift;
    case vk::kLControl: case vk::kRControl: return vk::kControl;
    case vk::kLMenu: case vk::kRMenu: return vk::kMenu;
    default: return k;
  }
}

// Whether a swallowed hot key's Win or Alt needs the harmless tap before it is let go. A held
// Ctrl already keeps Alt from opening the menu bar and Win from opening the Start menu; the tap
// would only make every key event after it wait while it passes every hook of the system.
bool NeedsMask(std::uint8_t mods) { return (mods & (kModWin | kModAlt)) != 0 && (mods & kModCtrl) == 0; }

// Keys after which the word typed so far no longer stands before the caret.
bool EndsAbbrekeyWord(std::uint8_t k) {
  return (k >= vk::kPrior && k <= vk::kDown) || k == vk::kInsert || k == vk::kDelete || k == vk::kEscape ||
         (k >= vk::kF1 && k <= vk::kF24);
}

}  // namespace

std::int32_t ClickLParam(platform::Point p) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(static_cast<std::uint16_t>(p.x)) << 16) |
                                   static_cast<std::uint16_t>(p.y));
}

HookCore::HookCore(Bytes block, HookHost& host) : block_(block), host_(host) {
  CheckRange(block_.size(), 0, kGlobDataSize);
}

void HookCore::SetLockStates(bool caps, bool num, bool scroll) {
  caps_ = caps;
  num_ = num;
  scroll_ = scroll;
}

std::uint8_t HookCore::Modifiers() const {
  std::uint8_t m = 0;
  if (down_[vk::kControl] || down_[vk::kLControl] || down_[vk::kRControl]) m |= kModCtrl;
  if (down_[vk::kMenu] || down_[vk::kLMenu] || down_[vk::kRMenu]) m |= kModAlt;
  if (down_[vk::kShift] || down_[vk::kLShift] || down_[vk::kRShift]) m |= kModShift;
  if (down_[vk::kLWin] || down_[vk::kRWin]) m |= kModWin;
  return m;
}

platform::WindowHandle HookCore::PlayerWindow() const { return ReadU32(block_, glob::kPlayerWindow); }

platform::WindowHandle HookCore::CbtWindow() const {
  // The CBT block is written before the player pushes its window into the main block.
  if (cbt_.size() >= kCbtBlockSize) {
    const platform::WindowHandle w = ReadU32(cbt_, cbtshare::kPlayerWindow);
    if (w != platform::kNoWindow) return w;
  }
  return PlayerWindow();
}

platform::WindowHandle HookCore::CaptureWindow() const {
  const platform::WindowHandle w = ReadU32(block_, glob::kCaptureWindow);
  return w != platform::kNoWindow ? w : PlayerWindow();
}

void HookCore::Post(std::uint32_t msg, std::uint32_t wparam, std::int32_t lparam) {
  host_.Post(PlayerWindow(), msg, wparam, lparam);
}

void HookCore::NoteActivity() {
  if (!FlagSet(glob::kIdleTracking)) return;
  if (ReadI32(block_, glob::kIdleSeconds) == 0 && !FlagSet(glob::kIdleFired)) return;
  // One message per idle period: the period is over once the counters are back at zero.
  WriteI32(block_, glob::kIdleSeconds, 0);
  WriteU8(block_, glob::kIdleFired, 0);
  Post(UM_IDLEENDED, 0, 0);
}

void HookCore::ResetAbbrekeyWord() {
  if (!abbrekeyWordOpen_) return;
  abbrekeyWordOpen_ = false;
  Post(UM_ABBREKEYCHAR, kAbbrekeyReset, 0);
}

CaptureOptions HookCore::ReadCaptureOptions() const {
  CaptureOptions o;
  o.keys = FlagSet(glob::kCaptureKeys);
  o.mouse = FlagSet(glob::kCaptureMouse);
  o.clicksOnly = FlagSet(glob::kCaptureClicksOnly);
  o.relative = ReadU8(block_, glob::kCaptureRelative);
  o.time = FlagSet(glob::kCaptureTime);
  o.doubleAlt = FlagSet(glob::kDoubleAlt);
  return o;
}

bool HookCore::CaptureStarting() {
  const bool on = FlagSet(glob::kCaptureOn);
  if (on && !captureWasOn_) recorder_.Start();
  captureWasOn_ = on;
  return on;
}

bool HookCore::MatchesStopKey(int mouseKind, std::uint8_t k, std::uint8_t mods) const {
  for (const std::size_t o : {glob::kStopKey1, glob::kStopKey2}) {
    if (o == glob::kStopKey2 && !FlagSet(glob::kSecondStopKeyOn)) break;
    const std::uint8_t keyMods = static_cast<std::uint8_t>((ReadU8(block_, o + 4) ? kModCtrl : 0) |
                                                           (ReadU8(block_, o + 5) ? kModAlt : 0) |
                                                           (ReadU8(block_, o + 6) ? kModShift : 0) |
                                                           (ReadU8(block_, o + 7) ? kModWin : 0));
    const int kind = ReadI16(block_, o);
    if (kind != mouseKind || keyMods != mods) continue;
    if (mouseKind != 0 || ReadI16(block_, o + 2) == static_cast<std::int16_t>(k)) return true;
  }
  return false;
}

void HookCore::EndCapture() {
  host_.Post(CaptureWindow(), UM_CAPTUREDONE, static_cast<std::uint16_t>(ReadI16(block_, glob::kCaptureMacro)), 0);
  // Stop recording at once; the owner pushes the cleared flag as well.
  WriteU8(block_, glob::kCaptureOn, 0);
  captureWasOn_ = false;
}

void HookCore::SendCaptureText(const std::string& text) {
  const auto macro = static_cast<std::uint16_t>(ReadI16(block_, glob::kCaptureMacro));
  const platform::WindowHandle to = CaptureWindow();
  for (const char c : text) host_.Post(to, UM_CAPTURECHAR, macro, static_cast<unsigned char>(c));
}

KeyVerdict HookCore::OnKey(const KeyInput& e) {
  const std::uint8_t k = e.vk;
  const bool repeat = !e.up && down_[k];
  down_[k] = !e.up;

  if (!e.up && !repeat) {
    if (k == vk::kCapital) {
      caps_ = !caps_;
      Post(UM_CAPSLOCKSTATE, caps_ ? 1 : 0, 0);
    } else if (k == vk::kNumLock) {
      num_ = !num_;
      Post(UM_NUMLOCKSTATE, num_ ? 1 : 0, 0);
    } else if (k == vk::kScroll) {
      scroll_ = !scroll_;
      Post(UM_SCROLLLOCKSTATE, scroll_ ? 1 : 0, 0);
    }
  }

  if (e.up) {
    const bool swallowed = swallowed_[k];
    swallowed_[k] = false;
    if (!swallowed && CaptureStarting() && !e.injected) SendCaptureText(recorder_.KeyUp(k, e.time, ReadCaptureOptions()));
    return {swallowed};
  }

  const bool inUse = FlagSet(glob::kInUse);
  if (k == vk::kExecute) {
    if (FlagSet(glob::kWaitKeySync)) {
      WriteU8(block_, glob::kWaitKeySync, 0);
      Post(UM_KEYSYNCDONE, 0, 0);
      swallowed_[k] = true;
      return {true};
    }
    if (inUse) {
      WriteU8(block_, glob::kInUse, 0);
      swallowed_[k] = true;
      return {true};
    }
  }
  if (!e.injected) NoteActivity();
  if (e.injected && inUse) return {};

  const std::uint8_t mods = Modifiers();
  if (CaptureStarting()) {
    if (!repeat && MatchesStopKey(0, k, mods)) {
      EndCapture();
      swallowed_[k] = true;
      return {true};
    }
    if (!e.injected) {
      const char typed = host_.KeyChar(k, e.scan, (mods & kModShift) != 0, caps_);
      const char plain = (mods & (kModCtrl | kModAlt)) ? host_.KeyChar(k, e.scan, false, false) : typed;
      SendCaptureText(recorder_.KeyDown(k, mods, typed, plain, e.time, ReadCaptureOptions()));
    }
    return {};
  }

  if (!repeat && FlagSet(glob::kWaitKey) && k != kVkPacket) Post(UM_KEYSEEN, GenericKey(k), 0);
  if (IsModifierKey(k)) return {};

  const int index = HotKeyIndexOfKey(k, mods);
  if (index >= 0 && FlagSet(glob::kSecondaryWindowOn)) {
    if (!repeat) host_.Post(ReadU32(block_, glob::kSecondaryWindow), UM_HOTKEYINDEX, static_cast<std::uint32_t>(index), 0);
    swallowed_[k] = true;
    return {true, NeedsMask(mods)};
  }
  if (index >= 0 && FlagSet(glob::kHotKeyMap + static_cast<std::size_t>(index))) {
    if (!repeat) {
      const std::uint32_t w = static_cast<std::uint32_t>(index) | (caps_ ? kHotKeyCapsBit : 0);
      Post(UM_HOTKEY, w, static_cast<std::int32_t>(host_.ForegroundWindow()));
    }
    swallowed_[k] = true;
    return {true, NeedsMask(mods)};
  }

  if (!repeat && (k == vk::kPause || k == vk::kCancel)) Post(UM_ABORTMACRO, 0, 0);

  if (mods & (kModCtrl | kModAlt | kModWin)) {
    ResetAbbrekeyWord();
    return {};
  }
  const char c = host_.KeyChar(k, e.scan, (mods & kModShift) != 0, caps_);
  if (c == 0) {
    if (EndsAbbrekeyWord(k)) ResetAbbrekeyWord();
    return {};
  }
  const auto code = static_cast<std::int32_t>(static_cast<unsigned char>(c));
  if (FlagSet(glob::kWaitText)) Post(UM_TYPEDCHAR, 0, code);
  if (FlagSet(glob::kAbbrekeysPresent) && ReadI32(block_, glob::kMacroCount) > 0 && !inUse) {
    Post(UM_ABBREKEYCHAR, caps_ ? kAbbrekeyCapsOn : 0, code);
    abbrekeyWordOpen_ = true;
  }
  return {};
}

KeyVerdict HookCore::OnRemapKey(const KeyInput& e) {
  const std::uint8_t k = e.vk;
  remapDown_[k] = !e.up;
  if (e.up) {
    const bool swallowed = remapSwallowed_[k];
    remapSwallowed_[k] = false;
    return {swallowed};
  }
  if (e.injected || swap_.size() < kSwapBlockSize || IsModifierKey(k)) return {};
  const bool ctrl = remapDown_[vk::kControl] || remapDown_[vk::kLControl] || remapDown_[vk::kRControl];
  const bool alt = remapDown_[vk::kMenu] || remapDown_[vk::kLMenu] || remapDown_[vk::kRMenu];
  const bool win = remapDown_[vk::kLWin] || remapDown_[vk::kRWin];
  if (ctrl || alt || win) return {};
  const bool shift = remapDown_[vk::kShift] || remapDown_[vk::kLShift] || remapDown_[vk::kRShift];
  const char c = host_.KeyChar(k, e.scan, shift, caps_);
  const int slot = SwapSlot(static_cast<unsigned char>(c));
  if (slot < 0) return {};
  const auto replacement = static_cast<char>(ReadU8(swap_, swapshare::kTable + static_cast<std::size_t>(slot)));
  if (replacement == c || replacement == 0) return {};
  remapSwallowed_[k] = true;
  return {true, false, replacement};
}

bool HookCore::OnMouse(const MouseInput& e) {
  if (!e.injected) NoteActivity();
  if (e.action == MouseAction::kMove || e.action == MouseAction::kWheel) return false;
  int button = e.button;
  if (button < 1 || button > 3) return false;
  if (FlagSet(glob::kButtonsSwapped) && button != 3) button = 3 - button;

  if (e.action == MouseAction::kUp) {
    const bool swallowed = mouseSwallowed_[button];
    mouseSwallowed_[button] = false;
    if (!swallowed && CaptureStarting() && !e.injected) {
      SendCaptureText(recorder_.MouseButton(button, false, e.point, host_.WindowRect(host_.ForegroundWindow()),
                                            e.time, ReadCaptureOptions()));
    }
    return swallowed;
  }

  if (e.injected && FlagSet(glob::kInUse)) return false;
  ResetAbbrekeyWord();
  const std::uint8_t mods = Modifiers();
  if (CaptureStarting()) {
    if (MatchesStopKey(button, 0, mods)) {
      EndCapture();
      mouseSwallowed_[button] = true;
      return true;
    }
    if (!e.injected) {
      SendCaptureText(recorder_.MouseButton(button, true, e.point, host_.WindowRect(host_.ForegroundWindow()),
                                            e.time, ReadCaptureOptions()));
    }
    return false;
  }

  const int index = HotKeyIndexOfMouse(button, mods);
  if (index >= 0 && mods != 0 && FlagSet(glob::kSecondaryWindowOn)) {
    host_.Post(ReadU32(block_, glob::kSecondaryWindow), UM_HOTKEYINDEX, static_cast<std::uint32_t>(index), 0);
    mouseSwallowed_[button] = true;
    return true;
  }
  bool swallow = false;
  if (index >= 0 && FlagSet(glob::kHotKeyMap + static_cast<std::size_t>(index))) {
    const std::uint32_t w = static_cast<std::uint32_t>(index) | (caps_ ? kHotKeyCapsBit : 0);
    Post(UM_HOTKEY, w, static_cast<std::int32_t>(host_.ForegroundWindow()));
    swallow = mods != 0;
  }
  if (FlagSet(glob::kWaitClick)) Post(UM_MOUSESEEN, static_cast<std::uint32_t>(button), 0);
  if (FlagSet(glob::kMouseClickLeft + static_cast<std::size_t>(button - 1))) {
    static constexpr std::uint32_t kClickMessage[] = {0, UM_MOUSELEFT, UM_MOUSERIGHT, UM_MOUSEMIDDLE};
    host_.PostClick(PlayerWindow(), kClickMessage[button], e.point);
  }
  mouseSwallowed_[button] = swallow;
  return swallow;
}

void HookCore::OnForeground(platform::WindowHandle w) {
  // No window in front (the focus is between windows) is no change worth reporting.
  if (w == platform::kNoWindow || w == lastForeground_) return;
  lastForeground_ = w;
  ResetAbbrekeyWord();
  host_.Post(CbtWindow(), UM_FOREGROUND, w, 0);
}

void HookCore::OnProgramsChanged() { host_.Post(CbtWindow(), UM_PROGRAMSCHANGED, 0, 0); }

}  // namespace wdx::hook
