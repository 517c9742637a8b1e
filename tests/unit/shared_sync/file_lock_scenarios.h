// What every FileLocks must do, run against the stand-in natively and against Windows' own
// byte-range locks under Wine. `dir` is a fresh folder of the test's own.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/file_locks.h"

namespace wdx::testing {

inline std::string FileBytes(const std::filesystem::path& f) {
  std::ifstream in(f, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline std::vector<std::uint8_t> Text(const std::string& s) { return std::vector<std::uint8_t>(s.begin(), s.end()); }

inline void FileLockScenarios(platform::FileLocks& locks, const std::filesystem::path& dir) {
  using platform::LockStatus;
  const std::string stamp = (dir / "LIB.WDY").string();

  // A missing file is created empty under the lock; a second taker is refused until the first
  // gives the lock back.
  platform::LockAttempt first = locks.TryLock(stamp);
  ASSERT_EQ(first.status, LockStatus::kLocked);
  ASSERT_TRUE(first.file);
  EXPECT_TRUE(std::filesystem::exists(stamp));
  ASSERT_TRUE(first.file->Read(14).has_value());
  EXPECT_TRUE(first.file->Read(14)->empty());
  EXPECT_EQ(locks.TryLock(stamp).status, LockStatus::kBusy);
  // Readers that do not ask for the lock still read the file.
  ASSERT_TRUE(first.file->Replace(Text("0123456789ABCD")));
  EXPECT_EQ(FileBytes(stamp), "0123456789ABCD");
  first.file.reset();

  platform::LockAttempt second = locks.TryLock(stamp);
  ASSERT_EQ(second.status, LockStatus::kLocked);
  // Reading stops at the end of the file; replacing cuts a longer file to the new content.
  EXPECT_EQ(*second.file->Read(100), Text("0123456789ABCD"));
  EXPECT_EQ(*second.file->Read(4), Text("0123"));
  ASSERT_TRUE(second.file->Replace(Text("xy")));
  EXPECT_EQ(FileBytes(stamp), "xy");
  second.file.reset();

  // A file that cannot be written, and a folder that is not there, cannot be locked.
  const std::filesystem::path readOnly = dir / "RO.WDY";
  std::ofstream(readOnly, std::ios::binary) << "12345678901234";
  std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                             std::filesystem::perms::others_read);
  EXPECT_EQ(locks.TryLock(readOnly.string()).status, LockStatus::kCannotOpen);
  EXPECT_EQ(FileBytes(readOnly), "12345678901234");
  std::filesystem::permissions(readOnly, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
  EXPECT_EQ(locks.TryLock((dir / "MISSING" / "LIB.WDY").string()).status, LockStatus::kCannotOpen);
  EXPECT_FALSE(std::filesystem::exists(dir / "MISSING"));
}

}  // namespace wdx::testing
