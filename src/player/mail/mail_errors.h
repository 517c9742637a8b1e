// Failures of the mail subsystem. Unlike the rest of the system, mail code reports by
// exceptions; the e-mail command catches them and turns them into its own messages. Message
// texts come from the suite's string table and are short strings (at most 255 characters).
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

#include "shared/text_util.h"

namespace wdx::mail {

// String table ids of the mail suite.
namespace sid {
constexpr int kOperationTimedOut = 57000;
constexpr int kOperationCanceled = 57001;
constexpr int kServerRequired = 57002;
constexpr int kInvalidWinsockVersion = 57003;
constexpr int kErrorResolvingHost = 57004;
constexpr int kServiceNameRequired = 57005;
constexpr int kConnectFirst = 57008;
constexpr int kFunctionNotFound = 57010;
constexpr int kWinsockNotLoaded = 57011;
constexpr int kWinsockNotFound = 57012;
constexpr int kSenderRequired = 57100;
constexpr int kRecipientRequired = 57101;
constexpr int kMailMessageRequired = 57102;
constexpr int kMultipartPreamble = 57106;
constexpr int kUnableToRetrieveHeaders = 57107;
constexpr int kMissingContentType = 57108;
constexpr int kClosingBoundaryNotFound = 57109;
constexpr int kBoundaryNotFound = 57110;
constexpr int kErrorDecodingAttachment = 57111;
constexpr int kNewsgroupRequired = 57115;
constexpr int kSubjectRequired = 57116;
}  // namespace sid

// The text of a socket error number from the string table ("[10061] Connection refused"), or
// "Error #" and the number when the table has none.
std::string SocketErrorText(int code);

// The text of a string table entry; nothing when the table has no such entry.
std::optional<std::string> FindMailString(int id);
// The text of an entry that must exist (throws std::out_of_range for an unknown id).
std::string MailString(int id);

// Texts raised by the codecs and the header parsers (not string table entries).
inline constexpr const char* kInvalidCharacter = "Invalid Character";
inline constexpr const char* kParagraphTooLarge = "Paragraph is too large";
inline constexpr const char* kUnableToParseAddress = "Unable to parse email address";

// The suite's plain exception with a message text.
class MailException : public std::runtime_error {
 public:
  explicit MailException(const std::string& text) : std::runtime_error(CutShort(text)) {}
};

// A character outside a codec's alphabet, or a structural error while reading a message.
class EMessageParserError : public MailException {
 public:
  using MailException::MailException;
};

// A message that fails its check before sending.
class EMessageError : public MailException {
 public:
  using MailException::MailException;
  explicit EMessageError(int id) : MailException(MailString(id)), id_(id) {}
  int id() const { return id_; }

 private:
  int id_ = 0;
};

// Socket errors and the socket layer's own checks.
class ESocketError : public MailException {
 public:
  using MailException::MailException;
};

// A server reply of the wrong class; the text is the reply's last line.
class EServerError : public MailException {
 public:
  using MailException::MailException;
};

// A network wait that reached its time-out.
class ETimedOutError : public MailException {
 public:
  ETimedOutError() : MailException(MailString(sid::kOperationTimedOut)) {}
};

// A network wait ended by a cancel.
class ECanceledError : public MailException {
 public:
  ECanceledError() : MailException(MailString(sid::kOperationCanceled)) {}
};

// The socket library is missing, not loaded, or lacks a function.
class EWinsockDLLError : public MailException {
 public:
  using MailException::MailException;
};

// A dial-up failure: the system's text for its error number.
class ERASError : public MailException {
 public:
  ERASError(const std::string& text, std::uint32_t code) : MailException(text), code_(code) {}
  std::uint32_t Code() const { return code_; }

 private:
  std::uint32_t code_;
};

// A file that cannot be read or written (attachments, transcripts).
class EInOutError : public MailException {
 public:
  using MailException::MailException;
};

}  // namespace wdx::mail
