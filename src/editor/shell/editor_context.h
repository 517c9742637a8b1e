// What the editor's process holds for its whole life and hands to its main window and, through
// it, to every dialog: the platform and the form runner, the hook library, the hook-globals
// block and the settings record with their file, the program folder, the player link, the
// library store and the network lock. The program block (editor_start.cpp) builds it once.
#pragma once

#include <string>

#include "editor/shell/library_store.h"
#include "editor/shell/library_sync.h"
#include "editor/shell/player_link.h"
#include "forms/runner.h"
#include "hook/hook_library.h"
#include "platform/platform.h"
#include "shared/glob_data.h"
#include "shared/settings.h"

namespace wdx::editor {

struct EditorContext {
  platform::Platform platform;
  forms::FormRunner* forms = nullptr;
  hook::HookLibrary* hook = nullptr;
  TGlobData* glob = nullptr;
  TSettingsRec* settings = nullptr;
  Configs* configs = nullptr;
  std::string programFolder;
  PlayerLink* link = nullptr;
  LibraryStore* store = nullptr;
  // Network mode: the library lock around every change, its heartbeat and the sync timer.
  LibrarySync* lock = nullptr;

  forms::Ui Ui() { return forms::Ui{&platform, forms}; }
};

}  // namespace wdx::editor
