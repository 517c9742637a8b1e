#include "player/mail/mime_decoder.h"

#include <ios>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "player/mail/header_values.h"
#include "player/mail/mail_text.h"

namespace wdx::mail {
namespace {

constexpr const char* kMailerWithoutTypes = "V Mailsystem R #0001";
constexpr const char* kErrorLine1 = "The following error has been occured while processing the message:";
constexpr const char* kErrorLine3 = "The original message will be stored as an attachment";
constexpr const char* kOriginalName = "original.eml";
// Encoded lines between two calls of the message-processing hook.
constexpr unsigned kLinesPerPump = 64;

[[noreturn]] void Fail(int id) { throw EMessageParserError(MailString(id)); }

bool Contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

// Text back into lines: CR LF, a lone CR and a lone LF each end a line; a break at the very end
// gives no empty line after it.
Lines SplitTextLines(std::string_view text) {
  Lines lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t br = text.find_first_of("\r\n", start);
    if (br == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, br - start));
    start = br + ((text[br] == '\r' && br + 1 < text.size() && text[br + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

Lines DecodeQuotedPrintableLines(Lines encoded) {
  std::string bytes;
  TQuotedPrintable(bytes, encoded).Decode();
  return SplitTextLines(bytes);
}

// Sets the item's encoding from a lower-cased Content-Transfer-Encoding; true for x-uue data.
bool ApplyTransferEncoding(TmsAttItem& item, const std::string& cte) {
  if (cte == "base64") {
    item.SetEncoding(TAttEncoding::aeBase64);
  } else if (cte.starts_with("x-uue")) {
    item.SetEncoding(TAttEncoding::aeBase64);
    return true;
  } else if (cte == "quoted-printable") {
    item.SetEncoding(TAttEncoding::aeQuotedPrintable);
  } else {
    item.SetEncoding(TAttEncoding::ae7Bit);
  }
  return false;
}

}  // namespace

namespace {

// The whole stream. One whose reading fails (a folder opened as a file, on POSIX systems) is the
// suite's read error, not the library's own exception that no caller expects.
std::string ReadWhole(std::istream& in) {
  try {
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure&) {
    throw EInOutError("Error reading the message");
  }
}

}  // namespace

TmsCustomDecoder::TmsCustomDecoder(std::istream& in) : TmsCustomDecoder(ReadWhole(in)) {}

TmsCustomDecoder::TmsCustomDecoder(std::string data) : lines_(std::move(data)) {}

std::string TmsCustomDecoder::NextLine() {
  lastLine_ = lines_.ReadLine();
  return lastLine_;
}

void TmsCustomDecoder::ProcessMessages() {
  if (processMessages_) processMessages_();
}

std::string TmsCustomDecoder::AttachmentNumber() const { return std::to_string(message_->Attachments().GetCount()); }

void TmsCustomDecoder::ReadHeaderBlock(TmsHeaders& headers) {
  headers.Clear();
  for (;;) {
    std::string line = NextLine();
    if (lines_.Eof() || line.empty()) return;
    if (line == TLineStream::kEndMarker) Fail(sid::kUnableToRetrieveHeaders);
    headers.Add(std::move(line));
  }
}

bool TmsCustomDecoder::SkipTo(const std::string& boundary) {
  for (;;) {
    std::string line = NextLine();
    if (lines_.Eof()) return false;
    if (line == boundary) return true;
  }
}

void TmsCustomDecoder::Decode() {
  if (message_ == nullptr) throw std::logic_error("decoder without message");
  ReadHeaderBlock(msgHeaders_);
  ReadMessageHeaders();
  try {
    if (Contains(msgHeaders_.GetFieldValue("MIME-VERSION"), "1.0"))
      DecodeMime();
    else
      DecodePlain();
  } catch (const EMessageParserError& e) {
    ReportError(e.what());
  }
  DropTrailingDot();
}

void TmsCustomDecoder::ReportError(const std::string& text) {
  Lines& body = message().Body();
  body.push_back(kErrorLine1);
  body.push_back(text);
  body.push_back(kErrorLine3);
  try {
    TmsAttItem item;
    item.SetFileName(kOriginalName, message().Attachments().registry());
    item.SetEncoding(TAttEncoding::ae7Bit);
    item.SetContentType("message/rfc822");
    item.SetData(lines_.Data());
    message().Attachments().Add(std::move(item));
  } catch (const std::exception&) {
    // The report lines stand on their own.
  }
}

void TmsCustomDecoder::DropTrailingDot() {
  Lines& body = message().Body();
  if (!body.empty() && body.back() == ".") body.pop_back();
}

void TmsCustomDecoder::DecodeMime() {
  if (msgHeaders_.GetFieldValue("X-Mailer") == kMailerWithoutTypes) msgHeaders_.RemoveField("Content-Type");
  std::string ct = msgHeaders_.GetFieldValue("Content-type");
  std::string lower = LowerAscii(ct);
  if (Contains(lower, "multipart/alternative")) {
    topAlternative_ = true;
    DecodeMultipart();
  } else if (Contains(lower, "multipart")) {
    DecodeMultipart();
  } else if (!ct.empty() && !Contains(lower, "text/")) {
    DecodeSinglePart();
  } else {
    std::string name = GetParameter("name", ct);
    if (!name.empty() && name != "cc:Mail")
      DecodeSinglePart();  // a named text part is an attachment
    else
      DecodeText();
  }
}

void TmsCustomDecoder::DecodeText() {
  std::string ctv = msgHeaders_.GetFieldValue("Content-Type");
  std::string type = LowerAscii(FirstToken(ctv));
  if (type == "text/html" || type == "text/rtf") message().SetContentType(type);
  std::string cs = LowerAscii(GetParameter("CharSet", ctv));
  std::string cte = LowerAscii(msgHeaders_.GetFieldValue("Content-Transfer-Encoding"));
  Lines& body = message().Body();
  body.clear();
  bool qp = cte == "quoted-printable" ||
            Contains(msgHeaders_.GetFieldValue("X-MIME-Autoconverted"), "quoted-printable");
  bool b64 = cte == "base64";
  if (cs == "iso-2022-jp") message().SetCharSet(TCharSet::csISO2022jp);
  if (qp) message().SetCharSet(TCharSet::csISO8859);

  if (b64) {
    std::string bytes;
    for (unsigned n = 1;; ++n) {
      std::string line = NextLine();
      if (lines_.Eof()) break;
      if (line.empty() || line == ".") continue;
      bytes += Base64DecodeLine(line);
      if (n % kLinesPerPump == 0) ProcessMessages();
    }
    body = SplitTextLines(bytes);
    return;
  }
  bool uu = false;
  for (;;) {
    std::string line = NextLine();
    if (lines_.Eof()) break;
    uu = IsUUBegin(line);
    body.push_back(std::move(line));
    if (uu) break;
  }
  if (uu) {
    // Text with uuencoded files: read again from the top as a plain message. The header
    // block was handed to the message already; handing it again would list every address
    // twice.
    lines_.Reset();
    body.clear();
    ReadHeaderBlock(msgHeaders_);
    DecodePlain();
    return;
  }
  if (qp) body = DecodeQuotedPrintableLines(std::move(body));
}

void TmsCustomDecoder::ReadPartData(TmsAttItem& item, bool uu, bool toBoundary) {
  auto atEnd = [&](const std::string& line) {
    return lines_.Eof() || (toBoundary && line.starts_with(boundary_));
  };
  if (item.Encoding() == TAttEncoding::aeBase64) {
    std::string& data = item.Data();
    for (unsigned n = 1;; ++n) {
      std::string line = NextLine();
      if (atEnd(line) || (!toBoundary && line == ".")) break;
      if (line.empty()) continue;
      if (uu) {
        if (IsUUBegin(line) || line == "`" || EqualsNoCase(line, "end")) continue;
        data += UUDecodeLine(line);
      } else {
        data += Base64DecodeLine(line);
      }
      if (n % kLinesPerPump == 0) ProcessMessages();
    }
    return;
  }
  Lines lines;
  for (;;) {
    std::string line = NextLine();
    if (atEnd(line)) break;
    lines.push_back(std::move(line));
  }
  // The line break before a delimiter belongs to the delimiter, not to the data.
  if (!lines_.Eof() && !lines.empty() && lines.back().empty()) lines.pop_back();
  if (item.Encoding() == TAttEncoding::aeQuotedPrintable) {
    TQuotedPrintable(item.Data(), lines).Decode();
  } else {
    for (const std::string& line : lines) item.Data() += line + "\r\n";
  }
}

void TmsCustomDecoder::DecodeSinglePart() {
  std::string ct = msgHeaders_.GetFieldValue("Content-type");
  if (ct.empty()) Fail(sid::kMissingContentType);
  platform::Registry& registry = message().Attachments().registry();
  TmsAttItem item;
  item.SetContentType(ct);
  try {
    item.SetFileName(GetParameter("name", ct), registry);
    const std::string declared = FirstToken(ct);
    item.SetContentType(declared);
    bool uu = ApplyTransferEncoding(item, LowerAscii(msgHeaders_.GetFieldValue("Content-Transfer-Encoding")));
    if (item.FileName().empty()) {
      TAttEncoding encoding = item.Encoding();
      item.SetFileName(GetParameter("filename", msgHeaders_.GetFieldValue("Content-Disposition")), registry);
      if (item.FileName().empty()) item.SetFileName("att." + AttachmentNumber(), registry);
      item.SetEncoding(encoding);
      item.SetContentType(declared);
    }
    ReadPartData(item, uu, false);
  } catch (const EMessageParserError&) {
    throw;
  } catch (const MailException&) {
    Fail(sid::kErrorDecodingAttachment);
  }
  message().Attachments().Add(std::move(item));
}

void TmsCustomDecoder::DecodeMultipart() {
  boundary_ = "--" + GetParameter("Boundary", msgHeaders_.GetFieldValue("Content-Type"));
  if (!SkipTo(boundary_)) Fail(sid::kBoundaryNotFound);
  DecodeFirstPart();
  DecodeParts();
}

void TmsCustomDecoder::LeaveAlternative() {
  inAlternative_ = false;
  boundary_ = outerBoundary_;
  for (;;) {
    std::string line = NextLine();
    if (lines_.Eof()) Fail(sid::kClosingBoundaryNotFound);
    if (line.starts_with(boundary_)) break;
  }
}

void TmsCustomDecoder::SkipRest() {
  while (!lines_.Eof()) NextLine();
}

void TmsCustomDecoder::DecodeFirstPart() {
  ReadHeaderBlock(partHeaders_);
  std::string ct = partHeaders_.GetFieldValue("Content-Type");
  if (LowerAscii(GetParameter("CharSet", ct)) == "iso-2022-jp") message().SetCharSet(TCharSet::csISO2022jp);
  inAlternative_ = Contains(LowerAscii(ct), "multipart/alternative");
  if (inAlternative_) {
    outerBoundary_ = boundary_;
    boundary_ = "--" + GetParameter("boundary", ct);
    if (!SkipTo(boundary_)) Fail(sid::kBoundaryNotFound);
    ReadHeaderBlock(partHeaders_);
  }
  std::string cte = LowerAscii(partHeaders_.GetFieldValue("Content-Transfer-Encoding"));
  if (cte == "base64" && message().CharSet() != TCharSet::csISO2022jp) {
    firstPartPending_ = true;  // read as an attachment
    return;
  }
  Lines& body = message().Body();
  body.clear();
  bool qp = cte == "quoted-printable";
  if (qp) message().SetCharSet(TCharSet::csISO8859);
  if (cte == "base64") {
    std::string bytes;
    for (;;) {
      std::string line = NextLine();
      if (lines_.Eof() || line.starts_with(boundary_)) break;
      if (!line.empty()) bytes += Base64DecodeLine(line);
    }
    body = SplitTextLines(bytes);
  } else {
    Lines lines;
    for (;;) {
      std::string line = NextLine();
      if (lines_.Eof() || line == boundary_ || line == boundary_ + "--") break;
      lines.push_back(std::move(line));
    }
    // The line break before a delimiter belongs to the delimiter, not to the text.
    if (!lines_.Eof() && !lines.empty() && lines.back().empty()) lines.pop_back();
    if (lines.empty()) lines.emplace_back();
    body = qp ? DecodeQuotedPrintableLines(std::move(lines)) : std::move(lines);
  }
  if (lastLine_ == boundary_ + "--") {
    if (inAlternative_) {
      // The nested alternative part held only this text: the outer parts follow.
      LeaveAlternative();
      if (lastLine_ == boundary_ + "--") SkipRest();
      return;
    }
    // The message had only this part.
    message().SetContentType(LowerAscii(FirstToken(partHeaders_.GetFieldValue("Content-Type"))));
    SkipRest();
  } else if (lines_.Eof()) {
    Fail(sid::kBoundaryNotFound);
  }
}

void TmsCustomDecoder::DecodeParts() {
  if (lines_.Eof()) return;
  platform::Registry& registry = message().Attachments().registry();
  bool done = false;
  while (!done) {
    ProcessMessages();
    if (!firstPartPending_) ReadHeaderBlock(partHeaders_);
    firstPartPending_ = false;
    TmsAttItem item;
    try {
      std::string ct = partHeaders_.GetFieldValue("Content-type");
      if (ct.empty()) ct = "text/plain";
      item.SetContentType(FirstToken(ct));
      item.SetFileName(GetParameter("name", ct), registry);
      bool uu = ApplyTransferEncoding(item, LowerAscii(partHeaders_.GetFieldValue("Content-Transfer-Encoding")));
      if (item.FileName().empty()) {
        TAttEncoding encoding = item.Encoding();
        item.SetFileName(GetParameter("filename", partHeaders_.GetFieldValue("Content-Disposition")), registry);
        item.SetEncoding(encoding);
        if (item.FileName().empty()) {
          std::string type = item.ContentType();
          bool alternative = inAlternative_ || topAlternative_;
          item.SetFileName((alternative ? "_alt." : "att.") + AttachmentNumber(), registry);
          item.SetEncoding(encoding);
          if (!type.empty()) item.SetContentType(type);
        }
      }
      ReadPartData(item, uu, true);
    } catch (const EMessageParserError&) {
      throw;
    } catch (const MailException&) {
      Fail(sid::kErrorDecodingAttachment);
    }
    message().Attachments().Add(std::move(item));
    done = lastLine_ == boundary_ + "--" || lines_.Eof();
    if (done && inAlternative_) {
      // The nested alternative part has ended; the outer message goes on, unless its closing
      // delimiter comes next.
      LeaveAlternative();
      done = lastLine_ == boundary_ + "--";
    }
  }
  SkipRest();
}

void TmsCustomDecoder::DecodePlain() {
  Lines& body = message().Body();
  for (;;) {
    std::string line = NextLine();
    if (lines_.Eof()) return;
    if (IsUUBegin(line)) {
      message().SetEncoding(TMsgEncoding::meUU);
      // The empty line a writer puts before a begin line separates; it is not text.
      if (!body.empty() && body.back().empty()) body.pop_back();
      DecodeUUAttachments(line);
      return;
    }
    body.push_back(std::move(line));
  }
}

void TmsCustomDecoder::DecodeUUAttachments(const std::string& firstBeginLine) {
  platform::Registry& registry = message().Attachments().registry();
  std::string begin = firstBeginLine;
  for (;;) {
    TmsAttItem item;
    try {
      std::string name = UUFileName(begin);
      item.SetFileName(name.empty() ? "att." + AttachmentNumber() : name, registry);
      for (unsigned n = 1;; ++n) {
        std::string line = NextLine();
        if (lines_.Eof() || line == "`" || EqualsNoCase(line, "END")) break;
        if (!line.empty()) item.Data() += UUDecodeLine(line);
        if (n % kLinesPerPump == 0) ProcessMessages();
      }
    } catch (const MailException&) {
      Fail(sid::kErrorDecodingAttachment);
    }
    message().Attachments().Add(std::move(item));
    // Text between two uuencoded files is dropped.
    for (;;) {
      std::string line = NextLine();
      if (lines_.Eof()) return;
      if (IsUUBegin(line)) {
        begin = line;
        break;
      }
    }
  }
}

void TmsMessageDecoder::ReadMessageHeaders() { dynamic_cast<TmsMessage&>(message()).ReadHeaders(MsgHeaders()); }

void TmsArticleDecoder::ReadMessageHeaders() { dynamic_cast<TmsArticle&>(message()).ReadHeaders(MsgHeaders()); }

}  // namespace wdx::mail
