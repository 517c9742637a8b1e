#include "shared/cipher.h"

#include <chrono>
#include <random>

#include "shared/text_util.h"

namespace wdx {

namespace {

// The value of the digits at [pos, pos + 2) of s; a pair that runs past the end is read as the
// digits that exist (one, or none, which is a failure).
std::optional<unsigned> ReadPair(std::string_view s, std::size_t pos) {
  std::string_view digits = pos < s.size() ? s.substr(pos, 2) : std::string_view{};
  if (digits.empty()) return std::nullopt;
  unsigned v = 0;
  for (char c : digits) {
    int d = HexDigitValue(c);
    if (d < 0) return std::nullopt;
    v = v * 16 + static_cast<unsigned>(d);
  }
  return v;
}

std::uint8_t ClockSeededStartByte() {
  static std::mt19937 generator = [] {
    std::random_device device;
    auto ticks = static_cast<std::uint32_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::seed_seq seq{device(), ticks};
    return std::mt19937(seq);
  }();
  return static_cast<std::uint8_t>(generator() & 0xFF);
}

}  // namespace

std::string EncipherText(std::string_view text, std::string_view key, std::uint8_t startByte) {
  if (key.empty()) key = kDefaultCipherKey;
  std::string out;
  out.reserve(2 + 2 * text.size());
  unsigned b = startByte;
  AppendHexPair(out, b);
  std::size_t i = 0;
  for (char c : text) {
    i = i < key.size() ? i + 1 : 1;
    b = ((b + static_cast<unsigned char>(c)) % 255) ^ static_cast<unsigned char>(key[i - 1]);
    AppendHexPair(out, b);
  }
  if (out.size() > kShortStringMax) out.resize(kShortStringMax);
  return out;
}

std::optional<std::string> DecipherText(std::string_view cipher, std::string_view key) {
  if (key.empty()) key = kDefaultCipherKey;
  std::optional<unsigned> first = ReadPair(cipher, 0);
  if (!first) return std::nullopt;
  unsigned b = *first;
  std::string out;
  std::size_t p = 2;  // zero-based position of the next pair
  std::size_t i = 0;
  do {
    std::optional<unsigned> d = ReadPair(cipher, p);
    if (!d) return std::nullopt;
    i = i < key.size() ? i + 1 : 1;
    unsigned e = *d ^ static_cast<unsigned char>(key[i - 1]);
    unsigned code = b < e ? e - b : e + 255 - b;
    out.push_back(static_cast<char>(code & 0xFF));
    b = *d;
    p += 2;
  } while (p + 1 < cipher.size());  // a last lone digit is not read
  if (out.size() > kShortStringMax) out.resize(kShortStringMax);
  return out;
}

TKestEncryption::TKestEncryption() : source_(ClockSeededStartByte) {}
TKestEncryption::TKestEncryption(StartByteSource source) : source_(std::move(source)) {}

void TKestEncryption::SetInput(std::string_view s) { input_ = CutShort(s); }
void TKestEncryption::SetOutput(std::string_view s) { output_ = CutShort(s); }
void TKestEncryption::SetKey(std::string_view s) { key_ = CutShort(s); }

bool TKestEncryption::Execute() {
  if (input_.empty()) {
    output_.clear();
    return true;
  }
  if (action_ == TActionType::atEncryption) {
    output_ = EncipherText(input_, key_, source_());
    return true;
  }
  std::optional<std::string> plain = DecipherText(input_, key_);
  if (!plain) return false;
  output_ = std::move(*plain);
  return true;
}

std::string ShiftText(std::string_view text) {
  std::string out(text);
  for (char& ch : out) {
    unsigned c = static_cast<unsigned char>(ch);
    if (c == 0 || c > 200) continue;
    // Bands of 25 from 1: odd-numbered bands (1..25, 51..75, ...) move up, the others down.
    bool up = ((c - 1) / 25) % 2 == 0;
    ch = static_cast<char>(up ? c + 25 : c - 25);
  }
  return out;
}

}  // namespace wdx
