#include "platform/memory/memory_platform.h"

#include <atomic>
#include <filesystem>
#include <random>
#include <system_error>

namespace wdx::platform {

namespace fs = std::filesystem;

namespace {

std::string MakeRoot(const std::string& root, bool* owns) {
  *owns = root.empty();
  fs::path dir = root;
  if (root.empty()) {
    static std::atomic<unsigned> counter{0};
    std::random_device rd;
    for (;;) {
      dir = fs::temp_directory_path() /
            ("wdx-mem-" + std::to_string(rd()) + "-" + std::to_string(counter.fetch_add(1)));
      std::error_code ec;
      if (fs::create_directory(dir, ec)) break;
    }
  }
  std::error_code ec;
  fs::create_directories(dir / "c" / "windows", ec);
  return dir.string();
}

}  // namespace

MemoryPlatform::MemoryPlatform(const std::string& root)
    : root_(MakeRoot(root, &ownsRoot_)),
      paths(root_),
      desktop(clock),
      kernel(&clock),
      profile(paths) {}

MemoryPlatform::~MemoryPlatform() {
  if (ownsRoot_) {
    std::error_code ec;
    fs::remove_all(root_, ec);
  }
}

Platform MemoryPlatform::Get() {
  Platform p;
  p.windows = &desktop;
  p.loop = &desktop;
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
  p.fileLocks = &fileLocks;
  p.remoteAccess = &remoteAccess;
  p.networkDrives = &networkDrives;
  p.regional = &regional;
  p.shellLinks = &shellLinks;
  p.help = &help;
  p.shellIcons = &shellIcons;
  p.folders = &folders;
  p.fileOps = &fileOps;
  p.selection = &selection;
  p.sound = &sound;
  p.settings = &settings;
  p.mixer = &mixer;
  p.media = &media;
  return p;
}

}  // namespace wdx::platform
