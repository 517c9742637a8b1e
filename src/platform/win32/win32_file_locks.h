// File locks on Windows' byte-range locks (LockFileEx), which also hold across machines on a
// network share.
#pragma once

#include "platform/file_locks.h"

namespace wdx::platform {

class Win32FileLocks : public FileLocks {
 public:
  LockAttempt TryLock(const std::string& nativePath) override;
};

}  // namespace wdx::platform
