// What the editor's process holds for its whole life and hands to its main window and, through
// it, to every dialog: the platform and the form runner, the hook library, the hook-globals
// block and the settings record with their file, the program folder, the player link, the
// library store and the network lock. The program block (editor_start.cpp) builds it once.
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

class LibrarySync;

// The lock every change of the library takes first (FileInUse: true abandons the change) and
// gives back after (ReleaseSyncFile: 1 after a change, 0 after a cancel). The editor's is
// LibrarySync (network mode); tests may put a stand-in in its place.
class SyncLock {
 public:
  virtual ~SyncLock() = default;
  virtual bool FileInUse() { return false; }
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
  // The lock around every change of the library, and network mode's heartbeat and sync timer
  // (the same object unless a test replaces the lock).
  SyncLock* lock = nullptr;
  LibrarySync* sync = nullptr;

  forms::Ui Ui() { return forms::Ui{&platform, forms}; }
};

}  // namespace wdx::editor
