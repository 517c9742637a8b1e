#pragma once
// A file read and written at explicit byte offsets through the C library's streams. The C++
// streams would do, but their first use sets up the whole locale (every facet of every
// character type), whose code is spread over a good part of the program: a player that only
// reads its library at start should not keep those pages.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace wdx {

class BinaryFile {
 public:
  enum class Mode {
    kRead,       // an existing file, for reading
    kReadWrite,  // an existing file, for reading and writing
    kCreate,     // a new empty file (an existing one is emptied)
  };

  BinaryFile(const std::filesystem::path& path, Mode mode);
  ~BinaryFile();
  BinaryFile(const BinaryFile&) = delete;
  BinaryFile& operator=(const BinaryFile&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  // The size in bytes, or -1 when it cannot be told.
  std::int64_t Size();
  // All n bytes at offset, or false (a short read is a failure).
  bool ReadAt(std::int64_t offset, void* data, std::size_t n);
  bool WriteAt(std::int64_t offset, const void* data, std::size_t n);
  // Reads on from where the last read ended: the bytes read, 0 at the end; Failed() tells an
  // error from the end.
  std::size_t ReadOn(void* data, std::size_t n);
  bool Failed() const;
  // Hands what was written to the system; false when it did not take it.
  bool Flush();
  // Flushes and closes; false when something written did not reach the file.
  bool Close();

 private:
  bool Seek(std::int64_t offset);

  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

}  // namespace wdx
