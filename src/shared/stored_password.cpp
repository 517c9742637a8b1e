#include "shared/stored_password.h"

#include "shared/cipher.h"
#include "shared/text_util.h"

namespace wdx {

std::optional<std::string> EncodeStoredPassword(std::string_view password) {
  if (password.size() > kStoredPasswordMaxLength) return std::nullopt;
  if (password.empty()) return std::string();
  std::string out(1, kStoredPasswordMark);
  for (const char c : ShiftText(password)) AppendHexPair(out, static_cast<unsigned char>(c));
  return out;
}

std::string DecodeStoredPassword(std::string_view stored) {
  const std::string_view pairs = stored.substr(stored.empty() ? 0 : 1);
  bool hex = !stored.empty() && stored.front() == kStoredPasswordMark && !pairs.empty() && pairs.size() % 2 == 0;
  std::string shifted;
  for (std::size_t i = 0; hex && i < pairs.size(); i += 2) {
    const int high = HexDigitValue(pairs[i]);
    const int low = HexDigitValue(pairs[i + 1]);
    hex = high >= 0 && low >= 0;
    shifted += static_cast<char>(high * 16 + low);
  }
  return ShiftText(hex ? std::string_view(shifted) : stored);
}

}  // namespace wdx
