#include "shared/text_util.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <system_error>

namespace wdx {

std::string CutShort(std::string_view s) { return std::string(s.substr(0, kShortStringMax)); }

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string UpperAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = UpperAscii(c);
  return r;
}

std::string LowerAscii(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = LowerAscii(c);
  return r;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (prefix.size() > s.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (UpperAscii(s[i]) != UpperAscii(prefix[i])) return false;
  return true;
}

bool EqualsNoCase(std::string_view a, std::string_view b) { return a.size() == b.size() && StartsWithNoCase(a, b); }

std::size_t FindNoCase(std::string_view s, std::string_view needle, std::size_t from) {
  if (needle.size() > s.size()) return std::string_view::npos;
  for (std::size_t i = from; i + needle.size() <= s.size(); ++i)
    if (StartsWithNoCase(s.substr(i), needle)) return i;
  return std::string_view::npos;
}

std::string_view TrimView(std::string_view s) {
  auto trimmed = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!s.empty() && trimmed(s.front())) s.remove_prefix(1);
  while (!s.empty() && trimmed(s.back())) s.remove_suffix(1);
  return s;
}

std::string TrimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return CutShort(s);
}

std::string RepeatChar(char c, int count) {
  if (count <= 0) return {};
  return std::string(static_cast<std::size_t>(count < static_cast<int>(kShortStringMax) ? count : kShortStringMax), c);
}

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> params;
  std::size_t i = 0;
  for (;;) {
    while (i < line.size() && static_cast<unsigned char>(line[i]) <= ' ') ++i;
    if (i >= line.size()) break;
    std::string p;
    bool quoted = false;
    while (i < line.size() && (quoted || static_cast<unsigned char>(line[i]) > ' ')) {
      if (line[i] == '"') {
        quoted = !quoted;
      } else {
        p.push_back(line[i]);
      }
      ++i;
    }
    params.push_back(std::move(p));
  }
  return params;
}

std::string ProgramFolderOf(const std::string& executablePath) {
  const std::size_t slash = executablePath.find_last_of('\\');
  return slash == std::string::npos ? std::string() : executablePath.substr(0, slash);
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

void AppendHexPair(std::string& out, unsigned char byte) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0x0F];
}

namespace {

// The start of a whole number: leading blanks, an optional sign, and a hexadecimal prefix
// ("$" or "0x"/"0X"; with loneX also "x"/"X"). `at` is where its digits begin.
struct NumberStart {
  std::size_t at = 0;
  bool negative = false;
  bool hex = false;
};

NumberStart ScanNumberStart(std::string_view text, bool loneX) {
  NumberStart s;
  std::size_t& i = s.at;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) s.negative = text[i++] == '-';
  if (i < text.size() && (text[i] == '$' || (loneX && (text[i] == 'x' || text[i] == 'X')))) {
    s.hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    s.hex = true;
    i += 2;
  }
  return s;
}

// The value of the digit c in the number's base, or -1.
int DigitIn(char c, bool hex) {
  const int d = HexDigitValue(c);
  return d > 9 && !hex ? -1 : d;
}

}  // namespace

WholeNumber ParseWholeNumber(std::string_view text) {
  WholeNumber r;
  const NumberStart s = ScanNumberStart(text, true);
  const int base = s.hex ? 16 : 10;
  // Decimal values must fit a signed 32-bit number; hexadecimal ones may use all 32 bits.
  const std::int64_t limit = s.hex ? 0xFFFFFFFFLL : (s.negative ? 0x80000000LL : 0x7FFFFFFFLL);
  std::int64_t value = 0;
  bool digits = false;
  std::size_t i = s.at;
  for (; i < text.size(); ++i) {
    const int d = DigitIn(text[i], s.hex);
    if (d < 0) break;
    const std::int64_t next = value * base + d;
    if (next > limit) break;
    value = next;
    digits = true;
  }
  const std::int64_t signedValue = s.negative ? -value : value;
  r.value = static_cast<std::int32_t>(static_cast<std::uint32_t>(signedValue & 0xFFFFFFFFLL));
  r.ok = digits && i == text.size();
  return r;
}

RealNumber ParseRealNumber(std::string_view text) {
  RealNumber r;
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  const std::size_t start = i;
  auto digitsFrom = [&](std::size_t& p) {
    const std::size_t first = p;
    while (p < text.size() && text[p] >= '0' && text[p] <= '9') ++p;
    return p > first;
  };
  bool mantissa = digitsFrom(i);
  if (i < text.size() && text[i] == '.') {
    ++i;
    mantissa = digitsFrom(i) || mantissa;
  }
  if (!mantissa) return r;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    if (!digitsFrom(i)) return r;
  }
  if (i != text.size()) return r;
  double value = 0.0;
  const auto res = std::from_chars(text.data() + start, text.data() + text.size(), value);
  if (res.ec != std::errc{} || res.ptr != text.data() + text.size()) return r;
  r.value = negative ? -value : value;
  r.ok = true;
  return r;
}

std::int32_t ProfileNumber(std::string_view text) {
  const NumberStart s = ScanNumberStart(text, false);
  // Held in 64 bits and stopped growing at a bound beyond every 32-bit value.
  constexpr std::int64_t kCap = std::int64_t{1} << 33;
  std::int64_t v = 0;
  for (std::size_t i = s.at; i < text.size(); ++i) {
    const int d = DigitIn(text[i], s.hex);
    if (d < 0) break;
    v = std::min(v * (s.hex ? 16 : 10) + d, kCap);
  }
  if (s.hex) {
    // Hexadecimal text spells the 32 bits themselves ("$FFFFFFFF" is -1).
    v = std::min<std::int64_t>(v, 0xFFFFFFFF);
    auto bits = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
    return s.negative ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(bits)) : bits;
  }
  if (s.negative) v = -v;
  v = std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
  return static_cast<std::int32_t>(v);
}

}  // namespace wdx
