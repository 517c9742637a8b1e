#include "player/core/protocol.h"

namespace wdx::player {

void AppendChannelChar(std::string& buffer, std::uint8_t c) {
  if (buffer.size() < kReceiveBufferMax) buffer.push_back(static_cast<char>(c));
}

std::string UpperCase(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return s;
}

std::string TrimBlanks(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
  return std::string(text.substr(b, e - b));
}

}  // namespace wdx::player
