// Small text helpers of the mail code (single-byte text, ASCII case rules as in header names).
#pragma once

#include <string>
#include <string_view>

namespace wdx::mail {

// Removes characters up to and including the blank (controls and blanks) at both ends.
std::string_view TrimView(std::string_view s);
inline std::string Trim(std::string_view s) { return std::string(TrimView(s)); }
std::string UpperAscii(std::string_view s);
std::string LowerAscii(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);
// Position of `needle` in `s` compared without case, or npos.
std::size_t FindNoCase(std::string_view s, std::string_view needle, std::size_t from = 0);
// 0..15 for a hexadecimal digit of either case, else -1.
int HexDigitValue(char c);
// The last component of a path (after the last "\", "/" or ":").
std::string LastPathComponent(std::string_view path);

}  // namespace wdx::mail
