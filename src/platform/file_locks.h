// Exclusive operating-system locks on shared files. Programs on several machines check and
// change a small file on a network share (the library's sync stamp); the check and the change
// become one step when each program takes the file's lock around them. The lock is advisory
// for everyone else: a program that does not ask for it still reads and writes the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace wdx::platform {

// A file opened for reading and writing while this program holds its lock. Destroying it
// gives the lock back and closes the file.
class LockedFile {
 public:
  virtual ~LockedFile() = default;
  // At most `size` bytes from the start of the file (fewer when it is shorter); nullopt when
  // reading fails.
  virtual std::optional<std::vector<std::uint8_t>> Read(std::size_t size) = 0;
  // Writes `bytes` over the start of the file and cuts the file to their length. The file is
  // never emptied on the way, so a reader that does not take the lock sees the old content or
  // the new one. False when writing fails.
  virtual bool Replace(std::span<const std::uint8_t> bytes) = 0;
};

enum class LockStatus {
  kLocked,     // the lock is this program's until the LockedFile is destroyed
  kBusy,       // another program (or another LockedFile of this one) holds it: try again
  kCannotOpen  // the file cannot be opened for writing (read-only, missing folder, share gone)
};

struct LockAttempt {
  LockStatus status = LockStatus::kCannotOpen;
  std::unique_ptr<LockedFile> file;  // set with kLocked only
};

class FileLocks {
 public:
  virtual ~FileLocks() = default;
  // Opens the file at `nativePath` (a path the C++ library's streams open; created empty when
  // it is missing) and tries once, without waiting, to take its exclusive lock.
  virtual LockAttempt TryLock(const std::string& nativePath) = 0;
};

}  // namespace wdx::platform
