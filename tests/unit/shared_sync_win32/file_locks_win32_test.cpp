#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "platform/win32/win32_file_locks.h"
#include "shared_sync/file_lock_scenarios.h"

namespace wdx::platform {
namespace {

TEST(Win32FileLocks, Scenarios) {
  namespace fs = std::filesystem;
  fs::path dir;
  std::random_device rd;
  do {
    dir = fs::temp_directory_path() / ("wdx-locks-" + std::to_string(rd()));
  } while (!fs::create_directory(dir));
  Win32FileLocks locks;
  testing::FileLockScenarios(locks, dir);
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace
}  // namespace wdx::platform
