// The defaults of the interpreter host's optional services.
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/platform.h"
#include "player/interpreter/interpreter_host.h"

namespace wdx::player {

std::uint32_t TimedPauseMs(bool exact, double seconds, double speedFactor) {
  if (!exact && speedFactor == 0.0) return 0;
  const double ms = exact ? seconds * 1000.0 : speedFactor * seconds * 1000.0;
  // NaN fails this test too.
  if (!(ms >= 1.0)) return 0;
  // The largest finite wait: one more is the endless one.
  constexpr double kLongest = std::numeric_limits<std::uint32_t>::max() - 1.0;
  return static_cast<std::uint32_t>(std::min(std::trunc(ms), kLongest));
}

void InterpreterHost::TimedPauseFor(bool exact, double seconds) {
  const std::uint32_t ms = TimedPauseMs(exact, seconds, State().speedFactor);
  platform::Platform* p = GetPlatform();
  if (ms > 0 && p != nullptr && p->clock != nullptr) p->clock->Sleep(ms);
}

void InterpreterHost::ProcessStringVar(std::string& /*text*/, std::size_t /*maxLength*/) {}

void InterpreterHost::SetMainWin(platform::WindowHandle w) {
  platform::Platform* p = GetPlatform();
  if (p != nullptr && p->windows != nullptr && w != platform::kNoWindow) p->windows->BringToFront(w);
}

}  // namespace wdx::player
