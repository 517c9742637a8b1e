// Parsing of header values: addresses, parameters, the leading token; and writing a list of
// lines to a text file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "player/mail/mail_address.h"

namespace wdx::mail {

// Blanks removed at both ends, then every double quote at the start and at the end.
std::string StripQuotes(std::string_view text);
// Fills `address` from 'Name <mailbox>' (either order), 'mailbox (Name)' or a bare mailbox.
// A "<" without a following ">" raises "Unable to parse email address".
void ParseAddress(std::string_view text, TmsMailAddress& address);
// The value of parameter `name` (compared without case) in a header value such as a
// Content-Type; quoted values lose their quotes. An RFC 2231 form (name*=charset''%XX) is
// read when the plain one is absent; its bytes stay as they are. Empty when not found.
std::string GetParameter(std::string_view name, std::string_view value);
// The value up to its first blank or ";" (the bare type of a Content-Type value).
std::string FirstToken(std::string_view value);
// Writes every line followed by CR LF, replacing the file; file errors raise EInOutError.
void SaveLinesToFile(const std::vector<std::string>& lines, const std::string& fileName);

}  // namespace wdx::mail
