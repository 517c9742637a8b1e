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

}  // namespace

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
