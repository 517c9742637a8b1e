#include "player_fixture.h"

#include "shared/protocol_messages.h"

namespace wdx::player::testing {

TMacroRec MakeRecord(const MacroSpec& m) {
  TMacroRec r;
  r.SetNickname(m.nickname);
  r.SetActivationCode(static_cast<std::uint16_t>(m.code));
  r.SetScopeKind(m.kind);
  r.SetScopeText(m.scopeText);
  r.SetText(m.text);
  r.SetActive(m.active ? 1 : 0);
  r.SetWindowMatch(m.windowMatch);
  r.SetIconName("MAIN");
  r.SetCaseMode(3);
  r.SetRemoval(1);
  return r;
}

void AppendRecords(const std::filesystem::path& file, const std::vector<MacroSpec>& macros) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::app);
  for (const MacroSpec& m : macros) {
    const TMacroRec r = MakeRecord(m);
    out.write(reinterpret_cast<const char*>(r.data()), static_cast<std::streamsize>(kMacroRecSize));
  }
}

std::vector<MacroSpec> SystemMacros() {
  return {{"Terminate Wendrix", 261, scope::kSystem, "5", ""},
          {"Run Wendrix Editor", 262, scope::kSystem, "1", ""},
          {"Start / Stop Capture", 263, scope::kSystem, "2", ""},
          {"Resume Pause", 264, scope::kSystem, "3", ""},
          {"Menu of Macros for Top Most Window", 265, scope::kSystem, "4", ""}};
}

StandAlonePlayer::StandAlonePlayer(const std::vector<MacroSpec>& macros) : p(mem.Get()) {
  hook = std::make_unique<hook::InProcessHookLibrary>(mem.desktop, &mem.kernel);
  std::filesystem::create_directories(Native(kFolder));
  mem.processes.executablePath = std::string(kFolder) + "\\WENDPLAY.EXE";
  mem.processes.commandLine = mem.processes.executablePath;
  // The editor is started by hand in the tests that want it.
  mem.profile.WriteString(kSettingsFileName, "Misc", "Start Editor", "No");
  configs = std::make_unique<Configs>(mem.profile, settings, kFolder, mem.files);
  if (!macros.empty()) AddMacros(macros);
}

StandAlonePlayer::~StandAlonePlayer() {
  if (main) main->DestroyWindow();
}

void StandAlonePlayer::Start(hook::HookLibrary* through) {
  configs->LoadAllSettings();
  Collaborators parts;
  if (!realMenus) parts.menus = &menus;
  if (!realRecorder) parts.recorder = &recorder;
  main = std::make_unique<TMainWin>(p, through ? *through : *hook, block, settings, *configs, kFolder, parts);
  if (forms) main->SetFormRunner(forms);
  ASSERT_TRUE(main->Create());
}

void StandAlonePlayer::Pump() {
  // Once for the timers that are due, then until nothing is queued.
  if (!mem.desktop.PumpPending()) return;
  for (int i = 0; i < 1000 && mem.desktop.PendingCount() > 0; ++i)
    if (!mem.desktop.PumpPending()) break;
}

platform::WindowHandle StandAlonePlayer::Window(const std::string& title, std::uint32_t pid, bool behind) {
  const platform::WindowHandle w = mem.desktop.AddForeignWindow(title, "Foreign", pid);
  if (!behind) mem.desktop.SetForeground(w);
  return w;
}

platform::WindowHandle StandAlonePlayer::Front(const std::string& title, std::uint32_t pid, const std::string& exe) {
  if (!exe.empty()) mem.processes.Add(pid, exe);
  return Window(title, pid);
}

void StandAlonePlayer::Press(std::uint8_t key, bool ctrl, bool alt, bool shift) {
  if (ctrl) hook->FeedKey(vk::kControl, false);
  if (alt) hook->FeedKey(vk::kMenu, false);
  if (shift) hook->FeedKey(vk::kShift, false);
  hook->FeedKeyPress(key);
  if (shift) hook->FeedKey(vk::kShift, true);
  if (alt) hook->FeedKey(vk::kMenu, true);
  if (ctrl) hook->FeedKey(vk::kControl, true);
  Pump();
}

void StandAlonePlayer::PostHotKey(std::uint32_t w, platform::WindowHandle window) {
  mem.desktop.PostMessage(main->MainWindow(), UM_HOTKEY, w, window);
}

std::string StandAlonePlayer::Typed() const {
  std::string s;
  for (const platform::KeyEventRecord& k : mem.input.keys) {
    if (k.flags & platform::keyflag::kKeyUp) continue;
    if (k.vk >= 'A' && k.vk <= 'Z') s.push_back(static_cast<char>(k.vk));
    if (k.vk == vk::kReturn) s.push_back('\n');
  }
  return s;
}

int StandAlonePlayer::RunEndMarkers() const {
  int n = 0;
  for (const platform::KeyEventRecord& k : mem.input.keys)
    if (k.vk == vk::kExecute && !(k.flags & platform::keyflag::kKeyUp)) ++n;
  return n;
}

std::vector<std::string> StandAlonePlayer::BoxTexts() const {
  std::vector<std::string> texts;
  for (const platform::ShownBox& b : mem.boxes.shown) texts.push_back(b.caption + ": " + b.text);
  return texts;
}

}  // namespace wdx::player::testing
