// The hook library's in-process stand-in: the same 22 exports as WDXHOOK.dll, with the system's
// part played by the test. Events fed in reach the decisions only while the matching hook is
// installed; messages go out through the platform's window system (PostMessage), so a test sees
// them in the stand-in desktop's queue or as foreign messages.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "hook/hook_core.h"
#include "hook/hook_library.h"
#include "platform/kernel_objects.h"
#include "platform/window_system.h"
#include "shared/glob_data.h"

namespace wdx::hook {

class InProcessHookLibrary : public HookLibrary, private HookHost {
 public:
  // `kernel` (optional) opens WDKR1KGR and WDTT1KGR when the CBT and remap hooks are installed.
  explicit InProcessHookLibrary(platform::WindowSystem& windows, platform::KernelObjects* kernel = nullptr);
  ~InProcessHookLibrary() override;

  std::uint32_t WdxHookKeyboard() override;
  std::uint32_t WdxHookMouse() override;
  std::uint32_t WdxHookCBT() override;
  std::uint32_t WdxHookSwap() override;
  bool WdxUnHook(std::uint32_t handle) override;
  void Push(PushGroup group, const TGlobData& block, int macro = 0) override;
  void WdxGetGlob(Bytes buffer) override;

  // --- What the system would deliver to the installed hooks. Each returns whether the event
  // was swallowed (never reaching the foreground program).
  bool FeedKey(std::uint8_t vk, bool up, bool injected = false, std::uint32_t time = 0);
  // Down then up.
  bool FeedKeyPress(std::uint8_t vk, bool injected = false);
  bool FeedMouse(MouseAction action, int button, platform::Point p, bool injected = false, std::uint32_t time = 0);
  void FeedForeground(platform::WindowHandle w);
  void FeedProgramsChanged();
  // Lock-key states when hooks are installed, as the system would report them.
  void SetLockStates(bool caps, bool num, bool scroll) { core_.SetLockStates(caps, num, scroll); }
  // Hit-test code the window under a click reports.
  void SetHitTest(std::uint32_t code) { hitTest_ = code; }

  bool KeyboardInstalled() const { return keyboard_ != 0; }
  bool MouseInstalled() const { return mouse_ != 0; }
  bool CbtInstalled() const { return cbt_ != 0; }
  bool SwapInstalled() const { return swap_ != 0; }
  // The library's own block, as WdxGetGlob would return it.
  TGlobData Block() const { return TGlobData(block_.span()); }
  // Characters the remap hook typed in place of swallowed keys, in order.
  std::vector<char> remapped;

 private:
  // HookHost
  void Post(platform::WindowHandle w, std::uint32_t msg, std::uint32_t wparam, std::int32_t lparam) override;
  void PostClick(platform::WindowHandle w, std::uint32_t msg, platform::Point p) override;
  platform::WindowHandle ForegroundWindow() override;
  platform::Rect WindowRect(platform::WindowHandle w) override;
  char KeyChar(std::uint8_t vk, std::uint16_t scan, bool shift, bool capsLock) override;

  platform::WindowSystem& windows_;
  platform::KernelObjects* kernel_;
  ByteRecord block_{kGlobDataSize};
  HookCore core_;
  std::unique_ptr<platform::SharedMemory> cbtShare_;
  std::unique_ptr<platform::SharedMemory> swapShare_;
  std::uint32_t nextHandle_ = 0x5A000001;
  std::uint32_t keyboard_ = 0, mouse_ = 0, cbt_ = 0, swap_ = 0;
  std::uint32_t hitTest_ = 1;  // the client area
};

// The character a key types on a US keyboard with the given Shift and Caps Lock state, as the
// stand-in and the benchmarks need it (the real library asks the system's keyboard layout).
char UsKeyChar(std::uint8_t vk, bool shift, bool capsLock);

}  // namespace wdx::hook
