#include "platform/memory/memory_file_locks.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#if defined(_WIN32)
#include <mutex>
#include <set>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace wdx::platform {

namespace fs = std::filesystem;

namespace {

#if defined(_WIN32)
std::mutex& HeldMutex() {
  static std::mutex m;
  return m;
}
std::set<std::string>& Held() {
  static std::set<std::string> held;
  return held;
}
#endif

// The lock itself: held from construction until destruction when `Taken()`.
class LockToken {
 public:
  LockToken(const std::string& path, bool* busy) {
#if defined(_WIN32)
    std::lock_guard<std::mutex> guard(HeldMutex());
    key_ = fs::weakly_canonical(fs::path(path)).string();
    taken_ = Held().insert(key_).second;
    *busy = !taken_;
#else
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) {
      *busy = false;
      return;
    }
    // flock belongs to this open file: other descriptors of the same process are apart, and
    // the stream that reads and writes the file below closes without touching it.
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
      taken_ = true;
      *busy = false;
    } else {
      *busy = errno == EWOULDBLOCK;
    }
#endif
  }
  ~LockToken() {
#if defined(_WIN32)
    if (taken_) {
      std::lock_guard<std::mutex> guard(HeldMutex());
      Held().erase(key_);
    }
#else
    if (fd_ >= 0) ::close(fd_);  // closing gives the lock back
#endif
  }
  LockToken(const LockToken&) = delete;
  LockToken& operator=(const LockToken&) = delete;
  bool Taken() const { return taken_; }

 private:
  bool taken_ = false;
#if defined(_WIN32)
  std::string key_;
#else
  int fd_ = -1;
#endif
};

class MemoryLockedFile : public LockedFile {
 public:
  MemoryLockedFile(std::string path, std::unique_ptr<LockToken> token)
      : path_(std::move(path)), token_(std::move(token)) {}

  std::optional<std::vector<std::uint8_t>> Read(std::size_t size) override {
    std::ifstream in(path_, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes(size);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
    if (in.bad()) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
  }

  bool Replace(std::span<const std::uint8_t> bytes) override {
    {
      std::fstream out(path_, std::ios::binary | std::ios::in | std::ios::out);
      if (!out) return false;
      out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
      out.close();
      if (!out) return false;
    }
    std::error_code ec;
    fs::resize_file(path_, bytes.size(), ec);
    return !ec;
  }

 private:
  std::string path_;
  std::unique_ptr<LockToken> token_;
};

bool ReadOnly(const std::string& path) {
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  if (ec || !fs::exists(st)) return false;
  const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  return (st.permissions() & write) == fs::perms::none;
}

}  // namespace

LockAttempt MemoryFileLocks::TryLock(const std::string& nativePath) {
  LockAttempt attempt;
  std::error_code ec;
  if (ReadOnly(nativePath) || fs::is_directory(nativePath, ec)) return attempt;
#if defined(_WIN32)
  // Create the file as the native open below would.
  if (!fs::exists(nativePath, ec)) {
    std::ofstream create(nativePath, std::ios::binary | std::ios::app);
    if (!create) return attempt;
  }
#endif
  bool busy = false;
  auto token = std::make_unique<LockToken>(nativePath, &busy);
  if (!token->Taken()) {
    attempt.status = busy ? LockStatus::kBusy : LockStatus::kCannotOpen;
    return attempt;
  }
  attempt.status = LockStatus::kLocked;
  attempt.file = std::make_unique<MemoryLockedFile>(nativePath, std::move(token));
  return attempt;
}

}  // namespace wdx::platform
