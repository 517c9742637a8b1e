// The interpreter's own cost per typed character and per dispatched tag, with keys going to the
// in-memory recording input and a message pump that does nothing.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/memory/memory_input.h"
#include "player/interpreter/interpreter.h"
#include "player/interpreter/key_posting.h"

namespace {

using wdx::player::RunState;

class SinkHost : public wdx::player::InterpreterHost {
 public:
  RunState& State() override { return state; }
  void PostVKey(std::uint8_t vk, bool up) override { wdx::player::PostKeyEvent(input, vk, up); }
  void PostAltVKey(std::uint8_t vk, bool up) override { wdx::player::PostKeyEvent(input, vk, up); }
  std::int16_t VkKeyScan(char c) override { return input.VkKeyScan(c); }
  void PumpMessages() override {}
  std::uint32_t TickCount() override { return ++ticks; }
  void PauseFor(double) override {}
  void PauseForNoSpeed(double) override {}
  void LogError(const std::string&) override {}
  void DoAMessage(const std::string&, const std::string&) override {}

  RunState state;
  wdx::platform::MemoryInput input;
  std::uint32_t ticks = 0;
};

void Play(benchmark::State& bs, const std::string& text, std::size_t items) {
  SinkHost host;
  wdx::player::Interpreter interpreter(host);
  for (auto _ : bs) {
    host.input.keys.clear();
    interpreter.DoMacro(text, 1, 1, 1, false, false, 0);
    benchmark::DoNotOptimize(host.input.keys.data());
  }
  bs.SetItemsProcessed(static_cast<std::int64_t>(bs.iterations() * items));
}

std::string Repeat(const std::string& unit, std::size_t times) {
  std::string s;
  for (std::size_t i = 0; i < times; ++i) s += unit;
  return s;
}

// Per typed character: a mix of lower case, upper case (Shift), digits and punctuation.
void BM_TypeCharacter(benchmark::State& bs) {
  const std::string unit = "Hello, World! 123 abc.";
  Play(bs, Repeat(unit, 50), unit.size() * 50);
}
BENCHMARK(BM_TypeCharacter);

// Per dispatched tag: named keys from the start, middle and end of the table, a keypad code
// and a remark.
void BM_DispatchTag(benchmark::State& bs) {
  Play(bs, Repeat("<TAB><F10><KEYP+><ALT:065><REM:note>", 200), 5 * 200);
}
BENCHMARK(BM_DispatchTag);

// Per dispatch that finds no tag: "<" typed as a character, then the rest as text.
void BM_UnknownTagAsText(benchmark::State& bs) { Play(bs, Repeat("<X", 500), 2 * 500); }
BENCHMARK(BM_UnknownTagAsText);

// Per variable reference played as a nested level.
void BM_VariableReference(benchmark::State& bs) {
  SinkHost host;
  host.state.vars.text[1] = "a";
  wdx::player::Interpreter interpreter(host);
  const std::string text = Repeat("%T1%", 500);
  for (auto _ : bs) {
    host.input.keys.clear();
    interpreter.DoMacro(text, 1, 1, 1, false, false, 0);
  }
  bs.SetItemsProcessed(static_cast<std::int64_t>(bs.iterations() * 500));
}
BENCHMARK(BM_VariableReference);

// --- Repeat and if blocks: the body of a repeat is found once, so the cost per pass must not
// grow with the number of passes.

// N2 holds `count` for the repeats that take their count from it.
void PlayCounted(benchmark::State& bs, const std::string& text, std::int64_t items, std::int32_t count) {
  SinkHost host;
  wdx::player::Interpreter interpreter(host);
  for (auto _ : bs) {
    host.input.keys.clear();
    host.state.vars.integer[2] = count;
    interpreter.DoMacro(text, 1, 1, 1, false, false, 0);
    benchmark::DoNotOptimize(host.input.keys.data());
  }
  bs.SetItemsProcessed(bs.iterations() * items);
}

// Per pass of a counted repeat of a short body (one character, the pass number kept in N1),
// for 1000 and 100000 passes (the count from N2): the figures per pass should be the same.
void BM_RepeatPass(benchmark::State& bs) {
  const auto passes = static_cast<std::int32_t>(bs.range(0));
  PlayCounted(bs, "<REP3:05:000001:000001:0002:1:01:>x<ENDREP>", passes, passes);
}
BENCHMARK(BM_RepeatPass)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Per pass of a repeat whose body holds an if block with an else part and a nested repeat.
void BM_RepeatWithIfPass(benchmark::State& bs) {
  PlayCounted(bs, "<REPEAT:1000><IFVAR:2:01:1:0>a<ELSE>b<ENDIF><REPEAT:0001><I><ENDREP><ENDREP>", 1000, 0);
}
BENCHMARK(BM_RepeatWithIfPass)->Unit(benchmark::kMillisecond);

}  // namespace
