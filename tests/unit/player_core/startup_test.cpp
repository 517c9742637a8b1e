// Start-up and shut-down: the order of the hook library's calls and of the named objects, the
// command line, the editor and the registry at start, and a close that arrives during a run.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "hook/push_fields.h"
#include "player/core/startup.h"
#include "player_fixture.h"
#include "shared/protocol_messages.h"
#include "shared/remap_keys.h"
#include "shared/shared_blocks.h"

namespace wdx::player::testing {
namespace {

using Log = std::vector<std::string>;

// The hook library's exports, logged by name (a handle passed back to WdxUnHook is named by
// the installer that gave it).
class RecordingHook : public hook::HookLibrary {
 public:
  RecordingHook(hook::HookLibrary& inner, Log& log) : in_(inner), log_(log) {}
  std::uint32_t WdxHookKeyboard() override { return Installed("keyboard", in_.WdxHookKeyboard()); }
  std::uint32_t WdxHookMouse() override { return Installed("mouse", in_.WdxHookMouse()); }
  std::uint32_t WdxHookCBT() override { return Installed("CBT", in_.WdxHookCBT()); }
  std::uint32_t WdxHookSwap() override { return Installed("remap", in_.WdxHookSwap()); }
  bool WdxUnHook(std::uint32_t handle) override {
    log_.push_back("WdxUnHook " + names_[handle]);
    return in_.WdxUnHook(handle);
  }
  void Push(PushGroup group, const TGlobData& b, int m) override {
    const std::string name = hook::PushExportName(group);
    Up(group == PushGroup::kItem ? name + " " + std::to_string(m) : name, [&] { in_.Push(group, b, m); });
  }
  void WdxGetGlob(Bytes buffer) override { Up("WdxGetGlob", [&] { in_.WdxGetGlob(buffer); }); }

 private:
  std::uint32_t Installed(const std::string& name, std::uint32_t handle) {
    log_.push_back("WdxHook" + name);
    names_[handle] = name;
    return handle;
  }
  template <typename F>
  void Up(const std::string& name, F f) {
    log_.push_back(name);
    f();
  }
  hook::HookLibrary& in_;
  Log& log_;
  std::map<std::uint32_t, std::string> names_;
};

// Named objects: creations, openings and closings logged by name.
class RecordingKernel : public platform::KernelObjects {
 public:
  RecordingKernel(platform::KernelObjects& inner, Log& log) : in_(inner), log_(log) {}
  std::unique_ptr<platform::SharedMemory> CreateSharedMemory(const std::string& name, std::size_t size,
                                                             bool* existed) override {
    return Wrap("create mapping " + name, name, in_.CreateSharedMemory(name, size, existed));
  }
  std::unique_ptr<platform::SharedMemory> OpenSharedMemory(const std::string& name, std::size_t size) override {
    return Wrap("open mapping " + name, name, in_.OpenSharedMemory(name, size));
  }
  std::unique_ptr<platform::NamedMutex> CreateMutex(const std::string& name, bool owner, bool* existed) override {
    log_.push_back("create mutex " + name);
    return std::make_unique<Mutex>(in_.CreateMutex(name, owner, existed), name, log_);
  }
  std::unique_ptr<platform::NamedMutex> OpenMutex(const std::string& name) override { return in_.OpenMutex(name); }
  std::unique_ptr<platform::NamedSemaphore> CreateSemaphore(const std::string& name, std::int32_t initial,
                                                            std::int32_t maximum, bool* existed) override {
    return in_.CreateSemaphore(name, initial, maximum, existed);
  }
  std::unique_ptr<platform::NamedSemaphore> OpenSemaphore(const std::string& name) override {
    return in_.OpenSemaphore(name);
  }

 private:
  struct Memory : platform::SharedMemory {
    Memory(std::unique_ptr<platform::SharedMemory> m, std::string n, Log& l) : inner(std::move(m)), name(std::move(n)), log(l) {}
    ~Memory() override { log.push_back("close " + name); }
    std::uint8_t* Data() override { return inner->Data(); }
    std::size_t Size() const override { return inner->Size(); }
    std::unique_ptr<platform::SharedMemory> inner;
    std::string name;
    Log& log;
  };
  struct Mutex : platform::NamedMutex {
    Mutex(std::unique_ptr<platform::NamedMutex> m, std::string n, Log& l) : inner(std::move(m)), name(std::move(n)), log(l) {}
    ~Mutex() override { log.push_back("close " + name); }
    platform::WaitResult Wait(std::uint32_t ms) override { return inner->Wait(ms); }
    bool Release() override { return inner->Release(); }
    std::unique_ptr<platform::NamedMutex> inner;
    std::string name;
    Log& log;
  };
  std::unique_ptr<platform::SharedMemory> Wrap(const std::string& what, const std::string& name,
                                               std::unique_ptr<platform::SharedMemory> m) {
    log_.push_back(what + (m ? "" : " (none)"));
    if (!m) return nullptr;
    return std::make_unique<Memory>(std::move(m), name, log_);
  }
  platform::KernelObjects& in_;
  Log& log_;
};

// Synthesised keys, logged beside the hook library's calls.
class LoggingInput : public platform::MemoryInput {
 public:
  explicit LoggingInput(Log& log) : log_(log) {}
  void KeyEvent(std::uint8_t vk, std::uint8_t scan, std::uint32_t flags) override {
    if (!(flags & platform::keyflag::kKeyUp)) log_.push_back("key " + std::to_string(vk));
    MemoryInput::KeyEvent(vk, scan, flags);
  }

 private:
  Log& log_;
};

class StartupTest : public PlayerFixture {};

// The whole program on the stand-in: what start-up and shut-down ask of the hook library and
// of the system's named objects, in order. The library holds its five system macros and one
// macro, and a remap table that needs the remap hook.
TEST_F(StartupTest, StartAndCloseCallTheHookLibraryAndNameObjectsInOrder) {
  AddMacros(SystemMacros());
  AddMacros({{"a", kCtrlA, scope::kGlobal, "", "a"}});
  SwapTable remapped = NeutralSwapTable();
  remapped[0] = 'B';
  ASSERT_TRUE(SaveSwapKeys(Native("C:\\WENDRIX\\WENDX.WDS"), remapped));
  Log log;
  RecordingHook recHook(*hook, log);
  RecordingKernel recKernel(mem.kernel, log);
  platform::Platform rp = p;
  rp.kernel = &recKernel;
  const platform::WindowHandle driver = mem.desktop.CreateOwnWindow("Driver", "", [&](const platform::Message& m) {
    if (m.message == platform::msg::kTimer) {
      mem.desktop.KillTimer(m.window, 1);
      log.push_back("-- close asked");
      mem.desktop.PostMessage(mem.desktop.FindWindow(kMainWindowClass, kMainWindowTitle), platform::msg::kClose, 0, 0);
    }
    return std::int64_t{0};
  });
  mem.desktop.SetTimer(driver, 1, 100);

  EXPECT_EQ(RunPlayer(rp, recHook), 0);
  const Log expected = {
      "open mapping WDXEX321Z (none)", "create mapping WDXEX321Z",
      "create mapping WDBA1KGR", "create mutex WD88aveR", "create mutex WDKZaveR", "create mutex WDQJaveR",
      "WdxUpItem 1", "WdxUpItem 2", "WdxUpItem 3", "WdxUpItem 4", "WdxUpItem 5", "WdxUpItem 6", "WdxUpNumKeys",
      "create mapping WDTT1KGR", "WdxHookremap",
      "create mapping WDKR1KGR", "WdxHookCBT",
      "WdxUpCapture", "WdxUpInit", "WdxUpIdle", "WdxUpWindow", "WdxUpWindow2", "WdxUpProg", "WdxUpCaptureOn",
      "WdxUpWaits", "WdxUpMouseClk", "WdxUpProgs", "WdxUpKeys", "WdxHookkeyboard", "WdxHookmouse", "WdxUpKeyHook",
      "WdxUpMouseHook",
      "WdxUpMouseClk",  // the mouse areas of the library
      "-- close asked",
      "WdxUnHook keyboard", "WdxUnHook mouse", "WdxUnHook remap", "WdxUnHook CBT",
      "close WDKR1KGR", "close WDTT1KGR",
      "close WDBA1KGR", "close WD88aveR", "close WDKZaveR", "close WDQJaveR",
      "close WDXEX321Z"};
  EXPECT_EQ(log, expected);
  // (The in-process hook holds its own handles of WDTT1KGR and WDKR1KGR, as the real library's
  // process does, so only the player's other names are gone now.)
  for (const char* name :
       {kPlayerInstanceMarkerName, kGlobBlockName, kGlobMutexName, kSecondMutexName, kSwapMutexName})
    EXPECT_FALSE(mem.kernel.Exists(name)) << name;
  EXPECT_EQ(mem.processes.bindCalls, 1);
  EXPECT_EQ(mem.processes.releaseCalls, 1);
  EXPECT_EQ(mem.system.oleDepth, 0);
}

// Close requests that arrive while a macro plays abort it; the run unwinds (its end marker is
// posted, no abort box) and only then does the player close.
TEST_F(StartupTest, CloseDuringARunAbortsItAndClosesAfterItUnwound) {
  const struct {
    const char* name;
    std::uint32_t message;
    std::uint64_t wparam;
  } requests[] = {{"UM_CONTROL 30", UM_CONTROL, 30}, {"WM_CLOSE", platform::msg::kClose, 0}, {"terminate key", UM_HOTKEY, 261}};
  for (const auto& r : requests) {
    SCOPED_TRACE(r.name);
    Log log;
    LoggingInput input(log);
    std::vector<MacroSpec> macros = SystemMacros();
    macros.push_back({"long", kCtrlA, scope::kGlobal, "", "abcdef"});
    StandAlonePlayer pl(macros);
    pl.p.input = &input;
    RecordingHook recording(*pl.hook, log);
    pl.Start(&recording);
    const platform::WindowHandle notepad = pl.Window("Untitled - Notepad", 0x200);
    pl.mem.desktop.PostMessage(pl.main->MainWindow(), UM_HOTKEY, kCtrlA, notepad);
    pl.mem.desktop.PostMessage(pl.main->MainWindow(), r.message, r.wparam, 0);
    pl.Pump();
    // From the hot key on: one letter typed, the run's end marker, and only then the hooks go.
    const auto first = std::find(log.begin(), log.end(), "key 65");
    ASSERT_NE(first, log.end());
    const Log tail(first, log.end());
    const Log expected = {"key 65", "key 43", "WdxUnHook keyboard", "WdxUnHook mouse", "WdxUnHook CBT"};
    EXPECT_EQ(tail, expected);
    EXPECT_TRUE(pl.mem.boxes.shown.empty());
    EXPECT_TRUE(pl.main->Closing());
    EXPECT_TRUE(pl.mem.desktop.QuitRequested());
    EXPECT_FALSE(pl.hook->KeyboardInstalled());
    EXPECT_FALSE(pl.main->Blocks().HasSwap());
    EXPECT_TRUE(input.KeysDown().empty());
  }
}

// The main window's blocks: a name taken by another kind of object cannot be created; a block
// of that name held smaller by someone else can be had but not mapped. Either way the start
// ends with its message.
TEST_F(StartupTest, MainWindowBlockFailuresSayWhetherCreatingOrMappingFailed) {
  const struct {
    const char* name;
    bool asMutex;
    const char* text;
  } cases[] = {{kSwapBlockName, true, kMappedFileCreateError},
               {kSwapBlockName, false, kMappedFileMapError},
               {kCbtBlockName, true, kMappedFileCreateError},
               {kCbtBlockName, false, kMappedFileMapError}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + (c.asMutex ? " as a mutex" : " smaller"));
    StandAlonePlayer pl;
    std::unique_ptr<platform::NamedMutex> mutex;
    std::unique_ptr<platform::SharedMemory> small;
    if (c.asMutex) {
      mutex = pl.mem.kernel.CreateMutex(c.name, false);
    } else {
      small = pl.mem.kernel.CreateSharedMemory(c.name, 4);
    }
    pl.configs->LoadAllSettings();
    pl.main = std::make_unique<TMainWin>(pl.p, *pl.hook, pl.block, pl.settings, *pl.configs, kFolder);
    EXPECT_FALSE(pl.main->Create());
    EXPECT_EQ(pl.BoxTexts(), std::vector<std::string>{std::string(kSystemErrorCaption) + ": " + c.text});
  }
}

// INI functions that put a bare name's file in another folder than the file functions do, as
// Windows does (the Windows folder against the current folder); the stand-in alone has one.
class WindowsFolderProfile : public platform::ProfileFiles {
 public:
  explicit WindowsFolderProfile(platform::MemoryPlatform& mem) : mem_(mem) {}
  std::string GetString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& defaultValue, std::size_t bufferSize) override {
    return mem_.profile.GetString(file, section, key, defaultValue, bufferSize);
  }
  bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& value) override {
    return mem_.profile.WriteString(file, section, key, value);
  }
  std::string ResolvePath(const std::string& file) override {
    const bool bare = file.find_first_of("\\/:") == std::string::npos;
    return mem_.NativePath(bare ? "C:\\WINDIR\\" + file : file);
  }

 private:
  platform::MemoryPlatform& mem_;
};

// A bare "Current File" name is looked for where the library opener opens it: the library is
// found, kept and played, not judged missing and replaced by a new WENDX.WDX.
TEST_F(StartupTest, BareCurrentFileNameIsFoundWhereTheLibraryIsOpened) {
  AppendRecords(Native("MINE.WDX"), {{"mine", kCtrlA, scope::kGlobal, "", "mine"}});
  mem.profile.WriteString(kSettingsFileName, "Misc", "Current File", "MINE.WDX");
  WindowsFolderProfile profile(mem);
  p.profile = &profile;
  configs = std::make_unique<Configs>(profile, settings, kFolder, mem.files);
  Start();
  EXPECT_EQ(settings.currentLibrary, "MINE.WDX");
  EXPECT_FALSE(std::filesystem::exists(Native(kLibrary)));
  Press('A', true, false);
  EXPECT_EQ(Typed(), "MINE");
}

TEST_F(StartupTest, EditorAtStart) {
  mem.profile.WriteString(kSettingsFileName, "Misc", "Start Editor", "Yes");
  mem.profile.WriteString(kSettingsFileName, "Misc", "Minimize Editor", "Yes");
  mem.processes.commandLine = "C:\\WENDRIX\\WENDPLAY.EXE /nse";
  Start();
  EXPECT_TRUE(mem.shell.calls.empty());
  main->DestroyWindow();

  mem.processes.commandLine = "C:\\WENDRIX\\WENDPLAY.EXE /BA";
  Start();
  EXPECT_TRUE(mem.shell.calls.empty());
  EXPECT_TRUE(mem.boxes.shown.empty());  // browse mode: no editor and no message at start
  main->DestroyWindow();

  mem.processes.commandLine = "C:\\WENDRIX\\WENDPLAY.EXE";
  Start();
  ASSERT_EQ(mem.shell.calls.size(), 1u);
  EXPECT_EQ(mem.shell.calls[0].verb, "open");
  EXPECT_EQ(mem.shell.calls[0].show, platform::ShowMode::kMinimize);
  main->DestroyWindow();

  const platform::WindowHandle editor = mem.desktop.AddForeignWindow("WENDRIX EDITOR", "TEditor", 0x400);
  Start();
  EXPECT_EQ(mem.shell.calls.size(), 1u);
  EXPECT_EQ(mem.desktop.GetForegroundWindow(), editor);
  // The foreground lock time-out is lifted for the moment and given back.
  EXPECT_EQ(mem.system.lockTimeoutsSet, (std::vector<std::uint32_t>{0, 200000}));
  // Closing the player ends the editor first.
  main->RequestClose();
  ASSERT_FALSE(mem.desktop.foreignMessages.empty());
  EXPECT_EQ(mem.desktop.foreignMessages.back().message, platform::msg::kQuit);
  EXPECT_EQ(mem.desktop.foreignMessages.back().wparam, 10u);
}

TEST_F(StartupTest, FileAssociationsAreWrittenOnce) {
  Start();
  using platform::RegistryRoot;
  std::vector<std::string> written;
  for (const auto& w : mem.registry.writes) written.push_back(w.key + "=" + w.value);
  EXPECT_EQ(written, (std::vector<std::string>{".wrm=Wendrix.Single", "Wendrix.Single=Wendrix",
                                               "Wendrix.Single\\shell\\open\\command=C:\\WENDRIX\\Wendrun.Exe /WRM%1",
                                               "Wendrix.Single\\DefaultIcon=C:\\WENDRIX\\Wendplay.Exe,0",
                                               ".wdx=Wendrix.Multi", "Wendrix.Multi=Wendrix",
                                               "Wendrix.Multi\\shell\\open\\command=C:\\WENDRIX\\Wendplay.Exe /F%1",
                                               "Wendrix.Multi\\DefaultIcon=C:\\WENDRIX\\Wendplay.Exe,0"}));
  EXPECT_EQ(mem.profile.GetString(kSettingsFileName, "Misc", "File Association Created", ""), "Yes");
  main->DestroyWindow();
  Start();
  EXPECT_EQ(mem.registry.writes.size(), 8u);
}

TEST(OsFlagsTest, FromTheSystemsVersion) {
  using platform::OsFamily;
  const struct {
    platform::OsVersion v;
    OsFlags f;
  } cases[] = {{{OsFamily::kWindows95, 4, 0}, {true, false, false}},
               {{OsFamily::kWindows95, 4, 10}, {true, false, true}},
               {{OsFamily::kNt, 3, 51}, {false, false, false}},
               {{OsFamily::kNt, 4, 0}, {true, true, false}},
               {{OsFamily::kNt, 5, 1}, {true, true, false}}};
  for (const auto& c : cases) EXPECT_EQ(OsFlagsOf(c.v), c.f) << c.v.major << "." << c.v.minor;
}

}  // namespace
}  // namespace wdx::player::testing
