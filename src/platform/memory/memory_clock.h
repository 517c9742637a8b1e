// The stand-in clock: time moves only when the test (or the code under test, by sleeping)
// moves it, so every wait and timer is deterministic.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/clock.h"

namespace wdx::platform {

class MemoryClock : public Clock {
 public:
  MemoryClock();

  double Now() override;
  std::uint32_t TickCount() override;
  // Sleeping advances the clock by `ms`.
  void Sleep(std::uint32_t ms) override;

  // Sets the wall clock (day count since 1899-12-30); the tick count is unaffected.
  void SetNow(double dayCount);
  // Sets the tick count (to test the wrap after 49.7 days); the wall clock is unaffected.
  void SetTickCount(std::uint32_t ticks);
  // Moves both clocks forward.
  void Advance(std::uint64_t ms);
  // Milliseconds passed since construction, never wrapping: the time base of timers.
  std::uint64_t Monotonic() const { return elapsed_; }
  // Called after every advance (Sleep included): lets a test make something happen while the
  // code under test waits, such as a window appearing.
  void SetAdvanceHook(std::function<void(MemoryClock&)> hook) { hook_ = std::move(hook); }

 private:
  double nowBase_;
  std::uint64_t nowBaseElapsed_ = 0;
  std::uint32_t tickBase_;
  std::uint64_t tickBaseElapsed_ = 0;
  std::uint64_t elapsed_ = 0;
  std::function<void(MemoryClock&)> hook_;
  bool inHook_ = false;
};

}  // namespace wdx::platform
