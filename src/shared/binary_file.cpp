#include "shared/binary_file.h"

namespace wdx {

namespace {

std::FILE* Open(const std::filesystem::path& path, BinaryFile::Mode mode) {
#ifdef _WIN32
  const wchar_t* how = mode == BinaryFile::Mode::kRead ? L"rb" : mode == BinaryFile::Mode::kReadWrite ? L"r+b" : L"wb";
  return _wfopen(path.c_str(), how);
#else
  const char* how = mode == BinaryFile::Mode::kRead ? "rb" : mode == BinaryFile::Mode::kReadWrite ? "r+b" : "wb";
  return std::fopen(path.c_str(), how);
#endif
}

}  // namespace

BinaryFile::BinaryFile(const std::filesystem::path& path, Mode mode) : file_(Open(path, mode)) {}

BinaryFile::~BinaryFile() { Close(); }

bool BinaryFile::Seek(std::int64_t offset) {
  if (!file_ || offset < 0) return false;
#ifdef _WIN32
  return _fseeki64(file_, offset, SEEK_SET) == 0;
#else
  return fseeko(file_, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

std::int64_t BinaryFile::Size() {
  if (!file_) return -1;
#ifdef _WIN32
  if (_fseeki64(file_, 0, SEEK_END) != 0) return -1;
  return _ftelli64(file_);
#else
  if (fseeko(file_, 0, SEEK_END) != 0) return -1;
  return static_cast<std::int64_t>(ftello(file_));
#endif
}

bool BinaryFile::ReadAt(std::int64_t offset, void* data, std::size_t n) {
  if (!Seek(offset)) return false;
  return std::fread(data, 1, n, file_) == n;
}

bool BinaryFile::WriteAt(std::int64_t offset, const void* data, std::size_t n) {
  if (!Seek(offset) || std::fwrite(data, 1, n, file_) != n) {
    failed_ = true;
    return false;
  }
  return true;
}

std::size_t BinaryFile::ReadOn(void* data, std::size_t n) {
  if (!file_) return 0;
  const std::size_t got = std::fread(data, 1, n, file_);
  if (got < n && std::ferror(file_)) failed_ = true;
  return got;
}

bool BinaryFile::Failed() const { return failed_ || (file_ && std::ferror(file_)); }

bool BinaryFile::Flush() {
  if (!file_ || std::fflush(file_) != 0) failed_ = true;
  return !Failed();
}

bool BinaryFile::Close() {
  if (!file_) return !failed_;
  const bool flushed = std::fflush(file_) == 0 && !std::ferror(file_);
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!flushed || !closed) failed_ = true;
  return !failed_;
}

}  // namespace wdx
