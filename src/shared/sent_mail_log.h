// The e-mail log and its sent-mail index. The player appends every message it sent to the log,
// a text file of one entry per message, and one 193-byte record to the index beside it (the
// log's name with the extension "WDJ"); the editor shows the log through the index.
//
// The two files are written together: a record's offset and length always describe the entry
// written just before it. An entry that cannot be written whole is taken back out of the log,
// and so is the entry whose record cannot be written, so the index never points past the log
// or at half an entry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "shared/byte_codec.h"
#include "shared/email_tag.h"

namespace wdx {

// One message as the log shows it.
struct MailLogEntry {
  std::string senderName, senderAddress;
  std::vector<EmailRecipient> to, cc, bcc;
  std::vector<std::string> attachments;  // the paths as the command gave them
  std::string subject;
  std::vector<std::string> body;  // lines; a line may hold line breaks
};

// The entry's lines, each ended by CR LF: "From: ", "To: ", "cc: ", "blind cc: ",
// "Attachments: ", "Subject: ", "Body: ".
std::string MailLogText(const MailLogEntry& entry);

// The index record TMailIndexRec.
struct MailIndexRecord {
  static constexpr std::size_t kSize = 193;
  static constexpr std::size_t kTextMax = 50;
  struct Offsets {
    static constexpr std::size_t kToName = 0;
    static constexpr std::size_t kToAddress = 51;
    static constexpr std::size_t kSent = 102;
    static constexpr std::size_t kSubject = 110;
    static constexpr std::size_t kLogOffset = 161;
    static constexpr std::size_t kLogLength = 165;
    static constexpr std::size_t kHasAttachments = 169;
    static constexpr std::size_t kHasCc = 170;
    static constexpr std::size_t kHasBcc = 171;
  };

  std::string toName, toAddress;  // the first To recipient (cut to 50)
  double sent = 0.0;              // local date and time
  std::string subject;            // cut to 50
  std::int32_t logOffset = 0;     // of the entry's first byte in the log
  std::int32_t logLength = 0;     // of the entry in bytes
  bool hasAttachments = false, hasCc = false, hasBcc = false;

  // The record of an entry (offset and length left to the writer).
  static MailIndexRecord Of(const MailLogEntry& entry, double sent);
  ByteRecord Encode() const;
  static MailIndexRecord Decode(ConstBytes bytes);
  bool operator==(const MailIndexRecord&) const = default;
};

// The log's path with its three-letter extension replaced by "WDJ" ("MAILLOG.TXT" gives
// "MAILLOG.WDJ"), or ".WDJ" appended when the fourth character from the end is no ".".
std::string SentMailIndexPath(std::string_view logPath);

enum class SentMailWrite {
  kWritten,
  kLogNotOpened,    // neither file changed
  kIndexNotOpened,  // the entry was taken back out of the log
  kWriteFailed,     // the same, after a failed write of either file
};

// Appends the entry to the log and its record (offset and length filled in here) to the index.
// A log that has grown past what the record's offset can hold counts as a failed write. An
// index whose size is no whole number of records (an earlier interrupted write) loses its
// broken tail first.
SentMailWrite AppendSentMail(const std::filesystem::path& log, const std::filesystem::path& index,
                             std::string_view entryText, MailIndexRecord record);

}  // namespace wdx
