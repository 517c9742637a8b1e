// The in-memory model of one mail message or news article: addresses, attachments, raw header
// lines, body lines. Texts are short strings (cut at 255 characters); lists have value
// semantics, so copying a message or its attachments never shares an item between two owners.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"
#include "player/mail/encode_options.h"
#include "player/mail/mail_address.h"
#include "player/mail/text_codecs.h"

namespace wdx::mail {

// The extra header line the player adds to every message it sends; the encoder writes the
// lines of Headers as they are, after the address fields and before the subject.
inline constexpr const char* kPlayerMailerHeader = "X-Mailer: Wendrix";

enum class TAttEncoding : std::uint8_t { ae7Bit = 0, aeBase64 = 1, aeQuotedPrintable = 2 };
enum class TMsgEncoding : std::uint8_t { meMIME = 0, meUU = 1 };
enum class TCharSet : std::uint8_t { csUSASCII = 0, csISO8859 = 1, csISO2022jp = 2 };
enum class TPriority : std::uint8_t { ptLow = 0, ptNormal = 1, ptHigh = 2 };

// The "Content-Transfer-Encoding: " texts, indexed by TAttEncoding.
extern const std::array<const char*, 3> AttEncodingNames;
inline const char* AttEncodingName(TAttEncoding e) { return AttEncodingNames[static_cast<std::size_t>(e)]; }

// The MIME type that the registry gives a file name's extension ("Content Type" of the key
// HKEY_CLASSES_ROOT\.ext), or "application/octet-stream".
std::string ContentTypeOfFile(std::string_view name, platform::Registry& registry);

// One attachment: its bytes and how they are written into mail.
class TmsAttItem {
 public:
  const std::string& Data() const { return data_; }
  std::string& Data() { return data_; }
  void SetData(std::string data) { data_ = std::move(data); }
  // Full path or bare name; only its last component is written into mail.
  const std::string& FileName() const { return fileName_; }
  const std::string& ContentType() const { return contentType_; }
  void SetContentType(std::string type) { contentType_ = CutShort(std::move(type)); }
  TAttEncoding Encoding() const { return encoding_; }
  void SetEncoding(TAttEncoding e) { encoding_ = e; }
  // Stores the name; a non-empty name also sets the content type from the registry and the
  // encoding from the type (text types quoted-printable, message/rfc822 7bit, else base64).
  void SetFileName(std::string name, platform::Registry& registry);
  void Assign(const TmsAttItem& other) { *this = other; }

 private:
  std::string data_;
  std::string fileName_;
  std::string contentType_;
  TAttEncoding encoding_ = TAttEncoding::ae7Bit;
};

// The attachments of a message, owned by value.
class TmsAttList {
 public:
  explicit TmsAttList(platform::Registry& registry) : registry_(&registry) {}
  const TmsAttItem& GetItem(std::size_t index) const { return items_.at(index); }
  TmsAttItem& GetItem(std::size_t index) { return items_.at(index); }
  std::size_t GetCount() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  void Add(TmsAttItem item) { items_.push_back(std::move(item)); }
  // Reads the file into a new item named by the path; a file that cannot be read raises
  // EInOutError and leaves the list unchanged.
  void AddFile(const std::string& path);
  void Clear() { items_.clear(); }
  // Copies of the other list's items (this list keeps its own registry).
  void Assign(const TmsAttList& other) { items_ = other.items_; }
  platform::Registry& registry() const { return *registry_; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  platform::Registry* registry_;
  std::vector<TmsAttItem> items_;
};

// Raw header lines, one per entry; continuation lines are entries of their own.
class TmsHeaders {
 public:
  TmsHeaders() = default;
  TmsHeaders(std::initializer_list<std::string> lines) : lines_(lines) {}
  explicit TmsHeaders(Lines lines) : lines_(std::move(lines)) {}

  Lines& lines() { return lines_; }
  const Lines& lines() const { return lines_; }
  std::size_t Count() const { return lines_.size(); }
  void Add(std::string line) { lines_.push_back(std::move(line)); }
  void Clear() { lines_.clear(); }

  // The value of the first field `name` (case ignored), continuation lines joined by a blank;
  // encoded words decoded except in Content-Type and X-UIDL. Empty when absent.
  std::string GetFieldValue(std::string_view name) const;
  // The entries of every field `name` (address fields), split at commas outside quoted
  // strings and comments, each trimmed and decoded.
  void GetFieldList(std::string_view name, Lines& entries) const;
  // Removes the first field `name` with its continuation lines.
  void RemoveField(std::string_view name);

 private:
  Lines lines_;
};

class TmsCustomMessage {
 public:
  explicit TmsCustomMessage(platform::Registry& registry) : attachments_(registry) {}
  virtual ~TmsCustomMessage() = default;

  TmsMailAddress& Sender() { return sender_; }
  const TmsMailAddress& Sender() const { return sender_; }
  const std::string& Subject() const { return subject_; }
  void SetSubject(std::string subject) { subject_ = CutShort(std::move(subject)); }
  TMsgEncoding Encoding() const { return encoding_; }
  void SetEncoding(TMsgEncoding e) { encoding_ = e; }
  TCharSet CharSet() const { return charSet_; }
  void SetCharSet(TCharSet c) { charSet_ = c; }
  TmsHeaders& Headers() { return headers_; }
  const TmsHeaders& Headers() const { return headers_; }
  void SetHeaders(const TmsHeaders& headers) { headers_ = headers; }
  Lines& Body() { return body_; }
  const Lines& Body() const { return body_; }
  void SetBody(const Lines& body) { body_ = body; }
  TmsAttList& Attachments() { return attachments_; }
  const TmsAttList& Attachments() const { return attachments_; }
  // Copies the given items; the stored content type becomes "multipart/mixed" or "text/plain".
  void SetAttachments(const TmsAttList& list);

  // The MIME type the message is written as, worked out from its attachments and body.
  std::string ContentType() const;
  // Stored in lower case; used when the message has a body and no attachment.
  void SetContentType(std::string_view type);

  // Raises EMessageError when the message cannot be sent.
  virtual void Check() const;
  // Writes the message as Internet mail into `out`, ready for the SMTP data phase: CR LF line
  // ends and every line that begins with "." doubled. Removes the standard fields from
  // Headers (they are written from the model).
  virtual void Encode(std::ostream& out, const EncodeOptions& options = {}) = 0;
  // Reads the text of a message from `in` (from its first byte) and adds what it holds to
  // this message (mime_decoder.h). `processMessages` is called now and then on long input.
  virtual void Decode(std::istream& in, const std::function<void()>& processMessages = {}) = 0;
  virtual void Clear();
  // Fills the message from the parsed header lines of a message being decoded.
  virtual void ReadHeaders(const TmsHeaders& headers) = 0;
  virtual void Assign(const TmsCustomMessage& source);

 protected:
  TmsCustomMessage(const TmsCustomMessage&) = default;
  TmsCustomMessage& operator=(const TmsCustomMessage&) = default;

 private:
  TmsMailAddress sender_;
  std::string subject_;
  TMsgEncoding encoding_ = TMsgEncoding::meMIME;
  TCharSet charSet_ = TCharSet::csUSASCII;
  TmsHeaders headers_;
  Lines body_;
  TmsAttList attachments_;
  std::string contentType_ = "text/plain";
};

class TmsMessage : public TmsCustomMessage {
 public:
  explicit TmsMessage(platform::Registry& registry) : TmsCustomMessage(registry) {}
  TmsMessage(const TmsMessage&) = default;
  TmsMessage& operator=(const TmsMessage&) = default;

  TmsAddressList& Recipients() { return recipients_; }
  const TmsAddressList& Recipients() const { return recipients_; }
  TmsAddressList& CC() { return cc_; }
  const TmsAddressList& CC() const { return cc_; }
  TmsAddressList& BCC() { return bcc_; }
  const TmsAddressList& BCC() const { return bcc_; }
  bool ReturnReceipt() const { return returnReceipt_; }
  void SetReturnReceipt(bool on) { returnReceipt_ = on; }
  TPriority Priority() const { return priority_; }
  void SetPriority(TPriority p) { priority_ = p; }

  void Check() const override;
  void Encode(std::ostream& out, const EncodeOptions& options = {}) override;
  void Decode(std::istream& in, const std::function<void()>& processMessages = {}) override;
  void Clear() override;
  void ReadHeaders(const TmsHeaders& headers) override;
  void Assign(const TmsCustomMessage& source) override;

 private:
  TmsAddressList recipients_;
  TmsAddressList cc_;
  TmsAddressList bcc_;
  bool returnReceipt_ = false;
  TPriority priority_ = TPriority::ptNormal;
};

class TmsArticle : public TmsCustomMessage {
 public:
  explicit TmsArticle(platform::Registry& registry) : TmsCustomMessage(registry) {}
  TmsArticle(const TmsArticle&) = default;
  TmsArticle& operator=(const TmsArticle&) = default;

  const std::string& NewsGroups() const { return newsGroups_; }
  void SetNewsGroups(std::string groups) { newsGroups_ = std::move(groups); }
  // Filled only by decoding.
  const std::string& MessageId() const { return messageId_; }
  const std::string& Path() const { return path_; }

  void Check() const override;
  void Encode(std::ostream& out, const EncodeOptions& options = {}) override;
  void Decode(std::istream& in, const std::function<void()>& processMessages = {}) override;
  void Clear() override;
  void ReadHeaders(const TmsHeaders& headers) override;
  void Assign(const TmsCustomMessage& source) override;

 private:
  std::string newsGroups_;
  std::string messageId_;
  std::string path_;
};

}  // namespace wdx::mail
