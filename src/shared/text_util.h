// Small text helpers of both programs. Text is single-byte (code page 1252); the system's own
// case rules touch the ASCII letters only. (Windows compares names with wider rules; the
// stand-in models those itself, in platform/memory/no_case.h.)
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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
// TrimString: without the blanks at both ends (only the blank counts; tabs and other control
// characters stay), as a short string.
std::string TrimBlanks(std::string_view s);
// RepeatChar: `count` copies of `c` (a short string: at most 255; none for 0 or less).
std::string RepeatChar(char c, int count);

// Splits a command line into parameters as the system's run-time library does for ParamStr:
// blanks (and control characters) separate, double quotes group and are removed. Parameter 0
// is the program.
std::vector<std::string> SplitCommandLine(std::string_view line);
// The folder of an executable's path, without a trailing "\".
std::string ProgramFolderOf(const std::string& executablePath);

// 0..15 for a hexadecimal digit of either case, else -1.
int HexDigitValue(char c);
// The two upper-case hexadecimal digits of a byte.
void AppendHexPair(std::string& out, unsigned char byte);

// The number conversions of the system, by name.
// Whole-number conversion of the macro language's fields: leading blanks, an optional sign,
// then decimal digits, or hexadecimal digits after "$", "x", "X", "0x" or "0X". It stops at
// the first character that does not fit: `ok` is false unless the whole text was used and
// held a number, and `value` is what was read so far (0 when nothing was). Values beyond
// 32 bits stop the conversion as a misfit.
struct WholeNumber {
  std::int32_t value = 0;
  bool ok = false;
};
WholeNumber ParseWholeNumber(std::string_view text);

// Real conversion: leading blanks, an optional sign, digits with an optional "." and
// fraction, an optional exponent ("E" or "e", optional sign, digits). `ok` is false when the
// text does not fit that form in full; `value` is then 0.
struct RealNumber {
  double value = 0.0;
  bool ok = false;
};
RealNumber ParseRealNumber(std::string_view text);
// The number conversion of the settings file: leading blanks, an optional sign, decimal digits ("$" or
// "0x" in front: hexadecimal); stops at the first other character keeping the value read so
// far, 0 when there is none. Values beyond 32 bits are held at the nearest limit.
std::int32_t ProfileNumber(std::string_view text);

}  // namespace wdx
