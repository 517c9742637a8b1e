#include "shared/sent_mail_log.h"

#include <fstream>
#include <limits>
#include <system_error>

namespace wdx {

namespace {

constexpr char kCrLf[] = "\r\n";

std::string Address(const EmailRecipient& r) { return r.name + " <" + r.address + ">"; }

// "label" + the first item, the further items on lines of their own after `indent` blanks.
void AddList(std::string& out, std::string_view label, const std::vector<std::string>& items, std::size_t indent) {
  out += label;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += std::string(indent, ' ');
    out += items[i] + kCrLf;
  }
  if (items.empty()) out += kCrLf;
}

std::vector<std::string> Addresses(const std::vector<EmailRecipient>& list) {
  std::vector<std::string> out;
  for (const EmailRecipient& r : list) out.push_back(Address(r));
  return out;
}

std::string Cut(const std::string& s) { return s.substr(0, MailIndexRecord::kTextMax); }

// Opens a file for reading and writing bytes, made first when it does not exist.
bool OpenOrCreate(std::fstream& f, const std::filesystem::path& path) {
  f.open(path, std::ios::in | std::ios::out | std::ios::binary);
  if (f.is_open()) return true;
  f.clear();
  { std::ofstream create(path, std::ios::binary | std::ios::app); }
  f.open(path, std::ios::in | std::ios::out | std::ios::binary);
  return f.is_open();
}

// Takes a file back to `size` bytes (an entry that must not stay).
void TakeBack(const std::filesystem::path& path, std::uintmax_t size) {
  std::error_code ec;
  std::filesystem::resize_file(path, size, ec);
}

std::uintmax_t SizeOf(std::fstream& f) {
  f.seekg(0, std::ios::end);
  const auto end = f.tellg();
  return end < 0 ? 0 : static_cast<std::uintmax_t>(end);
}

}  // namespace

std::string MailLogText(const MailLogEntry& e) {
  std::string out = "From: " + e.senderName + " <" + e.senderAddress + ">" + kCrLf;
  AddList(out, "To: ", Addresses(e.to), 4);
  AddList(out, "cc: ", Addresses(e.cc), 4);
  AddList(out, "blind cc: ", Addresses(e.bcc), 10);
  AddList(out, "Attachments: ", e.attachments, 13);
  out += "Subject: " + e.subject + kCrLf;
  // The body lines follow the label unindented, each as it is.
  AddList(out, "Body: ", e.body, 0);
  return out;
}

MailIndexRecord MailIndexRecord::Of(const MailLogEntry& entry, double sent) {
  MailIndexRecord r;
  if (!entry.to.empty()) {
    r.toName = Cut(entry.to.front().name);
    r.toAddress = Cut(entry.to.front().address);
  }
  r.sent = sent;
  r.subject = Cut(entry.subject);
  r.hasAttachments = !entry.attachments.empty();
  r.hasCc = !entry.cc.empty();
  r.hasBcc = !entry.bcc.empty();
  return r;
}

ByteRecord MailIndexRecord::Encode() const {
  using O = Offsets;
  ByteRecord b(kSize);
  b.SetShortString(O::kToName, kTextMax, toName);
  b.SetShortString(O::kToAddress, kTextMax, toAddress);
  b.SetDouble(O::kSent, sent);
  b.SetShortString(O::kSubject, kTextMax, subject);
  b.SetI32(O::kLogOffset, logOffset);
  b.SetI32(O::kLogLength, logLength);
  b.SetU8(O::kHasAttachments, hasAttachments ? 1 : 0);
  b.SetU8(O::kHasCc, hasCc ? 1 : 0);
  b.SetU8(O::kHasBcc, hasBcc ? 1 : 0);
  return b;
}

MailIndexRecord MailIndexRecord::Decode(ConstBytes bytes) {
  using O = Offsets;
  MailIndexRecord r;
  r.toName = ReadShortString(bytes, O::kToName, kTextMax);
  r.toAddress = ReadShortString(bytes, O::kToAddress, kTextMax);
  r.sent = ReadDouble(bytes, O::kSent);
  r.subject = ReadShortString(bytes, O::kSubject, kTextMax);
  r.logOffset = ReadI32(bytes, O::kLogOffset);
  r.logLength = ReadI32(bytes, O::kLogLength);
  r.hasAttachments = ReadU8(bytes, O::kHasAttachments) != 0;
  r.hasCc = ReadU8(bytes, O::kHasCc) != 0;
  r.hasBcc = ReadU8(bytes, O::kHasBcc) != 0;
  return r;
}

std::string SentMailIndexPath(std::string_view logPath) {
  const std::size_t n = logPath.size();
  if (n >= 4 && logPath[n - 4] == '.') return std::string(logPath.substr(0, n - 3)) + "WDJ";
  return std::string(logPath) + ".WDJ";
}

SentMailWrite AppendSentMail(const std::filesystem::path& logPath, const std::filesystem::path& indexPath,
                             std::string_view entryText, MailIndexRecord record) {
  std::fstream log;
  if (!OpenOrCreate(log, logPath)) return SentMailWrite::kLogNotOpened;
  const std::uintmax_t offset = SizeOf(log);
  constexpr auto kMax = static_cast<std::uintmax_t>(std::numeric_limits<std::int32_t>::max());
  if (offset + entryText.size() > kMax) return SentMailWrite::kWriteFailed;
  log.seekp(0, std::ios::end);
  log.write(entryText.data(), static_cast<std::streamsize>(entryText.size()));
  log.flush();
  const bool logWritten = static_cast<bool>(log);
  log.close();
  if (!logWritten) {
    TakeBack(logPath, offset);
    return SentMailWrite::kWriteFailed;
  }

  std::fstream index;
  if (!OpenOrCreate(index, indexPath)) {
    TakeBack(logPath, offset);
    return SentMailWrite::kIndexNotOpened;
  }
  const std::uintmax_t indexSize = SizeOf(index);
  const std::uintmax_t whole = indexSize - indexSize % MailIndexRecord::kSize;
  index.close();
  if (whole != indexSize) TakeBack(indexPath, whole);
  index.open(indexPath, std::ios::in | std::ios::out | std::ios::binary);
  record.logOffset = static_cast<std::int32_t>(offset);
  record.logLength = static_cast<std::int32_t>(entryText.size());
  const ByteRecord bytes = record.Encode();
  index.seekp(static_cast<std::streamoff>(whole));
  index.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  index.flush();
  const bool indexWritten = index.is_open() && static_cast<bool>(index);
  index.close();
  if (!indexWritten) {
    TakeBack(indexPath, whole);
    TakeBack(logPath, offset);
    return SentMailWrite::kWriteFailed;
  }
  return SentMailWrite::kWritten;
}

}  // namespace wdx
