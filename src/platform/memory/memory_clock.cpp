#include "platform/memory/memory_clock.h"

namespace wdx::platform {

namespace {
constexpr double kMsPerDay = 86400000.0;
// 2001-06-15 12:00, an ordinary weekday noon: tests that care set their own time.
constexpr double kDefaultNow = 37057.5;
constexpr std::uint32_t kDefaultTicks = 1000000;
}  // namespace

MemoryClock::MemoryClock() : nowBase_(kDefaultNow), tickBase_(kDefaultTicks) {}

double MemoryClock::Now() { return nowBase_ + static_cast<double>(elapsed_ - nowBaseElapsed_) / kMsPerDay; }

std::uint32_t MemoryClock::TickCount() {
  return static_cast<std::uint32_t>(tickBase_ + (elapsed_ - tickBaseElapsed_));
}

void MemoryClock::Sleep(std::uint32_t ms) { Advance(ms); }

void MemoryClock::SetNow(double dayCount) {
  nowBase_ = dayCount;
  nowBaseElapsed_ = elapsed_;
}

void MemoryClock::SetTickCount(std::uint32_t ticks) {
  tickBase_ = ticks;
  tickBaseElapsed_ = elapsed_;
}

void MemoryClock::Advance(std::uint64_t ms) {
  elapsed_ += ms;
  // A hook that itself sleeps must not recurse forever.
  if (hook_ && !inHook_) {
    inHook_ = true;
    hook_(*this);
    inHook_ = false;
  }
}

}  // namespace wdx::platform
