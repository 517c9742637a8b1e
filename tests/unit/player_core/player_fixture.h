// The player's main window over the in-memory platform and the in-process hook library: a
// library file written record by record, the main window created as the program block does,
// and what it typed read back from the stand-in's recorded key events.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/scripted_runner.h"
#include "forms/user.h"
#include "hook/in_process_hook.h"
#include "platform/memory/memory_platform.h"
#include "platform/virtual_keys.h"
#include "player/core/main_win.h"
#include "player/prompts/message_windows.h"
#include "shared/macro_record.h"
#include "shared/settings.h"

namespace wdx::player::testing {

inline constexpr char kFolder[] = "C:\\WENDRIX";
inline constexpr char kLibrary[] = "C:\\WENDRIX\\WENDX.WDX";

// With a form runner the player's messages are windows of their own: the next one shown is
// read ("caption: text" into `into`) and answered with Ok.
inline void ReadNextMessage(forms::ScriptedRunner& runner, std::vector<std::string>& into) {
  runner.Then([&into](forms::Form& form) {
    auto& message = dynamic_cast<TOnTopMessage&>(form);
    into.push_back(message.caption() + ": " + message.TheMessage.caption());
    forms::user::Click(message.OkButton);
  });
}

// Hot key indexes used by the tests.
inline constexpr int kCtrlAltH = 151;  // Ctrl+Alt block 144.., H is the 8th key
inline constexpr int kCtrlA = 0;
inline constexpr int kCtrlB = 1;

struct MacroSpec {
  std::string nickname;
  int code = 0;
  std::int16_t kind = scope::kGlobal;
  std::string scopeText;
  std::string text;
  bool active = true;
  std::uint8_t windowMatch = 0;
};

TMacroRec MakeRecord(const MacroSpec& m);
// Appends the records to a library file (created when missing).
void AppendRecords(const std::filesystem::path& file, const std::vector<MacroSpec>& macros);
// The five system macros on their preferred keys (Ctrl+Alt+Shift+V .. Z), in the order they are
// re-created.
std::vector<MacroSpec> SystemMacros();

// Macro menus that say which menus were asked for: a popup menu answers with `popupChoice`
// (once) after calling `duringPopup`.
class RecordingMenus : public MacroMenus {
 public:
  int popupChoice = -1;
  std::vector<int> popupsShown;
  std::vector<int> popupPositions;
  std::function<void()> duringPopup;
  int topWindowMenus = 0;

  int ShowPopup(int macro, int position) override {
    popupsShown.push_back(macro);
    popupPositions.push_back(position);
    if (duringPopup) duringPopup();
    const int choice = popupChoice;
    popupChoice = -1;  // a chosen macro that is a menu again shows nothing more
    return choice;
  }
  void ShowTopWindowMenu() override { ++topWindowMenus; }
  void OpenFloaters() override {}
  void CloseFloaters() override {}
  void OpenFloater(int) override {}
  void CloseFloater(int) override {}
};

class RecordingRecorder : public Recorder {
 public:
  int startsOrStops = 0;
  void StartOrStop() override { ++startsOrStops; }
  void Captured(std::uint8_t) override {}
  void Done(int) override {}
};

// A desktop that counts the walks of its top-level windows.
class CountingDesktop : public platform::MemoryDesktop {
 public:
  using MemoryDesktop::MemoryDesktop;
  std::vector<platform::WindowHandle> EnumTopLevelWindows() override {
    ++walks;
    return MemoryDesktop::EnumTopLevelWindows();
  }
  int walks = 0;
};

using Log = std::vector<std::string>;

// Every collaborator at once, each call logged (tests of the routing and of what a reload
// reaches).
class LoggingParts : public EditorPeer,
                     public TrayIcons,
                     public MacroMenus,
                     public Recorder,
                     public Scheduler,
                     public WindowWatcher,
                     public ProgramWatcher,
                     public MouseAreas,
                     public Abbrekeys {
 public:
  Log log;
  Collaborators All() {
    Collaborators c;
    c.editor = this;
    c.tray = this;
    c.menus = this;
    c.recorder = this;
    c.scheduler = this;
    c.windows = this;
    c.programs = this;
    c.mouse = this;
    c.abbrekeys = this;
    return c;
  }

  void Tell(std::uint32_t code, std::int64_t argument) override {
    log.push_back("editor tell " + std::to_string(code) + " " + std::to_string(argument));
  }
  void Forget() override { log.push_back("editor forget"); }
  void BringUpOrStart(bool minimized) override { log.push_back(minimized ? "editor up minimized" : "editor up"); }
  void Quit() override { log.push_back("editor quit"); }
  void BeginNotices() override { log.push_back("editor notices"); }
  void EndNotices() override { log.push_back("editor notices end"); }
  void SetRunningImage(bool running) override { log.push_back(running ? "tray running" : "tray idle"); }
  void SetTip(const std::string&) override {}
  void SetActive(bool active) override { log.push_back(active ? "tray on" : "tray off"); }
  void Create() override { log.push_back("tray create"); }
  void LoadMenuIcons() override { log.push_back("tray menu icons"); }
  void ClearMenuIcons() override { log.push_back("tray menu icons gone"); }
  void SetRecording(bool on) override { log.push_back(on ? "tray recording" : "tray recording off"); }
  int ShowPopup(int macro, int) override {
    log.push_back("popup " + std::to_string(macro));
    return -1;
  }
  void ShowTopWindowMenu() override { log.push_back("top window menu"); }
  void OpenFloaters() override { log.push_back("floaters open"); }
  void CloseFloaters() override { log.push_back("floaters closed"); }
  void OpenFloater(int macro) override { log.push_back("floater open " + std::to_string(macro)); }
  void CloseFloater(int macro) override { log.push_back("floater closed " + std::to_string(macro)); }
  void StartOrStop() override { log.push_back("record"); }
  void Captured(std::uint8_t c) override { log.push_back(std::string("captured ") + static_cast<char>(c)); }
  void Done(int macro) override { log.push_back("recorded " + std::to_string(macro)); }
  void CheckAndSetTime() override { log.push_back("schedules"); }
  void Tick() override { log.push_back("schedule tick"); }
  void RunStartupMacros(const CommandLineOptions& o) override {
    log.push_back("start-up macros " + o.startupNickname.value_or("-") + " " + o.startupFile.value_or("-"));
  }
  void IdleEnded() override { log.push_back("idle ended"); }
  bool RefusesScreenSaver() override {
    log.push_back("screen saver");
    return false;
  }
  void ForegroundChanged(platform::WindowHandle w) override { log.push_back("foreground " + std::to_string(w)); }
  void TakeForegroundProgram(platform::WindowHandle w) override { log.push_back("front program " + std::to_string(w)); }
  void ProgramsChanged() override { log.push_back("programs"); }
  void Load() override { log.push_back("mouse areas"); }
  void Clear() override { log.push_back("mouse areas gone"); }
  void Clicked(int button, std::uint64_t hit, std::int64_t point) override {
    log.push_back("click " + std::to_string(button) + " " + std::to_string(hit) + " " + std::to_string(point));
  }
  void Typed(std::uint64_t flags, std::uint8_t c) override {
    log.push_back("abbrekey " + std::to_string(flags) + " " + static_cast<char>(c));
  }
  void TypedForWait(std::uint64_t flags, std::uint8_t c) override {
    log.push_back("typed " + std::to_string(flags) + " " + static_cast<char>(c));
  }
};

// A whole player of its own over the stand-in: platform, in-process hook library, blocks and
// main window. Tests that run several players one after the other make one each.
struct StandAlonePlayer {
  explicit StandAlonePlayer(const std::vector<MacroSpec>& macros = {});
  ~StandAlonePlayer();
  // Loads the settings and creates the main window (its FormCreate runs); `through` stands
  // between it and the in-process hook library when given (a recording wrapper).
  void Start(hook::HookLibrary* through = nullptr);

  std::filesystem::path Native(const std::string& windowsPath) const { return mem.NativePath(windowsPath); }
  void AddMacros(const std::vector<MacroSpec>& macros) { AppendRecords(Native(kLibrary), macros); }
  // A foreign window of another program, in front unless `behind`.
  platform::WindowHandle Window(const std::string& title, std::uint32_t pid, bool behind = false);
  platform::WindowHandle Front(const std::string& title, std::uint32_t pid = 0x200, const std::string& exe = "");
  // Delivers what is due and queued, including what handlers post meanwhile.
  void Pump();
  // The key the user presses, as the hook library sees it, then the player's messages.
  void Press(std::uint8_t key, bool ctrl, bool alt, bool shift = false);
  void PostHotKey(std::uint32_t w, platform::WindowHandle window);
  // The letters and Enters the player typed (key-down events), upper-case, Enter as "\n".
  std::string Typed() const;
  // How many end-of-run marker keys (VK_EXECUTE down) were posted.
  int RunEndMarkers() const;
  std::vector<std::string> BoxTexts() const;

  platform::MemoryPlatform mem;
  platform::Platform p;
  std::unique_ptr<hook::InProcessHookLibrary> hook;
  TGlobData block;
  TSettingsRec settings;
  std::unique_ptr<Configs> configs;
  RecordingMenus menus;
  RecordingRecorder recorder;
  // The player's own menu windows instead of the recording ones (set before Start).
  bool realMenus = false;
  // The form runner the player shows its windows with from its creation on (set before Start).
  forms::FormRunner* forms = nullptr;
  // The player's own recorder instead of the counting one (set before Start).
  bool realRecorder = false;
  std::unique_ptr<TMainWin> main;
};

class PlayerFixture : public ::testing::Test, public StandAlonePlayer {};

}  // namespace wdx::player::testing
