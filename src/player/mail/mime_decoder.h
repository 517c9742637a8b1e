// Reads the text of a mail message or news article back into the message model: header
// fields, body lines and attachments. Understands single-part and multipart MIME (also
// multipart/alternative, nested in a mixed message or on its own), base64, quoted-printable,
// x-uue and 7bit parts, and plain messages carrying uuencoded files.
//
// Structural errors after the header block do not escape: the message gets a few body lines
// naming the error and the whole input as the attachment "original.eml", on top of what was
// decoded until then. Errors while reading the header block reach the caller. The decoder
// reads only the bytes it was given, whatever they hold.
#pragma once

#include <functional>
#include <istream>
#include <string>

#include "player/mail/line_stream.h"
#include "player/mail/mail_message.h"

namespace wdx::mail {

class TmsCustomDecoder {
 public:
  // Copies the whole input stream (from its first byte).
  explicit TmsCustomDecoder(std::istream& in);
  explicit TmsCustomDecoder(std::string data);
  virtual ~TmsCustomDecoder() = default;
  TmsCustomDecoder(const TmsCustomDecoder&) = delete;
  TmsCustomDecoder& operator=(const TmsCustomDecoder&) = delete;

  void SetMessage(TmsCustomMessage* message) { message_ = message; }
  // Called now and then while parts are read (the application's pending messages).
  void SetProcessMessages(std::function<void()> hook) { processMessages_ = std::move(hook); }
  // Decodes into the message; adds to what it holds, except that a text body replaces Body.
  void Decode();
  // Empties `headers`, then reads lines up to an empty line or the end of the data.
  void ReadHeaderBlock(TmsHeaders& headers);

 protected:
  virtual void ReadMessageHeaders() = 0;
  TmsCustomMessage& message() { return *message_; }
  TmsHeaders& MsgHeaders() { return msgHeaders_; }

 private:
  std::string NextLine();
  void ProcessMessages();
  void ReportError(const std::string& text);
  void DropTrailingDot();
  void DecodeMime();
  void DecodeText();
  void DecodeSinglePart();
  // Reads a part's data into the item by its encoding, up to a line that begins with the
  // current delimiter (toBoundary) or to the end of the data.
  void ReadPartData(TmsAttItem& item, bool uu, bool toBoundary);
  // Back from a nested alternative part to the outer delimiter (the line that holds it is
  // read).
  void LeaveAlternative();
  void SkipRest();
  void DecodeMultipart();
  void DecodeFirstPart();
  void DecodeParts();
  void DecodePlain();
  void DecodeUUAttachments(const std::string& beginLine);
  // Skips lines up to one that is exactly `boundary`; false when the data ended first.
  bool SkipTo(const std::string& boundary);
  std::string AttachmentNumber() const;

  TLineStream lines_;
  TmsHeaders msgHeaders_;
  TmsHeaders partHeaders_;
  TmsCustomMessage* message_ = nullptr;
  std::string boundary_;
  bool inAlternative_ = false;
  std::string outerBoundary_;
  bool topAlternative_ = false;
  // The first part's header block is read but its data is left for DecodeParts.
  bool firstPartPending_ = false;
  std::string lastLine_;
  std::function<void()> processMessages_;
};

class TmsMessageDecoder : public TmsCustomDecoder {
 public:
  using TmsCustomDecoder::TmsCustomDecoder;

 protected:
  void ReadMessageHeaders() override;
};

class TmsArticleDecoder : public TmsCustomDecoder {
 public:
  using TmsCustomDecoder::TmsCustomDecoder;

 protected:
  void ReadMessageHeaders() override;
};

}  // namespace wdx::mail
