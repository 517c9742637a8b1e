// A reader of text lines over a private copy of some bytes (a received message).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wdx::mail {

class TLineStream {
 public:
  // The line handed out once the data is exhausted: four bytes 0xFF.
  static const std::string kEndMarker;

  TLineStream() = default;
  explicit TLineStream(std::string data) : data_(std::move(data)) {}

  void Assign(std::string data) {
    data_ = std::move(data);
    Reset();
  }
  const std::string& Data() const { return data_; }

  // Back to the first line.
  void Reset() {
    pos_ = 0;
    eof_ = false;
  }
  // The next line without its break (CR LF or LF; a lone CR stays in the line); a last line
  // without a break is returned as it is. Past the last line: kEndMarker, and Eof() is set.
  // Lines of any length are returned whole.
  std::string ReadLine();
  bool Eof() const { return eof_; }

 private:
  std::string data_;
  std::size_t pos_ = 0;
  bool eof_ = false;
};

}  // namespace wdx::mail
