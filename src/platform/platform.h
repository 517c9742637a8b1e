// The bundle of platform facilities handed to whatever needs them (constructor injection).
// The real adapter (win32/) and the in-memory stand-in (memory/) each fill one.
#pragma once

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/file_locks.h"
#include "platform/file_operations.h"
#include "platform/files.h"
#include "platform/focused_selection.h"
#include "platform/help_files.h"
#include "platform/input.h"
#include "platform/kernel_objects.h"
#include "platform/message_boxes.h"
#include "platform/media_control.h"
#include "platform/message_loop.h"
#include "platform/mixer.h"
#include "platform/network_drives.h"
#include "platform/processes.h"
#include "platform/profile_files.h"
#include "platform/regional_formats.h"
#include "platform/registry.h"
#include "platform/remote_access.h"
#include "platform/shell.h"
#include "platform/shell_icons.h"
#include "platform/shell_links.h"
#include "platform/sockets.h"
#include "platform/system_folders.h"
#include "platform/sound.h"
#include "platform/system_info.h"
#include "platform/system_settings.h"
#include "platform/window_system.h"

namespace wdx::platform {

struct Platform {
  WindowSystem* windows = nullptr;
  MessageLoop* loop = nullptr;
  Clock* clock = nullptr;
  Input* input = nullptr;
  KernelObjects* kernel = nullptr;
  ProfileFiles* profile = nullptr;
  MessageBoxes* boxes = nullptr;
  Registry* registry = nullptr;
  Processes* processes = nullptr;
  Shell* shell = nullptr;
  SystemInfo* system = nullptr;
  Clipboard* clipboard = nullptr;
  Environment* environment = nullptr;
  Files* files = nullptr;
  Sockets* sockets = nullptr;
  FileLocks* fileLocks = nullptr;
  RemoteAccess* remoteAccess = nullptr;
  RegionalFormats* regional = nullptr;
  ShellLinks* shellLinks = nullptr;
  HelpFiles* help = nullptr;
  ShellIcons* shellIcons = nullptr;
  SystemFolders* folders = nullptr;
  NetworkDrives* networkDrives = nullptr;
  FileOperations* fileOps = nullptr;
  FocusedSelection* selection = nullptr;
  Sound* sound = nullptr;
  SystemSettings* settings = nullptr;
  Mixer* mixer = nullptr;
  MediaControl* media = nullptr;
};

}  // namespace wdx::platform
