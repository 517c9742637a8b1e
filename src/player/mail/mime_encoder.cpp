#include "player/mail/mime_encoder.h"

#include <chrono>
#include <stdexcept>

#include "player/mail/mail_text.h"

namespace wdx::mail {
namespace {

constexpr char kDq = '"';
constexpr const char* kCrLf = "\r\n";
// Encoded words of a header value go on lines of their own (folding white space).
constexpr const char* kFold = "\r\n ";
// Encoded words short enough that a field label of ten characters and a word fit a line of
// 76 characters.
constexpr std::size_t kMaxHeaderWord = 66;
// Lines of attachment data between two calls of the message-processing hook.
constexpr unsigned kLinesPerPump = 64;

const char* const kStandardHeaders[] = {"From",         "To",           "CC",
                                        "BCC",          "Return-Receipt-To", "X-Priority",
                                        "Subject",      "Mime-Version", "Content-Type",
                                        "X-Encoding",   "Content-Transfer-Encoding"};

// A header value never carries a line break of its own: it would end the field and let the
// rest be read as further fields.
std::string OneLine(std::string_view text) {
  std::string s(text.substr(0, text.find('\0')));
  for (char& c : s)
    if (c == '\r' || c == '\n') c = ' ';
  return s;
}

std::string Join(const Lines& words, const char* separator) {
  std::string out;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) out += separator;
    out += words[i];
  }
  return out;
}

bool IsAtext(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("!#$%&'*+-/=?^_`{|}~").find(static_cast<char>(c)) != std::string_view::npos;
}

// True when the name can stand in an address as it is: words and complete quoted strings.
bool IsPhrase(std::string_view name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    auto c = static_cast<unsigned char>(name[i]);
    if (c == ' ' || c == '\t' || IsAtext(c)) continue;
    if (c != kDq) return false;
    for (++i; i < name.size() && name[i] != kDq; ++i)
      if (name[i] == '\\') ++i;
    if (i >= name.size()) return false;  // unclosed quote
  }
  return true;
}

std::string QuotedString(std::string_view text) {
  std::string out(1, kDq);
  for (char c : text) {
    if (c == kDq || c == '\\') out += '\\';
    out += c;
  }
  return out + kDq;
}

// Characters that stand for themselves in an RFC 2231 extended parameter value.
bool IsAttrChar(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("!#$&+-.^_`|~").find(static_cast<char>(c)) != std::string_view::npos;
}

std::string LowerName(const TmsAttItem& item) { return LowerAscii(LastPathComponent(item.FileName())); }

}  // namespace

// ---- boundaries ----

BoundaryGenerator::BoundaryGenerator() {
  std::random_device device;
  auto ticks = static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  std::seed_seq seed{device(), ticks};
  rng_.seed(seed);
}

std::string BoundaryGenerator::Make() {
  std::string b;
  do {
    b.clear();
    for (int i = 0; i < 8; ++i) b += static_cast<char>('0' + rng_() % 9);
  } while (b == last_);
  last_ = b;
  return b;
}

// ---- the common encoder ----

TmsCustomEncoder::TmsCustomEncoder(TmsCustomMessage& message, const EncodeOptions& options)
    : message_(message), options_(options), ownBoundaries_(0) {
  for (const std::string& entry : message_.Body())
    if (entry.size() > kShortStringMax) longLines_ = true;
  if (options_.boundaries == nullptr) {
    ownBoundaries_ = BoundaryGenerator();
    options_.boundaries = &ownBoundaries_;
  }
}

void TmsCustomEncoder::Put(std::string_view line) {
  std::ostream& out = *output_;
  if (!line.empty() && line.front() == '.') out.put('.');
  out.write(line.data(), static_cast<std::streamsize>(line.size()));
  out.write(kCrLf, 2);
  if (!out) throw EInOutError("Stream write error");
}

void TmsCustomEncoder::WriteLine(std::string_view text) {
  text = text.substr(0, text.find('\0'));
  std::size_t start = 0;
  for (;;) {
    std::size_t br = text.find_first_of("\r\n", start);
    if (br == std::string_view::npos) {
      Put(text.substr(start));
      return;
    }
    Put(text.substr(start, br - start));
    start = br + ((text[br] == '\r' && br + 1 < text.size() && text[br + 1] == '\n') ? 2 : 1);
  }
}

void TmsCustomEncoder::ProcessMessages() {
  if (options_.processMessages) options_.processMessages();
}

std::string TmsCustomEncoder::MakeBoundary() {
  ProcessMessages();
  return options_.boundaries->Make();
}

std::string TmsCustomEncoder::HeaderCharsetName() const {
  return message_.CharSet() == TCharSet::csISO8859 ? "iso-8859-1" : "windows-1252";
}

std::string TmsCustomEncoder::PrepareName(std::string_view name) const {
  std::string n = OneLine(name);
  bool jis = message_.CharSet() == TCharSet::csISO2022jp && message_.Encoding() == TMsgEncoding::meMIME;
  if (jis && !n.empty() && n.front() == 27) return EncodeIso2022JpWord(n);
  if (HasEightBit(n)) return Join(EncodeHeaderWords(n, HeaderCharsetName(), kMaxHeaderWord), kFold);
  return IsPhrase(n) ? n : QuotedString(n);
}

std::string TmsCustomEncoder::PrepareSubject() const {
  std::string s = OneLine(message_.Subject());
  bool jis = message_.CharSet() == TCharSet::csISO2022jp && message_.Encoding() == TMsgEncoding::meMIME;
  if (jis && !s.empty() && s.front() == 27) return EncodeIso2022JpWord(s);
  if (HasEightBit(s)) return Join(EncodeHeaderWords(s, HeaderCharsetName(), kMaxHeaderWord), kFold);
  return s;
}

void TmsCustomEncoder::WriteExtraHeaders() {
  TmsHeaders& headers = message_.Headers();
  for (const char* name : kStandardHeaders) headers.RemoveField(name);
  for (const std::string& line : headers.lines())
    if (line != ".") WriteLine(line);
}

void TmsCustomEncoder::WriteMimeVersion() {
  if (message_.Encoding() == TMsgEncoding::meMIME) WriteLine("Mime-Version: 1.0");
}

void TmsCustomEncoder::Encode() {
  if (output_ == nullptr) throw std::logic_error("encoder without output");
  std::ostream& out = *output_;
  auto pos = out.tellp();
  if (pos != std::ostream::pos_type(-1) && pos != std::ostream::pos_type(0)) out.seekp(0);
  WriteHeaders();
  if (message_.Encoding() == TMsgEncoding::meUU) {
    WriteUUMessage();
  } else {
    std::string type = message_.ContentType();
    bool noAttachment = message_.Attachments().empty();
    if (type == "multipart/mixed")
      WriteMultipart(type, false);
    else if (type == "multipart/alternative")
      WriteMultipart(type, true);
    else if (type == "text/plain" && noAttachment)
      WritePlainBody();
    else if ((type == "text/html" || type == "text/rtf") && noAttachment)
      WriteRichBody(type);
    else
      WriteSingleAttachment();
  }
  out.flush();
  if (!out) throw EInOutError("Stream write error");
}

// ---- bodies ----

bool TmsCustomEncoder::BodyHasEightBit() const {
  for (const std::string& entry : message_.Body())
    if (HasEightBit(entry)) return true;
  return false;
}

namespace {

std::string BodyStream(const Lines& body) {
  std::string stream;
  for (const std::string& entry : body) stream += entry + kCrLf;
  return stream;
}

}  // namespace

// Text with 8-bit characters is never sent as 7bit: it goes quoted-printable and is labelled
// with the code page the text is in.
void TmsCustomEncoder::WritePlainBodyHeaders() {
  bool eightBit = BodyHasEightBit();
  std::string charset;
  switch (message_.CharSet()) {
    case TCharSet::csISO8859:
      charset = "iso-8859-1";
      break;
    case TCharSet::csISO2022jp:
      charset = "iso-2022-jp";
      break;
    case TCharSet::csUSASCII:
      charset = eightBit ? "windows-1252" : "us-ascii";
      break;
  }
  bool qp = message_.CharSet() == TCharSet::csISO8859 || longLines_ || eightBit;
  WriteLine("Content-Type: text/plain; charset=" + std::string(1, kDq) + charset + kDq);
  WriteLine(qp ? "Content-Transfer-Encoding: quoted-printable" : "Content-Transfer-Encoding: 7bit");
}

void TmsCustomEncoder::PrepareBody(Lines& lines) const {
  bool qp = message_.CharSet() == TCharSet::csISO8859 || longLines_ || BodyHasEightBit();
  if (!qp) {
    lines = message_.Body();
    return;
  }
  std::string stream = BodyStream(message_.Body());
  TQuotedPrintable(stream, lines).Encode();
}

void TmsCustomEncoder::WritePlainBody() {
  WritePlainBodyHeaders();
  WriteLine("");
  Lines lines;
  PrepareBody(lines);
  for (const std::string& line : lines) WriteLine(line);
}

void TmsCustomEncoder::WriteRichBody(const std::string& type) {
  std::string line = type == "text/html" ? "Content-Type: text/html" : "Content-Type: text/rtf";
  if (message_.CharSet() != TCharSet::csUSASCII)
    line += "; charset=\"iso-8859-1\"";
  else if (BodyHasEightBit())
    line += "; charset=\"windows-1252\"";
  WriteLine(line);
  WriteLine("Content-Transfer-Encoding: quoted-printable");
  WriteLine("");
  // Encoded into a work list: the message keeps its text, so encoding it again gives the same.
  std::string stream = BodyStream(message_.Body());
  Lines lines;
  TQuotedPrintable(stream, lines).Encode();
  for (const std::string& l : lines) WriteLine(l);
}

// ---- attachments ----

namespace {

// "; name=..." for a file name: a quoted string, or the RFC 2231 form for 8-bit names.
std::string NameParameter(const char* parameter, std::string_view fileName, const std::string& charset) {
  std::string name = OneLine(fileName);
  if (!HasEightBit(name)) return std::string("; ") + parameter + "=" + QuotedString(name);
  std::string out = std::string("; ") + parameter + "*=" + charset + "''";
  for (char ch : name) {
    auto c = static_cast<unsigned char>(ch);
    if (IsAttrChar(c)) {
      out += ch;
    } else {
      out += '%';
      AppendHexPair(out, c);
    }
  }
  return out;
}

// The transfer encoding written for an item: 7bit data with 8-bit bytes is labelled 8bit.
std::string TransferEncodingName(const TmsAttItem& item) {
  if (item.Encoding() == TAttEncoding::ae7Bit) {
    const std::string& data = item.Data();
    if (HasEightBit(std::string_view(data).substr(0, data.find('\0')))) return "8bit";
  }
  return AttEncodingName(item.Encoding());
}

}  // namespace

void TmsCustomEncoder::WriteSingleAttachment() {
  const TmsAttList& list = message_.Attachments();
  if (list.empty()) {
    // A type left over from attachments that are gone: the body is all there is.
    WritePlainBody();
    return;
  }
  const TmsAttItem& item = list.GetItem(0);
  std::string name = LastPathComponent(item.FileName());
  std::string lower = LowerAscii(name);
  bool special = list.GetCount() == 1 && (lower == "_htmbody.htm" || lower == "_rtfbody.rtf");
  if (special)
    WriteLine(lower == "_htmbody.htm" ? "Content-Type: text/html" : "Content-Type: text/rtf");
  else
    WriteLine("Content-Type: " + OneLine(item.ContentType()) + NameParameter("name", name, HeaderCharsetName()));
  WriteLine("Content-Transfer-Encoding: " + TransferEncodingName(item));
  if (!special) WriteLine("Content-Disposition: attachment" + NameParameter("filename", name, HeaderCharsetName()));
  WriteLine("");
  WriteAttachmentData(item);
}

void TmsCustomEncoder::WriteAttachmentData(const TmsAttItem& item) {
  const std::string& data = item.Data();
  switch (item.Encoding()) {
    case TAttEncoding::aeBase64: {
      std::string_view bytes(data);
      for (std::size_t pos = 0;; pos += 57) {
        std::string_view chunk = bytes.substr(std::min(pos, bytes.size()), 57);
        Put(Base64EncodeLine(chunk));
        if (++lineCounter_ % kLinesPerPump == 0) ProcessMessages();
        if (chunk.size() < 57) break;
      }
      break;
    }
    case TAttEncoding::aeQuotedPrintable: {
      if (data.empty()) break;  // no lines: the part decodes to no bytes at all
      std::string stream = data;
      Lines lines;
      TQuotedPrintable(stream, lines).Encode();
      ProcessMessages();
      for (const std::string& line : lines) WriteLine(line);
      break;
    }
    case TAttEncoding::ae7Bit: {
      // Text lines up to the first NUL; a last line break gives no extra empty line.
      std::string_view text = std::string_view(data).substr(0, data.find('\0'));
      if (text.ends_with("\r\n"))
        text.remove_suffix(2);
      else if (text.ends_with('\r') || text.ends_with('\n'))
        text.remove_suffix(1);
      if (!text.empty()) WriteLine(text);
      break;
    }
  }
}

void TmsCustomEncoder::WriteMultipart(const std::string& type, bool alternative) {
  const TmsAttList& list = message_.Attachments();
  const std::size_t count = list.GetCount();
  bool html = count > 0 && message_.Body().empty() && LowerName(list.GetItem(0)) == "_htmbody.htm";
  bool rtf = count > 0 && message_.Body().empty() && LowerName(list.GetItem(0)) == "_rtfbody.rtf";

  std::string b = MakeBoundary();
  WriteLine("Content-Type: " + type + "; boundary=" + kDq + b + kDq);
  WriteLine("");
  WriteLine(MailString(sid::kMultipartPreamble));
  WriteLine("");
  WriteLine("--" + b);

  const std::string outer = b;
  bool nested = count > 0 && LowerName(list.GetItem(0)).starts_with("_alt.");
  if (nested && !alternative) {
    b = MakeBoundary();
    WriteLine("Content-Type:  multipart/alternative; boundary=" + std::string(1, kDq) + b + kDq);
    WriteLine("Content-Transfer-Encoding: 7bit");
    WriteLine("");
    WriteLine("--" + b);
  }

  if (!message_.Body().empty()) {
    WritePlainBodyHeaders();
    WriteLine("");
    Lines lines;
    PrepareBody(lines);
    for (const std::string& line : lines) WriteLine(line);
    WriteLine("");
    WriteLine("--" + b);
  }

  for (std::size_t i = 0; i < count; ++i) {
    const TmsAttItem& item = list.GetItem(i);
    if (i > 0) {
      // The part before ended with its empty line, which belongs to the delimiter; a second
      // one would become part of the previous attachment's data.
      WriteLine("--" + b);
      html = rtf = false;
    }
    std::string name = LastPathComponent(item.FileName());
    bool bare = alternative || nested || html || rtf;
    WriteLine("Content-Type: " + OneLine(item.ContentType()) +
              (bare ? std::string() : NameParameter("name", name, HeaderCharsetName())));
    WriteLine("Content-Transfer-Encoding: " + TransferEncodingName(item));
    if (!bare) WriteLine("Content-Disposition: attachment" + NameParameter("filename", name, HeaderCharsetName()));
    WriteLine("");
    WriteAttachmentData(item);
    WriteLine("");
    if (i + 1 < count && nested && !LowerName(list.GetItem(i + 1)).starts_with("_alt.")) {
      nested = false;
      WriteLine("--" + b + "--");
      b = outer;
    }
  }
  // Close what is open, also when there was no attachment at all.
  WriteLine("--" + b + "--");
  if (b != outer) WriteLine("--" + outer + "--");
}

void TmsCustomEncoder::WriteUUMessage() {
  WriteLine("");
  for (const std::string& entry : message_.Body()) WriteLine(entry);
  for (const TmsAttItem& item : message_.Attachments()) {
    WriteLine("");
    WriteLine("begin 600 " + OneLine(LastPathComponent(item.FileName())));
    std::string_view bytes(item.Data());
    for (std::size_t pos = 0;; pos += 45) {
      std::string_view chunk = bytes.substr(std::min(pos, bytes.size()), 45);
      Put(UUEncodeLine(chunk));
      if (++lineCounter_ % kLinesPerPump == 0) ProcessMessages();
      if (chunk.size() < 45) break;
    }
    WriteLine("`");
    WriteLine("end");
  }
}

// ---- header blocks ----

void TmsMessageEncoder::WriteAddressField(std::string_view field, const TmsAddressList& list) {
  if (list.empty()) return;
  std::string label(field);
  if (label.back() != ':') label += ':';
  if (label.size() < 10) label.resize(10, ' ');
  const std::size_t count = list.GetCount();
  for (std::size_t i = 0; i < count; ++i) {
    const TmsMailAddress& a = list.GetItem(i);
    std::string line = (i == 0 ? label : std::string(10, ' ')) + PrepareName(a.Name()) + " <" + OneLine(a.Address()) + ">";
    if (i + 1 < count) line += ",";
    WriteLine(line);
  }
}

void TmsMessageEncoder::WriteHeaders() {
  const TmsMailAddress& sender = msg_.Sender();
  WriteLine("From:     " + PrepareName(sender.Name()) + " <" + OneLine(sender.Address()) + ">");
  WriteAddressField("To", msg_.Recipients());
  WriteAddressField("CC", msg_.CC());
  if (msg_.ReturnReceipt()) WriteLine("Return-Receipt-To: <" + OneLine(sender.Address()) + ">");
  if (msg_.Priority() == TPriority::ptLow) WriteLine("X-Priority: 5");
  if (msg_.Priority() == TPriority::ptHigh) WriteLine("X-Priority: 1");
  WriteExtraHeaders();
  if (!msg_.Subject().empty()) WriteLine("Subject: " + PrepareSubject());
  WriteMimeVersion();
}

void TmsArticleEncoder::WriteHeaders() {
  const TmsMailAddress& sender = article_.Sender();
  WriteLine("From:     " + PrepareName(sender.Name()) + " <" + OneLine(sender.Address()) + ">");
  WriteLine("Newsgroups: " + OneLine(article_.NewsGroups()));
  WriteExtraHeaders();
  if (!article_.Subject().empty()) WriteLine("Subject:  " + PrepareSubject());
  WriteMimeVersion();
}

}  // namespace wdx::mail
