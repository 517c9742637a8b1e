// The passwords that the dial-up and network-drive commands keep in their tags ("<PASS:" ...
// ">"). Both programs read them here, and the editor's dialogs, script editor and wizard write
// them here.
//
// What is written: nothing for an empty password; otherwise "#" followed by the password after
// ShiftText, as upper-case hexadecimal pairs (two characters a byte). Why: the shifted text
// alone holds any byte, and a capital "W" becomes ">", which ends the field early and breaks
// the tag; the hexadecimal form holds only "#", "0"-"9" and "A"-"F".
//
// What is read: that form, and the shifted text that earlier versions wrote as it is. A field
// written the old way begins with "#" only when the password began with a line feed, which no
// password field lets anyone type, so the two forms are told apart by the "#" and the pairs.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace wdx {

inline constexpr char kStoredPasswordMark = '#';
// The longest password whose stored form fits a short string.
inline constexpr std::size_t kStoredPasswordMaxLength = 127;

// The stored form; nullopt for a password longer than kStoredPasswordMaxLength.
std::optional<std::string> EncodeStoredPassword(std::string_view password);
// The password of a stored field, in either form.
std::string DecodeStoredPassword(std::string_view stored);

}  // namespace wdx
