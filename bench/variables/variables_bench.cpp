// Cost of the date and time tags and of the variable commands per tag, with the in-memory
// platform (clock reads, no typing: every result goes to a text variable).
#include <benchmark/benchmark.h>

#include <string>

#include "clock_host.h"
#include "player/interpreter/interpreter.h"
#include "shared/date_time.h"
#include "shared/date_time_formats.h"

namespace {

void Play(benchmark::State& bs, const std::string& text, std::size_t tags) {
  wdx::platform::MemoryPlatform mem;
  mem.clock.SetNow(wdx::EncodeDate(2000, 3, 5) + wdx::EncodeTime(21, 5, 7, 0));
  wdx::player::testing::ClockHost host(mem);
  wdx::player::Interpreter interpreter(host);
  for (auto _ : bs) {
    interpreter.DoMacro(text, 1, 1, 1, false, false, 0);
    benchmark::DoNotOptimize(host.state.vars.text[1].data());
  }
  bs.SetItemsProcessed(static_cast<std::int64_t>(bs.iterations() * tags));
}

// Every date and time format once, each stored in T1.
void BM_DateTimeTagToVariable(benchmark::State& bs) {
  std::string text;
  for (int f = 1; f <= wdx::kDateFormatCount; ++f) text += "<" + std::string(wdx::DateFormatName(f)) + "{YF001}01>";
  for (int f = 1; f <= wdx::kTimeFormatCount; ++f) text += "<" + std::string(wdx::TimeFormatName(f)) + "{N}01>";
  Play(bs, text, wdx::kDateFormatCount + wdx::kTimeFormatCount);
}
BENCHMARK(BM_DateTimeTagToVariable);

// Integer, decimal and text modify commands, and a save and restore of the whole set.
void BM_ModifyCommands(benchmark::State& bs) {
  std::string text = "<TMVAR:09:01:03:000:000:>";  // T1 starts empty each time
  for (int i = 0; i < 20; ++i) {
    text += "<NMVAR:01:01:1:0000001:0:0000003>";
    text += "<DMVAR:01:02:1:                   2:0:                 1.5>";
    text += "<TMVAR:07:01:00:000:000:abc>";
    text += "<TMVAR:10:02:01:002:003:>";
  }
  text += "<VARSR:01><VARSR:05>";
  Play(bs, text, 1 + 20 * 4 + 2);
}
BENCHMARK(BM_ModifyCommands);

}  // namespace
