#include "platform/win32/win32_file_locks.h"

#include "platform/win32/windows_api.h"

namespace wdx::platform {

namespace {

// Windows refuses reads and writes of locked bytes to every other handle, so the lock covers
// one byte far past any content: programs that read the file without asking for the lock
// (older copies) are never refused, and every copy of ours locks this same byte.
constexpr DWORD kLockOffset = 0x7FFFFFF0;

OVERLAPPED LockRange() {
  OVERLAPPED ov{};
  ov.Offset = kLockOffset;
  return ov;
}

class Win32LockedFile : public LockedFile {
 public:
  Win32LockedFile(HANDLE h, bool locked) : h_(h), locked_(locked) {}
  ~Win32LockedFile() override {
    if (locked_) {
      OVERLAPPED ov = LockRange();
      UnlockFileEx(h_, 0, 1, 0, &ov);
    }
    CloseHandle(h_);
  }
  Win32LockedFile(const Win32LockedFile&) = delete;
  Win32LockedFile& operator=(const Win32LockedFile&) = delete;

  std::optional<std::vector<std::uint8_t>> Read(std::size_t size) override {
    if (SetFilePointer(h_, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return std::nullopt;
    std::vector<std::uint8_t> bytes(size);
    DWORD got = 0;
    if (!ReadFile(h_, bytes.data(), static_cast<DWORD>(size), &got, nullptr)) return std::nullopt;
    bytes.resize(got);
    return bytes;
  }

  bool Replace(std::span<const std::uint8_t> bytes) override {
    if (SetFilePointer(h_, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
    DWORD put = 0;
    if (!WriteFile(h_, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr) || put != bytes.size())
      return false;
    if (!SetEndOfFile(h_)) return false;
    // On a share the new bytes must reach the server before the lock is given back.
    return FlushFileBuffers(h_) != 0;
  }

 private:
  HANDLE h_;
  bool locked_;
};

}  // namespace

LockAttempt Win32FileLocks::TryLock(const std::string& nativePath) {
  LockAttempt attempt;
  // A read-only file is never written, whoever runs the program (an administrator's open for
  // writing may pass on some file systems).
  const DWORD attributes = GetFileAttributesA(nativePath.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return attempt;
  HANDLE h = CreateFileA(nativePath.c_str(), GENERIC_READ | GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    // An older copy opens the file without sharing while it writes: that passes.
    attempt.status = GetLastError() == ERROR_SHARING_VIOLATION ? LockStatus::kBusy : LockStatus::kCannotOpen;
    return attempt;
  }
  OVERLAPPED ov = LockRange();
  bool locked = true;
  if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &ov)) {
    const DWORD error = GetLastError();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) {
      CloseHandle(h);
      attempt.status = LockStatus::kBusy;
      return attempt;
    }
    // A file system without byte-range locks: the step runs unguarded, as it always did.
    locked = false;
  }
  attempt.status = LockStatus::kLocked;
  attempt.file = std::make_unique<Win32LockedFile>(h, locked);
  return attempt;
}

}  // namespace wdx::platform
