#include "player/mail/mail_text.h"

#include <algorithm>

namespace wdx::mail {
namespace {

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char LowerChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

std::string_view TrimView(std::string_view s) {
  while (!s.empty() && IsTrimmed(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsTrimmed(s.back())) s.remove_suffix(1);
  return s;
}

std::string UpperAscii(std::string_view s) {
  std::string r(s);
  std::transform(r.begin(), r.end(), r.begin(), UpperChar);
  return r;
}

std::string LowerAscii(std::string_view s) {
  std::string r(s);
  std::transform(r.begin(), r.end(), r.begin(), LowerChar);
  return r;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && StartsWithNoCase(a, b);
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (UpperChar(s[i]) != UpperChar(prefix[i])) return false;
  return true;
}

std::size_t FindNoCase(std::string_view s, std::string_view needle, std::size_t from) {
  if (needle.size() > s.size()) return std::string_view::npos;
  for (std::size_t i = from; i + needle.size() <= s.size(); ++i)
    if (StartsWithNoCase(s.substr(i), needle)) return i;
  return std::string_view::npos;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string LastPathComponent(std::string_view path) {
  std::size_t cut = path.find_last_of("\\/:");
  return std::string(cut == std::string_view::npos ? path : path.substr(cut + 1));
}

}  // namespace wdx::mail
