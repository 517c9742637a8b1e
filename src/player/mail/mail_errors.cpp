#include "player/mail/mail_errors.h"

#include <array>
#include <utility>

namespace wdx::mail {
namespace {

constexpr std::array<std::pair<int, const char*>, 21> kStrings{{
    {sid::kOperationTimedOut, "Operation timed out"},
    {sid::kOperationCanceled, "Operation has been canceled"},
    {sid::kServerRequired, "Server property is required"},
    {sid::kInvalidWinsockVersion, "Invalid Winsock version"},
    {sid::kErrorResolvingHost, "Error resolving remote host"},
    {sid::kServiceNameRequired, "Service name is required"},
    {sid::kConnectFirst, "You have to connect to the server first"},
    {sid::kFunctionNotFound, "Function %s not found"},
    {sid::kWinsockNotLoaded, "Winsock is not loaded"},
    {sid::kWinsockNotFound, "Winsock not found"},
    {sid::kSenderRequired, "The address of sender is required"},
    {sid::kRecipientRequired, "At least one Recipient, CC or BCC must be entered"},
    {sid::kMailMessageRequired, "MailMessage property must be assigned"},
    {sid::kMultipartPreamble, "This is a multipart message in MIME format"},
    {sid::kUnableToRetrieveHeaders, "Unable to retrieve headers"},
    {sid::kMissingContentType, "Missing required field: Content-Type"},
    {sid::kClosingBoundaryNotFound, "Cannot find closing boundary"},
    {sid::kBoundaryNotFound, "Cannot find boundary"},
    {sid::kErrorDecodingAttachment, "Error decoding the attachment"},
    {sid::kNewsgroupRequired, "Newsgroup header is required"},
    {sid::kSubjectRequired, "Subject header is required"},
}};

// Socket error numbers and their descriptions; the text is "[number] description".
constexpr std::array<std::pair<int, const char*>, 52> kSocketErrors{{
    {10000, "No Error"},
    {10004, "Interrupted function call"},
    {10009, "Bad file number"},
    {10013, "Permission denied."},
    {10014, "Bad address"},
    {10022, "Invalid argument"},
    {10024, "Too many open files"},
    {10035, "Resource temporarily not available"},
    {10036, "Operation now in progress"},
    {10037, "Operation already in progress"},
    {10038, "Socket operation on non-socket"},
    {10039, "Destination address required"},
    {10040, "Message too long"},
    {10041, "Protocol wrong type for socket"},
    {10042, "Bad protocol option"},
    {10043, "Protocol not supported"},
    {10044, "Socket type not supported"},
    {10045, "Operation not supported"},
    {10046, "Protocol family not supported"},
    {10047, "Address family not supported by protocol family"},
    {10048, "Address already in use"},
    {10049, "Cannot assign requested address"},
    {10050, "Network is down"},
    {10051, "Network is unreachable"},
    {10052, "Network dropped connection or reset"},
    {10053, "Software caused connection abort"},
    {10054, "Connection reset by peer"},
    {10055, "No buffer space available"},
    {10056, "Socket is already connected"},
    {10057, "Socket is not connected"},
    {10058, "Can't send after socket shutdown"},
    {10059, "Too many references, can't splice"},
    {10060, "Connection timed out"},
    {10061, "Connection refused"},
    {10062, "Too many levels of symbolic links"},
    {10063, "File name too long"},
    {10064, "Host is down"},
    {10065, "No Route to Host"},
    {10066, "Directory not empty"},
    {10067, "Too many processes"},
    {10068, "Too many users"},
    {10069, "Disc Quota Exceeded"},
    {10070, "Stale NFS file handle"},
    {10071, "Too many levels of remote in path"},
    {10091, "Network subsystem is unavailable"},
    {10092, "WINSOCK DLL Version out of range"},
    {10093, "Successful WSAStartup() not yet performed"},
    {10094, "Graceful shutdown in progress"},
    {11001, "Host not found"},
    {11002, "Non-Authoritative Host not found"},
    {11003, "Non-Recoverable errors: FORMERR, REFUSED, NOTIMP"},
    {11004, "Valid name, no data record of requested type"},
}};

}  // namespace

std::string SocketErrorText(int code) {
  if (auto text = FindMailString(code)) return *text;
  for (const auto& [key, text] : kSocketErrors)
    if (key == code) return "[" + std::to_string(key == 10000 ? 0 : key) + "] " + text;
  return "Error #" + std::to_string(code);
}

std::optional<std::string> FindMailString(int id) {
  for (const auto& [key, text] : kStrings)
    if (key == id) return std::string(text);
  return std::nullopt;
}

std::string MailString(int id) {
  auto text = FindMailString(id);
  if (!text) throw std::out_of_range("no mail string " + std::to_string(id));
  return *text;
}

}  // namespace wdx::mail
