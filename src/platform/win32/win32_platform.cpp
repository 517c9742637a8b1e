#include "platform/win32/win32_platform.h"

namespace wdx::platform {

Platform Win32Platform::Get() {
  Platform p;
  p.windows = &windows;
  p.loop = &loop;
  p.clock = &clock;
  p.input = &input;
  p.kernel = &kernel;
  p.profile = &profile;
  p.boxes = &boxes;
  p.registry = &registry;
  p.processes = &processes;
  p.shell = &shell;
  p.system = &system;
  p.clipboard = &clipboard;
  p.environment = &environment;
  p.files = &files;
  p.sockets = &sockets;
  p.fileLocks = &fileLocks;
  p.remoteAccess = &remoteAccess;
  p.regional = &regional;
  p.shellLinks = &shellLinks;
  p.help = &help;
  p.shellIcons = &shellIcons;
  p.folders = &folders;
  p.networkDrives = &networkDrives;
  p.fileOps = &fileOps;
  p.selection = &selection;
  p.sound = &sound;
  p.settings = &settings;
  p.mixer = &mixer;
  p.media = &media;
  return p;
}

}  // namespace wdx::platform
