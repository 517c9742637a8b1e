// Records per second through "<ADFBEG:" over delimited files of 1 000 and 10 000 lines of three
// fields, the block storing the fields (no typing), and the same over "<BTFBEG:" lines. The
// rate stays the same for both sizes: the file is read forward once, never rescanned.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "clock_host.h"
#include "player/interpreter/interpreter.h"

namespace {

void Loop(benchmark::State& bs, const std::string& opener, const std::string& end) {
  const auto lines = static_cast<int>(bs.range(0));
  wdx::platform::MemoryPlatform mem;
  {
    std::filesystem::create_directories(mem.NativePath("C:\\data"));
    std::ofstream file(mem.NativePath("C:\\data\\bench.csv"), std::ios::binary);
    for (int i = 0; i < lines; ++i) {
      file << "\"name " << i << "\",\"street " << i << ", town\",\"" << i * 7 << "\"\r\n";
    }
  }
  wdx::player::testing::ClockHost host(mem);
  wdx::player::Interpreter interpreter(host);
  // The block copies a field, as a macro that uses its values does, and types nothing.
  const std::string text = opener + "C:\\data\\bench.csv><TMVAR:09:10:01:000:000:>" + end;
  for (auto _ : bs) {
    interpreter.DoMacro(text, 1, 1, 1, false, false, 0);
    benchmark::DoNotOptimize(host.state.vars.text[10].data());
  }
  if (host.state.abortMacro) bs.SkipWithError("the loop failed");
  bs.SetItemsProcessed(static_cast<std::int64_t>(bs.iterations()) * lines);
}

void BM_DelimitedRecords(benchmark::State& bs) { Loop(bs, "<ADFBEG:001:000001:000000:", "<ADFEND>"); }
BENCHMARK(BM_DelimitedRecords)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_TextLines(benchmark::State& bs) { Loop(bs, "<BTFBEG:001:000001:000000:", "<BTFEND>"); }
BENCHMARK(BM_TextLines)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
