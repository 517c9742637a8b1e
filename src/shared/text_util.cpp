#include "shared/text_util.h"

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

}  // namespace wdx
