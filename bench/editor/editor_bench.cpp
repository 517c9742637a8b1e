// The editor's macro list with a full library of 500 macros: filling and sorting the rows by each
// primary order (keys built afresh at every comparison, as the list does), and the whole start of
// the editor over the in-memory desktop up to the list shown (library read, tables, hook data,
// the window and its first fill). Figures only; nothing gates on them.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "editor/shell/editor_start.h"
#include "editor/shell/macro_list.h"
#include "forms/scripted_runner.h"
#include "hook/in_process_hook.h"
#include "platform/memory/memory_platform.h"
#include "shared/macro_record.h"

namespace {

using namespace wdx;

// Macro n of the bench library: every activation kind and scope kind, nicknames that share
// prefixes and differ in case, so the sort compares deep into its keys.
TMacroRec BenchMacro(int n) {
  static const std::uint16_t kCodes[] = {0, activation::kAbbrekey, activation::kTimed, activation::kNone,
                                         activation::kWindowTitle, activation::kMouseClick};
  static const std::int16_t kScopes[] = {scope::kGlobal, scope::kWindow, scope::kProgram, scope::kPopupMenu};
  TMacroRec r;
  r.SetNickname((n % 2 ? "Macro " : "MACRO ") + std::to_string(n * 7919 % 1000));
  const std::uint16_t code = kCodes[n % 6];
  r.SetActivationCode(code == 0 ? static_cast<std::uint16_t>(n % 721) : code);
  r.SetAbbrekey("ab" + std::to_string(n % 97));
  r.SetScopeKind(kScopes[n % 4]);
  r.SetScopeText("Untitled - Notepad " + std::to_string(n % 13));
  r.SetActive(n % 5 ? 1 : 0);
  r.SetIconName("MAIN");
  return r;
}

constexpr char kLibrary[] = "C:\\WENDRIX\\BENCH.WDX";

void WriteBenchLibrary(platform::MemoryPlatform& mem) {
  std::filesystem::create_directories(mem.NativePath("C:\\WENDRIX"));
  std::ofstream out(mem.NativePath(kLibrary), std::ios::binary | std::ios::trunc);
  for (int n = 1; n <= kMaxMacros; ++n) {
    const TMacroRec r = BenchMacro(n);
    out.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(kMacroRecSize));
  }
  mem.profile.WriteString("WENDX.INI", "Misc", "Current File", kLibrary);
}

// One editor started over the in-memory desktop with the bench library.
struct Editor {
  Editor() : platform(mem.Get()) {
    player = mem.desktop.AddForeignWindow("Wendplay", "TMainWin", 77);
    mem.processes.executablePath = "C:\\WENDRIX\\WENDFORGE.EXE";
    mem.processes.commandLine = "C:\\WENDRIX\\WENDFORGE.EXE -RXB /RH" + std::to_string(player);
    WriteBenchLibrary(mem);
  }
  bool Start() {
    process = std::make_unique<editor::EditorProcess>(platform, hook, runner);
    return process->Start() == editor::StartCheck::kRun;
  }
  platform::MemoryPlatform mem;
  platform::Platform platform;
  forms::ScriptedRunner runner{mem.desktop, mem.desktop};
  hook::InProcessHookLibrary hook{mem.desktop};
  platform::WindowHandle player = platform::kNoWindow;
  std::unique_ptr<editor::EditorProcess> process;
};

// Arg: the primary sort ("123" activation first, "213" nickname first, "321" scope first).
void BM_FillAndSort500(benchmark::State& state) {
  static const char* const kPrimary[] = {"123", "213", "321"};
  Editor e;
  if (!e.Start()) {
    state.SkipWithError("the editor did not start");
    return;
  }
  editor::MacroList& list = e.process->Main()->List();
  const editor::SortOrder order{kPrimary[state.range(0)], "1234567", "123456"};
  for (auto _ : state) {
    list.Fill(editor::kAllCategories, order);
    benchmark::DoNotOptimize(list.count());
  }
  state.SetLabel(std::string("primary ") + kPrimary[state.range(0)] + ", " + std::to_string(list.count()) + " rows");
}
BENCHMARK(BM_FillAndSort500)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// FillList of the main window: the rows sorted and the grid sized and repainted.
void BM_MainWindowFillList500(benchmark::State& state) {
  Editor e;
  if (!e.Start()) {
    state.SkipWithError("the editor did not start");
    return;
  }
  for (auto _ : state) e.process->Main()->FillList();
}
BENCHMARK(BM_MainWindowFillList500)->Unit(benchmark::kMicrosecond);

// From the start checks to the list shown: a fresh process state, the library of 500 macros
// read, the hook data copied, the main window created, shown and filled.
void BM_StartToListShown500(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto e = std::make_unique<Editor>();
    state.ResumeTiming();
    if (!e->Start()) {
      state.SkipWithError("the editor did not start");
      return;
    }
    benchmark::DoNotOptimize(e->process->Main()->List().count());
    state.PauseTiming();
    e.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartToListShown500)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
