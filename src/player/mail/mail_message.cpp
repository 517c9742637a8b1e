#include "player/mail/mail_message.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "player/mail/header_values.h"
#include "player/mail/mail_text.h"
#include "player/mail/mime_decoder.h"
#include "player/mail/mime_encoder.h"

namespace wdx::mail {

// "7bit" is the registered token; a blank inside it would make the header invalid.
const std::array<const char*, 3> AttEncodingNames = {"7bit", "Base64", "Quoted-Printable"};

namespace {

bool IsBlankStart(const std::string& line) { return !line.empty() && (line[0] == ' ' || line[0] == '\t'); }

std::string WithColon(std::string_view name) {
  std::string n(name);
  if (n.empty() || n.back() != ':') n += ':';
  return n;
}

// True when `line` is a field named `name`: the name, optional blanks, then the colon.
bool IsField(const std::string& line, std::string_view name) {
  if (!StartsWithNoCase(line, name)) return false;
  std::size_t i = name.size();
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  return i < line.size() && line[i] == ':';
}

// Splits an address field's text at the commas that are outside quoted strings and comments.
void SplitAddressText(std::string_view text, Lines& entries) {
  std::vector<std::string> pieces;
  std::string piece;
  bool quoted = false;
  int comment = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (quoted && c == '\\' && i + 1 < text.size()) {
      piece += c;
      piece += text[++i];
      continue;
    }
    if (c == '"' && comment == 0) quoted = !quoted;
    if (!quoted) {
      if (c == '(') ++comment;
      if (c == ')' && comment > 0) --comment;
      if (c == ',' && comment == 0) {
        pieces.push_back(piece);
        piece.clear();
        continue;
      }
    }
    piece += c;
  }
  // Empty pieces between commas are entries; an empty text after the last comma is not.
  for (const std::string& p : pieces) entries.push_back(DecodeHeaderWords(TrimView(p)));
  if (!TrimView(piece).empty()) entries.push_back(DecodeHeaderWords(TrimView(piece)));
}

}  // namespace

// ---- attachments ----

std::string ContentTypeOfFile(std::string_view name, platform::Registry& registry) {
  std::string base = LastPathComponent(name);
  std::size_t dot = base.rfind('.');
  std::string type;
  if (dot != std::string::npos) {
    if (auto value = registry.ReadString(platform::RegistryRoot::kClassesRoot, base.substr(dot), "Content Type"))
      type = *value;
  }
  return type.empty() ? std::string("application/octet-stream") : type;
}

void TmsAttItem::SetFileName(std::string name, platform::Registry& registry) {
  fileName_ = CutShort(std::move(name));
  if (fileName_.empty()) return;
  contentType_ = CutShort(ContentTypeOfFile(fileName_, registry));
  std::string upper = UpperAscii(contentType_);
  if (upper == "TEXT/PLAIN" || upper == "TEXT/RTF" || upper == "TEXT/HTML")
    encoding_ = TAttEncoding::aeQuotedPrintable;
  else if (upper == "MESSAGE/RFC822")
    encoding_ = TAttEncoding::ae7Bit;
  else
    encoding_ = TAttEncoding::aeBase64;
}

void TmsAttList::AddFile(const std::string& path) {
  // A folder opens on POSIX systems and then reads as nothing: no file to attach either.
  std::error_code ec;
  std::ifstream in;
  if (std::filesystem::is_regular_file(path, ec)) in.open(path, std::ios::binary);
  if (!in.is_open()) throw EInOutError("Cannot open file \"" + path + "\"");
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) throw EInOutError("Error reading file \"" + path + "\"");
  TmsAttItem item;
  item.SetFileName(path, *registry_);
  item.SetData(std::move(bytes).str());
  items_.push_back(std::move(item));
}

// ---- header lines ----

std::string TmsHeaders::GetFieldValue(std::string_view name) const {
  if (lines_.empty()) return std::string();
  std::string field = WithColon(name);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (!StartsWithNoCase(lines_[i], field)) continue;
    std::string value = Trim(std::string_view(lines_[i]).substr(lines_[i].find(':') + 1));
    for (std::size_t j = i + 1; j < lines_.size() && IsBlankStart(lines_[j]); ++j) value += " " + Trim(lines_[j]);
    std::string bare = field.substr(0, field.size() - 1);
    if (EqualsNoCase(bare, "CONTENT-TYPE") || EqualsNoCase(bare, "X-UIDL")) return value;
    return DecodeHeaderWords(value);
  }
  return std::string();
}

void TmsHeaders::GetFieldList(std::string_view name, Lines& entries) const {
  entries.clear();
  std::size_t i = 0;
  while (i < lines_.size()) {
    if (!IsField(lines_[i], name)) {
      ++i;
      continue;
    }
    // The field unfolded: its continuation lines (indented, or holding no colon) joined by a
    // blank, so that a display name folded over two lines stays one entry.
    std::string text = Trim(std::string_view(lines_[i]).substr(lines_[i].find(':') + 1));
    for (++i; i < lines_.size() && (IsBlankStart(lines_[i]) || lines_[i].find(':') == std::string::npos); ++i)
      text += " " + Trim(lines_[i]);
    SplitAddressText(text, entries);
  }
}

void TmsHeaders::RemoveField(std::string_view name) {
  std::string field = WithColon(name);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (!StartsWithNoCase(lines_[i], field)) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && IsBlankStart(lines_[end])) ++end;
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i), lines_.begin() + static_cast<std::ptrdiff_t>(end));
    return;
  }
}

// ---- messages ----

void TmsCustomMessage::SetAttachments(const TmsAttList& list) {
  attachments_.Assign(list);
  contentType_ = attachments_.empty() ? "text/plain" : "multipart/mixed";
}

std::string TmsCustomMessage::ContentType() const {
  if (encoding_ == TMsgEncoding::meUU) return std::string();
  std::size_t count = attachments_.GetCount();
  if (count > 0) {
    bool allAlternative = true;
    for (const TmsAttItem& item : attachments_)
      if (!LowerAscii(LastPathComponent(item.FileName())).starts_with("_alt.")) allAlternative = false;
    if (allAlternative) return "multipart/alternative";
  }
  if (body_.empty()) {
    if (count == 1) {
      std::string name = LowerAscii(LastPathComponent(attachments_.GetItem(0).FileName()));
      if (name == "_rtfbody.rtf") return "text/rtf";
      if (name == "_htmbody.htm") return "text/html";
      return attachments_.GetItem(0).ContentType();
    }
    return count >= 2 ? "multipart/mixed" : "text/plain";
  }
  if (count > 0) return "multipart/mixed";
  // The stored type is not overwritten by reads, so a type worked out earlier from
  // attachments that are gone no longer applies.
  return contentType_.empty() ? std::string("text/plain") : contentType_;
}

void TmsCustomMessage::SetContentType(std::string_view type) { contentType_ = CutShort(LowerAscii(type)); }

void TmsCustomMessage::Check() const {
  if (sender_.Address().empty()) throw EMessageError(sid::kSenderRequired);
}

void TmsCustomMessage::Clear() {
  body_.clear();
  attachments_.Clear();
  sender_.Clear();
  headers_.Clear();
  subject_.clear();
  encoding_ = TMsgEncoding::meMIME;
  charSet_ = TCharSet::csUSASCII;
  contentType_.clear();
}

void TmsCustomMessage::Assign(const TmsCustomMessage& source) {
  if (&source == this) return;
  sender_ = source.sender_;
  subject_ = source.subject_;
  encoding_ = source.encoding_;
  charSet_ = source.charSet_;
  headers_ = source.headers_;
  body_ = source.body_;
  attachments_.Assign(source.attachments_);
  contentType_ = source.ContentType();
}

void TmsMessage::Check() const {
  TmsCustomMessage::Check();
  for (const TmsAddressList* list : {&recipients_, &cc_, &bcc_})
    for (const TmsMailAddress& a : *list)
      if (!a.Address().empty()) return;
  throw EMessageError(sid::kRecipientRequired);
}

void TmsMessage::Encode(std::ostream& out, const EncodeOptions& options) {
  TmsMessageEncoder encoder(*this, options);
  encoder.SetOutput(out);
  encoder.Encode();
}

void TmsMessage::Decode(std::istream& in, const std::function<void()>& processMessages) {
  TmsMessageDecoder decoder(in);
  decoder.SetMessage(this);
  decoder.SetProcessMessages(processMessages);
  decoder.Decode();
}

void TmsMessage::Clear() {
  TmsCustomMessage::Clear();
  cc_.Clear();
  bcc_.Clear();
  recipients_.Clear();
}

void TmsMessage::ReadHeaders(const TmsHeaders& headers) {
  ParseAddress(headers.GetFieldValue("FROM"), Sender());
  Lines entries;
  for (auto [field, list] : {std::pair{"TO", &recipients_}, std::pair{"CC", &cc_}, std::pair{"BCC", &bcc_}}) {
    headers.GetFieldList(field, entries);
    for (const std::string& entry : entries) {
      TmsMailAddress address;
      ParseAddress(entry, address);
      list->Add(std::move(address));
    }
  }
  std::string subject = headers.GetFieldValue("Subject");
  if (!subject.empty()) SetSubject(subject);
  std::string priority = headers.GetFieldValue("X-Priority");
  priority_ = priority == "1" ? TPriority::ptHigh : priority == "5" ? TPriority::ptLow : TPriority::ptNormal;
  if (!headers.GetFieldValue("Return-receipt-to").empty()) returnReceipt_ = true;
  SetHeaders(headers);
}

void TmsMessage::Assign(const TmsCustomMessage& source) {
  if (&source == this) return;
  if (const auto* m = dynamic_cast<const TmsMessage*>(&source)) {
    recipients_ = m->recipients_;
    cc_ = m->cc_;
    bcc_ = m->bcc_;
    priority_ = m->priority_;
    returnReceipt_ = m->returnReceipt_;
  }
  TmsCustomMessage::Assign(source);
}

void TmsArticle::Check() const {
  TmsCustomMessage::Check();
  if (newsGroups_.empty()) throw EMessageError(sid::kNewsgroupRequired);
  if (Subject().empty()) throw EMessageError(sid::kSubjectRequired);
}

void TmsArticle::Encode(std::ostream& out, const EncodeOptions& options) {
  TmsArticleEncoder encoder(*this, options);
  encoder.SetOutput(out);
  encoder.Encode();
}

void TmsArticle::Decode(std::istream& in, const std::function<void()>& processMessages) {
  TmsArticleDecoder decoder(in);
  decoder.SetMessage(this);
  decoder.SetProcessMessages(processMessages);
  decoder.Decode();
}

void TmsArticle::Clear() {
  newsGroups_.clear();
  TmsCustomMessage::Clear();
}

void TmsArticle::ReadHeaders(const TmsHeaders& headers) {
  ParseAddress(headers.GetFieldValue("FROM"), Sender());
  path_ = headers.GetFieldValue("PATH");
  newsGroups_ = headers.GetFieldValue("NEWSGROUPS");
  messageId_ = headers.GetFieldValue("MESSAGE-ID");
  std::string subject = headers.GetFieldValue("Subject");
  if (!subject.empty()) SetSubject(subject);
  SetHeaders(headers);
}

void TmsArticle::Assign(const TmsCustomMessage& source) {
  if (&source == this) return;
  if (const auto* a = dynamic_cast<const TmsArticle*>(&source)) newsGroups_ = a->newsGroups_;
  TmsCustomMessage::Assign(source);
}

}  // namespace wdx::mail
