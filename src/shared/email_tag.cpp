#include "shared/email_tag.h"

#include "shared/tag_table.h"

namespace wdx {

namespace {

// Reads the tag's codes and fields from the front, as the player collects them.
class Reader {
 public:
  Reader(std::string_view text, std::size_t pos) : text_(text), pos_(pos) {}

  std::string Code() {
    std::string code{TextAt(text_, pos_), TextAt(text_, pos_ + 1)};
    pos_ += 2;
    return code;
  }
  std::string Peek() const { return {TextAt(text_, pos_), TextAt(text_, pos_ + 1)}; }
  std::string Field() {
    if (pos_ >= text_.size()) {
      pos_ = text_.size();
      return {};
    }
    const std::size_t close = text_.find(kEmailFieldEnd, pos_);
    const std::size_t stop = close == std::string_view::npos ? text_.size() : close;
    std::string field(text_.substr(pos_, stop - pos_));
    pos_ = close == std::string_view::npos ? text_.size() : close + 1;
    return field;
  }
  std::size_t Position() const { return pos_; }
  void Skip(std::size_t n) { pos_ += n; }

 private:
  std::string_view text_;
  std::size_t pos_;
};

std::vector<EmailRecipient> Recipients(std::string_view list) {
  std::vector<EmailRecipient> out;
  for (const std::string& item : SplitEmailList(list)) out.push_back(SplitRecipient(item));
  return out;
}

bool Holds(std::string_view text, std::string_view bytes) { return text.find_first_of(bytes) != std::string_view::npos; }

}  // namespace

std::vector<std::string> SplitEmailList(std::string_view list) {
  std::vector<std::string> items;
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t stop = list.find(';', start);
    if (stop == std::string_view::npos) stop = list.size();
    if (stop > start) items.emplace_back(list.substr(start, stop - start));
    start = stop + 1;
  }
  return items;
}

EmailRecipient SplitRecipient(std::string_view item) {
  const std::size_t bar = item.find('|');
  if (bar == std::string_view::npos) return {"", std::string(item)};
  return {std::string(item.substr(0, bar)), std::string(item.substr(bar + 1))};
}

EmailCommand DecodeEmailCommand(std::string_view text, std::size_t pos, std::size_t* end) {
  EmailCommand c;
  Reader r(text, pos);
  r.Skip(sizeof(kEmailKeyword) - 1);
  c.returnReceipt = r.Code() == "RY";
  c.askRecipients = r.Code() != "R1";
  if (!c.askRecipients) {
    if (r.Peek() == "TO") r.Skip(2), c.to = Recipients(r.Field());
    if (r.Peek() == "CC") r.Skip(2), c.cc = Recipients(r.Field());
    if (r.Peek() == "BL") r.Skip(2), c.bcc = Recipients(r.Field());
  }
  const std::string body = r.Code();
  c.bodySource = body == "S1"   ? EmailBodySource::kText
                 : body == "S2" ? EmailBodySource::kAsk
                 : body == "S3" ? EmailBodySource::kClipboard
                 : body == "S4" ? EmailBodySource::kFile
                                : EmailBodySource::kNone;
  if (c.bodySource == EmailBodySource::kText || c.bodySource == EmailBodySource::kFile) c.body = r.Field();
  // The subject field stands after every body code but "S2" (also after an unknown one).
  if (c.bodySource != EmailBodySource::kAsk) c.subject = r.Field();
  if (c.bodySource == EmailBodySource::kNone) c.subject.clear();
  const std::string attach = r.Code();
  if (attach == "A2") {
    c.attachmentSource = EmailAttachmentSource::kList;
    c.attachments = SplitEmailList(r.Field());
  } else if (attach == "A3") {
    c.attachmentSource = EmailAttachmentSource::kAsk;
  }
  r.Skip(1);  // the closing ">", not tested
  if (end != nullptr) *end = std::min(r.Position(), text.size());
  return c;
}

std::string JoinEmailRecipients(const std::vector<EmailRecipient>& items) {
  std::string out;
  for (const EmailRecipient& item : items) out += item.name + "|" + item.address + ";";
  return out + kEmailFieldEnd;
}

std::string JoinEmailPaths(const std::vector<std::string>& paths) {
  std::string out;
  for (const std::string& path : paths) out += path + ";";
  return out + kEmailFieldEnd;
}

std::optional<std::string> EncodeEmailCommand(const EmailCommand& c) {
  const std::string_view end(&kEmailFieldEnd, 1);
  for (const auto* list : {&c.to, &c.cc, &c.bcc}) {
    for (const EmailRecipient& item : *list) {
      if (Holds(item.name, "|;\x01") || Holds(item.address, ";\x01")) return std::nullopt;
    }
  }
  for (const std::string& path : c.attachments) {
    if (path.empty() || Holds(path, ";\x01")) return std::nullopt;
  }
  if (Holds(c.body, end) || Holds(c.subject, end)) return std::nullopt;

  std::string out = kEmailKeyword;
  out += c.returnReceipt ? "RY" : "RN";
  if (c.askRecipients) {
    out += "R2";
  } else {
    out += "R1";
    if (!c.to.empty()) out += "TO" + JoinEmailRecipients(c.to);
    if (!c.cc.empty()) out += "CC" + JoinEmailRecipients(c.cc);
    if (!c.bcc.empty()) out += "BL" + JoinEmailRecipients(c.bcc);
  }
  switch (c.bodySource) {
    case EmailBodySource::kText:
    case EmailBodySource::kFile:
      out += std::string("S") + static_cast<char>(c.bodySource) + c.body + kEmailFieldEnd + c.subject + kEmailFieldEnd;
      break;
    case EmailBodySource::kAsk:
      out += "S2";
      break;
    case EmailBodySource::kClipboard:
      out += "S3" + c.subject + kEmailFieldEnd;
      break;
    case EmailBodySource::kNone:
      return std::nullopt;
  }
  out += std::string("A") + static_cast<char>(c.attachmentSource);
  if (c.attachmentSource == EmailAttachmentSource::kList) out += JoinEmailPaths(c.attachments);
  return out + ">";
}

}  // namespace wdx
