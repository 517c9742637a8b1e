// What the editor's process holds for its whole life and hands to its main window and, through
// it, to every dialog: the platform and the form runner, the hook library, the hook-globals
// block and the settings record with their file, the program folder, the player link and the
// library store. The program block (editor_start.cpp) builds it once.
#pragma once

#include <string>

#include "editor/shell/library_store.h"
#include "editor/shell/player_link.h"
#include "forms/runner.h"
#include "hook/hook_library.h"
#include "platform/platform.h"
#include "shared/glob_data.h"
#include "shared/settings.h"

namespace wdx::editor {

// The parts of the editor still to come that the main window calls at fixed points; each has a
// stand-in that does nothing until its feature fills it (see docs/architecture.md).
class CompanionFiles {
 public:
  virtual ~CompanionFiles() = default;
  // GetSwapFile and GetCatFile: the remap table and the categories of the current library.
  virtual void LoadSwapFile() {}
  virtual void LoadCatFile() {}
};

class SyncLock {
 public:
  virtual ~SyncLock() = default;
  // FileInUse: true when another user holds the library (the change is abandoned).
  virtual bool FileInUse() { return false; }
  // ReleaseSyncFile: 1 after a change, 0 after a cancel.
  virtual void ReleaseSyncFile(int /*changed*/) {}
};

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
  CompanionFiles* companions = nullptr;
  SyncLock* lock = nullptr;

  forms::Ui Ui() { return forms::Ui{&platform, forms}; }
};

}  // namespace wdx::editor
