#include "player/core/startup.h"

#include <algorithm>
#include <system_error>

#include "platform/virtual_keys.h"
#include "player/core/main_win.h"
#include "shared/globals.h"
#include "shared/protocol_messages.h"
#include "shared/shared_blocks.h"
#include "shared/tag_table.h"

namespace wdx::player {

// ---------------------------------------------------------------------------------------------
// Single instance and the program block

bool InstanceManager::TakeFirstPlace(platform::KernelObjects& kernel) {
  if (InstanceMarkerExists(kernel)) return false;
  marker_ = CreateInstanceMarker(kernel);
  return true;
}

bool SendCommandLineToFirst(platform::WindowSystem& windows, const std::string& commandLine) {
  const platform::WindowHandle first = windows.FindWindow(std::string(), kMainWindowTitle);
  if (first == platform::kNoWindow) return false;
  // The first player keeps a line's first 255 characters. Posting the rest would only fill its
  // queue: a very long line could overflow it, and the lost terminating 0 would leave the line
  // open to swallow the next one (and the hook library's reports would be lost meanwhile).
  const std::size_t kept = std::min(commandLine.size(), kReceiveBufferMax);
  for (std::size_t i = 0; i < kept; ++i)
    windows.PostMessage(first, UM_COMMANDLINECHAR, 0, static_cast<std::uint8_t>(commandLine[i]));
  windows.PostMessage(first, UM_COMMANDLINECHAR, 0, 0);
  return true;
}

int ForwardToFirst(platform::Platform& p, const std::string& commandLine) {
  for (int attempt = 1;; ++attempt) {
    if (SendCommandLineToFirst(*p.windows, commandLine)) return attempt;
    if (attempt == kForwardTries) return 0;
    // A second between tries, without a window of our own to pump.
    std::unique_ptr<platform::NamedSemaphore> wait =
        p.kernel ? p.kernel->CreateSemaphore(kForwardWaitSemaphore, 0, 10) : nullptr;
    if (wait) {
      wait->Wait(1000);
    } else if (p.clock) {
      p.clock->Sleep(1000);
    }
  }
}

std::string HookLibraryMissingText(const std::string& path) {
  return "Hook library " + path + " could not be loaded.  Wendrix will run without hot keys, Abbrekeys and recording.";
}

int RunPlayer(platform::Platform& p, hook::HookLibrary& hook, forms::FormRunner* forms, bool hookLibraryLoaded) {
  InstanceManager instance;
  const std::string commandLine = p.processes ? p.processes->OwnCommandLine() : std::string();
  if (!instance.TakeFirstPlace(*p.kernel)) {
    ForwardToFirst(p, commandLine);
    return 0;
  }

  const std::string folder = ProgramFolderOf(p.processes ? p.processes->OwnExecutablePath() : std::string());
  ProgramBlockObjects objects;
  switch (objects.Create(*p.kernel)) {
    case ProgramBlockObjects::Result::kOk:
      break;
    case ProgramBlockObjects::Result::kBlockFailed:
      p.boxes->Show(platform::kNoWindow, kMappedFileCreateError, kSystemErrorCaption, platform::mb::kOk);
      return 1;
    case ProgramBlockObjects::Result::kMutexFailed:
      p.boxes->Show(platform::kNoWindow, kMutexCreateError, kSystemErrorCaption, platform::mb::kOk);
      return 1;
  }
  auto block = std::make_unique<TGlobData>();
  ScreenFactors screen;
  GetScreenFactors(*p.input, screen);
  auto settings = std::make_unique<TSettingsRec>();
  Configs configs(*p.profile, *settings, folder, *p.files);
  configs.SetScreenSize({screen.ScreenWidth, screen.ScreenHeight});
  configs.LoadAllSettings();
  configs.ReadFloatingMenuPlaces();

  auto main = std::make_unique<TMainWin>(p, hook, *block, *settings, configs, folder);
  main->SetFormRunner(forms);
  if (settings->networkMode) main->Sync().ReadStamp();
  if (ParseCommandLine(commandLine).trayFromExactS) settings->useTray = true;

  int code = 1;
  if (main->Create()) {
    // Without its hooks the player would start and silently do nothing.
    if (!hookLibraryLoaded)
      p.boxes->Show(platform::kNoWindow, HookLibraryMissingText(folder + "\\" + kHookLibraryFile), kSystemErrorCaption,
                    platform::mb::kOk | platform::mb::kSetForeground);
    code = p.loop->Run();
  }
  main->DestroyWindow();
  main.reset();
  block.reset();
  objects.Close();
  return code;
}

// ---------------------------------------------------------------------------------------------
// The main window's creation and close

namespace {
// Why a block of the main window could not be made: when a block of that name exists (another
// holder made it smaller than ours) it was made but could not be mapped; otherwise it could not
// be created at all.
const char* BlockFailureText(platform::KernelObjects& kernel, const char* name) {
  return kernel.OpenSharedMemory(name, 0) ? kMappedFileMapError : kMappedFileCreateError;
}
}  // namespace

bool TMainWin::Create() {
  const platform::WindowHandle w = platform_.windows->CreateOwnWindow(
      kMainWindowClass, kMainWindowTitle, [this](const platform::Message& m) { return HandleMessage(m); });
  if (w == platform::kNoWindow) return false;
  frame_.SetMainWindow(w);
  if (editorLink_) editorLink_->SetPlayerWindow(w);
  return FormCreate();
}

void TMainWin::DestroyWindow() {
  if (MainWindow() == platform::kNoWindow) return;
  platform_.windows->DestroyOwnWindow(MainWindow());
  frame_.SetMainWindow(platform::kNoWindow);
}

bool TMainWin::FormCreate() {
  const platform::WindowHandle self = MainWindow();
  RunState& state = State();
  // 1. The saved variables and the run state start empty.
  state = RunState();
  // 2.-3. The library.
  LoadCurrentLibrary();
  // 4. Receive buffers and the modal states.
  runs_.Buffers() = ReceiveBuffers();
  state.popupShowing = false;
  state.pauseShowing = false;
  // 5. Operating-system flags.
  if (platform_.system) os_ = OsFlagsOf(platform_.system->Version());
  activation_.SetNt(os_.nt);
  state.windows98Flag = os_.win98;
  if (!os_.shell) settings_.useTray = false;
  // 6.-7. The remap block and the remap hook.
  if (!blocks_.CreateSwapBlock(*platform_.kernel, self)) {
    platform_.boxes->Show(self, BlockFailureText(*platform_.kernel, kSwapBlockName), kSystemErrorCaption,
                          platform::mb::kOk);
    return false;
  }
  GetSwapFile();
  if (SwapsInUse()) {
    blocks_.Swap().SetRemapHook(hook_.WdxHookSwap());
    remapHookInstalled_ = true;
  }
  // 8. The CBT block and hook.
  if (!blocks_.CreateCbtBlock(*platform_.kernel, self, os_.nt)) {
    platform_.boxes->Show(self, BlockFailureText(*platform_.kernel, kCbtBlockName), kSystemErrorCaption,
                          platform::mb::kOk);
    return false;
  }
  blocks_.Cbt().SetCbtHook(hook_.WdxHookCBT());
  // 9. The hook-globals block, pushed part by part, then the hooks.
  block_.ClearStartFields();
  block_.SetNtFlag(os_.nt);
  block_.SetMouseButtonsSwapped(platform_.system && platform_.system->MouseButtonsSwapped());
  hook_.WdxUpCapture(block_);
  hook_.WdxUpInit(block_);
  block_.SetIdle(false, false, 0);
  hook_.WdxUpIdle(block_);
  block_.SetPlayerWindow(self);
  hook_.WdxUpWindow(block_);
  block_.SetSecondaryWindow(self, false);
  block_.SetCaptureWindow(self, false);
  hook_.WdxUpWindow2(block_);
  block_.SetForegroundProgram("");
  hook_.WdxUpProg(block_);
  block_.SetCaptureOn(false);
  hook_.WdxUpCaptureOn(block_);
  for (const std::size_t off : {glob::kWaitClick, glob::kWaitKey, glob::kWaitText, glob::kWaitKeySync})
    block_.SetWaitFlag(off, false);
  hook_.WdxUpWaits(block_);
  for (int button = 1; button <= 3; ++button) block_.SetMouseClickFlag(button, false);
  hook_.WdxUpMouseClk(block_);
  block_.ClearRunningPrograms();
  hook_.WdxUpProgs(block_);
  hotKeys_.SetHotKeys();
  block_.SetKeyboardHook(hook_.WdxHookKeyboard());
  block_.SetMouseHook(hook_.WdxHookMouse());
  hook_.WdxUpKeyHook(block_);
  hook_.WdxUpMouseHook(block_);
  // 10. The command line.
  ApplyCommandLine();
  // 11. What the command line may have changed goes back to the settings file.
  configs_.WriteCurrentFile();
  configs_.WriteMiscSection();
  configs_.WriteNetworkSection();
  // 12. The schedule timer.
  const auto seconds = static_cast<std::uint32_t>(std::max<std::int32_t>(settings_.timerSeconds, 1));
  platform_.loop->SetTimer(self, kScheduleTimerId, seconds * 1000);
  // 13. Tray.
  parts_.tray->Create();
  state.macroPlaying = false;
  if (settings_.useTray) parts_.tray->SetActive(true);
  parts_.tray->LoadMenuIcons();
  // 14. A window of no size, out of the way.
  platform_.windows->MoveWindow(self, {1, 1, 1, 1});
  // 15. Schedules.
  parts_.scheduler->CheckAndSetTime();
  // 16. Network auto sync.
  sync_.StartAutoSync();
  // 17.-18. Process enumeration, shell automation.
  if (platform_.processes) platform_.processes->Bind();
  if (platform_.system) platform_.system->OleInitialize();
  // 20. The editor.
  if (!options_.browseMode && settings_.startEditor && !options_.editorNotThisStart)
    OpenEditor(settings_.minimizeEditor);
  // 21. File associations.
  CreateFileAssociation();
  // 22. Lock keys.
  if (platform_.input) {
    state.capsLockOn = (platform_.input->GetKeyState(vk::kCapital) & 1) != 0;
    state.numLockOn = (platform_.input->GetKeyState(vk::kNumLock) & 1) != 0;
    state.scrollLockOn = (platform_.input->GetKeyState(vk::kScroll) & 1) != 0;
  }
  // 23. Floating menus and mouse areas.
  parts_.menus->OpenFloaters();
  parts_.mouse->Load();
  // The start-up timer: start-up macros 5 seconds from now, once.
  platform_.loop->SetTimer(self, kStartupTimerId, kStartupTimerMs);
  return true;
}

void TMainWin::RequestClose() {
  if (closing_) return;
  closeRequested_ = true;
  RunState& state = State();
  if (state.macroPlaying) {
    // The run stops at its next step and unwinds; a closing player shows no abort box, and a
    // PAUSE that waits for the user is closed (which is its Abort).
    state.abortMacro = true;
    state.showErrors = false;
    frame_.PromptWindows().CloseOpenPrompt();
  }
  // Outside any handler (the loop is not running a message of ours) the close happens now;
  // otherwise when the outermost handler is done (HandleMessage).
  if (depth_ == 0 && !state.macroPlaying) DoClose();
}

void TMainWin::DoClose() {
  if (closing_) return;
  FormClose();
  platform_.loop->Quit(0);
}

void TMainWin::FormClose() {
  // 1. The editor ends with the player.
  parts_.editor->Quit();
  // 2.-3.
  parts_.menus->CloseFloaters();
  closing_ = true;
  // A library lock this player still holds goes back (the heartbeat timer with it).
  sync_.Close();
  for (const std::uint32_t id : {kScheduleTimerId, kStartupTimerId, kSyncTimerId, kNetTimerId, kClearTimerId, kHookTimerId})
    platform_.loop->KillTimer(MainWindow(), id);
  // 4. Process enumeration.
  if (platform_.processes) platform_.processes->Release();
  // 5. The hooks: keyboard, mouse, remap (when installed), CBT.
  hook_.WdxUnHook(block_.KeyboardHook());
  hook_.WdxUnHook(block_.MouseHook());
  if (remapHookInstalled_ && blocks_.HasSwap()) hook_.WdxUnHook(blocks_.Swap().RemapHook());
  remapHookInstalled_ = false;
  if (blocks_.HasCbt()) hook_.WdxUnHook(blocks_.Cbt().CbtHook());
  // 6. WDKR1KGR, then WDTT1KGR.
  blocks_.Close();
  // 7. Settings.
  configs_.SaveAllSettings();
  // 9. Shell automation.
  if (platform_.system) platform_.system->OleUninitialize();
}

// ---------------------------------------------------------------------------------------------
// Command line, editor, registry

void TMainWin::ApplyCommandLine() {
  const std::string commandLine = platform_.processes ? platform_.processes->OwnCommandLine() : std::string();
  options_ = ParseCommandLine(commandLine);
  configs_.SetWritingAllowed(!options_.iniWritingOff);
  if (options_.autoSync) settings_.autoSync = true;
  if (options_.syncMinutes) settings_.syncMinutes = *options_.syncMinutes;
  if (options_.useTray) settings_.useTray = *options_.useTray;
  if (options_.startEditor) settings_.startEditor = *options_.startEditor;
  if (options_.networkMode) settings_.networkMode = true;
  // A library that does not exist is ignored; one that does replaces the one loaded.
  std::error_code ec;
  const bool libraryTaken = options_.library && std::filesystem::is_regular_file(NativePath(*options_.library), ec);
  if (libraryTaken) settings_.currentLibrary = *options_.library;
  if (options_.networkMode || (libraryTaken && settings_.networkMode)) sync_.ReadStamp();
  if (libraryTaken) {
    LoadCurrentLibrary();
    hotKeys_.SetHotKeys();
    parts_.scheduler->CheckAndSetTime();
  }
  SetCommandVariables(commandLine, State().saved);
}

void TMainWin::CreateFileAssociation() {
  if (settings_.associationCreated || !platform_.registry) return;
  settings_.associationCreated = true;
  configs_.WriteMiscSection();
  const auto root = platform::RegistryRoot::kClassesRoot;
  platform::Registry& r = *platform_.registry;
  r.WriteString(root, ".wrm", "", "Wendrix.Single");
  r.WriteString(root, "Wendrix.Single", "", "Wendrix");
  r.WriteString(root, "Wendrix.Single\\shell\\open\\command", "", programFolder_ + "\\Wendrun.Exe /WRM%1");
  r.WriteString(root, "Wendrix.Single\\DefaultIcon", "", programFolder_ + "\\Wendplay.Exe,0");
  r.WriteString(root, ".wdx", "", "Wendrix.Multi");
  r.WriteString(root, "Wendrix.Multi", "", "Wendrix");
  r.WriteString(root, "Wendrix.Multi\\shell\\open\\command", "", programFolder_ + "\\Wendplay.Exe /F%1");
  r.WriteString(root, "Wendrix.Multi\\DefaultIcon", "", programFolder_ + "\\Wendplay.Exe,0");
}

}  // namespace wdx::player
