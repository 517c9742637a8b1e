#include "hook/in_process_hook.h"

#include <array>
#include <cstring>

#include "hook/push_fields.h"
#include "platform/virtual_keys.h"
#include "shared/shared_blocks.h"

namespace wdx::hook {
namespace {

struct UsLayout {
  std::array<char, 256> plain{};
  std::array<char, 256> shifted{};
  UsLayout() {
    for (int c = 'a'; c <= 'z'; ++c) {
      plain[static_cast<std::size_t>(c - 'a' + 'A')] = static_cast<char>(c);
      shifted[static_cast<std::size_t>(c - 'a' + 'A')] = static_cast<char>(c - 'a' + 'A');
    }
    const char* digitsShifted = ")!@#$%^&*(";
    for (int d = 0; d < 10; ++d) {
      plain['0' + static_cast<std::size_t>(d)] = static_cast<char>('0' + d);
      shifted['0' + static_cast<std::size_t>(d)] = digitsShifted[d];
      plain[vk::kNumpad0 + static_cast<std::size_t>(d)] = shifted[vk::kNumpad0 + static_cast<std::size_t>(d)] =
          static_cast<char>('0' + d);
    }
    struct P {
      std::uint8_t vk;
      char plain, shifted;
    } punct[] = {{186, ';', ':'}, {187, '=', '+'}, {188, ',', '<'}, {189, '-', '_'}, {190, '.', '>'},
                 {191, '/', '?'}, {192, '`', '~'}, {219, '[', '{'}, {220, '\\', '|'}, {221, ']', '}'},
                 {222, '\'', '"'}, {vk::kSpace, ' ', ' '}, {vk::kReturn, '\r', '\r'}, {vk::kTab, '\t', '\t'},
                 {vk::kBack, '\b', '\b'}, {vk::kMultiply, '*', '*'}, {vk::kAdd, '+', '+'},
                 {vk::kSubtract, '-', '-'}, {vk::kDecimal, '.', '.'}, {vk::kDivide, '/', '/'}};
    for (const P& p : punct) {
      plain[p.vk] = p.plain;
      shifted[p.vk] = p.shifted;
    }
  }
};

}  // namespace

char UsKeyChar(std::uint8_t k, bool shift, bool capsLock) {
  static const UsLayout layout;
  const bool letter = k >= 'A' && k <= 'Z';
  const bool upper = letter ? (shift != capsLock) : shift;
  return upper ? layout.shifted[k] : layout.plain[k];
}

InProcessHookLibrary::InProcessHookLibrary(platform::WindowSystem& windows, platform::KernelObjects* kernel)
    : windows_(windows), kernel_(kernel), core_(block_.span(), *this) {}

InProcessHookLibrary::~InProcessHookLibrary() = default;

std::uint32_t InProcessHookLibrary::WdxHookKeyboard() { return keyboard_ = nextHandle_++; }
std::uint32_t InProcessHookLibrary::WdxHookMouse() { return mouse_ = nextHandle_++; }

std::uint32_t InProcessHookLibrary::WdxHookCBT() {
  if (kernel_ && !cbtShare_) cbtShare_ = kernel_->OpenSharedMemory(kCbtBlockName, kCbtBlockSize);
  if (cbtShare_) core_.SetCbtShare(ConstBytes(cbtShare_->Data(), cbtShare_->Size()));
  return cbt_ = nextHandle_++;
}

std::uint32_t InProcessHookLibrary::WdxHookSwap() {
  if (kernel_ && !swapShare_) swapShare_ = kernel_->OpenSharedMemory(kSwapBlockName, kSwapBlockSize);
  if (!swapShare_) return 0;  // nothing to remap from
  core_.SetSwapShare(ConstBytes(swapShare_->Data(), swapShare_->Size()));
  return swap_ = nextHandle_++;
}

bool InProcessHookLibrary::WdxUnHook(std::uint32_t handle) {
  if (handle == 0) return false;
  for (std::uint32_t* h : {&keyboard_, &mouse_, &cbt_, &swap_}) {
    if (*h == handle) {
      *h = 0;
      return true;
    }
  }
  return false;
}

void InProcessHookLibrary::Push(PushGroup group, const TGlobData& block, int macro) {
  CopyRanges(block.Raw(), block_.span(), PushRanges(group, macro));
}

void InProcessHookLibrary::WdxGetGlob(Bytes buffer) {
  if (buffer.size() < kGlobDataSize) return;
  std::memcpy(buffer.data(), block_.data(), kGlobDataSize);
}

bool InProcessHookLibrary::FeedKey(std::uint8_t vk, bool up, bool injected, std::uint32_t time) {
  const KeyInput e{vk, 0, up, injected, time};
  // As on Windows, the remap hook (installed last) sees the key first; a key it swallows
  // reaches no other hook and its replacement comes back as typed input.
  if (swap_ != 0) {
    const KeyVerdict v = core_.OnRemapKey(e);
    if (v.swallow) {
      if (v.replacement != 0) {
        remapped.push_back(v.replacement);
        if (keyboard_ != 0) {
          core_.OnKey({0xE7, static_cast<unsigned char>(v.replacement), false, true, time});
          core_.OnKey({0xE7, static_cast<unsigned char>(v.replacement), true, true, time});
        }
      }
      return true;
    }
  }
  if (keyboard_ == 0) return false;
  return core_.OnKey(e).swallow;
}

bool InProcessHookLibrary::FeedKeyPress(std::uint8_t vk, bool injected) {
  const bool down = FeedKey(vk, false, injected);
  const bool up = FeedKey(vk, true, injected);
  return down || up;
}

bool InProcessHookLibrary::FeedMouse(MouseAction action, int button, platform::Point p, bool injected,
                                     std::uint32_t time) {
  if (mouse_ == 0) return false;
  return core_.OnMouse({action, button, p, injected, time});
}

void InProcessHookLibrary::FeedForeground(platform::WindowHandle w) {
  if (cbt_ != 0) core_.OnForeground(w);
}

void InProcessHookLibrary::FeedProgramsChanged() {
  if (cbt_ != 0) core_.OnProgramsChanged();
}

void InProcessHookLibrary::Post(platform::WindowHandle w, std::uint32_t msg, std::uint32_t wparam,
                                std::int32_t lparam) {
  windows_.PostMessage(w, msg, wparam, lparam);
}

void InProcessHookLibrary::PostClick(platform::WindowHandle w, std::uint32_t msg, platform::Point p) {
  windows_.PostMessage(w, msg, hitTest_, ClickLParam(p));
}

platform::WindowHandle InProcessHookLibrary::ForegroundWindow() { return windows_.GetForegroundWindow(); }

platform::Rect InProcessHookLibrary::WindowRect(platform::WindowHandle w) { return windows_.GetWindowRect(w); }

char InProcessHookLibrary::KeyChar(std::uint8_t vk, std::uint16_t scan, bool shift, bool capsLock) {
  if (vk == 0xE7) return scan <= 0xFF ? static_cast<char>(scan) : 0;
  return UsKeyChar(vk, shift, capsLock);
}

}  // namespace wdx::hook
