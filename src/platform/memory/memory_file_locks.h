// The stand-in's file locks: real files and, natively, a real lock of the operating system
// (flock), so two test processes on one folder exclude each other as two programs on a share
// do. Windows semantics kept: a file without any write permission is read-only even for an
// administrator. Where no such lock exists (the stand-in built for Windows) the locks exclude
// within this process only.
#pragma once

#include "platform/file_locks.h"

namespace wdx::platform {

class MemoryFileLocks : public FileLocks {
 public:
  LockAttempt TryLock(const std::string& nativePath) override;
};

}  // namespace wdx::platform
