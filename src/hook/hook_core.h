// The hook library's decisions, free of any system call: what one key or mouse event means
// given the library's copy of the hook-globals block, and which messages it posts. The real
// DLL feeds it from its low-level hooks; the in-process stand-in and the tests feed it
// directly. Every decision is a few table lookups and at most a few posts, so a hook callback
// that calls it stays short.
//
// Which events count:
// - Keys and mouse events the player itself synthesises while a macro is in use (block 783)
//   pass untouched, except the marker key VK_EXECUTE (0x2B): with the keystroke-sync flag set it
//   ends that wait (UM_KEYSYNCDONE), otherwise it marks the end of the macro's keys and clears
//   the library's in-use flag. Either way the marker is swallowed.
// - A hot key whose map byte is 1 is swallowed and posted as UM_HOTKEY; a mouse-button hot key
//   is swallowed only when a modifier is held, so plain clicks keep working.
// - The abort key is Pause/Break (Ctrl+Break too): UM_ABORTMACRO, the key passes on.
// - Typed characters go out as UM_ABBREKEYCHAR (while some macro has an Abbrekey and no macro
//   is in use) and UM_TYPEDCHAR (while the text-wait flag is set); navigation keys, Ctrl and
//   Alt combinations, clicks and foreground changes empty the Abbrekey word (wParam 1).
// - While recording, keys and clicks become macro text for the capture window and hot keys do
//   not fire; the stop key ends the recording (UM_CAPTUREDONE) and is swallowed.
#pragma once

#include <array>
#include <cstdint>

#include "hook/capture_recorder.h"
#include "platform/types.h"
#include "shared/byte_codec.h"

namespace wdx::hook {

struct KeyInput {
  std::uint8_t vk = 0;
  std::uint16_t scan = 0;  // for VK_PACKET input, the UTF-16 character
  bool up = false;
  bool injected = false;
  std::uint32_t time = 0;  // milliseconds, the event's own time stamp
};

enum class MouseAction { kMove, kDown, kUp, kWheel };

struct MouseInput {
  MouseAction action = MouseAction::kMove;
  int button = 0;  // 1 left, 2 right, 3 middle (down and up), as the hardware reports it
  platform::Point point;
  bool injected = false;
  std::uint32_t time = 0;
};

struct KeyVerdict {
  bool swallow = false;
  // A Win or Alt key is held without Ctrl while a hot key was swallowed: its release alone
  // would open the Start menu or the menu bar, so the host taps a harmless key first.
  bool maskModifier = false;
  // Remap hook: type this character in place of the swallowed key.
  char replacement = 0;
};

// What the decisions need from the system.
class HookHost {
 public:
  virtual ~HookHost() = default;
  virtual void Post(platform::WindowHandle w, std::uint32_t msg, std::uint32_t wparam, std::int32_t lparam) = 0;
  // A click for the mouse-click macros: post `msg` with wParam = the hit-test code of the
  // window under `p` and lParam = p with y in the low and x in the high 16 bits. The host may
  // do the hit test after the hook callback has returned.
  virtual void PostClick(platform::WindowHandle w, std::uint32_t msg, platform::Point p) = 0;
  virtual platform::WindowHandle ForegroundWindow() = 0;
  virtual platform::Rect WindowRect(platform::WindowHandle w) = 0;
  // The character (code page 1252) the key types with the given Shift and Caps Lock state and
  // neither Ctrl nor Alt; 0 when it types none. For VK_PACKET the character is in `scan`.
  virtual char KeyChar(std::uint8_t vk, std::uint16_t scan, bool shift, bool capsLock) = 0;
};

// lParam of the mouse-click messages: y in the low 16 bits, x in the high 16 bits.
std::int32_t ClickLParam(platform::Point p);

class HookCore {
 public:
  // `block` is the library's copy of the hook-globals block (19793 bytes), owned elsewhere.
  HookCore(Bytes block, HookHost& host);

  // WDKR1KGR and WDTT1KGR when they can be opened (empty spans otherwise).
  void SetCbtShare(ConstBytes cbt) { cbt_ = cbt; }
  void SetSwapShare(ConstBytes swap) { swap_ = swap; }
  // The lock keys' states when a hook is installed; presses toggle them afterwards.
  void SetLockStates(bool caps, bool num, bool scroll);
  void SetKeyDown(std::uint8_t vk, bool down) { down_[vk] = down; }

  // The keyboard hook.
  KeyVerdict OnKey(const KeyInput& e);
  // The remap hook: a character key whose entry in the remap table differs is swallowed and
  // its replacement returned. The host's own typing (injected) passes.
  KeyVerdict OnRemapKey(const KeyInput& e);
  // The mouse hook; true = swallow the event.
  bool OnMouse(const MouseInput& e);
  // Foreground tracking: a new foreground window; repeats of the same window and "no window"
  // are dropped.
  void OnForeground(platform::WindowHandle w);
  // A program started or ended.
  void OnProgramsChanged();

  bool CapsLock() const { return caps_; }

 private:
  std::uint8_t Modifiers() const;
  bool FlagSet(std::size_t offset) const { return block_[offset] != 0; }
  platform::WindowHandle PlayerWindow() const;
  platform::WindowHandle CbtWindow() const;
  platform::WindowHandle CaptureWindow() const;
  void Post(std::uint32_t msg, std::uint32_t wparam, std::int32_t lparam);
  void NoteActivity();
  void ResetAbbrekeyWord();
  bool CaptureStarting();
  bool MatchesStopKey(int mouseKind, std::uint8_t vk, std::uint8_t mods) const;
  void EndCapture();
  void SendCaptureText(const std::string& text);
  CaptureOptions ReadCaptureOptions() const;

  Bytes block_;
  HookHost& host_;
  ConstBytes cbt_;
  ConstBytes swap_;
  std::array<bool, 256> down_{};
  std::array<bool, 256> swallowed_{};
  std::array<bool, 256> remapDown_{};
  std::array<bool, 256> remapSwallowed_{};
  std::array<bool, 4> mouseSwallowed_{};
  bool caps_ = false;
  bool num_ = false;
  bool scroll_ = false;
  bool abbrekeyWordOpen_ = false;
  bool captureWasOn_ = false;
  platform::WindowHandle lastForeground_ = platform::kNoWindow;
  CaptureRecorder recorder_;
};

}  // namespace wdx::hook
