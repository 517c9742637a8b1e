// The editor's process from start to end: only the player may start it (the start token as the
// first argument), one editor per desktop (the marker WDXED321Z), the process-wide state, the
// main window and its message loop, and what follows the loop.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/shell/editor_context.h"
#include "editor/shell/library_sync.h"
#include "editor/shell/main_win.h"
#include "forms/runner.h"
#include "hook/hook_library.h"
#include "platform/platform.h"

namespace wdx::editor {

inline constexpr char kStartToken[] = "-RXB";
inline constexpr char kNotViaPlayerText[] = "Wendrix Editor can only be invoked via Wendrix";
inline constexpr char kHookLibraryFile[] = "WDXHOOK.dll";

enum class StartCheck { kRun, kNotStartedByPlayer, kAlreadyRunning };

// The start checks on the parameters (ParamStr 0..n) and the desktop's markers; with kRun the
// marker is created and `marker` holds it.
StartCheck CheckStart(const std::vector<std::string>& params, platform::KernelObjects& kernel,
                      std::unique_ptr<platform::SharedMemory>& marker);

// A feature of the editor that fills commands of the main window (TMainWin::Bind) once the
// window exists. The program lists its features; tests install the ones they exercise.
using EditorFeature = void (*)(TMainWin& main, EditorContext& context);

// The editor's process-wide state and its main window, from the start checks to the end.
class EditorProcess {
 public:
  EditorProcess(platform::Platform& platform, hook::HookLibrary& hook, forms::FormRunner& forms);
  ~EditorProcess();
  EditorProcess(const EditorProcess&) = delete;
  EditorProcess& operator=(const EditorProcess&) = delete;

  // The checks, the state, the main window created, its features installed and shown; what the
  // checks said.
  StartCheck Start(std::span<const EditorFeature> features = {});
  // The message loop; afterwards the player hears that the editor is gone. The exit code.
  int Run();

  TMainWin* Main() { return main_.get(); }
  EditorContext& Context() { return context_; }

 private:
  platform::Platform& platform_;
  hook::HookLibrary& hook_;
  forms::FormRunner& forms_;
  std::unique_ptr<platform::SharedMemory> marker_;
  std::unique_ptr<TGlobData> glob_;
  std::unique_ptr<TSettingsRec> settings_;
  std::unique_ptr<Configs> configs_;
  std::unique_ptr<PlayerLink> link_;
  std::unique_ptr<LibraryStore> store_;
  std::unique_ptr<LibrarySync> sync_;
  EditorContext context_;
  std::unique_ptr<TMainWin> main_;
};

// The whole editor: the exit code (0 after a normal close, and for a second editor; 1 when the
// start was refused).
int RunEditor(platform::Platform& platform, hook::HookLibrary& hook, forms::FormRunner& forms,
              std::span<const EditorFeature> features = {});

}  // namespace wdx::editor
