// The player's side of a hot key, natively on the stand-in: rebuilding the hot-key map, the
// choice among 500 macros on one key, and the whole road from UM_HOTKEY to a played one-key
// macro (record read from the library file included).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "hook/in_process_hook.h"
#include "platform/memory/memory_platform.h"
#include "player/core/main_win.h"
#include "shared/protocol_messages.h"

namespace {

using namespace wdx;

constexpr char kFolder[] = "C:\\WENDRIX";
constexpr int kKey = 151;  // Ctrl+Alt+H

struct Player {
  explicit Player(int scopedMacros) : p(mem.Get()), hook(mem.desktop, &mem.kernel) {
    mem.processes.executablePath = std::string(kFolder) + "\\WENDPLAY.EXE";
    mem.processes.commandLine = mem.processes.executablePath;
    mem.profile.WriteString(kSettingsFileName, "Misc", "Start Editor", "No");
    const std::filesystem::path lib = mem.NativePath(std::string(kFolder) + "\\WENDX.WDX");
    std::filesystem::create_directories(lib.parent_path());
    std::ofstream out(lib, std::ios::binary);
    // Window-scoped macros on the key whose windows are not there, then the global one.
    for (int i = 0; i <= scopedMacros; ++i) {
      TMacroRec r;
      r.SetNickname("m" + std::to_string(i));
      r.SetActivationCode(kKey);
      r.SetScopeKind(i < scopedMacros ? scope::kWindow : scope::kGlobal);
      r.SetScopeText("no such window " + std::to_string(i));
      r.SetWindowMatch(1);
      r.SetActive(1);
      r.SetText("a");
      r.SetIconName("MAIN");
      out.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(kMacroRecSize));
    }
    out.close();
    configs = std::make_unique<Configs>(mem.profile, settings, kFolder, mem.files);
    configs->LoadAllSettings();
    main = std::make_unique<player::TMainWin>(p, hook, block, settings, *configs, kFolder);
    main->Create();
    front = mem.desktop.AddForeignWindow("Untitled - Notepad", "Notepad", 0x200);
    mem.desktop.SetForeground(front);
  }
  ~Player() { main->DestroyWindow(); }

  platform::MemoryPlatform mem;
  platform::Platform p;
  hook::InProcessHookLibrary hook;
  TGlobData block;
  TSettingsRec settings;
  std::unique_ptr<Configs> configs;
  std::unique_ptr<player::TMainWin> main;
  platform::WindowHandle front = platform::kNoWindow;
};

void BM_SetHotKeys(benchmark::State& bs) {
  Player player(494);
  for (auto _ : bs) player.main->HotKeys().SetHotKeys();
}
BENCHMARK(BM_SetHotKeys);

void BM_GetMacroAmong500(benchmark::State& bs) {
  Player player(494);
  for (auto _ : bs) benchmark::DoNotOptimize(player.main->HotKeys().GetMacro(kKey));
}
BENCHMARK(BM_GetMacroAmong500);

void BM_HotKeyRoadOneKeyMacro(benchmark::State& bs) {
  Player player(0);
  for (auto _ : bs) {
    player.mem.input.keys.clear();
    player.mem.desktop.PostMessage(player.main->MainWindow(), UM_HOTKEY, kKey, player.front);
    player.mem.desktop.PumpPending();
  }
}
BENCHMARK(BM_HotKeyRoadOneKeyMacro);

}  // namespace
