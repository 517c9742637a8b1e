#include "editor/shell/editor_start.h"

#include "shared/globals.h"
#include "shared/protocol_messages.h"
#include "shared/shared_blocks.h"
#include "shared/text_util.h"

namespace wdx::editor {

StartCheck CheckStart(const std::vector<std::string>& params, platform::KernelObjects& kernel,
                      std::unique_ptr<platform::SharedMemory>& marker) {
  if (params.size() < 2 || params[1] != kStartToken) return StartCheck::kNotStartedByPlayer;
  if (InstanceMarkerExists(kernel, kEditorInstanceMarkerName)) return StartCheck::kAlreadyRunning;
  marker = CreateInstanceMarker(kernel, kEditorInstanceMarkerName);
  return StartCheck::kRun;
}

EditorProcess::EditorProcess(platform::Platform& platform, hook::HookLibrary& hook, forms::FormRunner& forms)
    : platform_(platform), hook_(hook), forms_(forms) {}

EditorProcess::~EditorProcess() {
  main_.reset();
  marker_.reset();
}

StartCheck EditorProcess::Start(std::span<const EditorFeature> features) {
  const std::vector<std::string> params =
      SplitCommandLine(platform_.processes ? platform_.processes->OwnCommandLine() : std::string());
  const StartCheck check = CheckStart(params, *platform_.kernel, marker_);
  if (check == StartCheck::kNotStartedByPlayer) {
    platform_.boxes->Show(platform::kNoWindow, kNotViaPlayerText, std::string(), platform::mb::kOk);
  }
  if (check != StartCheck::kRun) return check;

  const std::string folder =
      ProgramFolderOf(platform_.processes ? platform_.processes->OwnExecutablePath() : std::string());
  glob_ = std::make_unique<TGlobData>();
  ScreenFactors screen;
  GetScreenFactors(*platform_.input, screen);
  settings_ = std::make_unique<TSettingsRec>();
  configs_ = std::make_unique<Configs>(*platform_.profile, *settings_, folder, *platform_.files);
  configs_->SetScreenSize({screen.ScreenWidth, screen.ScreenHeight});
  // Nothing is written to the settings file until the main window exists.
  configs_->SetWritingAllowed(false);
  configs_->LoadAllSettings();
  link_ = std::make_unique<PlayerLink>(*platform_.windows, hook_, *glob_);
  // In network mode the stamp's counter is known before the library is loaded.
  sync_ = std::make_unique<LibrarySync>(*settings_, platform_);
  sync_->ReadStamp();
  store_ = std::make_unique<LibraryStore>(*settings_, *link_, *platform_.files, *platform_.boxes, *platform_.clock);

  context_.platform = platform_;
  context_.forms = &forms_;
  context_.hook = &hook_;
  context_.glob = glob_.get();
  context_.settings = settings_.get();
  context_.configs = configs_.get();
  context_.programFolder = folder;
  context_.link = link_.get();
  context_.store = store_.get();
  context_.lock = sync_.get();
  context_.sync = sync_.get();

  main_ = std::make_unique<TMainWin>(context_);
  main_->FormCreate(params);
  for (EditorFeature install : features) install(*main_, context_);
  forms_.Show(*main_);
  return StartCheck::kRun;
}

int EditorProcess::Run() {
  platform_.loop->Run();
  // FormDestroy: the player forgets the editor window.
  link_->Tell(control::kEditorClosing, 0);
  return 0;
}

int RunEditor(platform::Platform& platform, hook::HookLibrary& hook, forms::FormRunner& forms,
              std::span<const EditorFeature> features) {
  EditorProcess editor(platform, hook, forms);
  switch (editor.Start(features)) {
    case StartCheck::kRun:
      return editor.Run();
    case StartCheck::kAlreadyRunning:
      return 0;
    case StartCheck::kNotStartedByPlayer:
      return 1;
  }
  return 1;
}

}  // namespace wdx::editor
