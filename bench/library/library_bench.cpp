// Loading a full library: 500 macros of full-length text, every table refreshed, every record
// announced. Reports the time per load and the memory it needs: the heap's high-water mark
// during one load (counted by this program's operator new) and the process's peak RSS.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <new>

#include "platform/memory/memory_platform.h"
#include "shared/macro_library.h"

namespace {

std::atomic<std::size_t> g_live{0}, g_peak{0};

struct Header {
  std::size_t size;
  std::size_t pad;
};

}  // namespace

void* operator new(std::size_t size) {
  auto* h = static_cast<Header*>(std::malloc(size + sizeof(Header)));
  if (!h) throw std::bad_alloc();
  h->size = size;
  std::size_t live = g_live.fetch_add(size) + size;
  std::size_t peak = g_peak.load();
  while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
  }
  return h + 1;
}
void operator delete(void* p) noexcept {
  if (!p) return;
  Header* h = static_cast<Header*>(p) - 1;
  g_live.fetch_sub(h->size);
  std::free(h);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete[](void* p) noexcept { operator delete(p); }
void operator delete[](void* p, std::size_t) noexcept { operator delete(p); }

namespace {

struct QuietListener : wdx::LibraryListener {
  void MacroEntriesChanged(int) override { ++items; }
  void MacroCountChanged() override {}
  void TellPeer(int, int) override { ++notices; }
  long items = 0, notices = 0;
};

void BM_LoadFullLibrary(benchmark::State& state) {
  wdx::platform::MemoryPlatform mem;
  wdx::TSettingsRec settings;
  settings.programFolder = "C:\\WENDRIX";
  settings.currentLibrary = "C:\\WENDRIX\\WENDX.WDX";
  auto glob = std::make_unique<wdx::TGlobData>();
  QuietListener listener;
  wdx::MacroLibrary lib(settings, *glob, mem.files, mem.boxes, mem.clock, listener);
  std::filesystem::create_directories(mem.NativePath(settings.programFolder));
  {
    lib.LoadMacroLibrary(settings.currentLibrary);  // creates the five system macros
    for (int n = 6; n <= wdx::kMaxMacros; ++n) {
      wdx::TMacroRec r;
      r.SetNickname("Macro number " + std::to_string(n));
      r.SetActivationCode(static_cast<std::uint16_t>(n % 3 == 0 ? wdx::activation::kAbbrekey : n));
      r.SetScopeKind(wdx::scope::kWindow);
      r.SetScopeText("Untitled - Notepad " + std::to_string(n));
      r.SetActive(1);
      r.SetText(std::string(5000, static_cast<char>('a' + n % 26)));
      r.SetIconName(n % 2 ? "MAIN" : "NOFILE.ICO");
      glob->SetMacroCount(n);
      lib.WriteMacroRecord(-1, r);
    }
  }
  std::size_t heapPeak = 0;
  for (auto _ : state) {
    const std::size_t before = g_live.load();
    g_peak.store(before);
    lib.LoadMacroLibrary(settings.currentLibrary);
    heapPeak = std::max(heapPeak, g_peak.load() - before);
    benchmark::DoNotOptimize(glob->MacroCount());
  }
  if (glob->MacroCount() != wdx::kMaxMacros) state.SkipWithError("library did not load whole");
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["macros"] = glob->MacroCount();
  state.counters["file_bytes"] = static_cast<double>(wdx::kMaxMacros * wdx::kMacroRecSize);
  state.counters["heap_peak_bytes"] = static_cast<double>(heapPeak);
  state.counters["process_peak_rss_kb"] = static_cast<double>(usage.ru_maxrss);
  state.counters["records_per_s"] = benchmark::Counter(static_cast<double>(wdx::kMaxMacros),
                                                       benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LoadFullLibrary)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
