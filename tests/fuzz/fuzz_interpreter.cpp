// Arbitrary macro text played as a top-level run on the in-memory platform.
//
// A run is bounded without changing what it does: the stand-in's clock never sleeps (waits
// move it), prompts are closed as the user would close them, and after a budget of message
// pumps the abort key is pressed, as a user would press it. Findings besides crashes and the
// sanitizers' reports: a run that goes on long after the abort, a key left down, a variable
// longer than a variable holds, a level count that does not come back to zero, a file or INI
// path outside the stand-in's root folder.
#include <cstddef>
#include <cstdint>
#include <string>

#include "clock_host.h"
#include "fuzz_support.h"
#include "rooted_files.h"
#include "platform/memory/memory_platform.h"
#include "player/core/run_frame.h"
#include "player/interpreter/interpreter.h"

namespace {

using wdx::fuzz::Finding;

// Pumps before the abort key, and pumps the run may still take after it (the waits in
// progress end first; they see a clock that moves fast from then on).
constexpr int kAbortAfterPumps = 20000;
constexpr int kEndWithinPumps = 20000;
constexpr std::uint64_t kFastClockMs = std::uint64_t{1} << 24;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace wdx;
  platform::MemoryPlatform mem;
  player::testing::ClockHost host(mem);
  fuzz::RootedPlatform rooted(mem);
  rooted.Into(*host.GetPlatform());
  host.expand = [&host](std::string& text, std::size_t maxLength) {
    player::ProcessStringVar(text, maxLength, host.state.vars);
  };
  host.onPump = [&host, &mem](int pumps) {
    if (pumps == kAbortAfterPumps) {
      host.state.abortMacro = true;
      host.pumpMs = kFastClockMs;
    } else if (pumps > kAbortAfterPumps + kEndWithinPumps) {
      Finding("the run did not end after the abort key");
    }
    // The boxes and the typed keys are checked at the end only; keep them from growing.
    if (host.boxes.size() > 1000) host.boxes.clear();
    if (host.pauses.size() > 1000) host.pauses.clear();
    if (mem.input.keys.size() > 100000) mem.input.keys.clear();
  };
  // A user's run: macro named, error boxes on, Caps Lock given back at the end.
  host.state.currentMacroName = "Fuzz";
  player::Interpreter interpreter(host);
  interpreter.DoMacro(fuzz::AsText(data, size), 1, 1, 1, true, false, 0);

  if (interpreter.Depth() != 0) Finding("the levels did not unwind");
  if (!interpreter.HeldKeys().empty() || !mem.input.KeysDown().empty()) Finding("a key is still down after the run");
  for (const std::string& t : host.state.vars.text) {
    if (t.size() > player::VariableSet::kMaxTextLength) Finding("a text variable passed its limit");
  }
  return 0;
}
