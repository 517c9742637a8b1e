#include "player/mail/line_stream.h"

namespace wdx::mail {

const std::string TLineStream::kEndMarker(4, '\xFF');

std::string TLineStream::ReadLine() {
  if (pos_ >= data_.size()) {
    eof_ = true;
    return kEndMarker;
  }
  std::size_t lf = data_.find('\n', pos_);
  std::size_t end = lf == std::string::npos ? data_.size() : lf;
  std::size_t next = lf == std::string::npos ? data_.size() : lf + 1;
  if (end > pos_ && lf != std::string::npos && data_[end - 1] == '\r') --end;
  std::string line = data_.substr(pos_, end - pos_);
  pos_ = next;
  return line;
}

}  // namespace wdx::mail
