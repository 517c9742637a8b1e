// Small text helpers of both programs. Text is single-byte (code page 1252); the system's own
// case rules touch the ASCII letters only. (Windows compares names with wider rules; the
// stand-in models those itself, in platform/memory/no_case.h.)
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace wdx {

// The most characters a short string (a length byte and its characters) holds.
inline constexpr std::size_t kShortStringMax = 255;
// The first kShortStringMax characters.
std::string CutShort(std::string_view s);

char UpperAscii(char c);
char LowerAscii(char c);
std::string UpperAscii(std::string_view s);
std::string LowerAscii(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);
// Position of `needle` in `s` at or after `from`, compared without case, or npos.
std::size_t FindNoCase(std::string_view s, std::string_view needle, std::size_t from = 0);

// Without the blanks and control characters at both ends.
std::string_view TrimView(std::string_view s);
inline std::string Trim(std::string_view s) { return std::string(TrimView(s)); }

// 0..15 for a hexadecimal digit of either case, else -1.
int HexDigitValue(char c);
// The two upper-case hexadecimal digits of a byte.
void AppendHexPair(std::string& out, unsigned char byte);

}  // namespace wdx
