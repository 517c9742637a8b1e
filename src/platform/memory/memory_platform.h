// The whole in-memory stand-in, owned by one object a test creates:
//
//   wdx::platform::MemoryPlatform mem;          // files under a fresh temporary folder
//   Player player(mem.Get());                   // the code under test sees only Platform
//   mem.desktop.AddForeignWindow("Untitled - Notepad", "Notepad", 42);
//   mem.boxes.QueueAnswer(wdx::platform::mb::kIdNo);
//   ... assert on mem.input.keys, mem.boxes.shown, mem.desktop.foreignMessages ...
//
// Disk layout under the root folder: drive C: is <root>/c, the Windows folder (where bare INI
// names go) is <root>/c/windows.
#pragma once

#include <string>

#include "platform/memory/memory_clipboard.h"
#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_desktop.h"
#include "platform/memory/memory_environment.h"
#include "platform/memory/memory_file_locks.h"
#include "platform/memory/memory_file_operations.h"
#include "platform/memory/memory_files.h"
#include "platform/memory/memory_focused_selection.h"
#include "platform/memory/memory_input.h"
#include "platform/memory/memory_kernel_objects.h"
#include "platform/memory/memory_media.h"
#include "platform/memory/memory_message_boxes.h"
#include "platform/memory/memory_mixer.h"
#include "platform/memory/memory_network_drives.h"
#include "platform/memory/memory_processes.h"
#include "platform/memory/memory_profile_files.h"
#include "platform/memory/memory_regional_formats.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_remote_access.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_shell_icons.h"
#include "platform/memory/memory_shell_links.h"
#include "platform/memory/memory_system_folders.h"
#include "platform/memory/memory_sound.h"
#include "platform/memory/memory_system_info.h"
#include "platform/memory/memory_system_settings.h"
#include "platform/memory/path_map.h"
#include "platform/platform.h"

namespace wdx::platform {

class MemoryPlatform {
 public:
  // An empty root makes a fresh temporary folder, removed again with the platform.
  explicit MemoryPlatform(const std::string& root = std::string());
  ~MemoryPlatform();
  MemoryPlatform(const MemoryPlatform&) = delete;
  MemoryPlatform& operator=(const MemoryPlatform&) = delete;

  Platform Get();
  const std::string& Root() const { return root_; }
  // Native path of a Windows path (as the stand-in's files see it).
  std::string NativePath(const std::string& windowsPath) const { return paths.ToNative(windowsPath); }

 private:
  bool ownsRoot_ = false;  // set while root_ is made, so declared before it
  std::string root_;

 public:
  PathMap paths;
  MemoryClock clock;
  MemoryDesktop desktop;
  MemoryInput input;
  MemoryKernelObjects kernel;
  MemoryProfileFiles profile;
  MemoryMessageBoxes boxes;
  MemoryRegistry registry;
  MemoryProcesses processes;
  MemoryShell shell;
  MemorySystemInfo system;
  MemoryClipboard clipboard;
  MemoryEnvironment environment;
  MemoryFiles files{paths};
  MemoryFileLocks fileLocks;
  MemoryRemoteAccess remoteAccess{clock};
  MemoryRegionalFormats regional;
  MemoryShellLinks shellLinks{paths};
  MemoryHelpFiles help;
  MemoryShellIcons shellIcons;
  MemorySystemFolders folders;
  MemoryNetworkDrives networkDrives;
  MemoryFileOperations fileOps{paths, folders};
  MemoryFocusedSelection selection{clipboard};
  MemorySound sound{paths, clock};
  MemorySystemSettings settings;
  MemoryMixer mixer;
  MemoryMedia media;
};

}  // namespace wdx::platform
