// The editor over the in-memory desktop: a foreign window stands for the player, the scripted
// runner shows the main window, the in-process hook library plays WDXHOOK, and a library file is
// written record by record.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/shell/editor_start.h"
#include "forms/scripted_runner.h"
#include "hook/in_process_hook.h"
#include "platform/memory/memory_platform.h"
#include "shared/macro_record.h"

namespace wdx::editor::testing {

inline constexpr char kLibrary[] = "C:\\LIBS\\ABC.WDX";

// A macro of the fixture's library.
struct MacroSpec {
  std::string nickname;
  std::uint16_t code = 0;
  std::int16_t scopeKind = 1;
  std::string scopeText;
  std::string abbrekey;
  std::uint8_t active = 1;
  std::int32_t category = 0;
};

TMacroRec MakeRecord(const MacroSpec& spec);

// Counts what the network lock is asked.
struct CountingLock : SyncLock {
  bool FileInUse() override {
    ++taken;
    return busy;
  }
  void ReleaseSyncFile(int changed) override { released.push_back(changed); }
  int taken = 0;
  bool busy = false;
  std::vector<int> released;
};


class EditorFixture {
 public:
  EditorFixture();

  // Writes the library file and names it the current one in WENDX.INI.
  void WriteLibrary(const std::vector<MacroSpec>& macros, const std::string& path = kLibrary);
  std::vector<TMacroRec> ReadLibrary(const std::string& path = kLibrary);
  // Starts the editor with these arguments after the program's name; "/RH<player>" by default.
  StartCheck Start(const std::string& arguments = std::string());
  std::string PlayerArgument() const { return "-RXB /RH" + std::to_string(player); }
  // UM_CONTROL (code, argument) pairs posted to the player, in order; cleared by the call.
  std::vector<std::pair<int, std::int64_t>> TakeNotices();
  TMainWin& Main() { return *editor->Main(); }
  // What the grid shows in row `row`, columns 2..4 joined by " | ".
  std::string Row(int row);

  platform::MemoryPlatform mem;
  platform::Platform platform;
  forms::ScriptedRunner runner{mem.desktop, mem.desktop};
  hook::InProcessHookLibrary hook{mem.desktop};
  platform::WindowHandle player = platform::kNoWindow;
  std::unique_ptr<EditorProcess> editor;
};

}  // namespace wdx::editor::testing
