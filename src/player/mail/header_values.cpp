#include "player/mail/header_values.h"

#include <fstream>

#include "player/mail/mail_errors.h"
#include "player/mail/mail_text.h"

namespace wdx::mail {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The raw value that starts at `rest` (after the "="): a quoted string without its quotes, or
// the text up to a blank or ";".
std::string TakeValue(std::string_view rest) {
  rest = TrimView(rest);
  if (rest.empty()) return std::string();
  std::string_view value;
  if (rest.front() == '"') {
    rest.remove_prefix(1);
    value = rest.substr(0, rest.find('"'));
  } else {
    value = rest.substr(0, rest.find_first_of(" \t;"));
  }
  while (!value.empty() && value.back() == ';') value.remove_suffix(1);
  return Trim(value);
}

// charset'language'%XX-encoded text: the bytes, undecoded from their character set.
std::string DecodeExtendedValue(std::string_view v) {
  std::size_t first = v.find('\'');
  std::size_t second = first == std::string_view::npos ? first : v.find('\'', first + 1);
  if (second != std::string_view::npos) v.remove_prefix(second + 1);
  std::string out;
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (v[i] == '%' && i + 2 < v.size() && HexDigitValue(v[i + 1]) >= 0 && HexDigitValue(v[i + 2]) >= 0) {
      out += static_cast<char>(HexDigitValue(v[i + 1]) * 16 + HexDigitValue(v[i + 2]));
      i += 2;
    } else {
      out += v[i];
    }
  }
  return out;
}

// Position just after the "=" of parameter `name` (marked `extended` for "name*="), or npos.
std::size_t FindParameter(std::string_view name, std::string_view value, bool extended) {
  for (std::size_t p = FindNoCase(value, name); p != std::string_view::npos; p = FindNoCase(value, name, p + 1)) {
    if (p > 0 && value[p - 1] != ';' && !IsBlank(value[p - 1])) continue;  // inside a longer word
    std::size_t q = p + name.size();
    if (extended) {
      if (q >= value.size() || value[q] != '*') continue;
      ++q;
    }
    while (q < value.size() && IsBlank(value[q])) ++q;
    if (q < value.size() && value[q] == '=') return q + 1;
  }
  return std::string_view::npos;
}

}  // namespace

std::string StripQuotes(std::string_view text) {
  std::string_view s = TrimView(text);
  while (!s.empty() && s.front() == '"') s.remove_prefix(1);
  while (!s.empty() && s.back() == '"') s.remove_suffix(1);
  return std::string(s);
}

void ParseAddress(std::string_view text, TmsMailAddress& address) {
  std::size_t open = text.find('<');
  if (open != std::string_view::npos) {
    std::size_t close = text.find('>');
    if (close == std::string_view::npos || close < open) throw MailException(kUnableToParseAddress);
    address.SetAddress(StripQuotes(text.substr(open + 1, close - open - 1)));
    std::string rest = std::string(text.substr(0, open)) + std::string(text.substr(close + 1));
    address.SetName(StripQuotes(rest));
    return;
  }
  std::size_t paren = text.find('(');
  if (paren != std::string_view::npos) {
    address.SetAddress(StripQuotes(text.substr(0, paren)));
    std::string_view after = text.substr(paren + 1);
    if (!after.empty()) after.remove_suffix(1);  // the closing parenthesis
    address.SetName(StripQuotes(after));
    return;
  }
  address.SetAddress(std::string(text));
  address.SetName(std::string());
}

std::string GetParameter(std::string_view name, std::string_view value) {
  if (name.empty()) return std::string();
  std::size_t at = FindParameter(name, value, false);
  if (at != std::string_view::npos) return TakeValue(value.substr(at));
  at = FindParameter(name, value, true);
  if (at != std::string_view::npos) return DecodeExtendedValue(TakeValue(value.substr(at)));
  return std::string();
}

std::string FirstToken(std::string_view value) {
  std::string_view v = TrimView(value);
  return Trim(v.substr(0, v.find_first_of(" ;")));
}

void SaveLinesToFile(const std::vector<std::string>& lines, const std::string& fileName) {
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  if (!out) throw EInOutError("Cannot create file \"" + fileName + "\"");
  for (const std::string& line : lines) out << line << "\r\n";
  out.flush();
  if (!out) throw EInOutError("Error writing file \"" + fileName + "\"");
}

}  // namespace wdx::mail
