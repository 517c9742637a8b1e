#include "player/interpreter/delimited_records.h"

namespace wdx::player {

namespace {

constexpr char kEndOfFileMark = '\x1A';
constexpr std::size_t kBlock = 64 * 1024;

bool Blank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

TextLineReader::TextLineReader(const std::string& nativePath) : file_(nativePath, std::ios::binary) {
  open_ = file_.is_open();
  ended_ = !open_;
}

bool TextLineReader::Fill() {
  if (ended_) return false;
  if (buffer_.empty()) buffer_.resize(kBlock);
  file_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  size_ = static_cast<std::size_t>(file_.gcount());
  at_ = 0;
  if (size_ == 0) {
    ended_ = true;
    failed_ = file_.bad();
    return false;
  }
  return true;
}

std::optional<std::string> TextLineReader::NextLine() {
  std::string line;
  bool any = false;
  for (;;) {
    if (at_ >= size_ && !Fill()) break;
    // The rest of the block up to the next line break or end mark is taken at once.
    std::size_t end = at_;
    while (end < size_ && buffer_[end] != '\r' && buffer_[end] != '\n' && buffer_[end] != kEndOfFileMark) ++end;
    if (end > at_) {
      line.append(buffer_.data() + at_, end - at_);
      any = true;
    }
    at_ = end;
    if (at_ >= size_) continue;
    const char c = buffer_[at_++];
    if (c == kEndOfFileMark) {
      ended_ = true;
      size_ = at_ = 0;
      break;
    }
    if (c == '\r') {
      if (at_ >= size_) Fill();
      if (at_ < size_ && buffer_[at_] == '\n') ++at_;
    }
    return line;
  }
  if (!any) return std::nullopt;
  return line;
}

DelimitedRecord ParseDelimitedLine(std::string_view line) {
  DelimitedRecord record;
  const std::size_t n = line.size();
  std::size_t i = 0;
  for (;;) {
    std::string field;
    bool inQuotes = false;
    bool closed = false;
    bool more = false;
    while (i < n) {
      const char c = line[i++];
      if (c == '"') {
        if (!inQuotes) {
          inQuotes = true;  // the quote itself is not stored
          continue;
        }
        if (i < n && line[i] == '"') {
          field += '"';  // a doubled quote is one quote of the field
          ++i;
          continue;
        }
        // A quote followed, past any blanks, by a comma or the end of the line closes the field.
        std::size_t next = i;
        while (next < n && Blank(line[next]) && line[next] != ',') ++next;
        if (next >= n || line[next] == ',') {
          closed = true;
          more = next < n;
          i = next < n ? next + 1 : n;
          break;
        }
        field += '"';  // a quote inside the field
        continue;
      }
      if (static_cast<unsigned char>(c) < 32) continue;
      field += c;
    }
    if (field.size() > kDelimitedFieldMax) {
      record.wellFormed = false;
      field.resize(kDelimitedFieldMax);
    }
    record.fields.push_back(std::move(field));
    if (!more) {
      if (!closed) record.wellFormed = false;
      break;
    }
  }
  return record;
}

bool IsBlankRecordLine(std::string_view line) {
  for (const char c : line) {
    if (!Blank(c)) return false;
  }
  return true;
}

}  // namespace wdx::player
