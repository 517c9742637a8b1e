// What one key event costs the hook's decision (HookCore::OnKey), without the system call that
// posts the result: the host here only counts posts. Each iteration is one key event (a down or
// an up), so the figure is nanoseconds per key event.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "hook/hook_core.h"
#include "hook/in_process_hook.h"
#include "platform/virtual_keys.h"
#include "shared/glob_data.h"

namespace {

using namespace wdx;
using namespace wdx::hook;

class CountingHost : public HookHost {
 public:
  void Post(platform::WindowHandle, std::uint32_t, std::uint32_t, std::int32_t) override { ++posts; }
  void PostClick(platform::WindowHandle, std::uint32_t, platform::Point) override { ++posts; }
  platform::WindowHandle ForegroundWindow() override { return 0x1234; }
  platform::Rect WindowRect(platform::WindowHandle) override { return {}; }
  char KeyChar(std::uint8_t vk, std::uint16_t, bool shift, bool caps) override { return UsKeyChar(vk, shift, caps); }
  std::uint64_t posts = 0;
};

// Letters typed one after the other: down, up, down, up ...
void RunTyping(benchmark::State& state, const TGlobData& block) {
  CountingHost host;
  std::vector<std::uint8_t> library(block.Raw().begin(), block.Raw().end());  // the library's copy
  HookCore core(library, host);
  std::uint32_t i = 0;
  for (auto _ : state) {
    const auto k = static_cast<std::uint8_t>('A' + (i >> 1) % 26);
    const KeyVerdict v = core.OnKey({k, 0, (i & 1) != 0, false, i});
    benchmark::DoNotOptimize(v);
    ++i;
  }
  state.counters["posts/event"] = benchmark::Counter(static_cast<double>(host.posts) / static_cast<double>(i));
}

void BM_PlainTyping(benchmark::State& state) {
  TGlobData block;
  block.SetPlayerWindow(0x1000);
  block.SetMacroCount(100);
  RunTyping(state, block);
}
BENCHMARK(BM_PlainTyping);

void BM_TypingWithAbbrekeysAndTextWait(benchmark::State& state) {
  TGlobData block;
  block.SetPlayerWindow(0x1000);
  block.SetMacroCount(100);
  block.SetAbbrekeysPresent(true);
  block.SetWaitFlag(glob::kWaitText, true);
  RunTyping(state, block);
}
BENCHMARK(BM_TypingWithAbbrekeysAndTextWait);

void BM_HotKeyPresses(benchmark::State& state) {
  TGlobData block;
  block.SetPlayerWindow(0x1000);
  for (int k = 0; k < 26; ++k) block.SetHotKeyMapped(k, true);  // Ctrl+A .. Ctrl+Z
  CountingHost host;
  std::vector<std::uint8_t> library(block.Raw().begin(), block.Raw().end());
  HookCore core(library, host);
  core.OnKey({vk::kLControl, 0, false, false, 0});
  std::uint32_t i = 0;
  for (auto _ : state) {
    const auto k = static_cast<std::uint8_t>('A' + (i >> 1) % 26);
    benchmark::DoNotOptimize(core.OnKey({k, 0, (i & 1) != 0, false, i}));
    ++i;
  }
}
BENCHMARK(BM_HotKeyPresses);

void BM_RecordingKeys(benchmark::State& state) {
  TGlobData block;
  block.SetPlayerWindow(0x1000);
  block.SetCaptureWindow(0x1000, true);
  block.WriteCaptureOptions({.keys = true, .time = true});
  block.SetCaptureOn(true);
  RunTyping(state, block);
}
BENCHMARK(BM_RecordingKeys);

}  // namespace
