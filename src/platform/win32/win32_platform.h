// The real platform for the Windows programs: one object in the program's entry point.
#pragma once

#include "platform/platform.h"
#include "platform/win32/win32_file_locks.h"
#include "platform/win32/win32_media.h"
#include "platform/win32/win32_mixer.h"
#include "platform/win32/win32_network_drives.h"
#include "platform/win32/win32_file_operations.h"
#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_focused_selection.h"
#include "platform/win32/win32_processes.h"
#include "platform/win32/win32_regional_formats.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_remote_access.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_shell_icons.h"
#include "platform/win32/win32_shell_links.h"
#include "platform/win32/win32_sockets.h"
#include "platform/win32/win32_system_folders.h"
#include "platform/win32/win32_sound.h"
#include "platform/win32/win32_system_info.h"
#include "platform/win32/win32_system_settings.h"
#include "platform/win32/win32_system.h"
#include "platform/win32/win32_text_services.h"
#include "platform/win32/win32_window_system.h"

namespace wdx::platform {

class Win32Platform {
 public:
  Platform Get();

  Win32WindowSystem windows;
  Win32MessageLoop loop;
  Win32Clock clock;
  Win32Input input;
  Win32KernelObjects kernel;
  Win32ProfileFiles profile;
  Win32MessageBoxes boxes;
  Win32Registry registry;
  Win32Processes processes;
  Win32Shell shell;
  Win32SystemInfo system;
  Win32Clipboard clipboard;
  Win32Environment environment;
  Win32Files files;
  Win32Sockets sockets;
  Win32FileLocks fileLocks;
  Win32RemoteAccess remoteAccess;
  Win32RegionalFormats regional;
  Win32ShellLinks shellLinks;
  Win32HelpFiles help;
  Win32ShellIcons shellIcons;
  Win32SystemFolders folders;
  Win32NetworkDrives networkDrives;
  Win32FileOperations fileOps;
  Win32FocusedSelection selection;
  Win32Sound sound;
  Win32SystemSettings settings;
  Win32Mixer mixer;
  Win32Media media;
};

}  // namespace wdx::platform
