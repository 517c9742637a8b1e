#include "editor_fixture.h"

#include <filesystem>
#include <fstream>

#include "forms/grid.h"
#include "shared/protocol_messages.h"

namespace wdx::editor::testing {

TMacroRec MakeRecord(const MacroSpec& spec) {
  TMacroRec r;
  r.SetNickname(spec.nickname);
  r.SetActivationCode(spec.code);
  r.SetScopeKind(spec.scopeKind);
  r.SetScopeText(spec.scopeText);
  r.SetAbbrekey(spec.abbrekey);
  r.SetActive(spec.active);
  r.SetCategory(spec.category);
  r.SetIconName("MAIN");
  return r;
}

EditorFixture::EditorFixture() : platform(mem.Get()) {
  player = mem.desktop.AddForeignWindow("Wendplay", "TMainWin", 77);
  mem.processes.executablePath = "C:\\WENDRIX\\WENDFORGE.EXE";
  std::filesystem::create_directories(mem.NativePath("C:\\WENDRIX"));
}

void EditorFixture::WriteLibrary(const std::vector<MacroSpec>& macros, const std::string& path) {
  const std::filesystem::path native = mem.NativePath(path);
  std::filesystem::create_directories(native.parent_path());
  std::ofstream out(native, std::ios::binary | std::ios::trunc);
  for (const MacroSpec& m : macros) {
    const TMacroRec r = MakeRecord(m);
    out.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(kMacroRecSize));
  }
  mem.profile.WriteString("WENDX.INI", "Misc", "Current File", path);
}

std::vector<TMacroRec> EditorFixture::ReadLibrary(const std::string& path) {
  std::ifstream in(mem.NativePath(path), std::ios::binary);
  std::vector<TMacroRec> records;
  TMacroRec r;
  while (in.read(reinterpret_cast<char*>(r.data()), static_cast<std::streamsize>(kMacroRecSize))) records.push_back(r);
  return records;
}

StartCheck EditorFixture::Start(const std::string& arguments) {
  mem.processes.commandLine =
      "C:\\WENDRIX\\WENDFORGE.EXE " + (arguments.empty() ? PlayerArgument() : arguments);
  editor = std::make_unique<EditorProcess>(platform, hook, runner);
  return editor->Start();
}

std::vector<std::pair<int, std::int64_t>> EditorFixture::TakeNotices() {
  std::vector<std::pair<int, std::int64_t>> out;
  for (const platform::Message& m : mem.desktop.foreignMessages) {
    if (m.window == player && m.message == UM_CONTROL) out.emplace_back(static_cast<int>(m.wparam), m.lparam);
  }
  mem.desktop.foreignMessages.clear();
  return out;
}

std::string EditorFixture::Row(int row) {
  forms::DrawGrid& grid = Main().MyGrid;
  return forms::CellText(grid, 2, row) + " | " + forms::CellText(grid, 3, row) + " | " + forms::CellText(grid, 4, row);
}

}  // namespace wdx::editor::testing
