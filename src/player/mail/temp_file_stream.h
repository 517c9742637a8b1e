// A stream over a new file in the system's temporary folder, deleted again with the object:
// the place where a message is encoded before it is sent, so that large attachments are not
// held twice in memory.
#pragma once

#include <filesystem>
#include <fstream>

namespace wdx::mail {

class TTempFileStream {
 public:
  // Creates the file (a name beginning with "ms"); EInOutError when it cannot.
  TTempFileStream();
  ~TTempFileStream();
  TTempFileStream(const TTempFileStream&) = delete;
  TTempFileStream& operator=(const TTempFileStream&) = delete;

  std::fstream& stream() { return stream_; }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::fstream stream_;
};

}  // namespace wdx::mail
