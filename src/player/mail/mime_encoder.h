// Writes a message of the model as the text of an Internet mail message (header lines, then a
// MIME body) or of a news article, or as plain text with uuencoded attachments. The output is
// ready for the SMTP data phase: every line ends with CR LF, line breaks inside texts become
// CR LF, and every line that begins with "." gets a second "." in front.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "player/mail/encode_options.h"
#include "player/mail/mail_message.h"

namespace wdx::mail {

class TmsCustomEncoder {
 public:
  TmsCustomEncoder(TmsCustomMessage& message, const EncodeOptions& options);
  virtual ~TmsCustomEncoder() = default;
  TmsCustomEncoder(const TmsCustomEncoder&) = delete;
  TmsCustomEncoder& operator=(const TmsCustomEncoder&) = delete;

  void SetOutput(std::ostream& out) { output_ = &out; }
  // Writes the whole message. Errors of the output stream raise EInOutError; the stream then
  // holds the lines written so far.
  void Encode();
  // Writes a text (up to its first NUL) as one or more lines: each line break inside it ends a
  // line, and a line beginning with "." is doubled.
  void WriteLine(std::string_view text);
  // At least one body entry is longer than 255 characters.
  bool LongLines() const { return longLines_; }

 protected:
  virtual void WriteHeaders() = 0;

  TmsCustomMessage& message() { return message_; }
  // Display name as written in an address: quoted when it holds special characters, encoded
  // words when it holds 8-bit characters.
  std::string PrepareName(std::string_view name) const;
  // The subject text after "Subject: ".
  std::string PrepareSubject() const;
  void WriteExtraHeaders();
  void WriteMimeVersion();

 private:
  std::string MakeBoundary();
  void ProcessMessages();
  bool BodyHasEightBit() const;
  std::string HeaderCharsetName() const;
  void WritePlainBodyHeaders();
  void PrepareBody(Lines& lines) const;
  void WritePlainBody();
  void WriteRichBody(const std::string& type);
  void WriteSingleAttachment();
  void WriteAttachmentData(const TmsAttItem& item);
  void WriteMultipart(const std::string& type, bool alternative);
  void WriteUUMessage();
  void Put(std::string_view line);

  TmsCustomMessage& message_;
  EncodeOptions options_;
  BoundaryGenerator ownBoundaries_;
  std::ostream* output_ = nullptr;
  bool longLines_ = false;
  unsigned lineCounter_ = 0;
};

class TmsMessageEncoder : public TmsCustomEncoder {
 public:
  TmsMessageEncoder(TmsMessage& message, const EncodeOptions& options)
      : TmsCustomEncoder(message, options), msg_(message) {}

 protected:
  void WriteHeaders() override;

 private:
  void WriteAddressField(std::string_view field, const TmsAddressList& list);
  TmsMessage& msg_;
};

class TmsArticleEncoder : public TmsCustomEncoder {
 public:
  TmsArticleEncoder(TmsArticle& article, const EncodeOptions& options)
      : TmsCustomEncoder(article, options), article_(article) {}

 protected:
  void WriteHeaders() override;

 private:
  TmsArticle& article_;
};

}  // namespace wdx::mail
